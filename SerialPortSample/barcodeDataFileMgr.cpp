#include "barcodeDataFileMgr.h"

#include "MessageLog.h"

#include <cerrno>
#include <cstring>
#include <string>

namespace {

const char* const kHeaderItems[] = {"CPU=1234",  "Vers=1.01",   "Contents=barcodes", "Model=",
                                    "SN=",       "DateFormat=", "moreInfo1",         "moreInfo2",
                                    "moreInfo3", "moreInfo4"};
const char* const kTitleItems[] = {"Scanned BarCode ID",     "Date Scanned",
                                   "Time Scanned",           "resv1_HeaderName_max20",
                                   "resv2_HeaderName_max20", "resv3_HeaderName_max20"};
const char kRule[] = "\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5\xA5";

// Replaces a fixed text field by text, cut to the field; null or empty changes nothing.
template <std::size_t N> void setHeaderValue(char (&field)[N], const char* text, const char* what) {
    if (text == nullptr || text[0] == '\0')
        return;
    std::memset(field, 0, N);
    std::strncpy(field, text, N - 1);
    if (std::strlen(text) >= N)
        myPrintfDebug(
            myFormat("barcodeDataFileMgr: the %s [%s] is cut to %zu characters\n", what, text, N - 1));
}

// The text of a record field: at most one field's bytes even when its terminator is missing.
std::string fieldText(const char* field, const char* placeholder) {
    std::size_t length = strnlen(field, kBarcodeRecordFieldSize);
    if (length == 0)
        return placeholder;
    return std::string(field, length);
}

// True when line begins with prefix.
bool startsWith(const std::string& line, const char* prefix) {
    return line.compare(0, std::strlen(prefix), prefix) == 0;
}

// The value of the header item that begins with name ("SN="), or none.
bool headerValue(const std::string& header, const char* name, std::string& value) {
    std::size_t start = 0;
    while (start <= header.size()) {
        std::size_t tab = header.find('\t', start);
        std::string item = header.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
        if (startsWith(item, name)) {
            value = item.substr(std::strlen(name));
            return true;
        }
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }
    return false;
}

// A scan as the writer makes it: three items, the barcode not empty.
bool isScanLine(const std::string& line) {
    std::size_t first = line.find('\t');
    if (first == std::string::npos || first == 0)
        return false;
    return line.find('\t', first + 1) != std::string::npos;
}

} // namespace

barcodeDataFileMgr::SavedScans barcodeDataFileMgr::readSavedScans(const std::string& path) {
    SavedScans saved;
    if (path.empty()) {
        saved.problem = "no working folder";
        return saved;
    }
    std::ifstream file(path, std::ios::in | std::ios::binary);
    if (!file.is_open()) {
        int error = errno;
        saved.state = error == ENOENT ? SavedScans::eState::Missing : SavedScans::eState::Unreadable;
        saved.problem = std::strerror(error != 0 ? error : ENOENT);
        return saved;
    }
    std::string line;
    long number = 0;
    while (std::getline(file, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (number == 1) {
            if (!startsWith(line, kHeaderItems[0]) ||
                !headerValue(line, kHeaderItems[4], saved.serialNumber)) {
                saved.state = SavedScans::eState::NotADataFile;
                saved.problem = "its first line is not the header of a barcode data file";
                return saved;
            }
            continue;
        }
        if (number == 2) {
            if (!startsWith(line, kTitleItems[0])) {
                saved.state = SavedScans::eState::NotADataFile;
                saved.problem = "its second line is not the title line of a barcode data file";
                return saved;
            }
            continue;
        }
        if (isScanLine(line))
            saved.scanLines.push_back(line);
        else
            ++saved.otherLines;
    }
    if (file.bad()) {
        saved.state = SavedScans::eState::Unreadable;
        saved.problem = myFormat("reading it failed after %ld lines", number);
        return saved;
    }
    if (number < 2) {
        saved.state = SavedScans::eState::NotADataFile;
        saved.problem = "it lacks the header and title lines of a barcode data file";
        return saved;
    }
    saved.state = SavedScans::eState::Read;
    return saved;
}

barcodeDataFileMgr::barcodeDataFileMgr() : std::fstream() {
    std::memset(fFileName, 0, sizeof fFileName);
    std::memset(fBarcodeModel, 0, sizeof fBarcodeModel);
    std::memset(fBarcodeSN, 0, sizeof fBarcodeSN);
    std::memset(fBarcodeDateMode, 0, sizeof fBarcodeDateMode);
}

barcodeDataFileMgr::~barcodeDataFileMgr() {
    if (is_open())
        close();
}

void barcodeDataFileMgr::setFileName(const char* name) {
    if (name == nullptr || name[0] == '\0')
        return;
    std::memset(fFileName, 0, sizeof fFileName);
    if (std::strlen(name) >= sizeof fFileName) {
        myPrintf(myFormat("barcodeDataFileMgr::setFileName => the file name is longer than %zu "
                          "characters and is refused\n",
                          sizeof fFileName - 1));
        return;
    }
    std::strcpy(fFileName, name);
}

void barcodeDataFileMgr::setBarcodeModel(const char* text) {
    setHeaderValue(fBarcodeModel, text, "model");
}

void barcodeDataFileMgr::setBarcodeSN(const char* text) {
    setHeaderValue(fBarcodeSN, text, "serial number");
}

void barcodeDataFileMgr::setBarcodeDateMode(const char* text) {
    setHeaderValue(fBarcodeDateMode, text, "date format");
}

void barcodeDataFileMgr::formFileName(const char* folder) {
    std::string path = std::string(folder == nullptr ? "" : folder) + kBarcodeDataFileName;
    if (path.size() >= kFormedPathSize) {
        std::memset(fFileName, 0, sizeof fFileName);
        myPrintf(myFormat("barcodeDataFileMgr::formFileName => the path of the barcode data file "
                          "is longer than %zu characters: %s\n",
                          kFormedPathSize - 1, path.c_str()));
        return;
    }
    setFileName(path.c_str());
    myPrintf(std::string(kRule) + "\n");
    myPrintf(fFileName);
    myPrintf(std::string("\n") + kRule + "\n");
}

void barcodeDataFileMgr::createOutputFileWithHeader() {
    if (fFileName[0] != '\0') {
        if (is_open())
            close();
        clear();
        open(fFileName, std::ios::out | std::ios::trunc | std::ios::binary);
    }
    if (!is_open()) {
        myPrintf("barcodeDataFileMgr::createOutputFileWithHeader => NOT opened????\n");
        return;
    }
    myPrintfDebug("barcodeDataFileMgr::createOutputFileWithHeader => isopened\n\n");
    const char* headerValues[] = {nullptr,          nullptr, nullptr, fBarcodeModel, fBarcodeSN,
                                  fBarcodeDateMode, nullptr, nullptr, nullptr,       nullptr};
    const std::size_t headerCount = sizeof kHeaderItems / sizeof kHeaderItems[0];
    for (std::size_t i = 0; i < headerCount; ++i) {
        writeData(kHeaderItems[i]);
        if (headerValues[i] != nullptr)
            writeData(headerValues[i]);
        writeOneByte(i + 1 < headerCount ? '\t' : '\n');
    }
    const std::size_t titleCount = sizeof kTitleItems / sizeof kTitleItems[0];
    for (std::size_t i = 0; i < titleCount; ++i) {
        writeData(kTitleItems[i]);
        writeOneByte(i + 1 < titleCount ? '\t' : '\n');
    }
}

bool barcodeDataFileMgr::writeData(const char* text) {
    if (text == nullptr || !is_open())
        return false;
    write(text, static_cast<std::streamsize>(std::strlen(text)));
    return true;
}

bool barcodeDataFileMgr::writeOneByte(char byte) {
    if (!is_open())
        return false;
    put(byte);
    return true;
}

bool barcodeDataFileMgr::writeBarcodeRecord(const barcodeRecord* record) {
    if (record == nullptr)
        return false;
    if (!is_open()) {
        myPrintf(myFormat("barcodeDataFileMgr::writeBarcodeRecord => the barcode data file [%s] "
                          "is not open, the scan [%s] is not written\n",
                          fFileName, fieldText(record->scannedID, "00000").c_str()));
        return false;
    }
    std::string line = fieldText(record->scannedID, "00000");
    line += '\t';
    line += fieldText(record->dateScanned, "mmddyy");
    line += '\t';
    line += fieldText(record->timeScanned, "hhmmss");
    line += '\n';
    // Flushed per scan: a write error shows at once, and the scans so far are on disk should the
    // download stop half-way.
    writeData(line.c_str());
    flush();
    if (fail()) {
        myPrintf(myFormat("barcodeDataFileMgr::writeBarcodeRecord => writing to the barcode data "
                          "file [%s] failed, the scan [%s] may be lost\n",
                          fFileName, fieldText(record->scannedID, "00000").c_str()));
        return false;
    }
    return true;
}
