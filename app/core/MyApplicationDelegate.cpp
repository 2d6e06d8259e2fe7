#include "MyApplicationDelegate.h"

#include "AlertPanel.h"
#include "ApplicationShell.h"
#include "JobContext.h"
#include "LocalizedText.h"
#include "MacRoman.h"
#include "MainWindowView.h"
#include "RunningThread.h"
#include "StatusDisplay.h"

#include <sys/stat.h>

namespace {

std::atomic<MyApplicationDelegate*> gApplicationDelegate{nullptr};

// Longest working folder path accepted, in bytes.
constexpr size_t kMaxWorkingPathBytes = 1000;

class NullStatusDisplay : public StatusDisplay {
  public:
    void setStatusText(const std::string&) override {}
    void setBusy(bool) override {}
    void setScannerFields(const std::string&, const std::string&, const std::string&) override {}
};

class NullShell : public ApplicationShell {
  public:
    void requestTerminate() override {}
    void bringToFront() override {}
    void startSequencerTimer() override {}
    bool installHostEventHandlers() override { return false; }
    void playSound(const std::string&) override {}
};

// A controller given no job steps (one built for a test of its own): every step says so and the
// job rests.
class AbsentJobSteps : public JobSteps {
  public:
    NextTask buildTheImageList(JobContext&) override { return absent("doBuildTheImageListInAThread"); }
    NextTask prepareForConnection(JobContext&) override { return absent("doPrepareForConnectionInAThread"); }
    NextTask makeConnection(JobContext&) override { return absent("pdxMakeConnection"); }
    NextTask downloadData(JobContext&) override { return absent("pdxDownloadData"); }
    NextTask matchBarcodeDataWithPhotos(JobContext&) override { return absent("matchBarcodeDataWithPhotos"); }
    StepResult deleteData(JobContext&) override { return {absent("pdxDeleteData"), false}; }
    void rescanSerialPort(JobContext&) override {
        myPrintfDebug("rebuildRS232Manager: this program has no job steps\n");
    }

  private:
    static NextTask absent(const char* step) {
        myPrintf(myFormat("%s: this program has no job steps\n", step));
        return std::nullopt;
    }
};

bool isFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

MyApplicationDelegate* applicationDelegate() {
    return gApplicationDelegate.load();
}

MyApplicationDelegate::MyApplicationDelegate(ApplicationServices services, BuildInfo build)
    : fServices(std::move(services)), fBuild(std::move(build)), fAbsentSteps(new AbsentJobSteps),
      fSteps(fServices.steps ? fServices.steps : fAbsentSteps.get()), fNullStatus(new NullStatusDisplay),
      fStatus(fServices.status ? fServices.status : fNullStatus.get()), fNullShell(new NullShell),
      fShell(fServices.shell ? fServices.shell : fNullShell.get()), fHostEvents(fServices.hostEvents),
      fMainThread(std::this_thread::get_id()) {}

MyApplicationDelegate::~MyApplicationDelegate() {
    // A worker that has just released the guard may still be leaving fTaskLock.
    std::lock_guard<std::mutex> finished(fTaskLock);
    MyApplicationDelegate* self = this;
    gApplicationDelegate.compare_exchange_strong(self, nullptr);
    if (defaultMessageSink() == this)
        setDefaultMessageSink(nullptr);
}

void MyApplicationDelegate::applicationWillFinishLaunching() {
    myPrintfDebug("applicationWillFinishLaunching -> start\n\n");
    gApplicationDelegate.store(this);
    setDefaultMessageSink(this);
    MessageLog::InitLog(fServices.logFolder);
    long version = 0;
    GetRunningOSVersion(nullptr, version);

    MainWindowView* view = fServices.view;
    if (view) {
        view->setMessageAreaOpen(true);
        view->centreWindow();
    }
    stopStatusAnimation();

    const std::string& name = fBuild.name.empty() ? std::string("This Application's") : fBuild.name;
    if (fBuild.version.empty())
        myPrintfDebug(
            myFormat("%s Version is [Unable to Read CFBundleShortVersionString]\n\n", name.c_str()));
    else
        myPrintfDebug(myFormat("%s Version is [%s]\n\n", name.c_str(), fBuild.version.c_str()));
    if (view)
        view->setVersionText(
            fillArguments(localizedText("MyApplicationDelegate", "Version: %1"),
                          {fBuild.version.empty() ? localizedText("MyApplicationDelegate", "Unknown???")
                                                  : fBuild.version}));
    else
        myPrintf("applicationWillFinishLaunching => ibVersion is NIL");
    if (view)
        view->setCopyrightText(fBuild.copyright.empty() ? std::string("Copyright (c) VeskBarcode developers")
                                                        : fBuild.copyright);
    else
        myPrintf("applicationWillFinishLaunching => ibCopyright is NIL");

    JobContext context = makeContext();
    fSteps->rescanSerialPort(context);

    if (fShell->installHostEventHandlers())
        myPrintfDebug("setupForAppleEventsForThisApp\n");
    else
        myPrintf("UNABLE setupForAppleEventsForThisApp\n");
    myPrintfDebug("Done applicationWillFinishLaunching\n\n");
}

void MyApplicationDelegate::applicationDidFinishLaunching() {
    myPrintfDebug("applicationDidFinishLaunching -> start\n\n");
    fShell->startSequencerTimer();
    fShell->playSound("Blow");
}

bool MyApplicationDelegate::applicationOpenFile(const char* path) {
    myPrintfDebug("application:(NSApplication *)theApplication openFile:(NSString *)Folder");
    if (isRunningThread()) {
        myPrintfDebug("NSApplication:openFile => gRunningThread==TRUE ");
        return false;
    }
    if (!path) {
        myPrintf("NSApplication:openFile => Passed NO Path???? ");
        return false;
    }
    if (fCurJobCheckListPtr) {
        myPrintf("THERE MIGHT BE ANOTHER JOB in PROCESS?????????");
        return false;
    }
    fCurJobCheckListPtr.reset(new jobCheckList);
    myPrintfDebug("CREATED fCurJobCheckListPtr");
    jobCheckList& job = *fCurJobCheckListPtr;
    job.jobCreated = true;
    job.curTask = eVeskBarcodeTask_StartJob;
    job.nextTask = eVeskBarcodeTask_SetWorkingFolder;

    if (!setWorkingFolderPathName(path)) {
        job.curTask = eVeskBarcodeTask_SetWorkingFolder;
        job.nextTask = eVeskBarcodeTask_SendErrorToVeskBadSourceFolder;
        return false;
    }
    job.workingFolderAccepted = true;
    if (fServices.view)
        fServices.view->setWorkingFolderText(getWorkingFolderPathNameAsNSString());
    myPrintfDebug("Implementing BuildList AS A THREAD...\n");
    job.curTask = eVeskBarcodeTask_SetWorkingFolder;
    job.nextTask = eVeskBarcodeTask_BuildTheImageList;
    return true;
}

bool MyApplicationDelegate::refuseWorkingFolder(const std::string& logText, const std::string& title,
                                                const std::string& message) {
    myPrintf(logText);
    runPlainAlert(title, message, localizedText("MyApplicationDelegate", "OK"));
    return false;
}

bool MyApplicationDelegate::setWorkingFolderPathName(const char* path) {
    if (!path) {
        fWorkingPathName.clear();
        return false;
    }
    std::string given = path;
    // A working folder that is not there would send the job's files somewhere else (an empty
    // path names the current folder), so such a folder is refused like one with a bad name.
    if (given.empty())
        return refuseWorkingFolder(
            "EMPTY Source Path Name: there is no working folder\n",
            localizedText("MyApplicationDelegate", "ERROR: EMPTY Source Path Name"),
            localizedText("MyApplicationDelegate", "Vesk-X passed an empty folder path."));
    if (!isSevenBitAscii(given)) {
        std::string converted = utf8ToMacRoman(given).value_or(given);
        return refuseWorkingFolder(
            "INVALID CHARACTER(s) Found in the Source Path Name:\n" + converted,
            localizedText("MyApplicationDelegate",
                          "ERROR: INVALID CHARACTER(s) Found in the Source Path Name:"),
            given);
    }
    if (given.size() > kMaxWorkingPathBytes)
        return refuseWorkingFolder(myFormat("Source Path Name TOO LONG (%zu bytes, at most %zu):\n",
                                            given.size(), kMaxWorkingPathBytes) +
                                       given,
                                   localizedText("MyApplicationDelegate", "ERROR: Source Path Name TOO LONG"),
                                   given);
    if (!isFolder(given))
        return refuseWorkingFolder(
            "Source Path Name is NOT a Folder:\n" + given,
            localizedText("MyApplicationDelegate", "ERROR: Source Path Name is NOT a Folder:"), given);

    myPrintfDebug("Need to Get filename => into workingFolderPathName...\n");
    myPrintfDebug(given);
    myPrintfDebug("Converting to std::string...\n");
    fWorkingPathName = given;
    if (fWorkingPathName.back() != '/')
        fWorkingPathName += "/";
    return true;
}

std::string MyApplicationDelegate::getWorkingFolderPathNameAsNSString() const {
    return macRomanToUtf8(fWorkingPathName);
}

bool MyApplicationDelegate::applicationOpenUntitledFile() {
    myPrintfDebug("applicationOpenUntitledFile\n\n");
    myNSRunAlertPanel(kLocalizedTable, "NSAlertWindow_9001", nullptr, nullptr);
    MessageLog::SystemLog("Launched Without Vesk-X");
    return true;
}

bool MyApplicationDelegate::applicationShouldTerminate() {
    myPrintfDebug("applicationShouldTerminate");
    if (!isRunningThread())
        return true;
    myPrintfDebug(
        "applicationShouldTerminate => a thread is still running... Need to Tell User we cannot...");
    return myNSRunAlertPanel(kLocalizedTable, "NSAlertWindow_9002", nullptr, nullptr) != 1;
}

void MyApplicationDelegate::applicationWillTerminate() {
    myPrintfDebug("applicationWillTerminate");
    if (fServices.beforeExit)
        fServices.beforeExit();
    MessageLog::CloseLog();
    mySendQuorvelAppleEvent(kVeskXSignature, kVeskBarcodeEventID_QuitEnd);
}

bool MyApplicationDelegate::terminate() {
    if (fTerminating || fTerminated)
        return false;
    fTerminating = true;
    bool now = applicationShouldTerminate();
    fTerminating = false;
    if (!now)
        return false;
    applicationWillTerminate();
    fTerminated = true;
    return true;
}

void MyApplicationDelegate::ibQuitApplication() {
    fShell->requestTerminate();
}

short MyApplicationDelegate::mySendQuorvelAppleEvent(FourCharCode target, FourCharCode eventID) {
    return fHostEvents.sendEvent(target, kVeskBarcodeEventClass, eventID) ? 0 : -1;
}

JobContext MyApplicationDelegate::makeContext() {
    return JobContext(fCurJobCheckListPtr != nullptr, fWorkingPathName, fHostEvents, *fStatus, *fShell);
}

void MyApplicationDelegate::outputError(std::string text) {
    fErrorLog.append(text);
    if (isMainThread())
        updateErrorLog();
}

void MyApplicationDelegate::updateErrorLog() {
    std::string current = fErrorLog.snapshot();
    if (current == fDisplayedErrorLog)
        return;
    MainWindowView* view = fServices.view;
    if (view)
        view->setErrorViewText(messageAreaText(current));
    fDisplayedErrorLog = std::move(current);
    if (view)
        view->scrollErrorViewToEnd();
}

void MyApplicationDelegate::setStatusViewText(const std::string& text) {
    fStatus->setStatusText(text);
}

void MyApplicationDelegate::stopStatusAnimation() {
    fStatus->setStatusText(std::string());
    fStatus->setBusy(false);
}
