// One scan as the data upload hands it to the barcode data file writer.
#pragma once

#include <cstddef>

// Size of one text field of a record, its NUL terminator included (at most 25 characters).
constexpr std::size_t kBarcodeRecordFieldSize = 26;
// Fields a record has room for; only the first three are filled and written.
constexpr std::size_t kBarcodeRecordFieldCount = 16;

// Sixteen NUL-terminated 26-byte text fields (416 bytes). A value-initialised record
// (barcodeRecord record{};) is all zero, which is how every record starts.
struct barcodeRecord {
    char scannedID[kBarcodeRecordFieldSize];   // the scanned barcode text
    char dateScanned[kBarcodeRecordFieldSize]; // the scan date as the scanner sent it
    char timeScanned[kBarcodeRecordFieldSize]; // the scan time as the scanner sent it
    char reserved[kBarcodeRecordFieldCount - 3][kBarcodeRecordFieldSize];

    // Clears all sixteen fields to zero.
    void clear();
    // Copy text (null: empty) into the field, cut at 25 characters, always NUL-terminated.
    void setScannedID(const char* text);
    void setDateScanned(const char* text);
    void setTimeScanned(const char* text);
};

static_assert(sizeof(barcodeRecord) == kBarcodeRecordFieldSize * kBarcodeRecordFieldCount,
              "a barcode record is sixteen 26-byte fields");
