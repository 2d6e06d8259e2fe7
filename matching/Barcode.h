// One node of the match tree: a scanned barcode with the photos assigned to it, in order.
//
// Invariant: a leaf is in the images of exactly the node named by its parent. addObject sets
// the parent, removeObject clears it and hands the leaf back to the caller. Nodes and leaves
// are neither copied nor moved, so pointers to them stay valid while they live (views keep them).
#pragma once

#include "BarcodeImage.h"

#include <cstdint>
#include <memory>
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
    // Takes the leaf out of the images and clears its parent; the caller owns it now. Null when
    // the leaf is not one of this node's images (nothing changes then).
    std::unique_ptr<BarcodeImage> removeObject(BarcodeImage* image);
    // The image at index, or null when index is out of range.
    BarcodeImage* objectAtIndex(int32_t index) const;
    // The position of the leaf among the images, or -1 when it is not one of them.
    int32_t indexOfObject(const BarcodeImage* image) const;
    const std::vector<std::unique_ptr<BarcodeImage>>& images() const { return fImages; }

private:
    std::string fBarcode;
    std::vector<std::unique_ptr<BarcodeImage>> fImages;
};
