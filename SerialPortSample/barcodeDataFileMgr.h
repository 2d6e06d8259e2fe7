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
#include <string>
#include <vector>

class barcodeDataFileMgr : public std::fstream {
  public:
    // What a barcode data file holds, as read back: the scanner it came from and its scans.
    struct SavedScans {
        enum class eState {
            Read,         // a data file, read whole
            Missing,      // no file at the path
            Unreadable,   // it could not be opened or read
            NotADataFile, // its first two lines are not the header and title lines
        };
        eState state = eState::Missing;
        std::string problem;      // why it was not read, for messages
        std::string serialNumber; // the header's "SN=" value ("177?????": the scanner named none)
        // Every data line after the header and title lines, as written: barcode TAB date TAB
        // time. Blank lines and lines of another shape are not scans and are only counted.
        std::vector<std::string> scanLines;
        long otherLines = 0;
        bool found() const { return state == eState::Read; }
    };
    // Reads the data file at path. Lines may end in LF or CR LF.
    static SavedScans readSavedScans(const std::string& path);

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
