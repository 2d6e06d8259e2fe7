#include "Barcode.h"

#include <algorithm>
#include <cstddef>
#include <utility>

std::unique_ptr<Barcode> Barcode::barcodeWithValue(const std::string& barcode) {
    return std::make_unique<Barcode>(barcode);
}

Barcode::Barcode(std::string barcode) : fBarcode(std::move(barcode)) {}

int32_t Barcode::numberOfChildren() const {
    return static_cast<int32_t>(fImages.size());
}

void Barcode::addObject(std::unique_ptr<BarcodeImage> image) {
    if (!image)
        return;
    image->setParent(this);
    fImages.push_back(std::move(image));
}

void Barcode::insertObject(std::unique_ptr<BarcodeImage> image, int32_t index) {
    if (!image)
        return;
    const size_t at = index < 0 ? 0 : std::min(size_t(index), fImages.size());
    image->setParent(this);
    fImages.insert(fImages.begin() + std::ptrdiff_t(at), std::move(image));
}

std::unique_ptr<BarcodeImage> Barcode::removeObject(BarcodeImage* image) {
    int32_t index = indexOfObject(image);
    if (index < 0)
        return nullptr;
    std::unique_ptr<BarcodeImage> removed = std::move(fImages[static_cast<size_t>(index)]);
    fImages.erase(fImages.begin() + index);
    removed->setParent(nullptr);
    return removed;
}

BarcodeImage* Barcode::objectAtIndex(int32_t index) const {
    if (index < 0 || static_cast<size_t>(index) >= fImages.size())
        return nullptr;
    return fImages[static_cast<size_t>(index)].get();
}

int32_t Barcode::indexOfObject(const BarcodeImage* image) const {
    if (image == nullptr)
        return -1;
    for (size_t i = 0; i < fImages.size(); ++i) {
        if (fImages[i].get() == image)
            return static_cast<int32_t>(i);
    }
    return -1;
}
