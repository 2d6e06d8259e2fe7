// The sequencer tick, the commands that start workers, the end of each worker, the confirmation
// tasks, the host's events and the orderly end, on the controller without a window.
#include "JobTestSupport.h"

#include "JobCheckList.h"
#include "RunningThread.h"

#include "CaseName.h"
#include "FileContent.h"
#include "RecordingHostEvents.h"
#include "RecordingShell.h"
#include "TaskName.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ostream>
#include <thread>

namespace {

// A value of nextTask that names no task.
const eVeskBarcodeTask kUnknownTask = eVeskBarcodeTask(17);

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
    void makeDelegate(JobSteps* jobSteps, ApplicationShell* jobShell = nullptr) {
        steps.release();
        ASSERT_TRUE(waitForNoWorker());
        delegate.reset();
        host = std::make_unique<testsupport::RecordingHostEvents>();
        shell = std::make_unique<testsupport::RecordingShell>();
        ApplicationServices services;
        services.hostEvents = host.get();
        services.shell = jobShell ? jobShell : shell.get();
        services.steps = jobSteps;
        services.logFolder = logs.path();
        delegate = std::make_unique<MyApplicationDelegate>(services, BuildInfo());
        delegate->applicationWillFinishLaunching();
    }
    void openJob() {
        ASSERT_TRUE(delegate->applicationOpenFile(photos.makeFolder("Day 1").c_str()));
        ASSERT_NE(nullptr, delegate->job());
    }
    void setTasks(eVeskBarcodeTask cur, eVeskBarcodeTask next) {
        delegate->job()->curTask = cur;
        delegate->job()->nextTask = next;
    }
    eVeskBarcodeTask cur() { return eVeskBarcodeTask(delegate->job()->curTask.load()); }
    eVeskBarcodeTask next() { return eVeskBarcodeTask(delegate->job()->nextTask.load()); }
    std::string log() { return testsupport::readFile(logs.path() + "VeskBarcodeLog.txt"); }

    testsupport::TemporaryFolder logs;
    testsupport::TemporaryFolder photos;
    ScriptedSteps steps;
    std::unique_ptr<testsupport::RecordingHostEvents> host;
    std::unique_ptr<testsupport::RecordingShell> shell;
    std::unique_ptr<MyApplicationDelegate> delegate;
};

// A table of cases for the controller: one fresh controller per row.
template <typename Case>
class SequencerTableTest : public SequencerTest, public ::testing::WithParamInterface<Case> {};

struct TickCase {
    const char* name;
    eVeskBarcodeTask cur, next;
    eVeskBarcodeTask curAfter, nextAfter;
    const char* event;   // the one event sent, or null
    const char* step;    // the one step started, or null
    const char* logLine; // a line the tick writes, or null
};

void PrintTo(const TickCase& c, std::ostream* out) {
    *out << c.name;
}

// One tick on a job whose record holds cur and next; the scripted steps name no successor.
const TickCase kTickCases[] = {
    {"none_clears_cur", eVeskBarcodeTask_BuildTheImageList, eVeskBarcodeTask_None, eVeskBarcodeTask_None,
     eVeskBarcodeTask_None, nullptr, nullptr, nullptr},
    {"start_job_does_nothing", eVeskBarcodeTask_None, eVeskBarcodeTask_StartJob, eVeskBarcodeTask_None,
     eVeskBarcodeTask_StartJob, nullptr, nullptr, nullptr},
    {"user_cancel_sends_abrt", eVeskBarcodeTask_MatchBarcodeDataWithPhotos, eVeskBarcodeTask_UserCancel,
     eVeskBarcodeTask_UserCancel, eVeskBarcodeTask_JobEnded, "abrt", nullptr,
     "User Did Cancel...\nSending kVeskBarcodeEventID_userAbort..."},
    {"reserved_does_nothing", eVeskBarcodeTask_None, eVeskBarcodeTask_Reserved3, eVeskBarcodeTask_None,
     eVeskBarcodeTask_Reserved3, nullptr, nullptr, nullptr},
    {"set_folder_does_nothing", eVeskBarcodeTask_StartJob, eVeskBarcodeTask_SetWorkingFolder,
     eVeskBarcodeTask_StartJob, eVeskBarcodeTask_SetWorkingFolder, nullptr, nullptr, nullptr},
    {"image_list", eVeskBarcodeTask_SetWorkingFolder, eVeskBarcodeTask_BuildTheImageList,
     eVeskBarcodeTask_BuildTheImageList, eVeskBarcodeTask_BuildTheImageList, nullptr, "buildTheImageList",
     nullptr},
    {"preparation", eVeskBarcodeTask_BuildTheImageList, eVeskBarcodeTask_PrepareForConnection,
     eVeskBarcodeTask_PrepareForConnection, eVeskBarcodeTask_PrepareForConnection, nullptr,
     "prepareForConnection", nullptr},
    {"connect", eVeskBarcodeTask_PrepareForConnection, eVeskBarcodeTask_ConnectToBarcodeDevice,
     eVeskBarcodeTask_ConnectToBarcodeDevice, eVeskBarcodeTask_ConnectToBarcodeDevice, nullptr,
     "makeConnection", "doIdle => eVeskBarcodeTask_ConnectToBarcodeDevice"},
    {"download", eVeskBarcodeTask_ConnectToBarcodeDevice, eVeskBarcodeTask_DownloadBarcodeData,
     eVeskBarcodeTask_DownloadBarcodeData, eVeskBarcodeTask_DownloadBarcodeData, nullptr, "downloadData",
     "doIdle => eVeskBarcodeTask_DownloadBarcodeData"},
    {"match", eVeskBarcodeTask_PrepareForConnection, eVeskBarcodeTask_MatchBarcodeDataWithPhotos,
     eVeskBarcodeTask_MatchBarcodeDataWithPhotos, eVeskBarcodeTask_MatchBarcodeDataWithPhotos, nullptr,
     "matchBarcodeDataWithPhotos", "doIdle => eVeskBarcodeTask_MatchBarcodeDataWithPhotos"},
    {"tell_host_sends_ok01", eVeskBarcodeTask_MatchBarcodeDataWithPhotos, eVeskBarcodeTask_TellVeskToConfirm,
     eVeskBarcodeTask_TellVeskToConfirm, eVeskBarcodeTask_WaitForVeskToConfirm, "ok01", nullptr,
     "doTellVeskToConfirm..."},
    {"wait_without_answer_rests", eVeskBarcodeTask_TellVeskToConfirm, eVeskBarcodeTask_WaitForVeskToConfirm,
     eVeskBarcodeTask_WaitForVeskToConfirm, eVeskBarcodeTask_WaitForVeskToConfirm, nullptr, nullptr,
     "doWaitForVeskToConfirm..."},
    {"delete", eVeskBarcodeTask_WaitForVeskToConfirm, eVeskBarcodeTask_DeleteData,
     eVeskBarcodeTask_DeleteData, eVeskBarcodeTask_DeleteData, nullptr, "deleteData", nullptr},
    {"job_ended_does_nothing", eVeskBarcodeTask_UserCancel, eVeskBarcodeTask_JobEnded,
     eVeskBarcodeTask_UserCancel, eVeskBarcodeTask_JobEnded, nullptr, nullptr, nullptr},
    {"bad_folder_sends_err3", eVeskBarcodeTask_SetWorkingFolder,
     eVeskBarcodeTask_SendErrorToVeskBadSourceFolder, eVeskBarcodeTask_SendErrorToVeskBadSourceFolder,
     eVeskBarcodeTask_JobEnded, "err3", nullptr, "doIdle eVeskBarcodeTask_SendErrorToVeskBadSourceFolder"},
    {"match_failed_sends_err1", eVeskBarcodeTask_MatchBarcodeDataWithPhotos,
     eVeskBarcodeTask_SendErrorToVeskMatchFailed, eVeskBarcodeTask_SendErrorToVeskMatchFailed,
     eVeskBarcodeTask_JobEnded, "err1", nullptr, "doIdle eVeskBarcodeTask_SendErrorToVeskMatchFailed"},
    {"erase_failed_sends_err2", eVeskBarcodeTask_DeleteData, eVeskBarcodeTask_SendErrorToVeskEraseFailed,
     eVeskBarcodeTask_SendErrorToVeskEraseFailed, eVeskBarcodeTask_JobEnded, "err2", nullptr,
     "doIdle eVeskBarcodeTask_SendErrorToVeskEraseFailed"},
    {"unknown_is_logged", eVeskBarcodeTask_Reserved3, kUnknownTask, eVeskBarcodeTask_Reserved3, kUnknownTask,
     nullptr, nullptr, "doIdle UNKNOWN case???..."},
};

using TickTableTest = SequencerTableTest<TickCase>;

TEST_P(TickTableTest, OneTickActsOnNextTask) {
    const TickCase& c = GetParam();
    openJob();
    setTasks(c.cur, c.next);
    delegate->doIdle();
    if (c.step) {
        ASSERT_TRUE(steps.waitForCalls(1));
    }
    ASSERT_TRUE(waitForNoWorker());
    EXPECT_EQ(c.curAfter, cur());
    EXPECT_EQ(c.nextAfter, next());
    std::vector<std::string> expectedEvents;
    if (c.event)
        expectedEvents.push_back(std::string("QRWz barc ") + c.event);
    EXPECT_EQ(expectedEvents, host->events());
    std::vector<std::string> expectedCalls;
    if (c.step)
        expectedCalls.push_back(c.step);
    EXPECT_EQ(expectedCalls, steps.calls());
    if (c.logLine) {
        EXPECT_NE(std::string::npos, log().find(std::string("\xA5\xA5 ") + c.logLine)) << log();
    }
}

INSTANTIATE_TEST_SUITE_P(Sequencer, TickTableTest, ::testing::ValuesIn(kTickCases), testsupport::CaseName());

struct EndingCase {
    const char* name;
    eVeskBarcodeTask next;
    const char* event;
};

void PrintTo(const EndingCase& c, std::ostream* out) {
    *out << c.name;
}

const EndingCase kEndingCases[] = {
    {"cancel", eVeskBarcodeTask_UserCancel, "abrt"},
    {"bad_folder", eVeskBarcodeTask_SendErrorToVeskBadSourceFolder, "err3"},
    {"match_failed", eVeskBarcodeTask_SendErrorToVeskMatchFailed, "err1"},
    {"erase_failed", eVeskBarcodeTask_SendErrorToVeskEraseFailed, "err2"},
};

using EndingTaskTest = SequencerTableTest<EndingCase>;

TEST_P(EndingTaskTest, SendsExactlyOneEventOverManyTicks) {
    const EndingCase& c = GetParam();
    openJob();
    setTasks(eVeskBarcodeTask_MatchBarcodeDataWithPhotos, c.next);
    for (int tick = 0; tick < 10; ++tick)
        delegate->doIdle();
    EXPECT_EQ(std::vector<std::string>{std::string("QRWz barc ") + c.event}, host->events());
    EXPECT_EQ(eVeskBarcodeTask_JobEnded, next());
}

INSTANTIATE_TEST_SUITE_P(Sequencer, EndingTaskTest, ::testing::ValuesIn(kEndingCases),
                         testsupport::CaseName());

TEST_F(SequencerTest, RefusedFolderEndsWithOneErr3) {
    std::string accented = photos.makeFolder("Caf\xC3\xA9");
    EXPECT_FALSE(delegate->applicationOpenFile(accented.c_str()));
    ASSERT_NE(nullptr, delegate->job());
    EXPECT_EQ(eVeskBarcodeTask_SendErrorToVeskBadSourceFolder, next());
    for (int tick = 0; tick < 5; ++tick)
        delegate->doIdle();
    EXPECT_EQ(std::vector<std::string>{"QRWz barc err3"}, host->events());
    EXPECT_EQ(eVeskBarcodeTask_JobEnded, next());
}

TEST_F(SequencerTest, UnknownTaskIsLoggedOnEveryTickAndChangesNothing) {
    openJob();
    setTasks(eVeskBarcodeTask_JobEnded, kUnknownTask);
    for (int tick = 0; tick < 3; ++tick)
        delegate->doIdle();
    EXPECT_EQ(3u, countOccurrences(log(), "doIdle UNKNOWN case???..."));
    EXPECT_EQ(eVeskBarcodeTask_JobEnded, cur());
    EXPECT_EQ(kUnknownTask, next());
    EXPECT_TRUE(host->events().empty());
}

TEST_F(SequencerTest, RestingJobMovesOnlyWhenAButtonsStepNamesASuccessor) {
    openJob();
    setTasks(eVeskBarcodeTask_ConnectToBarcodeDevice, eVeskBarcodeTask_ConnectToBarcodeDevice);
    for (int tick = 0; tick < 5; ++tick)
        delegate->doIdle();
    EXPECT_TRUE(steps.calls().empty());
    steps.actions["makeConnection"] = [](JobContext&) {
        return StepResult{eVeskBarcodeTask_DownloadBarcodeData};
    };
    ASSERT_TRUE(delegate->ibConnectToBarcodeDevice());
    ASSERT_TRUE(waitForNoWorker());
    EXPECT_EQ(eVeskBarcodeTask_ConnectToBarcodeDevice, cur()); // the command itself leaves curTask alone
    EXPECT_EQ(eVeskBarcodeTask_DownloadBarcodeData, next());
    delegate->doIdle();
    ASSERT_TRUE(steps.waitForCalls(2));
    EXPECT_EQ((std::vector<std::string>{"makeConnection", "downloadData"}), steps.calls());
    EXPECT_EQ(eVeskBarcodeTask_DownloadBarcodeData, cur());
}

TEST_F(SequencerTest, WithoutAJobAStepsSuccessorIsNotWritten) {
    steps.actions["makeConnection"] = [](JobContext& context) {
        EXPECT_FALSE(context.hasJob());
        return StepResult{eVeskBarcodeTask_DownloadBarcodeData};
    };
    ASSERT_TRUE(delegate->ibConnectToBarcodeDevice());
    ASSERT_TRUE(steps.waitForCalls(1));
    ASSERT_TRUE(waitForNoWorker());
    EXPECT_EQ(nullptr, delegate->job());
    for (int tick = 0; tick < 3; ++tick)
        delegate->doIdle();
    EXPECT_EQ(std::vector<std::string>{"makeConnection"}, steps.calls());
}

struct CommandCase {
    const char* name;
    bool (MyApplicationDelegate::*command)();
    const char* step;
    eVeskBarcodeTask curAfter; // curTask once the step has ended (it names no successor)
};

void PrintTo(const CommandCase& c, std::ostream* out) {
    *out << c.name;
}

// A job resting at the connection; the steps that mark their own task do so when they start, the
// scanner steps leave curTask to the tick.
const CommandCase kCommandCases[] = {
    {"image_list_marks_its_task", &MyApplicationDelegate::ibBuildTheImageListInAThread, "buildTheImageList",
     eVeskBarcodeTask_BuildTheImageList},
    {"preparation_marks_its_task", &MyApplicationDelegate::ibPrepareForConnectionInAThread,
     "prepareForConnection", eVeskBarcodeTask_PrepareForConnection},
    {"match_marks_its_task", &MyApplicationDelegate::ibMatchBarcodeDataWithPhotos,
     "matchBarcodeDataWithPhotos", eVeskBarcodeTask_MatchBarcodeDataWithPhotos},
    {"connect_leaves_cur", &MyApplicationDelegate::ibConnectToBarcodeDevice, "makeConnection",
     eVeskBarcodeTask_ConnectToBarcodeDevice},
    {"download_leaves_cur", &MyApplicationDelegate::ibDownloadData, "downloadData",
     eVeskBarcodeTask_ConnectToBarcodeDevice},
    {"delete_leaves_cur", &MyApplicationDelegate::ibDeleteData, "deleteData",
     eVeskBarcodeTask_ConnectToBarcodeDevice},
};

using CommandTest = SequencerTableTest<CommandCase>;

TEST_P(CommandTest, ButtonStartsItsStepAndMarksTheTaskOnlyForStepsThatOwnIt) {
    const CommandCase& c = GetParam();
    openJob();
    setTasks(eVeskBarcodeTask_ConnectToBarcodeDevice, eVeskBarcodeTask_ConnectToBarcodeDevice);
    ASSERT_TRUE((delegate.get()->*c.command)());
    ASSERT_TRUE(steps.waitForCalls(1));
    ASSERT_TRUE(waitForNoWorker());
    EXPECT_EQ(std::vector<std::string>{c.step}, steps.calls());
    EXPECT_EQ(c.curAfter, cur());
    EXPECT_EQ(eVeskBarcodeTask_ConnectToBarcodeDevice, next());
}

INSTANTIATE_TEST_SUITE_P(Sequencer, CommandTest, ::testing::ValuesIn(kCommandCases), testsupport::CaseName());

struct RetryCase {
    const char* name;
    eVeskBarcodeTask next;
    const char* step;
    const char* failLine;
};

void PrintTo(const RetryCase& c, std::ostream* out) {
    *out << c.name;
}

const RetryCase kRetryCases[] = {
    {"image_list", eVeskBarcodeTask_BuildTheImageList, "buildTheImageList",
     "IBAction ibBuildTheImageListInAThread => FAILED => gRunningThread == TRUE???"},
    {"preparation", eVeskBarcodeTask_PrepareForConnection, "prepareForConnection",
     "IBAction ibPrepareForConnectionInAThread => FAILED => gRunningThread == TRUE???"},
};

using RetryTest = SequencerTableTest<RetryCase>;

TEST_P(RetryTest, ImageListAndPreparationAreRetriedUntilTheWorkerCanStart) {
    const RetryCase& c = GetParam();
    openJob();
    steps.hold();
    ASSERT_TRUE(delegate->ibDownloadData());
    ASSERT_TRUE(steps.waitForCalls(1));
    setTasks(eVeskBarcodeTask_SetWorkingFolder, c.next);
    delegate->doIdle();
    delegate->doIdle();
    EXPECT_EQ(eVeskBarcodeTask_SetWorkingFolder, cur());
    EXPECT_EQ(2u, countOccurrences(log(), c.failLine));
    steps.release();
    ASSERT_TRUE(waitForNoWorker());
    delegate->doIdle();
    ASSERT_TRUE(steps.waitForCalls(2));
    EXPECT_EQ(c.next, cur());
    EXPECT_EQ(c.step, steps.calls().back());
    ASSERT_TRUE(waitForNoWorker());
}

INSTANTIATE_TEST_SUITE_P(Sequencer, RetryTest, ::testing::ValuesIn(kRetryCases), testsupport::CaseName());

TEST_F(SequencerTest, ScannerTasksRefusedWhileAWorkerRunsLeaveTheJobResting) {
    openJob();
    steps.hold();
    ASSERT_TRUE(delegate->ibMatchBarcodeDataWithPhotos());
    ASSERT_TRUE(steps.waitForCalls(1));
    setTasks(eVeskBarcodeTask_PrepareForConnection, eVeskBarcodeTask_ConnectToBarcodeDevice);
    delegate->doIdle();
    steps.release();
    ASSERT_TRUE(waitForNoWorker());
    for (int tick = 0; tick < 3; ++tick)
        delegate->doIdle();
    EXPECT_EQ(eVeskBarcodeTask_ConnectToBarcodeDevice, cur());
    EXPECT_EQ(eVeskBarcodeTask_ConnectToBarcodeDevice, next());
    EXPECT_EQ(std::vector<std::string>{"matchBarcodeDataWithPhotos"}, steps.calls());
}

struct SlowTailCase {
    const char* name;
    eVeskBarcodeTask before, task;
    const char* step;
    eVeskBarcodeTask successor;
    const char* successorStep;
    const char* successorCommand;
};

void PrintTo(const SlowTailCase& c, std::ostream* out) {
    *out << c.name;
}

// Steps that name a worker step as their successor.
const SlowTailCase kSlowTailCases[] = {
    {"image_list_then_preparation", eVeskBarcodeTask_SetWorkingFolder, eVeskBarcodeTask_BuildTheImageList,
     "buildTheImageList", eVeskBarcodeTask_PrepareForConnection, "prepareForConnection",
     "ibPrepareForConnectionInAThread"},
    {"preparation_then_connect", eVeskBarcodeTask_BuildTheImageList, eVeskBarcodeTask_PrepareForConnection,
     "prepareForConnection", eVeskBarcodeTask_ConnectToBarcodeDevice, "makeConnection",
     "ibConnectToBarcodeDevice"},
    {"connect_then_download", eVeskBarcodeTask_PrepareForConnection, eVeskBarcodeTask_ConnectToBarcodeDevice,
     "makeConnection", eVeskBarcodeTask_DownloadBarcodeData, "downloadData", "ibDownloadData"},
    {"download_then_match", eVeskBarcodeTask_ConnectToBarcodeDevice, eVeskBarcodeTask_DownloadBarcodeData,
     "downloadData", eVeskBarcodeTask_MatchBarcodeDataWithPhotos, "matchBarcodeDataWithPhotos",
     "ibMatchBarcodeDataWithPhotos"},
};

using SlowTailTest = SequencerTableTest<SlowTailCase>;

// A step decides its successor and then takes its time to finish (closing the port, clearing the
// status line) while the tick runs as often as it can. The tick must not see the successor while
// the step's worker still holds the guard: it would mark the successor as started, its launch
// would be refused, and the job would rest there for good.
TEST_P(SlowTailTest, TheTickSeesTheSuccessorOnlyOnceTheGuardIsFree) {
    const SlowTailCase& c = GetParam();
    openJob();
    steps.actions[c.step] = [&c](JobContext&) {
        StepResult result{c.successor};
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        return result;
    };
    setTasks(c.before, c.task);
    delegate->doIdle();
    ASSERT_TRUE(steps.waitForCalls(1));
    int ticks = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (steps.calls().size() < 2 && std::chrono::steady_clock::now() < deadline) {
        delegate->doIdle();
        ++ticks;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_GT(ticks, 50); // the tick really ran while the step finished
    ASSERT_TRUE(steps.waitForCalls(2)) << "the job never reached " << c.successorStep;
    EXPECT_EQ((std::vector<std::string>{c.step, c.successorStep}), steps.calls());
    EXPECT_EQ(c.successor, cur());
    // Launched once, at the first try.
    EXPECT_EQ(1u, countOccurrences(log(), std::string("IBAction ") + c.successorCommand + "\n")) << log();
}

INSTANTIATE_TEST_SUITE_P(Sequencer, SlowTailTest, ::testing::ValuesIn(kSlowTailCases),
                         testsupport::CaseName());

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

struct AbsentStepCase {
    const char* name;
    eVeskBarcodeTask next;
    const char* line;
};

void PrintTo(const AbsentStepCase& c, std::ostream* out) {
    *out << c.name;
}

const AbsentStepCase kAbsentStepCases[] = {
    {"image_list", eVeskBarcodeTask_BuildTheImageList,
     "doBuildTheImageListInAThread: this program has no job steps"},
    {"preparation", eVeskBarcodeTask_PrepareForConnection,
     "doPrepareForConnectionInAThread: this program has no job steps"},
    {"connect", eVeskBarcodeTask_ConnectToBarcodeDevice, "pdxMakeConnection: this program has no job steps"},
    {"download", eVeskBarcodeTask_DownloadBarcodeData, "pdxDownloadData: this program has no job steps"},
    {"match", eVeskBarcodeTask_MatchBarcodeDataWithPhotos,
     "matchBarcodeDataWithPhotos: this program has no job steps"},
    {"delete", eVeskBarcodeTask_DeleteData, "pdxDeleteData: this program has no job steps"},
};

using AbsentStepTest = SequencerTableTest<AbsentStepCase>;

TEST_P(AbsentStepTest, WithoutJobStepsTheStepSaysSoAndTheJobRests) {
    const AbsentStepCase& c = GetParam();
    makeDelegate(nullptr);
    openJob();
    setTasks(eVeskBarcodeTask_SetWorkingFolder, c.next);
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

INSTANTIATE_TEST_SUITE_P(Sequencer, AbsentStepTest, ::testing::ValuesIn(kAbsentStepCases),
                         testsupport::CaseName());

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

struct AutoLocateCase {
    const char* name;
    NextTask connected;  // what the connection names
    NextTask downloaded; // what the download names
    eVeskBarcodeTask curAfter, nextAfter;
    const char* stepAfterTicks; // the step the following ticks start, or null
};

void PrintTo(const AutoLocateCase& c, std::ostream* out) {
    *out << c.name;
}

// The job rests at the connection when the button is pressed.
const AutoLocateCase kAutoLocateCases[] = {
    {"connected_and_downloaded", eVeskBarcodeTask_DownloadBarcodeData,
     eVeskBarcodeTask_MatchBarcodeDataWithPhotos, eVeskBarcodeTask_DownloadBarcodeData,
     eVeskBarcodeTask_MatchBarcodeDataWithPhotos, "matchBarcodeDataWithPhotos"},
    {"download_failed_rests_at_the_download", eVeskBarcodeTask_DownloadBarcodeData, std::nullopt,
     eVeskBarcodeTask_DownloadBarcodeData, eVeskBarcodeTask_DownloadBarcodeData, nullptr},
    {"serial_number_declined_cancels", eVeskBarcodeTask_DownloadBarcodeData, eVeskBarcodeTask_UserCancel,
     eVeskBarcodeTask_DownloadBarcodeData, eVeskBarcodeTask_UserCancel, nullptr},
    {"no_scanner_rests_at_the_connection", std::nullopt, std::nullopt,
     eVeskBarcodeTask_ConnectToBarcodeDevice, eVeskBarcodeTask_ConnectToBarcodeDevice, nullptr},
    {"ready_question_declined_cancels", eVeskBarcodeTask_UserCancel, std::nullopt,
     eVeskBarcodeTask_ConnectToBarcodeDevice, eVeskBarcodeTask_UserCancel, nullptr},
};

using AutoLocateTest = SequencerTableTest<AutoLocateCase>;

TEST_P(AutoLocateTest, TheLaterStepNamesTheSuccessor) {
    const AutoLocateCase& c = GetParam();
    openJob();
    setTasks(eVeskBarcodeTask_ConnectToBarcodeDevice, eVeskBarcodeTask_ConnectToBarcodeDevice);
    steps.actions["makeConnection"] = [&c](JobContext&) { return StepResult{c.connected}; };
    steps.actions["downloadData"] = [&c](JobContext&) { return StepResult{c.downloaded}; };
    ASSERT_TRUE(delegate->ibDoAutoLocateAndDownload());
    ASSERT_TRUE(steps.waitForCalls(2));
    ASSERT_TRUE(waitForNoWorker());
    EXPECT_EQ(c.curAfter, cur());
    EXPECT_EQ(c.nextAfter, next());
    for (int tick = 0; tick < 3; ++tick)
        delegate->doIdle();
    ASSERT_TRUE(waitForNoWorker());
    std::vector<std::string> expected{"makeConnection", "downloadData"};
    if (c.stepAfterTicks)
        expected.push_back(c.stepAfterTicks);
    EXPECT_EQ(expected, steps.calls());
}

INSTANTIATE_TEST_SUITE_P(Sequencer, AutoLocateTest, ::testing::ValuesIn(kAutoLocateCases),
                         testsupport::CaseName());

TEST_F(SequencerTest, WhileAutoLocateDownloadsTheTickLeavesTheJobAlone) {
    openJob();
    setTasks(eVeskBarcodeTask_ConnectToBarcodeDevice, eVeskBarcodeTask_ConnectToBarcodeDevice);
    steps.actions["makeConnection"] = [](JobContext&) {
        return StepResult{eVeskBarcodeTask_DownloadBarcodeData};
    };
    std::atomic<bool> downloading{false};
    std::atomic<bool> finish{false};
    steps.actions["downloadData"] = [&](JobContext&) {
        downloading = true;
        while (!finish.load())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return StepResult{eVeskBarcodeTask_MatchBarcodeDataWithPhotos};
    };
    ASSERT_TRUE(delegate->ibDoAutoLocateAndDownload());
    ASSERT_TRUE(steps.waitForCalls(2));
    while (!downloading.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    for (int tick = 0; tick < 5; ++tick)
        delegate->doIdle();
    EXPECT_EQ(eVeskBarcodeTask_DownloadBarcodeData, cur());
    EXPECT_EQ(eVeskBarcodeTask_DownloadBarcodeData, next());
    EXPECT_EQ(0u, countOccurrences(log(), "IBAction ibDownloadData"));
    finish = true;
    ASSERT_TRUE(waitForNoWorker());
    EXPECT_EQ(eVeskBarcodeTask_MatchBarcodeDataWithPhotos, next());
}

class GuardWatchingShell : public testsupport::RecordingShell {
  public:
    void requestTerminate() override {
        guardHeldAtRequest = isRunningThread();
        testsupport::RecordingShell::requestTerminate();
    }
    std::atomic<bool> guardHeldAtRequest{true};
};

TEST_F(SequencerTest, TerminationAskedByAStepComesAfterTheGuardIsFree) {
    GuardWatchingShell watchingShell;
    makeDelegate(&steps, &watchingShell);
    steps.actions["deleteData"] = [](JobContext&) {
        StepResult result;
        result.terminateProgram = true;
        return result;
    };
    ASSERT_TRUE(delegate->ibDeleteData());
    ASSERT_TRUE(waitForNoWorker());
    for (int wait = 0; wait < 1000 && watchingShell.terminateRequests() == 0; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(1, watchingShell.terminateRequests());
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

void PrintTo(const EventCase& c, std::ostream* out) {
    *out << c.name;
}

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

using IncomingEventTest = SequencerTableTest<EventCase>;

TEST_P(IncomingEventTest, RoutedByClassAndIDAndEraseAndQuitOnlyFromTheHost) {
    const EventCase& c = GetParam();
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
        ASSERT_TRUE(steps.waitForCalls(1));
    }
    ASSERT_TRUE(waitForNoWorker());
    EXPECT_EQ(c.erases ? std::vector<std::string>{"deleteData"} : std::vector<std::string>{}, steps.calls());
    EXPECT_EQ(c.quits ? 1 : 0, shell->terminateRequests());
    EXPECT_EQ(c.counts, delegate->veskxDidRespond());
    // The wait task moves to the erase exactly when the event counted as the host's answer.
    setTasks(eVeskBarcodeTask_TellVeskToConfirm, eVeskBarcodeTask_WaitForVeskToConfirm);
    delegate->doIdle();
    EXPECT_EQ(c.counts ? eVeskBarcodeTask_DeleteData : eVeskBarcodeTask_WaitForVeskToConfirm, next());
    if (c.outcome == HostEventResult::Outcome::Refused) {
        EXPECT_NE(std::string::npos, log().find("REFUSED host event")) << log();
    }
}

INSTANTIATE_TEST_SUITE_P(Sequencer, IncomingEventTest, ::testing::ValuesIn(kEventCases),
                         testsupport::CaseName());

TEST_F(SequencerTest, HostAnswerBeforeTheWaitStartsOneEraseOnly) {
    openJob();
    setTasks(eVeskBarcodeTask_MatchBarcodeDataWithPhotos, eVeskBarcodeTask_TellVeskToConfirm);
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
    EXPECT_EQ(eVeskBarcodeTask_WaitForVeskToConfirm, cur());
    EXPECT_EQ(eVeskBarcodeTask_DeleteData, next());
    delegate->doIdle(); // the tick's own delete is refused: the erase already runs
    EXPECT_EQ(eVeskBarcodeTask_DeleteData, cur());
    steps.release();
    ASSERT_TRUE(waitForNoWorker());
    EXPECT_EQ(std::vector<std::string>{"deleteData"}, steps.calls());
}

TEST_F(SequencerTest, HostAnswerAfterTheWaitMovesTheJobThroughTheEraseHandlerOnly) {
    openJob();
    setTasks(eVeskBarcodeTask_MatchBarcodeDataWithPhotos, eVeskBarcodeTask_TellVeskToConfirm);
    delegate->doIdle();
    delegate->doIdle(); // waits once, no answer
    delegate->doIdle();
    EXPECT_EQ(eVeskBarcodeTask_WaitForVeskToConfirm, cur());
    EXPECT_EQ(eVeskBarcodeTask_WaitForVeskToConfirm, next());
    IncomingHostEvent eras;
    eras.target = kVeskBarcodeSignature;
    eras.eventClass = kVeskXSignature;
    eras.eventID = kVeskXEventID_Erase;
    eras.fromHost = true;
    delegate->handleHostEvent(eras);
    ASSERT_TRUE(steps.waitForCalls(1));
    ASSERT_TRUE(waitForNoWorker());
    delegate->doIdle();
    EXPECT_EQ(eVeskBarcodeTask_WaitForVeskToConfirm, cur());
    EXPECT_EQ(eVeskBarcodeTask_WaitForVeskToConfirm, next());
    EXPECT_EQ(std::vector<std::string>{"deleteData"}, steps.calls());
}

namespace {

IncomingHostEvent hostErase() {
    IncomingHostEvent eras;
    eras.target = kVeskBarcodeSignature;
    eras.eventClass = kVeskXSignature;
    eras.eventID = kVeskXEventID_Erase;
    eras.fromHost = true;
    return eras;
}

} // namespace

// Vesk-X leaves the bus while the job waits for its answer: nobody will answer, so the job ends
// with a message, and nothing erases the scanner afterwards (no late event, no button, no tick).
TEST_F(SequencerTest, HostGoneWhileWaitingEndsTheJobAndNothingErasesAfterwards) {
    openJob();
    setTasks(eVeskBarcodeTask_MatchBarcodeDataWithPhotos, eVeskBarcodeTask_TellVeskToConfirm);
    delegate->doIdle(); // 'ok01'
    delegate->doIdle();
    delegate->doIdle(); // waiting
    EXPECT_EQ(eVeskBarcodeTask_WaitForVeskToConfirm, cur());
    delegate->hostDidQuit();
    EXPECT_TRUE(delegate->hostQuitBeforeConfirming());
    EXPECT_EQ(eVeskBarcodeTask_JobEnded, cur());
    EXPECT_EQ(eVeskBarcodeTask_JobEnded, next());
    EXPECT_NE(std::string::npos,
              log().find("Vesk-X has quit before it confirmed this job. The scans stay on the "
                         "scanner: nothing was erased."))
        << log();
    EXPECT_EQ(HostEventResult::Outcome::Refused, delegate->handleHostEvent(hostErase()).outcome);
    EXPECT_FALSE(delegate->ibDeleteData());
    for (int tick = 0; tick < 3; ++tick)
        delegate->doIdle();
    ASSERT_TRUE(waitForNoWorker());
    EXPECT_TRUE(steps.calls().empty());
    EXPECT_EQ(std::vector<std::string>{"QRWz barc ok01"}, host->events());
}

TEST_F(SequencerTest, HostGoneAfterItsAnswerOrBeforeOk01ChangesNothing) {
    openJob();
    delegate->hostDidQuit(); // no 'ok01' yet: nobody is waited for
    EXPECT_FALSE(delegate->hostQuitBeforeConfirming());
    setTasks(eVeskBarcodeTask_MatchBarcodeDataWithPhotos, eVeskBarcodeTask_TellVeskToConfirm);
    delegate->doIdle(); // 'ok01'
    EXPECT_EQ(HostEventResult::Outcome::Handled, delegate->handleHostEvent(hostErase()).outcome);
    ASSERT_TRUE(steps.waitForCalls(1));
    delegate->hostDidQuit(); // it answered: the erase it allowed goes on
    EXPECT_FALSE(delegate->hostQuitBeforeConfirming());
    ASSERT_TRUE(waitForNoWorker());
    EXPECT_EQ(std::vector<std::string>{"deleteData"}, steps.calls());
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
    setTasks(eVeskBarcodeTask_MatchBarcodeDataWithPhotos, eVeskBarcodeTask_UserCancel);
    delegate->doIdle();
    EXPECT_TRUE(delegate->terminate());
    delegate->doIdle();
    EXPECT_FALSE(delegate->terminate()); // a second request after the end is ignored
    // A worker that outlives the end cannot send anything more.
    EXPECT_EQ(-1, delegate->mySendQuorvelAppleEvent(kVeskXSignature, kVeskBarcodeEventID_EraseSuccess));
    EXPECT_EQ((std::vector<std::string>{"QRWz barc abrt", "QRWz barc qend"}), host->events());
}

struct QuitCase {
    const char* name;
    const char* answers; // VESK_ANSWERS, or null for the default button
    bool terminates;
};

void PrintTo(const QuitCase& c, std::ostream* out) {
    *out << c.name;
}

const QuitCase kQuitCases[] = {
    {"default_keeps_running", nullptr, false},
    {"stop_anyway_terminates", "NSAlertWindow_9002=0", true},
};

using QuitTest = SequencerTableTest<QuitCase>;

TEST_P(QuitTest, QuitWhileAWorkerRunsAsksFirst) {
    const QuitCase& c = GetParam();
    if (c.answers)
        setenv("VESK_ANSWERS", c.answers, 1);
    else
        unsetenv("VESK_ANSWERS");
    steps.hold();
    ASSERT_TRUE(delegate->ibDownloadData());
    ASSERT_TRUE(steps.waitForCalls(1));
    EXPECT_EQ(c.terminates, delegate->terminate());
    EXPECT_EQ(c.terminates ? 1 : 0, host->count("qend"));
    steps.release();
    ASSERT_TRUE(waitForNoWorker());
    if (!c.terminates) {
        EXPECT_TRUE(delegate->terminate());
        EXPECT_EQ(1, host->count("qend"));
    }
}

INSTANTIATE_TEST_SUITE_P(Sequencer, QuitTest, ::testing::ValuesIn(kQuitCases), testsupport::CaseName());

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
    EXPECT_TRUE(shell->timerStarted());
    EXPECT_EQ(std::vector<std::string>{"Blow"}, shell->sounds());
    EXPECT_NE(std::string::npos, log().find("\xA5 Current "));
}

} // namespace
