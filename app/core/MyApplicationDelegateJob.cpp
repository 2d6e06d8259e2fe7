// The job side of the controller: the sequencer tick, the commands that start workers, the end of
// each worker, the two confirmation tasks and the host's incoming events. Everything that writes
// the job record is here (and the record's creation in applicationOpenFile).
#include "MyApplicationDelegate.h"

#include "AlertPanel.h"
#include "ApplicationShell.h"
#include "Clock.h"
#include "JobContext.h"
#include "MainWindowView.h"
#include "RunningThread.h"

#include <chrono>
#include <system_error>

namespace {

std::string classAndIDLine(const IncomingHostEvent& event) {
    std::string eventClass = fourCharCodeText(event.eventClass);
    std::string eventID = fourCharCodeText(event.eventID);
    return "theEventClass = [" + eventClass + "]\ntheEventID = [" + eventID + "]\n";
}

std::string parameterOf(const IncomingHostEvent& event, const char* keyword) {
    auto found = event.parameters.find(keyword);
    return found == event.parameters.end() ? std::string() : found->second;
}

const char kCameraResponse[] = "Response To RequestCameraSettingsCommand";
constexpr auto kCameraWait = std::chrono::seconds(5);

} // namespace

void MyApplicationDelegate::doIdle() {
    if (fIsInIdle) {
        myPrintf("Still inside doIdle - gIsInIdle=true");
        return;
    }
    if (fTerminated)
        return;
    fIsInIdle = true;
    updateErrorLog();
    jobCheckList* job = fCurJobCheckListPtr.get();
    // A worker's end writes its successor and frees the guard under this lock: a successor seen
    // here belongs to a worker that has finished.
    std::lock_guard<std::mutex> moving(fTaskLock);
    if (job && job->curTask.load() != job->nextTask.load()) {
        switch (job->nextTask.load()) {
        case eVeskBarcodeTask_None:
            job->curTask = eVeskBarcodeTask_None;
            break;
        case eVeskBarcodeTask_StartJob:
        case eVeskBarcodeTask_Reserved3:
        case eVeskBarcodeTask_SetWorkingFolder:
        case eVeskBarcodeTask_JobEnded:
            break;
        case eVeskBarcodeTask_UserCancel:
            job->curTask = eVeskBarcodeTask_UserCancel;
            myPrintf("User Did Cancel...\nSending kVeskBarcodeEventID_userAbort...");
            mySendQuorvelAppleEvent(kVeskXSignature, kVeskBarcodeEventID_userAbort);
            job->nextTask = eVeskBarcodeTask_JobEnded;
            break;
        case eVeskBarcodeTask_BuildTheImageList:
            ibBuildTheImageListInAThread();
            break;
        case eVeskBarcodeTask_PrepareForConnection:
            ibPrepareForConnectionInAThread();
            break;
        case eVeskBarcodeTask_ConnectToBarcodeDevice:
            myPrintf("doIdle => eVeskBarcodeTask_ConnectToBarcodeDevice\n");
            job->curTask = eVeskBarcodeTask_ConnectToBarcodeDevice;
            ibConnectToBarcodeDevice();
            break;
        case eVeskBarcodeTask_DownloadBarcodeData:
            myPrintf("doIdle => eVeskBarcodeTask_DownloadBarcodeData\n");
            job->curTask = eVeskBarcodeTask_DownloadBarcodeData;
            ibDownloadData();
            break;
        case eVeskBarcodeTask_MatchBarcodeDataWithPhotos:
            myPrintf("doIdle => eVeskBarcodeTask_MatchBarcodeDataWithPhotos\n");
            job->curTask = eVeskBarcodeTask_MatchBarcodeDataWithPhotos;
            ibMatchBarcodeDataWithPhotos();
            break;
        case eVeskBarcodeTask_TellVeskToConfirm:
            job->curTask = eVeskBarcodeTask_TellVeskToConfirm;
            doTellVeskToConfirm();
            break;
        case eVeskBarcodeTask_WaitForVeskToConfirm:
            job->curTask = eVeskBarcodeTask_WaitForVeskToConfirm;
            doWaitForVeskToConfirm();
            break;
        case eVeskBarcodeTask_DeleteData:
            job->curTask = eVeskBarcodeTask_DeleteData;
            ibDeleteData();
            break;
        case eVeskBarcodeTask_SendErrorToVeskBadSourceFolder:
            job->curTask = eVeskBarcodeTask_SendErrorToVeskBadSourceFolder;
            myPrintf("doIdle eVeskBarcodeTask_SendErrorToVeskBadSourceFolder\n");
            mySendQuorvelAppleEvent(kVeskXSignature, kVeskBarcodeEventID_BadSourceFolder);
            job->nextTask = eVeskBarcodeTask_JobEnded;
            break;
        case eVeskBarcodeTask_SendErrorToVeskMatchFailed:
            job->curTask = eVeskBarcodeTask_SendErrorToVeskMatchFailed;
            myPrintf("doIdle eVeskBarcodeTask_SendErrorToVeskMatchFailed\n");
            mySendQuorvelAppleEvent(kVeskXSignature, kVeskBarcodeEventID_MatchFailed);
            job->nextTask = eVeskBarcodeTask_JobEnded;
            break;
        case eVeskBarcodeTask_SendErrorToVeskEraseFailed:
            job->curTask = eVeskBarcodeTask_SendErrorToVeskEraseFailed;
            myPrintf("doIdle eVeskBarcodeTask_SendErrorToVeskEraseFailed\n");
            mySendQuorvelAppleEvent(kVeskXSignature, kVeskBarcodeEventID_EraseFailed);
            job->nextTask = eVeskBarcodeTask_JobEnded;
            break;
        default:
            myPrintf("doIdle UNKNOWN case???...\n");
            break;
        }
    }
    fIsInIdle = false;
}

void MyApplicationDelegate::doTellVeskToConfirm() {
    myPrintf("doTellVeskToConfirm...\n");
    fVeskxDidRespond = false;
    fEraseConfirmed = false;
    fConfirmationRequested = true;
    mySendQuorvelAppleEvent(kVeskXSignature, kVeskBarcodeEventID_Success);
    if (jobCheckList* job = fCurJobCheckListPtr.get())
        job->nextTask = eVeskBarcodeTask_WaitForVeskToConfirm;
}

void MyApplicationDelegate::doWaitForVeskToConfirm() {
    myPrintf("doWaitForVeskToConfirm...\n");
    if (!fVeskxDidRespond.exchange(false))
        return;
    myPrintf("doWaitForVeskToConfirm => got Acked!!\n");
    fEraseConfirmed = true;
    if (fServices.hostConfirmed)
        fServices.hostConfirmed();
    if (jobCheckList* job = fCurJobCheckListPtr.get()) {
        job->curTask = job->nextTask.load();
        job->nextTask = eVeskBarcodeTask_DeleteData;
    }
}

bool MyApplicationDelegate::startWorker(Step step, NextTask curTaskOnStart) {
    if (!tryAcquireRunningThread())
        return false;
    jobCheckList* job = fCurJobCheckListPtr.get();
    if (job && curTaskOnStart)
        job->curTask = *curTaskOnStart;
    JobContext context = makeContext();
    ApplicationShell* shell = fShell;
    try {
        std::thread([this, job, shell, step, context]() mutable {
            StepResult result = step(context);
            finishWorker(job, result.next);
            if (result.terminateProgram)
                shell->requestTerminate();
        }).detach();
    } catch (const std::system_error& error) {
        releaseRunningThread();
        myPrintf(myFormat("Unable to start a worker thread: %s\n", error.what()));
        return false;
    }
    return true;
}

void MyApplicationDelegate::finishWorker(jobCheckList* job, const NextTask& next) {
    // Nothing between the write and the release: the tick (which holds the same lock) sees the
    // successor only together with a free guard, so its launch is never refused by this worker.
    std::lock_guard<std::mutex> finishing(fTaskLock);
    if (job && next)
        job->nextTask = *next;
    releaseRunningThread();
}

void MyApplicationDelegate::withdrawConfirmation() {
    if (fConfirmationRequested.exchange(false) | fEraseConfirmed.exchange(false))
        myPrintf("The scans or the matches change now: Vesk-X will be asked to confirm again ('ok01') before "
                 "the scanner is erased\n");
}

void MyApplicationDelegate::recordTaskOnWorker(jobCheckList* job, eVeskBarcodeTask task) {
    std::lock_guard<std::mutex> moving(fTaskLock);
    if (!job)
        return;
    job->curTask = task;
    job->nextTask = task;
}

namespace {

// A step that never ends the program, as the worker runs it.
template <typename Member> std::function<StepResult(JobContext&)> plainStep(JobSteps* steps, Member member) {
    return [steps, member](JobContext& context) { return StepResult{(steps->*member)(context), false}; };
}

} // namespace

bool MyApplicationDelegate::ibBuildTheImageListInAThread() {
    myPrintfDebug("IBAction ibBuildTheImageListInAThread\n");
    if (startWorker(plainStep(fSteps, &JobSteps::buildTheImageList), eVeskBarcodeTask_BuildTheImageList))
        return true;
    myPrintfDebug("IBAction ibBuildTheImageListInAThread => FAILED => gRunningThread == TRUE???\n");
    return false;
}

bool MyApplicationDelegate::ibPrepareForConnectionInAThread() {
    myPrintfDebug("IBAction ibPrepareForConnectionInAThread\n");
    if (startWorker(plainStep(fSteps, &JobSteps::prepareForConnection),
                    eVeskBarcodeTask_PrepareForConnection))
        return true;
    myPrintfDebug("IBAction ibPrepareForConnectionInAThread => FAILED => gRunningThread == TRUE???\n");
    return false;
}

bool MyApplicationDelegate::ibConnectToBarcodeDevice() {
    myPrintfDebug("IBAction ibConnectToBarcodeDevice\n");
    return startWorker(plainStep(fSteps, &JobSteps::makeConnection));
}

bool MyApplicationDelegate::ibDownloadData() {
    myPrintfDebug("IBAction ibDownloadData\n");
    if (!startWorker(plainStep(fSteps, &JobSteps::downloadData)))
        return false;
    withdrawConfirmation();
    return true;
}

bool MyApplicationDelegate::ibMatchBarcodeDataWithPhotos() {
    myPrintfDebug("IBAction ibMatchBarcodeDataWithPhotos\n");
    // The match marks its own task, as the image list and the preparation do.
    if (!startWorker(plainStep(fSteps, &JobSteps::matchBarcodeDataWithPhotos),
                     eVeskBarcodeTask_MatchBarcodeDataWithPhotos))
        return false;
    withdrawConfirmation();
    return true;
}

bool MyApplicationDelegate::ibDeleteData() {
    myPrintfDebug("IBAction ibDeleteData\n");
    if (fHostQuitBeforeConfirming) {
        myPrintf("The scanner is not erased: Vesk-X quit before it confirmed this job, so the scans stay on "
                 "the scanner. Start the job again from Vesk-X.\n");
        return false;
    }
    JobSteps* steps = fSteps;
    // Read once, as the erase starts: whether this erase ends the job the host confirmed.
    const bool confirmed = fEraseConfirmed.load();
    if (!startWorker([steps, confirmed](JobContext& context) {
            context.setHostConfirmedErase(confirmed);
            return steps->deleteData(context);
        }))
        return false;
    // The permission is used up by the erase it started: another 'eras' needs another 'ok01'.
    if (confirmed)
        fConfirmationRequested = false;
    return true;
}

bool MyApplicationDelegate::ibDoAutoLocateAndDownload() {
    jobCheckList* job = fCurJobCheckListPtr.get();
    if (!startWorker([this, job](JobContext& context) { return autoLocateAndDownload(context, job); }))
        return false;
    withdrawConfirmation();
    return true;
}

StepResult MyApplicationDelegate::autoLocateAndDownload(JobContext& context, jobCheckList* job) {
    myPrintf("doAutoLocateAndDownload => SHOULD NOT BE HERE");
    NextTask connected = fSteps->makeConnection(context);
    // The download that the connection names runs right here, on this worker.
    if (connected == eVeskBarcodeTask_DownloadBarcodeData)
        recordTaskOnWorker(job, eVeskBarcodeTask_DownloadBarcodeData);
    NextTask next = fSteps->downloadData(context);
    if (!next && connected != eVeskBarcodeTask_DownloadBarcodeData)
        next = connected;
    return StepResult{next, false};
}

void MyApplicationDelegate::ibChooseSerialPort(const std::string& path) {
    JobContext context = makeContext();
    fSteps->chooseSerialPort(context, path);
}

void MyApplicationDelegate::ibRescanSerialPort() {
    myPrintf("ibRescanSerialPort => Scanning for Serial/BlueTooth Ports...");
    if (fServices.view)
        fServices.view->setRescanBusy(true);
    JobContext context = makeContext();
    fSteps->rescanSerialPort(context);
    if (fServices.view)
        fServices.view->setRescanBusy(false);
}

HostEventResult MyApplicationDelegate::handleHostEvent(const IncomingHostEvent& event) {
    HostEventResult result;
    std::string name = fourCharCodeText(event.eventClass) + " " + fourCharCodeText(event.eventID);
    if (event.target != kVeskBarcodeSignature) {
        myPrintfDebug("Host event " + name + " addressed to [" + fourCharCodeText(event.target) +
                      "], not to this program: ignored\n");
        result.outcome = HostEventResult::Outcome::WrongTarget;
        return result;
    }
    bool hostCommand = event.eventClass == kVeskXSignature &&
                       (event.eventID == kVeskXEventID_Quit || event.eventID == kVeskXEventID_Erase);
    if (hostCommand && !event.fromHost) {
        // Only the host may erase the scanner or end the program.
        myPrintf("REFUSED host event " + name + " from " + event.sender + ": it does not come from Vesk-X\n");
        result.outcome = HostEventResult::Outcome::Refused;
        return result;
    }
    if (hostCommand && event.eventID == kVeskXEventID_Erase && fHostQuitBeforeConfirming) {
        myPrintf("REFUSED host event " + name +
                 ": Vesk-X quit before it confirmed this job; the scanner is not erased in this run\n");
        result.outcome = HostEventResult::Outcome::Refused;
        return result;
    }
    if (hostCommand && event.eventID == kVeskXEventID_Erase && !fConfirmationRequested) {
        // The scanner holds the only copy of the day's scans until the job has matched them and
        // asked the host to confirm ('ok01'); an erase permission before that is a mistake.
        myPrintf("REFUSED host event " + name +
                 ": the job has not asked Vesk-X to confirm yet ('ok01' not sent); "
                 "the scanner is not erased\n");
        result.outcome = HostEventResult::Outcome::Refused;
        return result;
    }
    if (hostCommand && event.eventID == kVeskXEventID_Quit) {
        handleTestAEHandler(event);
        result.outcome = HostEventResult::Outcome::Handled;
        return result;
    }
    if (hostCommand) {
        handleVeskxOkayToDeleteHandler(event);
        result.outcome = HostEventResult::Outcome::Handled;
        return result;
    }
    if (event.eventClass == kCameraEventClass && event.eventID == kCameraEventID_Command1) {
        std::optional<std::string> reply = handleCameraEventClass(event);
        if (reply)
            result.reply["resp"] = *reply;
        result.outcome = HostEventResult::Outcome::Handled;
        return result;
    }
    myPrintfDebug("No handler for the host event " + name + " from " + event.sender + "\n");
    result.outcome = HostEventResult::Outcome::NotHandled;
    return result;
}

void MyApplicationDelegate::handleVeskxOkayToDeleteHandler(const IncomingHostEvent& event) {
    myPrintfDebug("got handleVeskxOkayToDeleteHandler");
    fVeskxDidRespond = true;
    myPrintfDebug("got handleVeskxOkayToDeleteHandler => examining event\n");
    myPrintfDebug(classAndIDLine(event));
    if (event.eventClass != kVeskXSignature || event.eventID != kVeskXEventID_Erase)
        return;
    // The host allows the erase of what 'ok01' announced. When a worker still runs, the erase is
    // not started: the permission stays, for the host's next 'eras' or the Erase Scanner button.
    // From now on the host's leaving does not stop the erase it allowed.
    fEraseConfirmed = true;
    // The host's erase permission is its confirmation of the job.
    if (fServices.hostConfirmed)
        fServices.hostConfirmed();
    ibDeleteData();
}

void MyApplicationDelegate::hostDidQuit() {
    myPrintfDebug("The host's bus name has left the session bus\n");
    if (!fConfirmationRequested || fEraseConfirmed || fHostQuitBeforeConfirming)
        return;
    fHostQuitBeforeConfirming = true;
    fConfirmationRequested = false;
    {
        std::lock_guard<std::mutex> moving(fTaskLock);
        if (jobCheckList* job = fCurJobCheckListPtr.get()) {
            job->curTask = eVeskBarcodeTask_JobEnded;
            job->nextTask = eVeskBarcodeTask_JobEnded;
        }
    }
    std::string folder = getWorkingFolderPathNameAsNSString();
    myPrintf("Vesk-X has quit before it confirmed this job. The scans stay on the scanner: nothing was "
             "erased. The matches are saved in the job folder " +
             folder + "\n");
    myNSRunAlertPanel(kLocalizedTable, "NSAlertWindow_9021", folder.c_str(), nullptr);
}

void MyApplicationDelegate::handleTestAEHandler(const IncomingHostEvent& event) {
    myPrintfDebug("got handleTestAEHandler");
    fVeskxDidRespond = true;
    myPrintfDebug("got handleTestAEHandler => examining event\n");
    myPrintfDebug(classAndIDLine(event));
    if (event.eventID == kVeskXEventID_Quit) {
        ibQuitApplication();
        return;
    }
    myPrintfDebug("WHAT THE HECK???");
    myPrintfDebug("Got the eventID = [" + fourCharCodeText(event.eventID) + "]");
}

std::optional<std::string> MyApplicationDelegate::handleCameraEventClass(const IncomingHostEvent& event) {
    myPrintfDebug("Inside handleCameraEventClass");
    // Anyone may test the event link, but only the host's own test command counts as its answer
    // to 'ok01' (which moves the job on to the erase).
    if (event.fromHost)
        fVeskxDidRespond = true;
    myPrintfDebug("Inside handleCameraEventClass => examining event\n");
    myPrintfDebug(classAndIDLine(event));
    if (event.eventID != kCameraEventID_Command1) {
        myPrintfDebug("WHAT THE HECK???");
        myPrintfDebug("Got the eventID = [" + fourCharCodeText(event.eventID) + "]");
        return std::nullopt;
    }
    myPrintfDebug("GOT Event ID 'cmd1'  ---  Looking to Read the theActualCommentString...");
    myPrintf("keyObjectInfo->theDataString = [" + parameterOf(event, "----") + "]");
    myPrintf("myActualCommentString = [" + parameterOf(event, "cmnt") + "]");
    myPrintf("want to PASS back a REPLY...");
    if (!event.wantsReply) {
        myPrintf("replyEvent IS NIL??????");
        return std::nullopt;
    }
    myPrintf("Pretending to Communicate with theTethered CAMERA BODY....");
    processClock().sleepFor(kCameraWait);
    myPrintf("Handled replyEvent - DONE!!!");
    return std::string(kCameraResponse);
}
