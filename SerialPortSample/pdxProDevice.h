// One Zebex PDx Pro batch scanner reached through one serial port: remote mode, the system
// information, the upload of form 1 into BarcodeDataSource.txt, and its erase.
//
// A caller runs, on one worker thread at a time:
//   MakeConnection()                  reach the scanner, read fModelName and fUnitID
//   SetWorkingPathCString(folder)     the job's folder, ending in "/"
//   DownloadDataFromDevice(unitID)    form 1 into folder + "BarcodeDataSource.txt"
//   DeleteData(unitID)                erase form 1 when the folder's data file holds every scan of
//                                     it, and confirm that it is empty (DeleteDataNew: any guard)
// Each of them opens the port as it needs it and closes it before returning. Inside, remote mode
// is held by a pdxRemoteModeSession, which sends ESC and closes the port on every way out; a new
// sequence of exchanges does the same.
#pragma once

#include "barcodeDataFileMgr.h"
#include "pdxEraseGuard.h"
#include "serialRS232Device.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

// What a download left behind, for the caller's messages and for tests.
extern const char kBarcodeDataPartialFileName[]; // "BarcodeDataSource.txt.part", while it runs
extern const char kBarcodeDataDamagedFileName[]; // "BarcodeDataSource.damaged.txt", a failed one
// An earlier data file that a download replaced while it held other scans:
// "BarcodeDataSource.replaced-YYYYMMDD-HHMMSS.txt" ("-2", "-3"... before ".txt" when taken).
extern const char kBarcodeDataReplacedFilePrefix[]; // "BarcodeDataSource.replaced-"
// The unit ID of a scanner whose system information names none.
extern const char kUnnamedBarcodeID[]; // "177?????"

class pdxProDevice : public serialRS232Device {
  public:
    enum ePdxFormFileNum : int { ePdxFormFileNum_0 = 0, ePdxFormFileNum_1 = 1 };

    // One form's description from the system information.
    struct pdxSystemInfoFormRecord {
        char FormName[10];
        short CountOfRecords;         // 1 .. 1499, else 0
        short CountOfFieldsPerRecord; // 1 .. 9, else 0
        // The counts as the scanner sent them, before the range rule. Only a reported record
        // count of 0 (the digits 00000) is an empty form; anything else out of range is a form
        // this program cannot read, not an empty one.
        long ReportedCountOfRecords;
        long ReportedCountOfFieldsPerRecord;
    };

    static constexpr std::size_t kWorkingPathSize = 2000;
    static constexpr int kUploadSlotCount = 11;
    static constexpr int kUploadSlotSize = 26;
    static constexpr int kUploadFieldTextLimit = 24;
    static constexpr short kDownloadRemoteModeSeconds = 30;
    static constexpr short kConnectRemoteModeSeconds = 120;
    static constexpr int kReopenTicks = 900; // 15 seconds

    pdxProDevice();
    ~pdxProDevice() override;

    // The connection check: remote mode (two loops of 120 seconds at most), then the system
    // information, then leave remote mode and close. True when the scanner answered and its
    // model and unit ID were read into fModelName and fUnitID.
    // The console self-test of the scanner (developer use): opens the port (11 tries), enters
    // remote mode (5 tries), reads the settings and the system information, downloads form 1
    // into <unit ID>BarcodeDataSource.txt in the current directory and reads the scanner's date
    // and time; then leaves remote mode and closes the port. True when the data file was
    // written from a clean transfer.
    bool DoDebugTest() override;
    bool MakeConnection() override;
    bool MakeConnectionNew();

    // The job's working folder, ending in "/". False (and an empty path) for an empty folder
    // or one whose data file paths would not fit 1023 characters.
    bool SetWorkingPathCString(const char* folder);
    const char* GetWorkingPath() const { return fWorkingPath; }

    // Remote mode.
    bool EnterRemoteMode();
    bool EnterRemoteModeLoop2(short seconds);
    bool EnterRemoteModeLoop(short seconds);
    bool QuitRemoteMode();
    bool SendBegin05Cmd();
    bool SendEnd06Cmd();
    bool DummyModemCommand();
    bool GetDateInfoCmd();
    bool GetTimeInfoCmd();
    bool GetBarCodeSettingCmd();

    // System information: true when a valid reply filled the fields below.
    bool GetSystemInfoCmd();
    static bool GetSystemInfoFormRecord(const unsigned char* payload, short formIndex,
                                        pdxSystemInfoFormRecord& record);
    // True when the form reports exactly 0 records.
    bool IsFormEmpty(ePdxFormFileNum form) const;
    // True when the form's counts can be uploaded: empty, or 1 .. 1499 records of 1 .. 9
    // fields. Otherwise reports why not.
    bool CheckFormCountsForUpload(ePdxFormFileNum form) const;

    // The download of form 1 into the working folder. True only when every block arrived whole
    // with a matching checksum and BarcodeDataSource.txt now holds the scanner's records (or
    // only its two header lines when the form is empty). A failed transfer never creates or
    // replaces BarcodeDataSource.txt; what arrived is kept in BarcodeDataSource.damaged.txt.
    bool DownloadDataFromDevice(const char* expectedUnitID);
    // Told after each record of a download has been written: records so far, records in the form.
    // Called on the downloading thread; empty: nobody listens.
    std::function<void(int received, int total)> fUploadProgress;
    bool DownloadDataFromDeviceNew(const char* expectedUnitID);
    // The block transfer into the open data file; true only for a clean transfer.
    bool GetUploadDataFromPDXCmd(ePdxFormFileNum form);

    // The erase of form 1, in one remote-mode connection: read the system information, check it
    // with the guard (pdxEraseGuard: the scanner is expectedUnitID and every scan it holds is
    // saved), and only then send the erase command and read the system information again (three
    // tries) to confirm that form 1 is empty. Nothing is sent without the guard's consent; a
    // missing expectedUnitID leaves the port untouched.
    pdxEraseResult DeleteDataNew(const char* expectedUnitID, const pdxEraseGuard& guard);
    // DeleteDataNew checked against BarcodeDataSource.txt of the working folder (none when no
    // folder is set). True when form 1 is known to be empty at the end.
    bool DeleteData(const char* expectedUnitID);

    // The writer of the current download (a fresh one per download).
    barcodeDataFileMgr& BarcodeFileMgr() { return *fBarcodeFileMgr; }

    // Filled by GetSystemInfoCmd; read directly by the application after a connection.
    unsigned char fGetSystemInfo[500];
    pdxSystemInfoFormRecord fSystemInfoFormRecord[9];
    char fModelName[10];
    char fUnitID[10];
    char fDateMode[2];

  private:
    // Sends a command and, when sent, reads a reply of exactly replyLength bytes into reply
    // (cleared first). Starts by discarding stale input.
    bool SendCommand(const char* command, long length);
    bool SendAndReadReply(const char* command, long length, char* reply, long replyLength);
    bool ReadExpectedByte(unsigned char expected);
    bool ReadUploadBlock(bool isHeader, char* text, int textLimit);
    // The upload's header block against the system information: the same record and field counts.
    bool CheckUploadHeader(ePdxFormFileNum form, const char* header) const;
    // The one erase command (STX "CE" digit ETX) in a transaction of its own; true when it was
    // sent. Only DeleteDataNew calls it, after the guard's check.
    bool DeleteDataCmd(ePdxFormFileNum form);
    void ReportFormCounts(int form) const;
    bool FinishDownload(bool clean, const std::string& partialPath, const std::string& finalPath);
    // An earlier data file that the new one would replace is kept beside it, under a name of its
    // own, when it holds scans the new one does not (another scanner's, another day's). False
    // when it had to be kept and could not be.
    bool KeepReplacedDataFile(const std::string& partialPath, const std::string& finalPath);

    std::unique_ptr<barcodeDataFileMgr> fBarcodeFileMgr;
    char fWorkingPath[kWorkingPathSize];
};
