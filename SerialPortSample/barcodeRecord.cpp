#include "barcodeRecord.h"

#include <cstring>

namespace {

void copyField(char (&field)[kBarcodeRecordFieldSize], const char* text) {
    std::memset(field, 0, sizeof field);
    if (text == nullptr)
        return;
    std::strncpy(field, text, sizeof field - 1);
}

} // namespace

void barcodeRecord::clear() {
    std::memset(this, 0, sizeof *this);
}

void barcodeRecord::setScannedID(const char* text) {
    copyField(scannedID, text);
}

void barcodeRecord::setDateScanned(const char* text) {
    copyField(dateScanned, text);
}

void barcodeRecord::setTimeScanned(const char* text) {
    copyField(timeScanned, text);
}
