// The scanner workflows against the real pdx-sim on a pseudo-terminal: which question each kind of
// port raises, the port's logo, the texts without a port, the serial number the job keeps, and the
// erase's reconnection, which neither moves the job nor gives up the worker guard.
#include "AlertPanel.h"
#include "JobChecklistModel.h"
#include "JobContext.h"
#include "Preferences.h"
#include "RunningThread.h"
#include "ScaledClock.h"
#include "ScannerWorkflows.h"
#include "VeskJobSteps.h"

#include "CaseName.h"
#include "FileContent.h"
#include "PdxSimProcess.h"
#include "PseudoTerminal.h"
#include "RecordingHostEvents.h"
#include "RecordingMessageSink.h"
#include "RecordingShell.h"
#include "RecordingStatusDisplay.h"
#include "ScriptedAlertPrompt.h"
#include "TaskName.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>

#include <unistd.h>

namespace {

const char kTwoScans[] = "AAA1\t050426\t100000\nBBB2\t050426\t100200\n";

class MapPreferences : public PreferenceStore {
  public:
    std::optional<std::string> value(const std::string& key) override {
        auto found = values.find(key);
        return found == values.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    void setValue(const std::string& key, const std::string& value) override { values[key] = value; }
    void removeValue(const std::string& key) override { values.erase(key); }
    void registerDefaults(const std::map<std::string, std::string>&) override {}
    std::map<std::string, std::string> values;
};

class ScannerWorkflowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setAlertPrompt(&fPrompt);
        setPreferenceStore(&fPreferences);
        unsetenv("VESK_UNATTENDED");
    }
    void TearDown() override {
        setAlertPrompt(nullptr);
        setPreferenceStore(nullptr);
        unsetenv("VESK_SERIAL_PORTS");
    }
    // A scanner on a link of this name; VESK_SERIAL_PORTS names it.
    bool startScanner(const std::string& linkName, const std::vector<std::string>& options = {}) {
        fScanner.reset(new testsupport::PdxSimProcess(fFolder.path(), linkName));
        setenv("VESK_SERIAL_PORTS", fScanner->link().c_str(), 1);
        std::vector<std::string> all = {"--pace", "instant"};
        all.insert(all.end(), options.begin(), options.end());
        return fScanner->startWithRecords(kTwoScans, all);
    }
    JobContext context() { return JobContext(true, fFolder.path(), fHost, fStatus, fShell); }
    // The erase at the end of a job the host has confirmed.
    JobContext confirmedContext() {
        JobContext job = context();
        job.setHostConfirmedErase(true);
        return job;
    }
    bool sent(const std::string& hex) {
        return testsupport::readFile(fFolder.file("pdx-sim.log")).find("host " + hex) != std::string::npos;
    }
    std::optional<std::string> logo() const { return fStatus.serialPortImage(); }

    testsupport::TemporaryFolder fFolder;
    testsupport::ScriptedAlertPrompt fPrompt;
    MapPreferences fPreferences;
    testsupport::RecordingStatusDisplay fStatus;
    testsupport::RecordingHostEvents fHost;
    testsupport::RecordingShell fShell;
    testsupport::RecordingMessageSink fMessages;
    std::unique_ptr<testsupport::PdxSimProcess> fScanner;
};

} // namespace

namespace {

template <typename Case>
class ScannerWorkflowsTableTest : public ScannerWorkflowsTest, public ::testing::WithParamInterface<Case> {};

struct PortCase {
    const char* name;
    const char* link;
    const char* logo;
    const char* question;
};

void PrintTo(const PortCase& c, std::ostream* out) {
    *out << c.name;
}

const PortCase kPortCases[] = {
    {"usb_adapter", "tty.SLAB_USBtoUART", "UsbLogo.png", "NSAlertWindow_1005"},
    {"bluetooth_mac_name", "tty.Bluetooth-PDA-Sync", "BluetoothLogo.tiff", "NSAlertWindow_1003"},
    {"bluetooth_linux_name", "rfcomm0", "BluetoothLogo.tiff", "NSAlertWindow_1003"},
};

using PortKindTest = ScannerWorkflowsTableTest<PortCase>;

} // namespace

TEST_P(PortKindTest, EachKindOfPortHasItsLogoAndItsReadyQuestion) {
    const PortCase& c = GetParam();
    ASSERT_TRUE(startScanner(c.link));
    ScannerWorkflows workflows;
    JobContext job = context();
    workflows.rescanSerialPort(job);
    EXPECT_EQ(workflows.currentPortPath(), fFolder.path() + c.link);
    EXPECT_EQ(logo(), std::optional<std::string>(c.logo));
    fPrompt.clearAsked();
    NextTask next = workflows.makeConnection(job);
    ASSERT_FALSE(fPrompt.asked().empty());
    EXPECT_EQ(fPrompt.asked().front(), c.question);
    EXPECT_EQ(next, NextTask(eVeskBarcodeTask_DownloadBarcodeData));
    EXPECT_EQ(workflows.barCodeID(), "10700001");
    EXPECT_EQ(fStatus.scannerFields().model, "Z-1070");
    EXPECT_EQ(fStatus.scannerFields().serialNumber, "10700001");
}

INSTANTIATE_TEST_SUITE_P(ScannerWorkflows, PortKindTest, ::testing::ValuesIn(kPortCases),
                         testsupport::CaseName());

TEST_F(ScannerWorkflowsTest, WithoutAPortTheTextsSaySoAndTheJobWaitsAtTheConnection) {
    unsetenv("VESK_SERIAL_PORTS");
    ScannerWorkflows workflows;
    JobContext job = context();
    workflows.rescanSerialPort(job);
    EXPECT_EQ(workflows.currentPortPath(), "");
    EXPECT_EQ(logo(), std::optional<std::string>(""));
    EXPECT_EQ(fStatus.scannerFields().portPath, "No serial port found");
    EXPECT_EQ(fPrompt.asked(), (std::vector<std::string>{"No serial port found"}));

    fPrompt.clearAsked();
    NextTask next = workflows.makeConnection(job);
    EXPECT_EQ(fPrompt.asked(), (std::vector<std::string>{"NSAlertWindow_1005", "NSAlertWindow_9009"}));
    EXPECT_EQ(next, NextTask()); // the job rests at the connection
    std::vector<std::string> statusTexts = fStatus.texts();
    for (const std::string& text : statusTexts)
        EXPECT_EQ(text.find("(null)"), std::string::npos) << text;
    EXPECT_NE(std::find(statusTexts.begin(), statusTexts.end(), "No serial port found"), statusTexts.end());
    for (const std::string& text : statusTexts)
        EXPECT_EQ(text.find("Setting up serial port"), std::string::npos) << text;
}

// A port that does not open says why at once, in the scanner field and in the alert that ends the
// attempt, instead of a ready question and minutes of waiting for a scanner that cannot answer.
TEST_F(ScannerWorkflowsTest, APortThatIsGoneSaysSoAndTheJobRestsAtTheConnection) {
    std::string link = fFolder.file("ttyUSB0");
    ASSERT_EQ(symlink(fFolder.file("unplugged").c_str(), link.c_str()), 0);
    setenv("VESK_SERIAL_PORTS", link.c_str(), 1);
    ScannerWorkflows workflows;
    JobContext job = context();
    workflows.rescanSerialPort(job);
    EXPECT_EQ(workflows.currentPortPath(), link);
    fPrompt.clearAsked();
    NextTask next = workflows.makeConnection(job);
    const std::string sentence = link + " is gone: is the scanner's cable plugged in?";
    EXPECT_EQ(fPrompt.asked(), (std::vector<std::string>{"NSAlertWindow_9020"}));
    EXPECT_EQ(fPrompt.title("NSAlertWindow_9020"), "The scanner's port cannot be used");
    EXPECT_EQ(fPrompt.message("NSAlertWindow_9020"), sentence);
    EXPECT_EQ(fStatus.scannerFields().model, sentence);
    EXPECT_EQ(next, NextTask()); // the job rests at the connection
    EXPECT_TRUE(fMessages.contains(sentence));
}

// The port chosen in the main window is remembered and taken again by the next search while it
// is there; once it is gone, the first port found is taken and the choice is kept for its return.
TEST_F(ScannerWorkflowsTest, TheChosenPortIsRememberedWhileItIsThere) {
    ASSERT_TRUE(startScanner("tty.SLAB_USBtoUART"));
    testsupport::PseudoTerminal other;
    std::string second = fFolder.file("ttyUSB7");
    ASSERT_EQ(symlink(other.slavePath().c_str(), second.c_str()), 0);
    setenv("VESK_SERIAL_PORTS", (fScanner->link() + ":" + second).c_str(), 1);
    {
        ScannerWorkflows workflows;
        JobContext job = context();
        workflows.rescanSerialPort(job);
        EXPECT_EQ(workflows.currentPortPath(), fScanner->link());
        workflows.chooseSerialPort(job, second);
        EXPECT_EQ(workflows.currentPortPath(), second);
        workflows.chooseSerialPort(job, fFolder.file("not-listed")); // refused, the choice stays
        EXPECT_EQ(workflows.currentPortPath(), second);
    }
    EXPECT_EQ(fPreferences.values[sPrefs_scannerSerialPort], second);
    {
        ScannerWorkflows workflows;
        JobContext job = context();
        workflows.rescanSerialPort(job);
        EXPECT_EQ(workflows.currentPortPath(), second);
    }
    setenv("VESK_SERIAL_PORTS", fScanner->link().c_str(), 1);
    ScannerWorkflows workflows;
    JobContext job = context();
    workflows.rescanSerialPort(job);
    EXPECT_EQ(workflows.currentPortPath(), fScanner->link());
    EXPECT_EQ(fPreferences.values[sPrefs_scannerSerialPort], second);
}

TEST_F(ScannerWorkflowsTest, ScannerWithoutASerialNumberIsKnownAsPlaceholderAndDownloadAsksWithIt) {
    ASSERT_TRUE(startScanner("tty.SLAB_USBtoUART", {"--no-unit-id"}));
    ScannerWorkflows workflows;
    JobContext job = context();
    workflows.rescanSerialPort(job);
    workflows.makeConnection(job);
    EXPECT_EQ(workflows.barCodeID(), "177?????");
    EXPECT_EQ(fStatus.scannerFields().serialNumber, "177?????");
    fPrompt.answer("NSAlertWindow_1009", 0);
    NextTask next = workflows.downloadData(job);
    EXPECT_EQ(fPrompt.title("NSAlertWindow_1009"), "FOUND Zebex Unit SN# [177?????]!");
    // The question says how many scans the scanner holds.
    EXPECT_NE(fPrompt.message("NSAlertWindow_1009").find("Scans stored on this scanner: 2."),
              std::string::npos)
        << fPrompt.message("NSAlertWindow_1009");
    EXPECT_EQ(next, NextTask(eVeskBarcodeTask_UserCancel));
    EXPECT_FALSE(testsupport::fileExists(fFolder.file("BarcodeDataSource.txt")));
}

// The checklist through the scanner's part of a job: found with the count the scanner reported,
// each record of the download counted as "k of N", then downloaded with its figure.
TEST_F(ScannerWorkflowsTest, ChecklistCountsTheScannersScansAndEachRecordOfTheDownload) {
    ASSERT_TRUE(startScanner("tty.SLAB_USBtoUART"));
    JobChecklistModel checklist;
    std::vector<std::pair<size_t, size_t>> counts;
    checklist.setChangeHandler([&] {
        const ChecklistLine line = checklist.snapshot().line(eJobStep_Download);
        // Each count once (other figures of the step change the model too).
        std::pair<size_t, size_t> count(line.done, line.total);
        if (line.state == eStepState::Running && line.total > 0 && (counts.empty() || counts.back() != count))
            counts.push_back(count);
    });
    VeskJobSteps steps(nullptr, &checklist);
    JobContext job = context();
    steps.rescanSerialPort(job);
    EXPECT_EQ(steps.makeConnection(job), NextTask(eVeskBarcodeTask_DownloadBarcodeData));
    ChecklistSnapshot found = checklist.snapshot();
    EXPECT_EQ(found.line(eJobStep_Scanner).state, eStepState::Done);
    EXPECT_EQ(found.scannerSerialNumber, "10700001");
    EXPECT_EQ(found.scansOnScanner, 2);

    EXPECT_EQ(steps.downloadData(job), NextTask(eVeskBarcodeTask_MatchBarcodeDataWithPhotos));
    EXPECT_EQ(counts, (std::vector<std::pair<size_t, size_t>>{{1, 2}, {2, 2}}));
    ChecklistSnapshot downloaded = checklist.snapshot();
    EXPECT_EQ(downloaded.line(eJobStep_Download).state, eStepState::Done);
    EXPECT_EQ(downloaded.scansDownloaded, 2u);
}

// A failed connection and a cancelled download each leave their line failed with its reason.
TEST_F(ScannerWorkflowsTest, ChecklistLinesOfAFailedConnectionAndACancelledDownload) {
    JobChecklistModel checklist;
    VeskJobSteps steps(nullptr, &checklist);
    JobContext job = context();
    setenv("VESK_SERIAL_PORTS", fFolder.file("no-such-port").c_str(), 1);
    steps.rescanSerialPort(job);
    steps.makeConnection(job);
    EXPECT_EQ(checklist.snapshot().line(eJobStep_Scanner).state, eStepState::Failed);

    ASSERT_TRUE(startScanner("tty.SLAB_USBtoUART"));
    steps.rescanSerialPort(job);
    steps.makeConnection(job);
    fPrompt.answer("NSAlertWindow_1009", 0);
    EXPECT_EQ(steps.downloadData(job), NextTask(eVeskBarcodeTask_UserCancel));
    const ChecklistLine download = checklist.snapshot().line(eJobStep_Download);
    EXPECT_EQ(download.state, eStepState::Failed);
    EXPECT_EQ(download.problem, eStepProblem::Cancelled);
}

TEST_F(ScannerWorkflowsTest, DownloadBeforeAnyConnectionAsksNothingAndLeavesTheJob) {
    ASSERT_TRUE(startScanner("tty.SLAB_USBtoUART"));
    ScannerWorkflows workflows;
    JobContext job = context();
    workflows.rescanSerialPort(job);
    NextTask next = workflows.downloadData(job);
    EXPECT_TRUE(fPrompt.asked().empty());
    EXPECT_TRUE(fMessages.contains("pdxDownloadData => Device Not Connected???"));
    EXPECT_TRUE(fMessages.contains("Download FAILED"));
    EXPECT_EQ(next, NextTask()); // the job rests at the download
    EXPECT_FALSE(sent("02 43 55 31 03"));
}

TEST_F(ScannerWorkflowsTest, EraseReconnectsWithoutMovingTheJobOrReleasingTheGuard) {
    ASSERT_TRUE(startScanner("tty.SLAB_USBtoUART"));
    fFolder.write("BarcodeDataSource.txt", testsupport::savedScans("10700001", kTwoScans));
    ScannerWorkflows workflows;
    JobContext job = confirmedContext();
    workflows.rescanSerialPort(job);
    ASSERT_TRUE(tryAcquireRunningThread());
    StepResult result = workflows.deleteData(job);
    EXPECT_TRUE(isRunningThread());
    releaseRunningThread();
    EXPECT_EQ(result.next, NextTask()); // the reconnection's download is not named
    EXPECT_TRUE(
        fMessages.contains("pdxDeleteData => Invalid Barcode Device SerialNumber => NEVER Initialized!"));
    EXPECT_TRUE(sent("02 43 45 31 03"));
    EXPECT_EQ(fHost.events(), (std::vector<std::string>{"QRWz barc ok02"}));
    EXPECT_TRUE(result.terminateProgram);
}

TEST_F(ScannerWorkflowsTest, EraseThatCannotReadASerialNumberFailsWithoutErasing) {
    ASSERT_TRUE(startScanner("tty.SLAB_USBtoUART"));
    ScannerWorkflows workflows;
    JobContext job = context();
    workflows.rescanSerialPort(job);
    fPrompt.answer("NSAlertWindow_1015", 0); // the user does not ready the scanner
    job.setHostConfirmedErase(true);
    StepResult result = workflows.deleteData(job);
    EXPECT_EQ(fPrompt.asked(), (std::vector<std::string>{"NSAlertWindow_1015", "NSAlertWindow_9003"}));
    EXPECT_EQ(result.next, NextTask()); // the declined reconnection does not cancel the job
    EXPECT_FALSE(sent("02 43 45 31 03"));
    EXPECT_EQ(fHost.events(), (std::vector<std::string>{"QRWz barc err2"}));
    EXPECT_FALSE(result.terminateProgram);
}

TEST_F(ScannerWorkflowsTest, TestingModeSkipsTheDownloadAndFakesTheErase) {
    ASSERT_TRUE(startScanner("tty.SLAB_USBtoUART"));
    fPreferences.values["doEnableInternalTesting"] = "true";
    fPrompt.answer("NSAlertWindow_1001", -1);
    ScaledClock fast(20);
    ScopedProcessClock clock(fast);
    ScannerWorkflows workflows;
    JobContext job = context();
    workflows.rescanSerialPort(job);
    EXPECT_EQ(workflows.prepareForConnection(job), NextTask(eVeskBarcodeTask_MatchBarcodeDataWithPhotos));
    EXPECT_TRUE(workflows.testingMode());
    // The Erase Scanner button before the host confirmed: nothing is simulated to the host.
    EXPECT_FALSE(workflows.deleteData(job).terminateProgram);
    EXPECT_TRUE(fHost.events().empty());
    job.setHostConfirmedErase(true);
    StepResult result = workflows.deleteData(job);
    EXPECT_EQ(fHost.events(), (std::vector<std::string>{"QRWz barc ok02", "QRWz barc ok02"}));
    EXPECT_TRUE(result.terminateProgram);
    EXPECT_EQ(testsupport::readFile(fFolder.file("pdx-sim.log")).find("host "), std::string::npos);
}

namespace {

struct PreparationCase {
    const char* name;
    bool testingMode;
    bool dataFile;
    std::map<std::string, int> answers;
    NextTask nextTask;
    std::vector<std::string> events;
};

void PrintTo(const PreparationCase& c, std::ostream* out) {
    *out << c.name;
}

const PreparationCase kPreparationCases[] = {
    {"no_data_file", false, false, {}, eVeskBarcodeTask_ConnectToBarcodeDevice, {}},
    {"use_existing_data",
     false,
     true,
     {{"NSAlertWindow_1002", 1}},
     eVeskBarcodeTask_MatchBarcodeDataWithPhotos,
     {}},
    {"not_now_rests", false, true, {{"NSAlertWindow_1002", 0}}, std::nullopt, {}},
    {"cancel_at_existing_data", false, true, {{"NSAlertWindow_1002", -1}}, eVeskBarcodeTask_UserCancel, {}},
    {"testing_mode_use_scanner",
     true,
     false,
     {{"NSAlertWindow_1001", 1}},
     eVeskBarcodeTask_ConnectToBarcodeDevice,
     {}},
    {"testing_mode_cancel",
     true,
     false,
     {{"NSAlertWindow_1001", 0}},
     eVeskBarcodeTask_JobEnded,
     {"QRWz barc abrt"}},
};

using PreparationTest = ScannerWorkflowsTableTest<PreparationCase>;

} // namespace

TEST_P(PreparationTest, PreparationFollowsTheAnswers) {
    const PreparationCase& c = GetParam();
    fPreferences.values["doEnableInternalTesting"] = c.testingMode ? "true" : "false";
    if (c.dataFile)
        fFolder.write("BarcodeDataSource.txt", "scans\n");
    for (const auto& [key, result] : c.answers)
        fPrompt.answer(key, result);
    ScannerWorkflows workflows;
    JobContext job = context();
    EXPECT_EQ(workflows.prepareForConnection(job), c.nextTask);
    EXPECT_EQ(fHost.events(), c.events);
    // Choosing the scanner in testing mode leaves testing mode for this job.
    if (c.nextTask == eVeskBarcodeTask_ConnectToBarcodeDevice) {
        EXPECT_FALSE(workflows.testingMode());
    }
}

INSTANTIATE_TEST_SUITE_P(ScannerWorkflows, PreparationTest, ::testing::ValuesIn(kPreparationCases),
                         testsupport::CaseName());

TEST_F(ScannerWorkflowsTest, DownloadIntoAFolderWhoseDataFileCannotBeNamedFetchesNothing) {
    ASSERT_TRUE(startScanner("tty.SLAB_USBtoUART"));
    ScannerWorkflows workflows;
    JobContext job = context();
    workflows.rescanSerialPort(job);
    workflows.makeConnection(job);
    ASSERT_EQ(workflows.barCodeID(), "10700001");

    std::string longFolder = fFolder.path() + std::string(1000, 'a') + "/";
    JobContext tooLong(true, longFolder, fHost, fStatus, fShell);
    NextTask next = workflows.downloadData(tooLong);
    EXPECT_TRUE(
        fMessages.contains("pdxDownloadData => the data file cannot be written in the working folder"));
    EXPECT_EQ(next, NextTask()); // the job rests at the download
    EXPECT_FALSE(sent("02 43 55 31 03"));
    EXPECT_FALSE(testsupport::fileExists("BarcodeDataSource.txt"));
}
