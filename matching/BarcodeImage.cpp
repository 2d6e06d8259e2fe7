#include "BarcodeImage.h"

#include <utility>

std::unique_ptr<BarcodeImage> BarcodeImage::barcodeImageWithValue(const std::string& imageName) {
    return std::make_unique<BarcodeImage>(imageName);
}

BarcodeImage::BarcodeImage(std::string imageName) : fImageName(std::move(imageName)) {}
