// One leaf of the match tree: a photo, named by its path relative to the working folder.
#pragma once

#include <cstdint>
#include <memory>
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

private:
    std::string fImageName;
    Barcode* fParent = nullptr;
};
