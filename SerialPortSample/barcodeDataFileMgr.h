// The writer of the barcode data file BarcodeDataSource.txt: a header line, a title line and
// one line per scan, TAB-separated, every line ending in LF, bytes as the scanner sent them.
//
// Calling order of one download: setBarcodeSN, formFileName(folder), setBarcodeModel,
// setBarcodeDateMode, createOutputFileWithHeader; test is_open(); writeBarcodeRecord once per
// scan; close() (then fail() tells whether the last buffered bytes reached the file).
#pragma once

#include "JobFileNames.h"
#include "barcodeRecord.h"

#include <cstddef>
#include <fstream>

class barcodeDataFileMgr : public std::fstream {
  public:
    static constexpr std::size_t kFileNameSize = 2000;   // fFileName, terminator included
    static constexpr std::size_t kHeaderValueSize = 26;  // each header value, terminator included
    static constexpr std::size_t kFormedPathSize = 1024; // folder + file name, terminator included

    barcodeDataFileMgr();
    ~barcodeDataFileMgr() override;

    barcodeDataFileMgr(const barcodeDataFileMgr&) = delete;
    barcodeDataFileMgr& operator=(const barcodeDataFileMgr&) = delete;

    // A null or empty text changes nothing. A file name of 2000 bytes or more is refused and
    // clears fFileName (so that no earlier file is overwritten by mistake); a header value
    // longer than 25 characters is cut at 25.
    void setFileName(const char* name);
    void setBarcodeModel(const char* text);
    void setBarcodeSN(const char* text);
    void setBarcodeDateMode(const char* text);

    // folder (ending in "/") + "BarcodeDataSource.txt" becomes the file name and is reported.
    // A path that does not fit 1023 characters is refused: fFileName is cleared and reported.
    void formFileName(const char* folder);

    // Creates (or truncates) fFileName and writes the header and title lines. Afterwards
    // is_open() tells whether the file could be created.
    void createOutputFileWithHeader();

    // false when text is null or the stream is not open; else writes the text's bytes.
    bool writeData(const char* text);
    // false when the stream is not open; else writes the byte.
    bool writeOneByte(char byte);
    // Writes one data line: barcode, date, time, with the placeholders "00000", "mmddyy",
    // "hhmmss" for empty fields. The line is flushed to the file. false for a null record, a
    // stream that is not open, or a write the file did not accept (reported with its name).
    bool writeBarcodeRecord(const barcodeRecord* record);

    const char* fileName() const { return fFileName; }
    const char* barcodeModel() const { return fBarcodeModel; }
    const char* barcodeSN() const { return fBarcodeSN; }
    const char* barcodeDateMode() const { return fBarcodeDateMode; }

  private:
    char fFileName[kFileNameSize];
    char fBarcodeModel[kHeaderValueSize];
    char fBarcodeSN[kHeaderValueSize];
    char fBarcodeDateMode[kHeaderValueSize];
};
