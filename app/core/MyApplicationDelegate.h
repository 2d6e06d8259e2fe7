// The application controller: the life of the program, the one job record, the half-second
// sequencer, the commands that start workers, the host's events and the message area.
//
// Plain C++: the Qt shell adapts it (window, timer, session bus) through the interfaces in
// ApplicationServices. Everything here runs on the user-interface thread except outputError,
// getErrorLog and the job steps it starts on workers.
//
// The controller alone writes the job record: the tick and the commands on the user-interface
// thread, and the end of each worker, which writes the successor its step returned and releases
// the worker guard in one move under fTaskLock (see JobSteps.h).
#pragma once

#include "HostEventGate.h"
#include "HostEvents.h"
#include "HostPresence.h"
#include "JobCheckList.h"
#include "JobSteps.h"
#include "MessageBuffer.h"
#include "MessageLog.h"

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

class ApplicationShell;
class MainWindowView;
class StatusDisplay;

// The services the controller works through. Any of them may be null: the actions that use a
// missing one are skipped (a missing host transport means events are logged as not sent).
struct ApplicationServices {
    HostEvents* hostEvents = nullptr;
    StatusDisplay* status = nullptr;
    MainWindowView* view = nullptr;
    ApplicationShell* shell = nullptr;
    JobSteps* steps = nullptr; // null: every step says that there are none, and the job rests
    std::string logFolder;     // empty: the log lies beside the executable
    // Called as the program ends, before the log is closed (the job's outcome goes to the log and
    // the desktop); may be empty.
    std::function<void()> beforeExit;
    // Called when Vesk-X answers the job's request to confirm (its erase permission or its test
    // command); may be empty.
    std::function<void()> hostConfirmed;
};

// What the build says about the program.
struct BuildInfo {
    std::string name = "VeskBarcode";
    std::string version; // empty: unknown
    std::string copyright;
};

// This program's own application signature, under which the host addresses its events.
constexpr FourCharCode kVeskBarcodeSignature = makeFourCharCode("VBcd");
constexpr FourCharCode kVeskXEventID_Erase = makeFourCharCode("eras");
constexpr FourCharCode kVeskXEventID_Quit = makeFourCharCode("quit");
constexpr FourCharCode kCameraEventClass = makeFourCharCode("cmra");
constexpr FourCharCode kCameraEventID_Command1 = makeFourCharCode("cmd1");

// One event from outside, as the transport received it.
struct IncomingHostEvent {
    FourCharCode target = 0;
    FourCharCode eventClass = 0;
    FourCharCode eventID = 0;
    bool fromHost = false;                         // the sender is the process that owns the host's name
    bool wantsReply = false;                       // the sender waits for a reply
    std::map<std::string, std::string> parameters; // keyword ("----", "cmnt") to text
    std::string sender;                            // the sender's address, for the log
};

struct HostEventResult {
    enum class Outcome { Handled, NotHandled, Refused, WrongTarget };
    Outcome outcome = Outcome::NotHandled;
    std::map<std::string, std::string> reply; // keyword ("resp") to text
};

class MyApplicationDelegate : public MessageSink, public HostPresence {
  public:
    MyApplicationDelegate(ApplicationServices services, BuildInfo build);
    ~MyApplicationDelegate() override;

    // Launch, in the order the shell calls them.
    void applicationWillFinishLaunching();
    void applicationDidFinishLaunching();
    // The host's request to open a job on a folder; null: no path given. True when accepted.
    bool applicationOpenFile(const char* path);
    // Started without a folder: alert 9001, no job.
    bool applicationOpenUntitledFile();
    // True: terminate now; false: the user chose to keep the program running.
    bool applicationShouldTerminate();
    void applicationWillTerminate();
    // The orderly end: asks applicationShouldTerminate, then runs applicationWillTerminate. True
    // when the program is to exit now. Further requests after the end are ignored.
    bool terminate();
    bool hasTerminated() const { return fTerminated; }

    bool setWorkingFolderPathName(const char* path);
    std::string getWorkingFolderPathName() const { return fWorkingPathName; }
    std::string getWorkingFolderPathNameAsNSString() const;

    // The sequencer tick.
    void doIdle();
    // The two confirmation tasks, run by the tick (which holds fTaskLock meanwhile).
    void doTellVeskToConfirm();
    void doWaitForVeskToConfirm();

    // Commands of the window's buttons; true when the worker was started.
    bool ibBuildTheImageListInAThread();
    bool ibPrepareForConnectionInAThread();
    bool ibConnectToBarcodeDevice();
    bool ibDownloadData();
    bool ibMatchBarcodeDataWithPhotos();
    bool ibDeleteData();
    bool ibDoAutoLocateAndDownload();
    void ibRescanSerialPort();
    // The user chose the serial port at path in the main window.
    void ibChooseSerialPort(const std::string& path);
    void ibQuitApplication();

    // Host events, on the user-interface thread.
    HostEventResult handleHostEvent(const IncomingHostEvent& event);
    void handleVeskxOkayToDeleteHandler(const IncomingHostEvent& event);
    void handleTestAEHandler(const IncomingHostEvent& event);
    std::optional<std::string> handleCameraEventClass(const IncomingHostEvent& event);
    // The host's name left the bus. While the job waits for the host's answer to 'ok01' nobody
    // will answer: the photographer is told that Vesk-X has quit and that the scans stay on the
    // scanner, the job ends, and nothing erases the scanner in this run (no 'eras', no button).
    void hostDidQuit() override;
    // The host quit while the job waited for its answer.
    bool hostQuitBeforeConfirming() const { return fHostQuitBeforeConfirming.load(); }

    // Sends a 'barc' event to target; the result of the send.
    short mySendQuorvelAppleEvent(FourCharCode target, FourCharCode eventID);

    // Message area and status line.
    void outputError(std::string text) override;
    std::string getErrorLog() const { return fErrorLog.snapshot(); }
    void updateErrorLog();
    void setStatusViewText(const std::string& text);
    void stopStatusAnimation();

    jobCheckList* job() const { return fCurJobCheckListPtr.get(); }
    bool isMainThread() const { return std::this_thread::get_id() == fMainThread; }
    bool veskxDidRespond() const { return fVeskxDidRespond.load(); }

  private:
    using Step = std::function<StepResult(JobContext&)>;
    // Takes the worker guard atomically and runs step on a new thread; curTaskOnStart is written
    // into the job once the guard is taken. When the step returns, finishWorker writes its
    // successor and releases the guard.
    bool startWorker(Step step, NextTask curTaskOnStart = std::nullopt);
    void finishWorker(jobCheckList* job, const NextTask& next);
    // A download or a match starts: what the host confirmed no longer stands.
    void withdrawConfirmation();
    // On a worker that runs two steps in a row: the job is now at task (curTask and nextTask), so
    // the tick leaves it alone until the worker ends.
    void recordTaskOnWorker(jobCheckList* job, eVeskBarcodeTask task);
    // Connects and downloads one after the other on one worker.
    StepResult autoLocateAndDownload(JobContext& context, jobCheckList* job);
    JobContext makeContext();
    bool refuseWorkingFolder(const std::string& logText, const std::string& title,
                             const std::string& message);

    ApplicationServices fServices;
    BuildInfo fBuild;
    std::unique_ptr<JobSteps> fAbsentSteps;
    JobSteps* fSteps;
    std::unique_ptr<StatusDisplay> fNullStatus;
    StatusDisplay* fStatus;
    std::unique_ptr<ApplicationShell> fNullShell;
    ApplicationShell* fShell;
    HostEventGate fHostEvents;

    std::thread::id fMainThread;
    std::string fWorkingPathName;
    std::unique_ptr<jobCheckList> fCurJobCheckListPtr;
    // Held by the tick while it reads and moves the job, and by a worker's end while it writes
    // the successor and releases the guard: the tick never sees a successor while the worker
    // that named it still holds the guard.
    std::mutex fTaskLock;
    MessageBuffer fErrorLog;
    std::string fDisplayedErrorLog;
    bool fIsInIdle = false;
    std::atomic<bool> fVeskxDidRespond{false};
    // 'ok01' went out and the host has not yet given its permission to erase: only now is an
    // 'eras' accepted. Consumed by the erase it starts, so that a second 'eras' needs a second
    // 'ok01'.
    std::atomic<bool> fConfirmationRequested{false};
    // The host has allowed the erase of the scans matched since the last download (its 'eras', or
    // its answer to 'ok01' seen by the wait task): an erase then ends the job with 'ok02' or
    // 'err2'. A download or a match clears it (and the request above): their result needs a new
    // 'ok01'.
    std::atomic<bool> fEraseConfirmed{false};
    // Vesk-X left the bus after 'ok01' and before it allowed the erase: nothing is erased any more.
    std::atomic<bool> fHostQuitBeforeConfirming{false};
    bool fTerminating = false;
    bool fTerminated = false;
};

// The one controller of the process (set when launching begins); null before.
MyApplicationDelegate* applicationDelegate();
