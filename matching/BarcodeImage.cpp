#include "BarcodeImage.h"

#include "Barcode.h"

#include <utility>

std::unique_ptr<BarcodeImage> BarcodeImage::barcodeImageWithValue(const std::string& imageName) {
    return std::make_unique<BarcodeImage>(imageName);
}

BarcodeImage::BarcodeImage(std::string imageName) : fImageName(std::move(imageName)) {}

std::optional<double> BarcodeImage::secondsAfterScan() const {
    if (!fParent || !fAlignedTime || !fParent->scanTime())
        return std::nullopt;
    return *fAlignedTime - *fParent->scanTime();
}
