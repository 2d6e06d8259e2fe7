// One leaf of the match tree: a photo, named by its path relative to the working folder, with what
// matching learnt about it (its times, its camera body, its doubt marks). A leaf made by hand has
// no photo index and no times.
#pragma once

#include "PhotoDoubt.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class Barcode;

class BarcodeImage {
  public:
    // A leaf with that image name and no parent.
    static std::unique_ptr<BarcodeImage> barcodeImageWithValue(const std::string& imageName);

    explicit BarcodeImage(std::string imageName = std::string());
    BarcodeImage(const BarcodeImage&) = delete;
    BarcodeImage& operator=(const BarcodeImage&) = delete;

    void setImageName(const std::string& imageName) { fImageName = imageName; }
    const std::string& imageName() const { return fImageName; }
    // The text a view shows for this row: the image name.
    const std::string& objectValue() const { return fImageName; }
    // Always -1: this is how views and the drag code tell a leaf from a node.
    int32_t numberOfChildren() const { return -1; }

    // The node whose images hold this leaf (not owned). Barcode::addObject and
    // Barcode::removeObject keep it right; set it by hand only together with such a move.
    void setParent(Barcode* parent) { fParent = parent; }
    Barcode* parent() const { return fParent; }

    // The photo's position in the photo list (0 for its first photo line); npos when made by hand.
    static constexpr size_t npos = size_t(-1);
    size_t photoIndex() const { return fPhotoIndex; }
    void setPhotoIndex(size_t index) { fPhotoIndex = index; }
    // The capture time on the camera's clock, seconds since 1970; none when the list gives none.
    std::optional<double> captureTime() const { return fCaptureTime; }
    void setCaptureTime(std::optional<double> seconds) { fCaptureTime = seconds; }
    // The capture time moved onto the scanner's clock by the match's alignment.
    std::optional<double> alignedTime() const { return fAlignedTime; }
    void setAlignedTime(std::optional<double> seconds) { fAlignedTime = seconds; }
    // Seconds from the scan of the barcode that holds the photo now to the photo's aligned time
    // (negative when the photo is earlier); none without both times. Follows moves.
    std::optional<double> secondsAfterScan() const;
    // The camera body (an index into the match's clock alignment).
    size_t body() const { return fBody; }
    void setBody(size_t body) { fBody = body; }
    // The doubt marks (ePhotoDoubt bits); describePhotoDoubts gives their reasons.
    uint32_t doubts() const { return fDoubts; }
    void setDoubts(uint32_t doubts) { fDoubts = doubts; }
    bool isDoubtful() const { return fDoubts != ePhotoDoubt_None; }

  private:
    std::string fImageName;
    Barcode* fParent = nullptr;
    size_t fPhotoIndex = npos;
    std::optional<double> fCaptureTime;
    std::optional<double> fAlignedTime;
    size_t fBody = 0;
    uint32_t fDoubts = ePhotoDoubt_None;
};
