#include "ScannerWorkflows.h"

#include "AlertPanel.h"
#include "Clock.h"
#include "JobFileNames.h"
#include "LocalizedText.h"
#include "MessageLog.h"
#include "Preferences.h"
#include "StatusDisplay.h"
#include "Unattended.h"
#include "pdxProDevice.h"
#include "serialRS232Manager.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <vector>

const char kUnknownBarcodeID[] = "UNKNOWN";

namespace {

constexpr const char* kTable = kLocalizedTable;
constexpr auto kTestingModeEraseWait = std::chrono::seconds(3);

// Status line entries.
enum {
    eStatus_Connecting = 1,
    eStatus_InitialisingPort = 2,
    eStatus_PortOpen = 3,
    eStatus_TalkingToScanner = 4,
    eStatus_Downloading = 5,
    eStatus_Erasing = 6,
};
// Scanner field entries.
enum {
    eBarcode_Connecting = 2,
    eBarcode_NoScanner = 3,
    eBarcode_NoSerialPort = 4,
};

std::string listItem(const char* list, short index) {
    return myGetNSArrayItem(kTable, list, index).value_or("<Could NOT Find String>");
}

std::string statusText(short index, const std::string& portPath = std::string()) {
    return formatLocalizedText(listItem("NSArray_ibStatus", index), portPath.c_str());
}

std::string barcodeText(short index) {
    return listItem("NSArray_ibBarcode", index);
}

bool fileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

bool isValidBarcodeID(const std::string& id) {
    return !id.empty() && id != kUnknownBarcodeID;
}

std::string resolvedPath(const std::string& path) {
    char buffer[PATH_MAX] = {0};
    if (realpath(path.c_str(), buffer) == nullptr)
        return std::string();
    return buffer;
}

// The name under which a port is remembered: its stable name (/dev/serial/by-id/...) when it has
// one, so that the choice survives the adapter coming back as another ttyUSB.
std::string rememberedName(const serialRS232Manager::Port& port) {
    return port.info.StablePath().empty() ? port.info.Path() : port.info.StablePath();
}

bool portAnswersTo(const serialRS232Manager::Port& port, const std::string& name) {
    if (name == port.info.Path() || name == port.info.StablePath())
        return true;
    std::string target = resolvedPath(name);
    return !target.empty() && target == resolvedPath(port.info.Path());
}

} // namespace

ScannerWorkflows::ScannerWorkflows() : fBarCodeID(kUnknownBarcodeID) {}

// The scanner objects outlive their managers (they may still be in use by a worker when a rescan
// replaces the manager); they live until the process ends.
ScannerWorkflows::~ScannerWorkflows() = default;

std::string ScannerWorkflows::barCodeID() const {
    std::lock_guard<std::mutex> guard(fLock);
    return fBarCodeID;
}

long ScannerWorkflows::scansOnScanner() const {
    std::lock_guard<std::mutex> guard(fLock);
    return fScansOnScanner;
}

pdxProDevice* ScannerWorkflows::currentDevice() const {
    std::lock_guard<std::mutex> guard(fLock);
    return fCurRS232Device;
}

bool ScannerWorkflows::hasManager() const {
    std::lock_guard<std::mutex> guard(fLock);
    return fRS232Manager != nullptr;
}

std::string ScannerWorkflows::currentPortPath() const {
    pdxProDevice* device = currentDevice();
    return device ? std::string(device->GetBsdPathName()) : std::string();
}

std::string ScannerWorkflows::portText(pdxProDevice* device) const {
    return device ? std::string(device->GetBsdPathName()) : barcodeText(eBarcode_NoSerialPort);
}

bool ScannerWorkflows::isBluetooth(pdxProDevice* device) const {
    return device && hasManager() && serialRS232Manager::IsBluetoothPortPath(device->GetBsdPathName());
}

void ScannerWorkflows::rebuildRS232Manager(JobContext& context) {
    rebuild(context, true);
}

void ScannerWorkflows::rebuild(JobContext& context, bool announceNoPort) {
    std::unique_ptr<serialRS232Manager> manager(new serialRS232Manager);
    manager->FindScannerPorts();
    {
        std::lock_guard<std::mutex> guard(fLock);
        fRS232Manager = std::move(manager);
    }
    chooseCurrentPort(context, announceNoPort);
    if (pdxProDevice* device = currentDevice()) {
        MessageLog::SystemLog(std::string("ibSerialPortName = ") + device->GetBsdPathName());
        showPortField(context);
    }
    showPortChoices(context);
}

void ScannerWorkflows::getCurRS232Device(JobContext& context) {
    chooseCurrentPort(context, true);
}

pdxProDevice* ScannerWorkflows::rememberedPort() const {
    std::optional<std::string> remembered = GeneralPreferencesController::getScannerSerialPort();
    if (!remembered)
        return nullptr;
    std::lock_guard<std::mutex> guard(fLock);
    if (!fRS232Manager)
        return nullptr;
    for (const serialRS232Manager::Port& port : fRS232Manager->GetAllPorts()) {
        if (portAnswersTo(port, *remembered))
            return port.device;
    }
    return nullptr;
}

void ScannerWorkflows::chooseCurrentPort(JobContext& context, bool announceNoPort) {
    pdxProDevice* chosen = rememberedPort();
    bool empty = false;
    {
        std::lock_guard<std::mutex> guard(fLock);
        if (fRS232Manager) {
            const std::vector<pdxProDevice*>& ports = fRS232Manager->GetCFArrayOfRS32FinalList();
            if (chosen)
                fCurRS232Device = chosen;
            else if (ports.empty())
                empty = true;
            else
                fCurRS232Device = ports.front();
        }
    }
    if (chosen)
        myPrintfDebug(std::string("The serial port chosen earlier is there: ") + chosen->GetBsdPathName() +
                      "\n");
    if (empty) {
        myPrintf("CFArrayGetCount(GetCFArrayOfRS32FinalList) is ZERO!!!");
        // Said plainly: no port was found (the scanner's cable or Bluetooth link is missing).
        if (announceNoPort)
            runPlainAlert(localizedText("ScannerWorkflows", "No serial port found"),
                          localizedText("ScannerWorkflows",
                                        "VeskBarcode found no serial port for the barcode scanner. Plug in "
                                        "the scanner's USB-to-serial adapter, or pair the scanner over "
                                        "Bluetooth, then press Rescan Ports."),
                          localizedText("ScannerWorkflows", "OK"));
        if (!currentDevice())
            showPortField(context);
    }
    setSerialPortImage(context);
}

void ScannerWorkflows::showPortChoices(JobContext& context) {
    std::vector<SerialPortChoice> choices;
    std::string current;
    {
        std::lock_guard<std::mutex> guard(fLock);
        if (fRS232Manager) {
            for (const serialRS232Manager::Port& port : fRS232Manager->GetAllPorts())
                choices.push_back({port.info.Path(), port.info.Label()});
        }
        if (fCurRS232Device)
            current = fCurRS232Device->GetBsdPathName();
    }
    context.status().setSerialPortChoices(choices, current);
}

void ScannerWorkflows::chooseSerialPort(JobContext& context, const std::string& path) {
    std::optional<serialRS232Manager::Port> chosen;
    {
        std::lock_guard<std::mutex> guard(fLock);
        if (fRS232Manager) {
            for (const serialRS232Manager::Port& port : fRS232Manager->GetAllPorts()) {
                if (port.info.Path() == path)
                    chosen = port;
            }
        }
        if (chosen)
            fCurRS232Device = chosen->device;
    }
    if (!chosen) {
        myPrintf("The serial port " + path + " is not among the ports found; press Rescan Ports\n");
        showPortChoices(context);
        return;
    }
    myPrintf("Serial port chosen: " + chosen->info.Label() + "\n");
    GeneralPreferencesController::setScannerSerialPort(rememberedName(*chosen));
    showPortField(context);
    showPortChoices(context);
}

void ScannerWorkflows::setSerialPortImage(JobContext& context) {
    pdxProDevice* device = currentDevice();
    if (!device) {
        context.status().setSerialPortImage(std::string());
        return;
    }
    context.status().setSerialPortImage(isBluetooth(device) ? kBluetoothLogoImage : kUsbLogoImage);
}

void ScannerWorkflows::rescanSerialPort(JobContext& context) {
    rebuildRS232Manager(context);
}

void ScannerWorkflows::showScannerFields(JobContext& context, const std::string& model,
                                         const std::string& serialNumber) {
    {
        std::lock_guard<std::mutex> guard(fLock);
        fShownModel = model;
        fShownSerialNumber = serialNumber;
    }
    context.status().setScannerFields(model, serialNumber, portText(currentDevice()));
    setSerialPortImage(context);
}

void ScannerWorkflows::showPortField(JobContext& context) {
    std::string model, serialNumber;
    {
        std::lock_guard<std::mutex> guard(fLock);
        model = fShownModel;
        serialNumber = fShownSerialNumber;
    }
    showScannerFields(context, model, serialNumber);
}

void ScannerWorkflows::finishStatus(JobContext& context) {
    context.status().setStatusText(std::string());
    context.status().setBusy(false);
}

NextTask ScannerWorkflows::prepareForConnection(JobContext& context) {
    context.bringToFront();
    myPrintfDebug("doPrepareForConnectionInAThread\n");
    if (!context.hasJob())
        return std::nullopt;
    myPrintfDebug("SHOULD BE Connecting to Barcode Device SOON NEXT???\n");
    fDoDebugTestingMode = GeneralPreferencesController::getDoEnableInternalTestingMode();

    if (GeneralPreferencesController::getDoManualPromptForBarcodeDataFile()) {
        myPrintfDebug("FORCING to move on to eVeskBarcodeTask_MatchBarcodeDataWithPhotos...");
        return eVeskBarcodeTask_MatchBarcodeDataWithPhotos;
    }
    if (fDoDebugTestingMode) {
        myPrintf("DEBUG VERSION - SKIPPING DOWNLOAD???\n\n");
        int answer = myNSRunAlertPanel(kTable, "NSAlertWindow_1001", nullptr, nullptr);
        if (answer == -1) {
            myPrintfDebug("Debug - moving on to eVeskBarcodeTask_MatchBarcodeDataWithPhotos...");
            return eVeskBarcodeTask_MatchBarcodeDataWithPhotos;
        }
        if (answer != 1) {
            myPrintf("Testing mode: the user cancelled the job\n");
            context.hostEvents().sendEvent(kVeskXSignature, kVeskBarcodeEventClass,
                                           kVeskBarcodeEventID_userAbort);
            return eVeskBarcodeTask_JobEnded;
        }
        fDoDebugTestingMode = false;
    }

    std::string dataFile = context.workingFolder() + kBarcodeDataFileName;
    if (!fileExists(dataFile)) {
        myPrintfDebug("No barcode file exists - need to goto eVeskBarcodeTask_ConnectToBarcodeDevice");
        return eVeskBarcodeTask_ConnectToBarcodeDevice;
    }
    int answer = myNSRunAlertPanel(kTable, "NSAlertWindow_1002", nullptr, nullptr);
    switch (answer) {
    case 1:
        myPrintf("theApplication openFile => User Clicked UseExistingData Button\n");
        return eVeskBarcodeTask_MatchBarcodeDataWithPhotos;
    case 0:
        myPrintf("theApplication openFile => User Clicked ALTERNATE Button\n");
        return std::nullopt;
    case -1:
        myPrintf("theApplication openFile => User Clicked CANCEL/OTHER Button\n");
        return eVeskBarcodeTask_UserCancel;
    default:
        myPrintf("pdxMakeConnection => User Clicked ??????? Button\n");
        return eVeskBarcodeTask_UserCancel;
    }
}

NextTask ScannerWorkflows::makeConnection(JobContext& context) {
    context.bringToFront();
    return connect(context);
}

NextTask ScannerWorkflows::connect(JobContext& context, bool forErase) {
    myPrintf("pdxMakeConnection => Trying to Make Connection with barcode device");
    StatusDisplay& status = context.status();
    status.setBusy(true);
    status.setStatusText(statusText(eStatus_Connecting));
    // A connection without a port ends in alert 9009, so the rescans here do not announce it.
    // A current port that has vanished (the adapter unplugged, perhaps back under another name)
    // is looked for again too.
    std::string previousPath = currentPortPath();
    if (!hasManager() || (!previousPath.empty() && access(previousPath.c_str(), F_OK) != 0))
        rebuild(context, false);
    pdxProDevice* device = currentDevice();
    // Without a port the status line says so instead of naming a port.
    status.setStatusText(device ? statusText(eStatus_InitialisingPort, portText(device)) : portText(device));
    if (device && !openForConnection(context, device)) {
        finishStatus(context);
        return std::nullopt; // the job rests at the connection
    }
    if (device)
        status.setStatusText(statusText(eStatus_PortOpen, portText(device)));

    // Without a port the cable question comes first: it tells the user to plug the adapter in.
    const char* readyAlert = isBluetooth(device) ? (forErase ? "NSAlertWindow_1013" : "NSAlertWindow_1003")
                                                 : (forErase ? "NSAlertWindow_1015" : "NSAlertWindow_1005");
    NextTask next;
    if (myNSRunAlertPanel(kTable, readyAlert, nullptr, nullptr) != 1) {
        myPrintf("pdxMakeConnection => the user did not ready the scanner: the job is cancelled\n");
        next = eVeskBarcodeTask_UserCancel;
    } else {
        status.setStatusText(statusText(eStatus_TalkingToScanner));
        status.setBusy(true);
        showScannerFields(context, barcodeText(eBarcode_Connecting), barcodeText(eBarcode_Connecting));
        if (!device) {
            // The adapter may have been plugged in just now, as the question asked.
            rebuild(context, false);
            device = currentDevice();
        }
        if (!device) {
            // Nothing to talk to: said plainly, and the job stays here until the user has
            // connected the scanner and presses Connect again.
            myPrintf("pdxMakeConnection => there is no serial port for the scanner\n");
            showScannerFields(context, barcodeText(eBarcode_NoScanner), barcodeText(eBarcode_NoScanner));
            myNSRunAlertPanel(kTable, "NSAlertWindow_9009", nullptr, nullptr);
        } else if (device->MakeConnection()) {
            myPrintf("pdxMakeConnection => Zebex Device CONNECTED!");
            std::string unitID = device->fUnitID;
            {
                std::lock_guard<std::mutex> guard(fLock);
                fBarCodeID = unitID.empty() ? std::string(kUnnamedBarcodeID) : unitID;
                fScansOnScanner =
                    device->fSystemInfoFormRecord[pdxProDevice::ePdxFormFileNum_1].ReportedCountOfRecords;
            }
            showScannerFields(context, device->fModelName, unitID);
            next = eVeskBarcodeTask_DownloadBarcodeData;
        } else {
            myPrintf("NO DEVICE CONNECTED!!!");
            showScannerFields(context, barcodeText(eBarcode_NoScanner), barcodeText(eBarcode_NoScanner));
        }
    }
    if (device)
        device->CloseSerialPort();
    finishStatus(context);
    return next;
}

bool ScannerWorkflows::openForConnection(JobContext& context, pdxProDevice* device) {
    if (device->OpenSerialPort() >= 0)
        return true;
    // Not allowed, in use or gone: waiting for a scanner to answer would change nothing, so the
    // attempt ends here with the reason, and the job rests until the user connects again.
    std::string reason = device->OpenFailureSentence();
    myPrintf("pdxMakeConnection => " + reason + "\n");
    showScannerFields(context, reason, std::string());
    // Nothing is under way while the user reads why: the status line stops saying the port is
    // being set up.
    finishStatus(context);
    myNSRunAlertPanel(kTable, "NSAlertWindow_9020", reason.c_str(), nullptr);
    return false;
}

bool ScannerWorkflows::downloadWithProgress(pdxProDevice& device, const std::string& barcodeID) {
    JobProgress* progress = fProgress;
    if (progress)
        device.fUploadProgress = [progress](int received, int total) {
            progress->setStepProgress(eJobStep_Download, size_t(std::max(0, received)),
                                      size_t(std::max(0, total)));
        };
    bool downloaded = device.DownloadDataFromDevice(barcodeID.c_str());
    device.fUploadProgress = nullptr;
    return downloaded;
}

NextTask ScannerWorkflows::downloadData(JobContext& context) {
    context.bringToFront();
    myPrintf("pdxDownloadData => Trying to Make Connection with barcode device");
    std::string barcodeID = barCodeID();
    NextTask next;
    bool goOn = false;
    if (barcodeID == kUnknownBarcodeID) {
        myPrintf("pdxDownloadData => Device Not Connected???");
    } else if (!barcodeID.empty()) {
        std::string title =
            fillArguments(localizedText("ScannerWorkflows", "FOUND Zebex Unit SN# [%1]!"), {barcodeID});
        // The question says how many scans the scanner holds (from its system information).
        std::string scans = std::to_string(scansOnScanner());
        if (myNSRunAlertPanel(kTable, "NSAlertWindow_1009", title.c_str(), nullptr, scans.c_str(), nullptr) ==
            1)
            goOn = true;
        else
            next = eVeskBarcodeTask_UserCancel;
    }

    bool downloaded = false;
    if (goOn) {
        context.status().setBusy(true);
        context.status().setStatusText(statusText(eStatus_Downloading));
        pdxProDevice* device = currentDevice();
        if (!device) {
            myNSRunAlertPanel(kTable, "NSAlertWindow_9009", nullptr, nullptr);
        } else {
            myPrintf("pdxDownloadData => Trying to Download Data...");
            // A folder the data file cannot be named in must not send the scans elsewhere.
            if (!device->SetWorkingPathCString(context.workingFolder().c_str())) {
                myPrintf("pdxDownloadData => the data file cannot be written in the working folder " +
                         context.workingFolder() + "\n");
            } else if (downloadWithProgress(*device, barcodeID)) {
                myPrintf("pdxDownloadData => Data Has Been Downloaded!");
                showScannerFields(context, device->fModelName, device->fUnitID);
                downloaded = true;
            } else {
                myPrintf("Unable to Download Data - Please check connection!!!");
            }
        }
    }
    finishStatus(context);

    if (!context.hasJob()) {
        myPrintf("fCurJobCheckListPtr is NIL???\n");
        return next;
    }
    if (!downloaded) {
        myPrintf("Download FAILED\n");
        return next;
    }
    myPrintf("pdxDownloadData fCurJobCheckListPtr->nextTask = eVeskBarcodeTask_MatchBarcodeDataWithPhotos\n");
    return eVeskBarcodeTask_MatchBarcodeDataWithPhotos;
}

StepResult ScannerWorkflows::simulateErase(JobContext& context) {
    HostEvents& host = context.hostEvents();
    StepResult result;
    if (!context.hostConfirmedErase()) {
        // 'ok02' answers the host's permission after 'ok01'; without them it would tell the host
        // of an erase that nobody asked for.
        myPrintf("DUMMY EVENT - testing mode: the erase is only simulated, and Vesk-X has not confirmed this "
                 "job, so it is not told anything\n");
        return result;
    }
    myPrintf("DUMMY EVENT - Erased DATA from Barcode Device...\n");
    processClock().sleepFor(kTestingModeEraseWait);
    myPrintf("mySendQuorvelAppleEvent kVeskBarcodeEventID_Success");
    host.sendEvent(kVeskXSignature, kVeskBarcodeEventClass, kVeskBarcodeEventID_EraseSuccess);
    myPrintf("pdxDeleteData => will issue quit when done...");
    myPrintf("mySendQuorvelAppleEvent kVeskBarcodeEventID_eraseOkay");
    host.sendEvent(kVeskXSignature, kVeskBarcodeEventClass, kVeskBarcodeEventID_EraseSuccess);
    myPrintf("pdxDeleteData => Thread is pretty much done...");
    myPrintf("pdxDeleteData => issue terminate...");
    myPrintf("mySendQuorvelAppleEvent tell veskBarcode to Quit\n");
    result.terminateProgram = true;
    return result;
}

bool ScannerWorkflows::ensureSerialNumber(JobContext& context, pdxProDevice& device) {
    std::string barcodeID = barCodeID();
    if (barcodeID.empty())
        myPrintf("pdxDeleteData => Invalid Barcode Device SerialNumber => Try Connecting Again...\n");
    else if (barcodeID == kUnknownBarcodeID)
        myPrintf("pdxDeleteData => Invalid Barcode Device SerialNumber => NEVER Initialized!\n");
    if (!isValidBarcodeID(barcodeID)) {
        // The reconnection's successor is dropped: the job stays at the erase, and the guard
        // stays taken until the erase ends.
        connect(context, true);
        barcodeID = barCodeID();
        if (barcodeID.empty())
            myPrintf("pdxDeleteData => Invalid Barcode Device SerialNumber => Still Zero Length...\n");
        else if (barcodeID == kUnknownBarcodeID)
            myPrintf("pdxDeleteData => Invalid Barcode Device SerialNumber => Still UNKNOWN!\n");
    }
    if (isValidBarcodeID(barcodeID))
        return true;
    myPrintf("pdxDeleteData => UNABLE to Get a Valid Barcode Serial Number!\n");
    myNSRunAlertPanel(kTable, "NSAlertWindow_9003", device.fUnitID, nullptr);
    return false;
}

StepResult ScannerWorkflows::deleteData(JobContext& context) {
    if (fDoDebugTestingMode)
        return simulateErase(context);
    HostEvents& host = context.hostEvents();
    const bool confirmed = context.hostConfirmedErase();
    StepResult result;
    myPrintf("\n --- Starting Delete Data Process!!!! ------..\n");
    myPrintfDebug("pdxDeleteData");
    if (!confirmed)
        myPrintf(
            "pdxDeleteData => Vesk-X has not confirmed this job's matches: the scanner is erased only when "
            "this folder holds every scan of it, and Vesk-X is not told\n");
    bool erased = false;
    pdxProDevice* device = currentDevice();
    if (!device || ensureSerialNumber(context, *device)) {
        context.status().setBusy(true);
        context.status().setStatusText(statusText(eStatus_Erasing));
        device = currentDevice();
        if (!device)
            myNSRunAlertPanel(kTable, "NSAlertWindow_9009", nullptr, nullptr);
        else
            erased = eraseWithGuard(context, *device, result.next);
    }
    finishStatus(context);

    if (!confirmed) {
        myPrintf(erased
                     ? "pdxDeleteData => the scanner is empty; Vesk-X is not told (it has not confirmed this "
                       "job)\n"
                     : "pdxDeleteData => the scanner was not erased\n");
        return result;
    }
    if (erased) {
        myPrintf("pdxDeleteData => will issue quit when done...");
        myPrintf("mySendQuorvelAppleEvent kVeskBarcodeEventID_eraseOkay");
        host.sendEvent(kVeskXSignature, kVeskBarcodeEventClass, kVeskBarcodeEventID_EraseSuccess);
    } else {
        myPrintf("mySendQuorvelAppleEvent kVeskBarcodeEventID_eraseFail");
        host.sendEvent(kVeskXSignature, kVeskBarcodeEventClass, kVeskBarcodeEventID_EraseFailed);
    }
    myPrintf("pdxDeleteData => Thread is pretty much done...");
    if (erased) {
        myPrintf("pdxDeleteData => issue terminate...");
        result.terminateProgram = true;
    }
    return result;
}

bool ScannerWorkflows::eraseWithGuard(JobContext& context, pdxProDevice& device, NextTask& next) {
    const std::string barcodeID = barCodeID();
    // The guard reads this folder's data file; a folder whose paths are too long has none.
    std::string dataFile;
    if (!context.workingFolder().empty() && device.SetWorkingPathCString(context.workingFolder().c_str()))
        dataFile = context.workingFolder() + kBarcodeDataFileName;
    myPrintfDebug("pdxDeleteData => Trying to DELETE Barcode Data PERMANENTLY!!!");
    pdxEraseResult erase = device.DeleteDataNew(barcodeID.c_str(), pdxEraseGuard::ForDataFile(dataFile));
    const ePdxEraseVerdict verdict = erase.check.verdict;
    const bool askable =
        verdict != ePdxEraseVerdict_NotExpectedScanner && verdict != ePdxEraseVerdict_NotAsShown;
    if (erase.outcome != ePdxEraseOutcome_Refused || context.hostConfirmedErase() || !askable)
        return reportErase(context, device, erase, next);

    // The user's own erase of scans that are not saved here: only when asked for on purpose.
    const std::string count = std::to_string(erase.check.scannerScans);
    if (isUnattended()) {
        myPrintf("pdxDeleteData => unattended: \"Keep the scans\"; nothing was erased\n");
        return false;
    }
    if (myNSRunAlertPanel(kTable, "NSAlertWindow_9015", {erase.check.scannerUnitID, count}) != 0) {
        myPrintf("pdxDeleteData => the user kept the scans; nothing was erased\n");
        return false;
    }
    myPrintf(myFormat("pdxDeleteData => the user chose to erase the %ld scans of scanner %s anyway\n",
                      erase.check.scannerScans, erase.check.scannerUnitID.c_str()));
    erase = device.DeleteDataNew(
        barcodeID.c_str(), pdxEraseGuard::OnPurpose(erase.check.scannerUnitID, erase.check.scannerScans));
    return reportErase(context, device, erase, next);
}

bool ScannerWorkflows::reportErase(JobContext& context, pdxProDevice& device, const pdxEraseResult& erase,
                                   NextTask& next) {
    const pdxEraseCheck& check = erase.check;
    const std::string scans = std::to_string(check.scannerScans);
    const std::string saved = std::to_string(check.savedScans);
    switch (erase.outcome) {
    case ePdxEraseOutcome_Erased:
    case ePdxEraseOutcome_NothingToErase:
        myPrintfDebug("pdxDeleteData => DATA DELETED!!");
        showScannerFields(context, device.fModelName, device.fUnitID);
        return true;
    case ePdxEraseOutcome_Refused:
        break;
    case ePdxEraseOutcome_NotConfirmed:
        myNSRunAlertPanel(kTable, "NSAlertWindow_9014", check.scannerUnitID.c_str(), nullptr);
        return false;
    case ePdxEraseOutcome_DataRemains:
    case ePdxEraseOutcome_NoScanner:
    case ePdxEraseOutcome_NoUnitID:
        myPrintf("pdxDeleteData => Unable to Delete Data !!!");
        myNSRunAlertPanel(kTable, "NSAlertWindow_9004", nullptr, nullptr);
        return false;
    }

    const char* key = nullptr;
    std::vector<std::string> args = {check.scannerUnitID, scans};
    switch (check.verdict) {
    case ePdxEraseVerdict_LateScans:
        key = "NSAlertWindow_9010";
        args.push_back(saved);
        args.push_back(std::to_string(check.scannerScans - check.savedScans));
        break;
    case ePdxEraseVerdict_OtherScanner:
        key = "NSAlertWindow_9011";
        args.push_back(check.savedUnitID);
        args.push_back(saved);
        break;
    case ePdxEraseVerdict_NoDataFile:
    case ePdxEraseVerdict_UnreadableDataFile:
        key = "NSAlertWindow_9012";
        break;
    case ePdxEraseVerdict_MissingScans:
        key = "NSAlertWindow_9013";
        args.push_back(saved);
        break;
    case ePdxEraseVerdict_NotExpectedScanner:
        myNSRunAlertPanel(kTable, "NSAlertWindow_9016", {check.scannerUnitID, scans, check.expectedUnitID});
        return false;
    case ePdxEraseVerdict_NotAsShown:
        myNSRunAlertPanel(kTable, "NSAlertWindow_9017", {check.scannerUnitID, scans, saved});
        return false;
    case ePdxEraseVerdict_Allowed:
    case ePdxEraseVerdict_NothingToErase:
        return false;
    }
    // Only the job's own erase offers the download: it then goes on from there (match, review,
    // 'ok01' again).
    if (myNSRunAlertPanel(kTable, key, args) == 0 && context.hasJob() && context.hostConfirmedErase()) {
        myPrintf("pdxDeleteData => the user chose to download again\n");
        next = eVeskBarcodeTask_DownloadBarcodeData;
    }
    return false;
}
