// The job's work with the batch scanner: choosing the serial port (with its logo), deciding
// whether a download is needed, connecting, downloading the stored scans into the working folder
// and erasing them once the host has confirmed.
//
// prepareForConnection, makeConnection, downloadData and deleteData are job steps (see
// JobSteps.h: the caller holds the worker guard for the whole step, the step returns the task that
// follows and never touches the job record). rebuildRS232Manager runs on the thread that calls
// it: the user-interface thread at launch and for the rescan button, a worker when a connection
// finds no port manager.
#pragma once

#include "JobContext.h"
#include "JobProgress.h"
#include "JobSteps.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

class pdxProDevice;
class serialRS232Manager;
struct pdxEraseResult;

// The serial number the program starts with, before any scanner has answered.
extern const char kUnknownBarcodeID[]; // "UNKNOWN"

class ScannerWorkflows {
  public:
    ScannerWorkflows();
    ~ScannerWorkflows();
    ScannerWorkflows(const ScannerWorkflows&) = delete;
    ScannerWorkflows& operator=(const ScannerWorkflows&) = delete;

    // Port discovery: a fresh manager, its search, then the current port, its logo and the list
    // of every port for the chooser.
    void rebuildRS232Manager(JobContext& context);
    // Takes the port the user chose (remembered in the settings) when it is there, else the first
    // port of the final list, as the current port (keeps the old one when the search found none)
    // and shows the logo.
    void getCurRS232Device(JobContext& context);
    // The user's choice in the port chooser: the port at path (as the last search listed it)
    // becomes the current port and is remembered in the settings.
    void chooseSerialPort(JobContext& context, const std::string& path);
    // The Bluetooth logo for a Bluetooth port, the USB logo for any other, none without a port.
    void setSerialPortImage(JobContext& context);
    // The rescan button: rediscover the ports.
    void rescanSerialPort(JobContext& context);

    // Task 6: testing mode, an existing data file, else on to task 7.
    NextTask prepareForConnection(JobContext& context);
    // Task 7: the scanner's model and serial number; task 8 follows when it answered, task 2 when
    // the user did not ready it, nothing (the job rests) when no scanner answered or the port did
    // not open. A port that does not open says why, plainly (not allowed, in use, gone), in the
    // scanner field and in the alert that ends the attempt (NSAlertWindow_9020).
    NextTask makeConnection(JobContext& context);
    // Task 8: the stored scans into BarcodeDataSource.txt; task 9 follows when they arrived whole,
    // task 2 when the user did not confirm the serial number.
    NextTask downloadData(JobContext& context);
    // Task 12 and the Erase Scanner button: erases the scanner that the job read (reconnecting
    // first when no serial number is known), but only when this folder's BarcodeDataSource.txt
    // holds every scan the scanner holds (pdxEraseGuard, checked in the erase's own connection).
    // When the host has confirmed the job (context.hostConfirmedErase()): 'ok02' and the end of
    // the program, or 'err2' and the program stays open; a refusal explains itself and offers to
    // download again, the one case in which the erase moves the job (to the download). Otherwise
    // the erase is the user's own: the host is told nothing, and scans that are not saved here
    // are erased only when the user answers the question to erase them anyway (never unattended).
    StepResult deleteData(JobContext& context);

    // The serial number of the scanner that answered last ("UNKNOWN" before any).
    std::string barCodeID() const;
    // The number of scans the scanner that answered last reported in its system information (0
    // before any answered).
    long scansOnScanner() const;
    // Where the download reports "scan k of N" (may be null).
    void setProgress(JobProgress* progress) { fProgress = progress; }
    // The current port's device path; empty without a port.
    std::string currentPortPath() const;
    bool testingMode() const { return fDoDebugTestingMode.load(); }

  private:
    // The download of the current device, reporting each record received to fProgress.
    bool downloadWithProgress(pdxProDevice& device, const std::string& barcodeID);
    // The connection itself; the task that would follow it. The erase's reconnection drops that
    // task, so the job stays where it is and no download can be started while the erase runs.
    // forErase: the erase's own question to get the scanner ready, not the download's.
    NextTask connect(JobContext& context, bool forErase = false);
    // The testing mode's erase: nothing is sent to the scanner.
    StepResult simulateErase(JobContext& context);
    // Makes sure a serial number is known, reconnecting when none is (alert 9003 when it fails).
    bool ensureSerialNumber(JobContext& context, pdxProDevice& device);
    // The guarded erase and what the user is told; true when the scanner is empty at the end.
    // next: the download, when the user chooses to download again after a refusal.
    bool eraseWithGuard(JobContext& context, pdxProDevice& device, NextTask& next);
    bool reportErase(JobContext& context, pdxProDevice& device, const pdxEraseResult& erase, NextTask& next);
    // announceNoPort: tell the user in an alert when the search found no port.
    void rebuild(JobContext& context, bool announceNoPort);
    void chooseCurrentPort(JobContext& context, bool announceNoPort);
    // The port the remembered choice names among the ports found; null when none.
    pdxProDevice* rememberedPort() const;
    // Every port found, with the current one, to the chooser.
    void showPortChoices(JobContext& context);
    // Opens the current port for the connection; false after telling the user why it did not.
    bool openForConnection(JobContext& context, pdxProDevice* device);
    pdxProDevice* currentDevice() const;
    bool hasManager() const;
    // The text the port fields and status texts show for the current port.
    std::string portText(pdxProDevice* device) const;
    bool isBluetooth(pdxProDevice* device) const;
    void showScannerFields(JobContext& context, const std::string& model, const std::string& serialNumber);
    // The port field (and logo) anew, the model and serial fields as they were last shown.
    void showPortField(JobContext& context);
    void finishStatus(JobContext& context);

    mutable std::mutex fLock; // guards the manager, the current port and the serial number
    std::unique_ptr<serialRS232Manager> fRS232Manager;
    pdxProDevice* fCurRS232Device = nullptr;
    std::string fBarCodeID;
    long fScansOnScanner = 0;
    JobProgress* fProgress = nullptr;
    std::string fShownModel;
    std::string fShownSerialNumber;
    std::atomic<bool> fDoDebugTestingMode{false};
};
