// pdxProDevice: the upload of a form's records into the barcode data file.
//
// The file is written as BarcodeDataSource.txt.part and becomes BarcodeDataSource.txt only
// after every block arrived whole with its checksum, the upload's own header block agreed with
// the system information, and the scanner ended the upload where its counts said: the scanner is
// erased later on the strength of that file, so a damaged or short transfer must never take its
// place.
#include "pdxProDevice.h"

#include "MessageLog.h"
#include "pdxProCommands.h"
#include "pdxRemoteModeSession.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

constexpr int kBlockBufferSize = 255;
// The header block ends in the form's counts: five digits of records, two of fields.
constexpr int kHeaderRecordDigits = 5;
constexpr int kHeaderFieldDigits = 2;

bool allDigits(const std::string& text) {
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool pathExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// folder + "BarcodeDataSource.replaced-YYYYMMDD-HHMMSS.txt", with a counter when that is taken.
std::string replacedDataFilePath(const std::string& folder) {
    char stamp[32] = {0};
    std::time_t now = std::time(nullptr);
    struct tm local;
    if (localtime_r(&now, &local) == nullptr ||
        std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local) == 0)
        std::strcpy(stamp, "earlier");
    const std::string base = folder + kBarcodeDataReplacedFilePrefix + stamp;
    std::string path = base + ".txt";
    for (int counter = 2; pathExists(path) && counter < 1000; ++counter)
        path = base + "-" + std::to_string(counter) + ".txt";
    return path;
}

// A field's text: the block's data cut at the first NUL and at limit characters.
void keepFieldText(char* slot, const unsigned char* data, int length, int limit) {
    int count = 0;
    while (count < length && count < limit && data[count] != 0)
        ++count;
    std::memcpy(slot, data, static_cast<size_t>(count));
    slot[count] = '\0';
}

} // namespace

bool pdxProDevice::DownloadDataFromDevice(const char* expectedUnitID) {
    return DownloadDataFromDeviceNew(expectedUnitID);
}

bool pdxProDevice::DownloadDataFromDeviceNew(const char* expectedUnitID) {
    myPrintfDebug("pdxProDevice::DownloadDataFromDeviceNew\n");
    if (fWorkingPath[0] == '\0') {
        myPrintf("pdxProDevice::DownloadDataFromDeviceNew => no working folder is set; nothing was "
                 "downloaded\n");
        return false;
    }
    pdxRemoteModeSession session(*this);
    if (!session.Enter(kDownloadRemoteModeSeconds))
        return false;
    std::memset(fUnitID, 0, sizeof fUnitID);
    bool haveSystemInfo = GetSystemInfoCmd();
    myPrintfDebug("pdxProDevice::DownloadDataFromDeviceNew => got this->GetSystemInfoCmd\n");
    if (!haveSystemInfo) {
        myPrintf(myFormat("pdxProDevice::DownloadDataFromDeviceNew => the system information of the "
                          "scanner on %s could not be read; nothing was downloaded\n",
                          fBsdPathName));
        return false;
    }
    if (std::strcmp(fUnitID, expectedUnitID ? expectedUnitID : "") != 0) {
        myPrintf("pdxProDevice::DownloadDataFromDeviceNew => fUnitID != barcodeID\n");
        return false;
    }
    myPrintfDebug("pdxProDevice::DownloadDataFromDeviceNew => fUnitID MATCHES barcodeID\n");
    wait(1);
    if (!CheckFormCountsForUpload(ePdxFormFileNum_1))
        return false;

    // A fresh writer: header values of an earlier download must not carry over.
    fBarcodeFileMgr = std::make_unique<barcodeDataFileMgr>();
    barcodeDataFileMgr& file = *fBarcodeFileMgr;
    file.setBarcodeSN(fUnitID);
    file.formFileName(fWorkingPath);
    const std::string finalPath = file.fileName();
    const std::string partialPath = std::string(fWorkingPath) + kBarcodeDataPartialFileName;
    if (!finalPath.empty())
        file.setFileName(partialPath.c_str());
    file.setBarcodeModel(fModelName);
    file.setBarcodeDateMode(fDateMode);
    if (!finalPath.empty())
        file.createOutputFileWithHeader();
    if (finalPath.empty() || !file.is_open()) {
        myPrintf("UNABLE to create the output barcode file!!!");
        return false;
    }
    bool clean = GetUploadDataFromPDXCmd(ePdxFormFileNum_1);
    file.close();
    if (file.fail()) {
        myPrintf(
            myFormat("pdxProDevice::DownloadDataFromDeviceNew => writing %s failed\n", partialPath.c_str()));
        clean = false;
    }
    // The scanner goes back to scanning before the file takes its place.
    session.Leave();
    return FinishDownload(clean, partialPath, finalPath);
}

bool pdxProDevice::KeepReplacedDataFile(const std::string& partialPath, const std::string& finalPath) {
    barcodeDataFileMgr::SavedScans earlier = barcodeDataFileMgr::readSavedScans(finalPath);
    if (earlier.state == barcodeDataFileMgr::SavedScans::eState::Missing)
        return true;
    barcodeDataFileMgr::SavedScans downloaded = barcodeDataFileMgr::readSavedScans(partialPath);
    // Nothing is lost when the new file holds the earlier one's scans, in order, from the same
    // scanner: a download again after scans were added.
    bool holdsTheEarlier = earlier.found() && downloaded.found() &&
                           earlier.serialNumber == downloaded.serialNumber &&
                           earlier.scanLines.size() <= downloaded.scanLines.size();
    for (std::size_t i = 0; holdsTheEarlier && i < earlier.scanLines.size(); ++i)
        holdsTheEarlier = earlier.scanLines[i] == downloaded.scanLines[i];
    if (holdsTheEarlier || (earlier.found() && earlier.scanLines.empty()))
        return true;
    const std::string keptPath = replacedDataFilePath(fWorkingPath);
    if (std::rename(finalPath.c_str(), keptPath.c_str()) != 0) {
        myPrintf(myFormat("pdxProDevice::DownloadDataFromDeviceNew => %s holds scans that this download does "
                          "not (%zu scans from scanner %s) and could not be kept as %s - %s(%d). It was not "
                          "replaced; the new download is in %s.\n",
                          finalPath.c_str(), earlier.scanLines.size(), earlier.serialNumber.c_str(),
                          keptPath.c_str(), strerror(errno), errno, partialPath.c_str()));
        return false;
    }
    myPrintf(myFormat(
        "The earlier %s (%zu scans from scanner %s) holds scans this download does not: it is kept "
        "as %s.\n",
        kBarcodeDataFileName, earlier.scanLines.size(),
        earlier.serialNumber.empty() ? "(none named)" : earlier.serialNumber.c_str(), keptPath.c_str()));
    return true;
}

bool pdxProDevice::FinishDownload(bool clean, const std::string& partialPath, const std::string& finalPath) {
    if (clean) {
        if (!KeepReplacedDataFile(partialPath, finalPath))
            return false;
        if (std::rename(partialPath.c_str(), finalPath.c_str()) == 0)
            return true;
        myPrintf(myFormat("pdxProDevice::DownloadDataFromDeviceNew => could not rename %s to %s - "
                          "%s(%d). The downloaded scans are in %s.\n",
                          partialPath.c_str(), finalPath.c_str(), strerror(errno), errno,
                          partialPath.c_str()));
        return false;
    }
    const std::string damagedPath = std::string(fWorkingPath) + kBarcodeDataDamagedFileName;
    if (std::rename(partialPath.c_str(), damagedPath.c_str()) != 0)
        std::remove(partialPath.c_str());
    myPrintf(myFormat("pdxProDevice::DownloadDataFromDeviceNew => the transfer from the scanner on %s "
                      "failed. %s was not changed and the scans are still on the scanner; try the "
                      "download again. What arrived is kept in %s.\n",
                      fBsdPathName, finalPath.c_str(), damagedPath.c_str()));
    return false;
}

bool pdxProDevice::ReadUploadBlock(bool isHeader, char* text, int textLimit) {
    unsigned char lengthByte[2] = {0};
    long expected = 1;
    if (!ReadBackTheCharacters(reinterpret_cast<char*>(lengthByte), expected)) {
        myPrintf(myFormat("pdxProDevice::GetUploadDataFromPDXCmd => no %s length arrived\n",
                          isHeader ? "header" : "record"));
        return false;
    }
    const int length = static_cast<signed char>(lengthByte[0]);
    myPrintfDebug(
        myFormat("pdxProDevice::GetUploadDataFromPDXCmd => ReadBack Header Length = [%i]\n", length));
    if (length + 1 <= 0) {
        myPrintf(myFormat(isHeader ? "pdxProDevice::GetUploadDataFromPDXCmd => BAD Header Length = [%i]\n\n"
                                   : "pdxProDevice::GetUploadDataFromPDXCmd => BAD Record Length = [%i]\n\n",
                          length + 1));
        return false;
    }
    unsigned char block[kBlockBufferSize + 1] = {0};
    expected = length + 1;
    bool arrived = ReadBackTheCharacters(reinterpret_cast<char*>(block), expected);
    myPrintfDebug(myFormat(isHeader ? "pdxProDevice::GetUploadDataFromPDXCmd => ReadBack Header Data = [%s]\n"
                                    : "pdxProDevice::GetUploadDataFromPDXCmd => ReadBack Data = [%s]\n",
                           LogString2(reinterpret_cast<char*>(block), length).c_str()));
    if (!arrived)
        return false;
    unsigned char sum = 0;
    pdxProDeviceComputeCheckSum(block, static_cast<short>(length), sum);
    if (isHeader)
        myPrintfDebug(myFormat(
            "pdxProDevice::GetUploadDataFromPDXCmd => xxxxComputed Checksum is = [0x%02x]\n\n", sum));
    const char* matchFormat = isHeader ? "pdxProDevice::GetUploadDataFromPDXCmd => Computed Checksum "
                                         "[0x%02x] == Data Checksum [0x%02x]\n\n"
                                       : "pdxProDevice::GetUploadDataFromPDXCmd => Computed Checksum "
                                         "[0x%02x] == DataChecksum [0x%02x]\n\n";
    const char* mismatchFormat = isHeader ? "pdxProDevice::GetUploadDataFromPDXCmd => Computed Checksum "
                                            "[0x%02x] != Data Checksum [0x%02x]\n\n"
                                          : "pdxProDevice::GetUploadDataFromPDXCmd => Computed Checksum "
                                            "[0x%02x] != DataChecksum [0x%02x]\n\n";
    if (sum != block[length]) {
        myPrintf(myFormat(mismatchFormat, sum, block[length]));
        return false;
    }
    myPrintfDebug(myFormat(matchFormat, sum, block[length]));
    if (text == nullptr)
        return true;
    keepFieldText(text, block, length, textLimit);
    if (sum == 0)
        myPrintfDebug(
            myFormat("pdxProDevice::GetUploadDataFromPDXCmd => Valid Zero Checkum => OldLen = [%i]  "
                     "NewLen = [%i]\n",
                     static_cast<int>(std::strlen(text)), static_cast<int>(std::strlen(text)) + 1));
    return true;
}

bool pdxProDevice::GetUploadDataFromPDXCmd(ePdxFormFileNum form) {
    myPrintfDebug("pdxProDevice::GetUploadDataFromPDXCmd\n");
    if (form != ePdxFormFileNum_0 && form != ePdxFormFileNum_1) {
        myPrintf(
            myFormat("pdxProDevice::GetUploadDataFromPDXCmd => Invalid ePdxFormFileNum param = [0x%02x]\n\n",
                     static_cast<unsigned>(form)));
        return false;
    }
    ReportFormCounts(form);
    if (IsFormEmpty(form)) {
        myPrintf("\nThere Is NO FORM DATA to Get from this Zebex Unit!!!\n\n");
        return true;
    }
    if (!CheckFormCountsForUpload(form))
        return false;
    const char command[] = {static_cast<char>(kPdxPro_STX), 'C', 'U', form == ePdxFormFileNum_1 ? '1' : '0',
                            static_cast<char>(kPdxPro_ETX), 0};
    myPrintfDebug(myFormat("pdxProDevice::GetUploadDataFromPDXCmd => Formed the command = [%s]\n\n",
                           LogString2(command, 5).c_str()));
    if (!SendBegin05Cmd())
        return false;
    if (!SendCommand(command, 5))
        return false;
    if (!ReadExpectedByte(kPdxPro_ACK)) {
        myPrintf("pdxProDevice::GetUploadDataFromPDXCmd => the scanner did not acknowledge the upload "
                 "command\n");
        return false;
    }
    myPrintfDebug("GOOD - GOT 0x06\n");
    // The header block. Its reply is read straight after the request: flushing in between can
    // throw away the request before it left, or the first bytes of the reply.
    char header[kBlockBufferSize + 1] = {0};
    if (!SendCommand(kPdxPro_Begin05Cmd, 1) || !ReadUploadBlock(true, header, kBlockBufferSize))
        return false;
    if (!CheckUploadHeader(form, header))
        return false;

    ReportFormCounts(form);
    const int recordCount = fSystemInfoFormRecord[form].CountOfRecords;
    const int fieldCount = fSystemInfoFormRecord[form].CountOfFieldsPerRecord;
    for (int r = 0; r < recordCount; ++r) {
        char slots[kUploadSlotCount][kUploadSlotSize];
        std::memset(slots, 0, sizeof slots);
        for (int k = 0; k < fieldCount; ++k) {
            char* slot = k + 1 < kUploadSlotCount ? slots[k + 1] : nullptr;
            if (SendCommand(kPdxPro_End06Cmd, 1) && ReadUploadBlock(false, slot, kUploadFieldTextLimit))
                continue;
            myPrintf(myFormat("pdxProDevice::GetUploadDataFromPDXCmd => field %i of record %i of %i did "
                              "not arrive whole; the upload is stopped\n",
                              k + 1, r + 1, recordCount));
            return false;
        }
        barcodeRecord record{};
        record.setScannedID(slots[1]);
        record.setDateScanned(slots[2]);
        record.setTimeScanned(slots[3]);
        if (!fBarcodeFileMgr->writeBarcodeRecord(&record))
            return false;
        if (fUploadProgress)
            fUploadProgress(r + 1, recordCount);
    }
    // The scanner ends the upload with its acknowledgement. Anything else (another block) means it
    // holds more than it announced: those scans would be erased without ever being saved.
    if (!SendCommand(kPdxPro_End06Cmd, 1) || !ReadExpectedByte(kPdxPro_ACK)) {
        myPrintf(
            myFormat("pdxProDevice::GetUploadDataFromPDXCmd => after the last of its %i scans the scanner on "
                     "%s did not end the upload: it holds more than it announced, and the download is not "
                     "complete\n",
                     recordCount, fBsdPathName));
        return false;
    }
    myPrintfDebug("GOOD - GOT 0x06\n");
    return true;
}

bool pdxProDevice::CheckUploadHeader(ePdxFormFileNum form, const char* header) const {
    const std::string text = header;
    const pdxSystemInfoFormRecord& record = fSystemInfoFormRecord[form];
    const std::size_t countsLength = kHeaderRecordDigits + kHeaderFieldDigits;
    const std::string counts = text.size() >= countsLength ? text.substr(text.size() - countsLength) : text;
    if (text.size() < countsLength || !allDigits(counts)) {
        myPrintf(myFormat(
            "pdxProDevice::GetUploadDataFromPDXCmd => the upload's header block [%s] from the scanner "
            "on %s does not end in its record and field counts; nothing is saved from this "
            "transfer\n",
            LogString2(header, static_cast<long>(text.size())).c_str(), fBsdPathName));
        return false;
    }
    const long records = std::strtol(counts.substr(0, kHeaderRecordDigits).c_str(), nullptr, 10);
    const long fields = std::strtol(counts.substr(kHeaderRecordDigits).c_str(), nullptr, 10);
    myPrintfDebug(
        myFormat("pdxProDevice::GetUploadDataFromPDXCmd => the header block announces %ld records of "
                 "%ld fields\n",
                 records, fields));
    if (records == record.ReportedCountOfRecords && fields == record.ReportedCountOfFieldsPerRecord)
        return true;
    myPrintf(myFormat(
        "pdxProDevice::GetUploadDataFromPDXCmd => the scanner on %s contradicts itself: its system "
        "information reports %ld scans of %ld fields, but its upload announces %ld scans of %ld "
        "fields. Nothing is saved from this transfer\n",
        fBsdPathName, record.ReportedCountOfRecords, record.ReportedCountOfFieldsPerRecord, records, fields));
    return false;
}
