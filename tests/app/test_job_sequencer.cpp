// The sequencer tick, the commands that start workers, the confirmation tasks, the host's events
// and the orderly end, on the controller without a window.
#include "JobTestSupport.h"

#include "JobCheckList.h"
#include "RunningThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

namespace {

class SequencerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        unsetenv("VESK_ANSWERS");
        setenv("VESK_UNATTENDED", "1", 1);
        makeDelegate(&steps);
    }
    void TearDown() override {
        steps.release();
        EXPECT_TRUE(waitForNoWorker());
        delegate.reset();
        MessageLog::CloseLog();
        unsetenv("VESK_ANSWERS");
    }
    void makeDelegate(JobSteps* jobSteps) {
        steps.release();
        ASSERT_TRUE(waitForNoWorker());
        delegate.reset();
        host = std::make_unique<RecordingHostEvents>();
        shell = std::make_unique<RecordingShell>();
        ApplicationServices services;
        services.hostEvents = host.get();
        services.shell = shell.get();
        services.steps = jobSteps;
        services.logFolder = logs.path();
        delegate = std::make_unique<MyApplicationDelegate>(services, BuildInfo());
        delegate->applicationWillFinishLaunching();
    }
    void openJob() {
        ASSERT_TRUE(delegate->applicationOpenFile(photos.make("Day 1").c_str()));
        ASSERT_NE(nullptr, delegate->job());
    }
    void setTasks(int32_t cur, int32_t next) {
        delegate->job()->curTask = cur;
        delegate->job()->nextTask = next;
    }
    int32_t cur() { return delegate->job()->curTask.load(); }
    int32_t next() { return delegate->job()->nextTask.load(); }
    std::string log() { return readFile(logs.path() + "/VeskBarcodeLog.txt"); }

    TemporaryFolder logs;
    TemporaryFolder photos;
    ScriptedSteps steps;
    std::unique_ptr<RecordingHostEvents> host;
    std::unique_ptr<RecordingShell> shell;
    std::unique_ptr<MyApplicationDelegate> delegate;
};

struct TickCase {
    const char* name;
    int32_t cur, next;
    int32_t curAfter, nextAfter;
    const char* event;     // the one event sent, or null
    const char* operation; // the one operation started, or null
    const char* logLine;   // a line the tick writes, or null
};

// One tick on a job whose record holds cur and next; the scripted steps leave nextTask alone.
const TickCase kTickCases[] = {
    {"none_clears_cur", 5, 0, 0, 0, nullptr, nullptr, nullptr},
    {"start_job_does_nothing", 0, 1, 0, 1, nullptr, nullptr, nullptr},
    {"user_cancel_sends_abrt", 9, 2, 2, 13, "abrt", nullptr,
     "User Did Cancel...\nSending kVeskBarcodeEventID_userAbort..."},
    {"reserved_does_nothing", 0, 3, 0, 3, nullptr, nullptr, nullptr},
    {"set_folder_does_nothing", 1, 4, 1, 4, nullptr, nullptr, nullptr},
    {"image_list", 4, 5, 5, 5, nullptr, "buildTheImageList", nullptr},
    {"preparation", 5, 6, 6, 6, nullptr, "prepareForConnection", nullptr},
    {"connect", 6, 7, 7, 7, nullptr, "makeConnection", "doIdle => eVeskBarcodeTask_ConnectToBarcodeDevice"},
    {"download", 7, 8, 8, 8, nullptr, "downloadData", "doIdle => eVeskBarcodeTask_DownloadBarcodeData"},
    {"match", 6, 9, 9, 9, nullptr, "matchBarcodeDataWithPhotos",
     "doIdle => eVeskBarcodeTask_MatchBarcodeDataWithPhotos"},
    {"tell_host_sends_ok01", 9, 10, 10, 11, "ok01", nullptr, "doTellVeskToConfirm..."},
    {"wait_without_answer_rests", 10, 11, 11, 11, nullptr, nullptr, "doWaitForVeskToConfirm..."},
    {"delete", 11, 12, 12, 12, nullptr, "deleteData", nullptr},
    {"job_ended_does_nothing", 2, 13, 2, 13, nullptr, nullptr, nullptr},
    {"bad_folder_sends_err3", 4, 14, 14, 13, "err3", nullptr,
     "doIdle eVeskBarcodeTask_SendErrorToVeskBadSourceFolder"},
    {"match_failed_sends_err1", 9, 15, 15, 13, "err1", nullptr,
     "doIdle eVeskBarcodeTask_SendErrorToVeskMatchFailed"},
    {"erase_failed_sends_err2", 12, 16, 16, 13, "err2", nullptr,
     "doIdle eVeskBarcodeTask_SendErrorToVeskEraseFailed"},
    {"unknown_is_logged", 3, 17, 3, 17, nullptr, nullptr, "doIdle UNKNOWN case???..."},
};

TEST_F(SequencerTest, EveryRowOfTheTickTable) {
    for (const TickCase& c : kTickCases) {
        SCOPED_TRACE(c.name);
        ScriptedSteps rowSteps;
        makeDelegate(&rowSteps);
        openJob();
        setTasks(c.cur, c.next);
        delegate->doIdle();
        if (c.operation) {
            ASSERT_TRUE(rowSteps.waitForCalls(1));
        }
        ASSERT_TRUE(waitForNoWorker());
        EXPECT_EQ(c.curAfter, cur());
        EXPECT_EQ(c.nextAfter, next());
        std::vector<std::string> expectedEvents;
        if (c.event)
            expectedEvents.push_back(std::string("QRWz barc ") + c.event);
        EXPECT_EQ(expectedEvents, host->events());
        std::vector<std::string> expectedCalls;
        if (c.operation)
            expectedCalls.push_back(c.operation);
        EXPECT_EQ(expectedCalls, rowSteps.calls());
        if (c.logLine) {
            EXPECT_NE(std::string::npos, log().find(std::string("\xA5\xA5 ") + c.logLine)) << log();
        }
        makeDelegate(&steps);
    }
}

TEST_F(SequencerTest, EndingTasksSendExactlyOneEventOverManyTicks) {
    struct Case {
        const char* name;
        int32_t next;
        const char* event;
    } cases[] = {{"cancel", 2, "abrt"},
                 {"bad_folder", 14, "err3"},
                 {"match_failed", 15, "err1"},
                 {"erase_failed", 16, "err2"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        makeDelegate(&steps);
        openJob();
        setTasks(9, c.next);
        for (int tick = 0; tick < 10; ++tick)
            delegate->doIdle();
        EXPECT_EQ(std::vector<std::string>{std::string("QRWz barc ") + c.event}, host->events());
        EXPECT_EQ(13, next());
    }
}

TEST_F(SequencerTest, RefusedFolderEndsWithOneErr3) {
    std::string accented = photos.make("Caf\xC3\xA9");
    EXPECT_FALSE(delegate->applicationOpenFile(accented.c_str()));
    ASSERT_NE(nullptr, delegate->job());
    EXPECT_EQ(14, next());
    for (int tick = 0; tick < 5; ++tick)
        delegate->doIdle();
    EXPECT_EQ(std::vector<std::string>{"QRWz barc err3"}, host->events());
    EXPECT_EQ(13, next());
}

TEST_F(SequencerTest, UnknownTaskIsLoggedOnEveryTickAndChangesNothing) {
    openJob();
    setTasks(13, 17);
    for (int tick = 0; tick < 3; ++tick)
        delegate->doIdle();
    EXPECT_EQ(3u, countOccurrences(log(), "doIdle UNKNOWN case???..."));
    EXPECT_EQ(13, cur());
    EXPECT_EQ(17, next());
    EXPECT_TRUE(host->events().empty());
}

TEST_F(SequencerTest, RestingJobMovesOnlyWhenAButtonsOperationNamesASuccessor) {
    openJob();
    setTasks(7, 7);
    for (int tick = 0; tick < 5; ++tick)
        delegate->doIdle();
    EXPECT_TRUE(steps.calls().empty());
    steps.actions["makeConnection"] = [](JobContext&) {
        return StepResult{eVeskBarcodeTask_DownloadBarcodeData};
    };
    ASSERT_TRUE(delegate->ibConnectToBarcodeDevice());
    ASSERT_TRUE(waitForNoWorker());
    EXPECT_EQ(7, cur()); // the command itself leaves curTask alone
    delegate->doIdle();
    ASSERT_TRUE(steps.waitForCalls(2));
    EXPECT_EQ((std::vector<std::string>{"makeConnection", "downloadData"}), steps.calls());
    EXPECT_EQ(8, cur());
}

TEST_F(SequencerTest, ImageListAndPreparationAreRetriedUntilTheWorkerCanStart) {
    struct Case {
        const char* name;
        int32_t next;
        const char* operation;
        const char* failLine;
    } cases[] = {
        {"image_list", 5, "buildTheImageList",
         "IBAction ibBuildTheImageListInAThread => FAILED => gRunningThread == TRUE???"},
        {"preparation", 6, "prepareForConnection",
         "IBAction ibPrepareForConnectionInAThread => FAILED => gRunningThread == TRUE???"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSteps rowSteps;
        makeDelegate(&rowSteps);
        openJob();
        rowSteps.hold();
        ASSERT_TRUE(delegate->ibDownloadData());
        ASSERT_TRUE(rowSteps.waitForCalls(1));
        setTasks(4, c.next);
        delegate->doIdle();
        delegate->doIdle();
        EXPECT_EQ(4, cur());
        EXPECT_EQ(2u, countOccurrences(log(), c.failLine));
        rowSteps.release();
        ASSERT_TRUE(waitForNoWorker());
        delegate->doIdle();
        ASSERT_TRUE(rowSteps.waitForCalls(2));
        EXPECT_EQ(c.next, cur());
        EXPECT_EQ(c.operation, rowSteps.calls().back());
        ASSERT_TRUE(waitForNoWorker());
        makeDelegate(&steps);
    }
}

TEST_F(SequencerTest, ScannerTasksRefusedWhileAWorkerRunsLeaveTheJobResting) {
    openJob();
    steps.hold();
    ASSERT_TRUE(delegate->ibMatchBarcodeDataWithPhotos());
    ASSERT_TRUE(steps.waitForCalls(1));
    setTasks(6, 7);
    delegate->doIdle();
    steps.release();
    ASSERT_TRUE(waitForNoWorker());
    for (int tick = 0; tick < 3; ++tick)
        delegate->doIdle();
    EXPECT_EQ(7, cur());
    EXPECT_EQ(7, next());
    EXPECT_EQ(std::vector<std::string>{"matchBarcodeDataWithPhotos"}, steps.calls());
}

TEST_F(SequencerTest, HostAnswerBeforeTheWaitStartsOneEraseOnly) {
    openJob();
    setTasks(9, 10);
    delegate->doIdle(); // 'ok01'
    EXPECT_EQ(std::vector<std::string>{"QRWz barc ok01"}, host->events());
    steps.hold();
    IncomingHostEvent eras;
    eras.target = kVeskBarcodeSignature;
    eras.eventClass = kVeskXSignature;
    eras.eventID = kVeskXEventID_Erase;
    eras.fromHost = true;
    EXPECT_EQ(HostEventResult::Outcome::Handled, delegate->handleHostEvent(eras).outcome);
    ASSERT_TRUE(steps.waitForCalls(1));
    delegate->doIdle(); // the wait sees the answer
    EXPECT_EQ(11, cur());
    EXPECT_EQ(12, next());
    delegate->doIdle(); // the tick's own delete is refused: the erase already runs
    EXPECT_EQ(12, cur());
    steps.release();
    ASSERT_TRUE(waitForNoWorker());
    EXPECT_EQ(std::vector<std::string>{"deleteData"}, steps.calls());
}

TEST_F(SequencerTest, HostAnswerAfterTheWaitMovesTheJobThroughTheEraseHandlerOnly) {
    openJob();
    setTasks(9, 10);
    delegate->doIdle();
    delegate->doIdle(); // waits once, no answer
    delegate->doIdle();
    EXPECT_EQ(11, cur());
    EXPECT_EQ(11, next());
    IncomingHostEvent eras;
    eras.target = kVeskBarcodeSignature;
    eras.eventClass = kVeskXSignature;
    eras.eventID = kVeskXEventID_Erase;
    eras.fromHost = true;
    delegate->handleHostEvent(eras);
    ASSERT_TRUE(steps.waitForCalls(1));
    ASSERT_TRUE(waitForNoWorker());
    delegate->doIdle();
    EXPECT_EQ(11, cur());
    EXPECT_EQ(11, next());
    EXPECT_EQ(std::vector<std::string>{"deleteData"}, steps.calls());
}

// Counts how many steps run at the same time.
class OverlapSteps : public ScriptedSteps {
  public:
    NextTask makeConnection(JobContext&) override {
        enter();
        return std::nullopt;
    }
    StepResult deleteData(JobContext&) override {
        enter();
        return StepResult();
    }
    void enter() {
        int now = ++running;
        int seen = maximum.load();
        while (now > seen && !maximum.compare_exchange_weak(seen, now)) {
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        --running;
        ++started;
    }
    std::atomic<int> running{0}, maximum{0}, started{0};
};

TEST_F(SequencerTest, TwoCommandsAtTheSameMomentNeverRunTwoWorkers) {
    OverlapSteps overlap;
    makeDelegate(&overlap);
    openJob();
    for (int round = 0; round < 200; ++round) {
        std::atomic<bool> go{false};
        std::thread other([&] {
            while (!go.load()) {
            }
            delegate->ibConnectToBarcodeDevice();
        });
        go = true;
        delegate->ibDeleteData();
        other.join();
        ASSERT_TRUE(waitForNoWorker());
    }
    EXPECT_EQ(1, overlap.maximum.load());
    EXPECT_GE(overlap.started.load(), 200);
    makeDelegate(&steps);
}

TEST_F(SequencerTest, WithoutJobStepsEveryStepSaysSoAndTheJobRests) {
    struct Case {
        const char* name;
        int32_t next;
        const char* line;
    } cases[] = {
        {"image_list", 5, "doBuildTheImageListInAThread: this program has no job steps"},
        {"preparation", 6, "doPrepareForConnectionInAThread: this program has no job steps"},
        {"connect", 7, "pdxMakeConnection: this program has no job steps"},
        {"download", 8, "pdxDownloadData: this program has no job steps"},
        {"match", 9, "matchBarcodeDataWithPhotos: this program has no job steps"},
        {"delete", 12, "pdxDeleteData: this program has no job steps"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        makeDelegate(nullptr);
        openJob();
        setTasks(4, c.next);
        delegate->doIdle();
        ASSERT_TRUE(waitForNoWorker());
        for (int tick = 0; tick < 3; ++tick)
            delegate->doIdle();
        ASSERT_TRUE(waitForNoWorker());
        EXPECT_EQ(c.next, cur());
        EXPECT_EQ(c.next, next());
        EXPECT_EQ(1u, countOccurrences(log(), c.line)) << log();
        EXPECT_TRUE(host->events().empty());
    }
    makeDelegate(&steps);
}

TEST_F(SequencerTest, AutoLocateConnectsAndDownloadsOnOneWorkerHoldingTheGuard) {
    std::vector<bool> guardHeld;
    steps.actions["makeConnection"] = [&](JobContext&) {
        guardHeld.push_back(isRunningThread());
        return StepResult();
    };
    steps.actions["downloadData"] = [&](JobContext&) {
        guardHeld.push_back(isRunningThread());
        return StepResult();
    };
    openJob();
    ASSERT_TRUE(delegate->ibDoAutoLocateAndDownload());
    ASSERT_TRUE(steps.waitForCalls(2));
    ASSERT_TRUE(waitForNoWorker());
    EXPECT_EQ((std::vector<std::string>{"makeConnection", "downloadData"}), steps.calls());
    EXPECT_EQ((std::vector<bool>{true, true}), guardHeld);
    EXPECT_NE(std::string::npos, log().find("doAutoLocateAndDownload => SHOULD NOT BE HERE"));
}

class GuardWatchingShell : public RecordingShell {
  public:
    void requestTerminate() override {
        guardHeldAtRequest = isRunningThread();
        RecordingShell::requestTerminate();
    }
    std::atomic<bool> guardHeldAtRequest{true};
};

TEST_F(SequencerTest, TerminationAskedByAnOperationComesAfterTheGuardIsFree) {
    GuardWatchingShell watchingShell;
    ApplicationServices services;
    services.hostEvents = host.get();
    services.shell = &watchingShell;
    services.steps = &steps;
    services.logFolder = logs.path();
    delegate = std::make_unique<MyApplicationDelegate>(services, BuildInfo());
    delegate->applicationWillFinishLaunching();
    steps.actions["deleteData"] = [](JobContext&) {
        StepResult result;
        result.terminateProgram = true;
        return result;
    };
    ASSERT_TRUE(delegate->ibDeleteData());
    ASSERT_TRUE(waitForNoWorker());
    for (int wait = 0; wait < 1000 && watchingShell.terminateRequests.load() == 0; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(1, watchingShell.terminateRequests.load());
    EXPECT_FALSE(watchingShell.guardHeldAtRequest.load());
    EXPECT_TRUE(delegate->terminate());
    delegate.reset();
}

struct EventCase {
    const char* name;
    const char* eventClass;
    const char* eventID;
    bool fromHost;
    HostEventResult::Outcome outcome;
    bool erases;
    bool quits;
    bool counts;            // counts as the host's answer for the wait task
    bool confirmationAsked; // 'ok01' was sent before the event
};

const EventCase kEventCases[] = {
    {"host_erase_after_ok01", "QRWz", "eras", true, HostEventResult::Outcome::Handled, true, false, true,
     true},
    {"host_erase_before_ok01_refused", "QRWz", "eras", true, HostEventResult::Outcome::Refused, false, false,
     false, false},
    {"stranger_erase_refused", "QRWz", "eras", false, HostEventResult::Outcome::Refused, false, false, false,
     true},
    {"host_quit", "QRWz", "quit", true, HostEventResult::Outcome::Handled, false, true, true, true},
    {"stranger_quit_refused", "QRWz", "quit", false, HostEventResult::Outcome::Refused, false, false, false,
     true},
    {"erase_of_class_barc_not_routed", "barc", "eras", true, HostEventResult::Outcome::NotHandled, false,
     false, false, true},
    {"host_camera_command_counts", "cmra", "cmd1", true, HostEventResult::Outcome::Handled, false, false,
     true, true},
    {"stranger_camera_command_does_not_count", "cmra", "cmd1", false, HostEventResult::Outcome::Handled,
     false, false, false, true},
    {"unknown_event", "QRWz", "1234", true, HostEventResult::Outcome::NotHandled, false, false, false, true},
};

FourCharCode codeOf(const char* text) {
    return (FourCharCode(uint8_t(text[0])) << 24) | (FourCharCode(uint8_t(text[1])) << 16) |
           (FourCharCode(uint8_t(text[2])) << 8) | FourCharCode(uint8_t(text[3]));
}

TEST_F(SequencerTest, IncomingEventsAreRoutedByClassAndIDAndEraseAndQuitOnlyFromTheHost) {
    for (const EventCase& c : kEventCases) {
        SCOPED_TRACE(c.name);
        ScriptedSteps rowSteps;
        makeDelegate(&rowSteps);
        openJob();
        if (c.confirmationAsked) {
            delegate->doTellVeskToConfirm();
            ASSERT_FALSE(delegate->veskxDidRespond());
        }
        IncomingHostEvent event;
        event.target = kVeskBarcodeSignature;
        event.eventClass = codeOf(c.eventClass);
        event.eventID = codeOf(c.eventID);
        event.fromHost = c.fromHost;
        event.sender = ":1.99";
        EXPECT_EQ(c.outcome, delegate->handleHostEvent(event).outcome);
        if (c.erases) {
            ASSERT_TRUE(rowSteps.waitForCalls(1));
        }
        ASSERT_TRUE(waitForNoWorker());
        EXPECT_EQ(c.erases ? std::vector<std::string>{"deleteData"} : std::vector<std::string>{},
                  rowSteps.calls());
        EXPECT_EQ(c.quits ? 1 : 0, shell->terminateRequests.load());
        EXPECT_EQ(c.counts, delegate->veskxDidRespond());
        // The wait task moves to the erase exactly when the event counted as the host's answer.
        delegate->job()->curTask = eVeskBarcodeTask_TellVeskToConfirm;
        delegate->job()->nextTask = eVeskBarcodeTask_WaitForVeskToConfirm;
        delegate->doIdle();
        EXPECT_EQ(c.counts ? 12 : 11, delegate->job()->nextTask.load());
        if (c.outcome == HostEventResult::Outcome::Refused) {
            EXPECT_NE(std::string::npos, log().find("REFUSED host event")) << log();
        }
        makeDelegate(&steps);
    }
}

TEST_F(SequencerTest, EventForAnotherProgramIsIgnored) {
    openJob();
    IncomingHostEvent event;
    event.target = kVeskXSignature;
    event.eventClass = kVeskXSignature;
    event.eventID = kVeskXEventID_Erase;
    event.fromHost = true;
    EXPECT_EQ(HostEventResult::Outcome::WrongTarget, delegate->handleHostEvent(event).outcome);
    ASSERT_TRUE(waitForNoWorker());
    EXPECT_TRUE(steps.calls().empty());
}

TEST_F(SequencerTest, OrderlyEndSendsQendLastAndNothingAfterIt) {
    openJob();
    setTasks(9, 2);
    delegate->doIdle();
    EXPECT_TRUE(delegate->terminate());
    delegate->doIdle();
    EXPECT_FALSE(delegate->terminate()); // a second request after the end is ignored
    // A worker that outlives the end cannot send anything more.
    EXPECT_EQ(-1, delegate->mySendQuorvelAppleEvent(kVeskXSignature, kVeskBarcodeEventID_EraseSuccess));
    EXPECT_EQ((std::vector<std::string>{"QRWz barc abrt", "QRWz barc qend"}), host->events());
}

TEST_F(SequencerTest, QuitWhileAWorkerRunsAsksFirst) {
    struct Case {
        const char* name;
        const char* answers; // VESK_ANSWERS, or null for the default button
        bool terminates;
    } cases[] = {
        {"default_keeps_running", nullptr, false},
        {"stop_anyway_terminates", "NSAlertWindow_9002=0", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSteps rowSteps;
        makeDelegate(&rowSteps);
        if (c.answers)
            setenv("VESK_ANSWERS", c.answers, 1);
        else
            unsetenv("VESK_ANSWERS");
        rowSteps.hold();
        ASSERT_TRUE(delegate->ibDownloadData());
        ASSERT_TRUE(rowSteps.waitForCalls(1));
        EXPECT_EQ(c.terminates, delegate->terminate());
        EXPECT_EQ(c.terminates ? 1 : 0, host->count("qend"));
        rowSteps.release();
        ASSERT_TRUE(waitForNoWorker());
        if (!c.terminates) {
            EXPECT_TRUE(delegate->terminate());
            EXPECT_EQ(1, host->count("qend"));
        }
        makeDelegate(&steps);
    }
}

TEST_F(SequencerTest, StartedWithoutAFolderCreatesNoJobAndStillEndsWithQend) {
    EXPECT_TRUE(delegate->applicationOpenUntitledFile());
    EXPECT_EQ(nullptr, delegate->job());
    for (int tick = 0; tick < 3; ++tick)
        delegate->doIdle();
    EXPECT_TRUE(steps.calls().empty());
    EXPECT_TRUE(delegate->terminate());
    EXPECT_EQ(std::vector<std::string>{"QRWz barc qend"}, host->events());
}

TEST_F(SequencerTest, LaunchStartsTheTickAndPlaysTheLaunchSound) {
    delegate->applicationDidFinishLaunching();
    EXPECT_TRUE(shell->timerStarted);
    EXPECT_EQ(std::vector<std::string>{"Blow"}, shell->sounds);
    EXPECT_NE(std::string::npos, log().find("\xA5 Current "));
}

} // namespace
