// One node of the match tree: a scanned barcode with the photos assigned to it, in order, and the
// scan it stands for (its place in the scan list and its time on the scanner's clock).
//
// Invariant: a leaf is in the images of exactly the node named by its parent. addObject sets
// the parent, removeObject clears it and hands the leaf back to the caller. Nodes and leaves
// are neither copied nor moved, so pointers to them stay valid while they live (views keep them).
#pragma once

#include "BarcodeImage.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class Barcode;

// The match tree: the nodes in scan order. Owned by whoever holds it; none is a null pointer.
using BarcodeList = std::vector<std::unique_ptr<Barcode>>;

class Barcode {
  public:
    // A node with that barcode text and no images.
    static std::unique_ptr<Barcode> barcodeWithValue(const std::string& barcode);

    explicit Barcode(std::string barcode = std::string());
    Barcode(const Barcode&) = delete;
    Barcode& operator=(const Barcode&) = delete;

    void setBarcode(const std::string& barcode) { fBarcode = barcode; }
    const std::string& barcode() const { return fBarcode; }
    // The text a view shows for this row: the barcode.
    const std::string& objectValue() const { return fBarcode; }
    // The number of images, 0 or more.
    int32_t numberOfChildren() const;

    // Appends the leaf as the last image and makes this node its parent. A null leaf is ignored.
    void addObject(std::unique_ptr<BarcodeImage> image);
    // Puts the leaf at index among the images (clamped to 0 and the end) and makes this node its
    // parent: how an undone move puts a photo back where it was. A null leaf is ignored.
    void insertObject(std::unique_ptr<BarcodeImage> image, int32_t index);
    // Takes the leaf out of the images and clears its parent; the caller owns it now. Null when
    // the leaf is not one of this node's images (nothing changes then).
    std::unique_ptr<BarcodeImage> removeObject(BarcodeImage* image);
    // The image at index, or null when index is out of range.
    BarcodeImage* objectAtIndex(int32_t index) const;
    // The position of the leaf among the images, or -1 when it is not one of them.
    int32_t indexOfObject(const BarcodeImage* image) const;
    const std::vector<std::unique_ptr<BarcodeImage>>& images() const { return fImages; }

    // The scan's position in the scan list (after repeated scans are reduced); npos when made by
    // hand.
    static constexpr size_t npos = size_t(-1);
    size_t scanIndex() const { return fScanIndex; }
    void setScanIndex(size_t index) { fScanIndex = index; }
    // The scan time on the scanner's clock, seconds since 1970; none when the data file gives none.
    std::optional<double> scanTime() const { return fScanTime; }
    void setScanTime(std::optional<double> seconds) { fScanTime = seconds; }

  private:
    std::string fBarcode;
    size_t fScanIndex = npos;
    std::optional<double> fScanTime;
    std::vector<std::unique_ptr<BarcodeImage>> fImages;
};
