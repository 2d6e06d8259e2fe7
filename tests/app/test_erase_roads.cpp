// Every road to the scanner's erase, as the job's steps walk it against the real pdx-sim on a
// pseudo-terminal: the download (or a data file already in the folder), then the erase at the
// job's confirmed end or from the Erase Scanner button. For each: whether the erase command
// reached the scanner, what the host was told, what the user was shown, and what the scanner
// holds afterwards. No road may send the erase command unless the folder's data file holds every
// scan the scanner holds, except where the user chose to erase them anyway.
#include "AlertPanel.h"
#include "JobContext.h"
#include "ScaledClock.h"
#include "ScannerWorkflows.h"
#include "pdxProDevice.h"

#include "CaseName.h"
#include "FileContent.h"
#include "PdxSimProcess.h"
#include "RecordingHostEvents.h"
#include "RecordingMessageSink.h"
#include "RecordingShell.h"
#include "RecordingStatusDisplay.h"
#include "ScriptedAlertPrompt.h"
#include "TaskName.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>

using namespace testsupport;

namespace {

const char kThreeScans[] = "AAA1\t050426\t100000\nBBB2\t050426\t100200\nCCC3\t050426\t100400\n";
const char kTwoLateScans[] = "DDD4\t050426\t110000\nEEE5\t050426\t110200\n";

// How the folder's data file came about before the erase.
enum class eBefore {
    Download,  // the job connected and downloaded
    SavedFile, // a data file was already in the folder; the erase connects first
    Nothing,   // no data file; the erase connects first
};

using Events = std::vector<std::string>;

struct RoadCase {
    const char* name;
    std::vector<std::string> simOptions;
    std::string lateScans;
    eBefore before;
    std::string savedFile;
    bool hostConfirmed; // the job's erase after 'ok01' and 'eras'; else the Erase Scanner button
    std::map<std::string, int> answers;
    bool unattended;
    // What must happen.
    bool downloaded;
    bool eraseSent;
    bool onPurpose; // the user chose to erase scans that are not saved here
    Events events;
    const char* alert;    // the last alert shown (null: none)
    const char* message;  // in the message area
    long scansAfterwards; // as the scanner reports them
    NextTask next;
};

void PrintTo(const RoadCase& c, std::ostream* out) {
    *out << c.name;
}

const char* const kNoAlert = nullptr;

const RoadCase kRoadCases[] = {
    {"clean job erases",
     {},
     "",
     eBefore::Download,
     "",
     true,
     {},
     false,
     true,
     true,
     false,
     {"QRWz barc ok02"},
     kNoAlert,
     "DeleteDataNew Afterwards => There Is NO FORM DATA",
     0,
     std::nullopt},
    {"undercount fails the download and nothing is erased",
     {"--report-records", "00002"},
     "",
     eBefore::Download,
     "",
     true,
     {},
     false,
     false,
     false,
     false,
     {"QRWz barc err2"},
     "NSAlertWindow_9012",
     "its system information reports 2 scans of 3 fields, but its upload announces 3 scans",
     2,
     std::nullopt},
    {"field count mismatch fails the download and nothing is erased",
     {"--report-fields", "02"},
     "",
     eBefore::Download,
     "",
     true,
     {},
     false,
     false,
     false,
     false,
     {"QRWz barc err2"},
     "NSAlertWindow_9012",
     "its system information reports 3 scans of 2 fields, but its upload announces 3 scans of 3 fields",
     3,
     std::nullopt},
    {"extra block instead of the final acknowledgement",
     {"--fault", "extra-block"},
     "",
     eBefore::Download,
     "",
     true,
     {},
     false,
     false,
     false,
     false,
     {"QRWz barc err2"},
     "NSAlertWindow_9012",
     "did not end the upload",
     3,
     std::nullopt},
    {"late scans are not erased",
     {},
     kTwoLateScans,
     eBefore::Download,
     "",
     true,
     {},
     false,
     true,
     false,
     false,
     {"QRWz barc err2"},
     "NSAlertWindow_9010",
     "2 scans made after the download are saved nowhere",
     5,
     std::nullopt},
    {"late scans, download again",
     {},
     kTwoLateScans,
     eBefore::Download,
     "",
     true,
     {{"NSAlertWindow_9010", 0}},
     false,
     true,
     false,
     false,
     {"QRWz barc err2"},
     "NSAlertWindow_9010",
     "the user chose to download again",
     5,
     eVeskBarcodeTask_DownloadBarcodeData},
    {"foreign data file",
     {},
     "",
     eBefore::SavedFile,
     savedScans("10700002", kThreeScans),
     true,
     {},
     false,
     false,
     false,
     false,
     {"QRWz barc err2"},
     "NSAlertWindow_9011",
     "Scanner 10700001 holds 3 scans, but the 3 scans saved in",
     3,
     std::nullopt},
    {"an earlier file of this scanner with fewer scans",
     {},
     "",
     eBefore::SavedFile,
     savedScans("10700001", "AAA1\t050426\t100000\n"),
     true,
     {},
     false,
     false,
     false,
     false,
     {"QRWz barc err2"},
     "NSAlertWindow_9010",
     "holds only 1: 2 scans made after",
     3,
     std::nullopt},
    {"no data file",
     {},
     "",
     eBefore::Nothing,
     "",
     true,
     {},
     false,
     false,
     false,
     false,
     {"QRWz barc err2"},
     "NSAlertWindow_9012",
     "and none of them is saved: there is no",
     3,
     std::nullopt},
    {"no unit ID, the same count",
     {"--no-unit-id"},
     "",
     eBefore::Download,
     "",
     true,
     {},
     false,
     true,
     true,
     false,
     {"QRWz barc ok02"},
     kNoAlert,
     "NO FORM DATA",
     0,
     std::nullopt},
    {"no unit ID, another count",
     {"--no-unit-id"},
     kTwoLateScans,
     eBefore::Download,
     "",
     true,
     {},
     false,
     true,
     false,
     false,
     {"QRWz barc err2"},
     "NSAlertWindow_9010",
     "Scanner 177????? holds 5 scans",
     5,
     std::nullopt},
    {"another scanner after the download",
     {"--unit-ids", "10700001,10700001,10799999"},
     "",
     eBefore::Download,
     "",
     true,
     {},
     false,
     true,
     false,
     false,
     {"QRWz barc err2"},
     "NSAlertWindow_9016",
     "Found DeviceID[10799999] != ExpectedDeviceID[10700001]",
     3,
     std::nullopt},
    {"an erase that cannot be confirmed says so",
     {"--fault", "mute-after-erase@3"},
     "",
     eBefore::Download,
     "",
     true,
     {},
     false,
     true,
     true,
     false,
     {"QRWz barc err2"},
     "NSAlertWindow_9014",
     "the erase was sent but could not be confirmed; check the scanner before scanning again",
     0,
     std::nullopt},
    {"Erase Scanner with the scans saved",
     {},
     "",
     eBefore::Download,
     "",
     false,
     {},
     false,
     true,
     true,
     false,
     {},
     kNoAlert,
     "the scanner is empty; Vesk-X is not told",
     0,
     std::nullopt},
    {"Erase Scanner without saved scans keeps them",
     {},
     "",
     eBefore::Nothing,
     "",
     false,
     {},
     false,
     false,
     false,
     false,
     {},
     "NSAlertWindow_9015",
     "the user kept the scans; nothing was erased",
     3,
     std::nullopt},
    {"Erase Scanner without saved scans, erased on purpose",
     {},
     "",
     eBefore::Nothing,
     "",
     false,
     {{"NSAlertWindow_9015", 0}},
     false,
     false,
     true,
     true,
     {},
     "NSAlertWindow_9015",
     "chose to erase the 3 scans of scanner 10700001 anyway",
     0,
     std::nullopt},
    {"Erase Scanner with late scans asks too",
     {},
     kTwoLateScans,
     eBefore::Download,
     "",
     false,
     {},
     false,
     true,
     false,
     false,
     {},
     "NSAlertWindow_9015",
     "the user kept the scans",
     5,
     std::nullopt},
    {"Erase Scanner unattended keeps the scans",
     {},
     "",
     eBefore::Nothing,
     "",
     false,
     {{"NSAlertWindow_9015", 0}},
     true,
     false,
     false,
     false,
     {},
     kNoAlert,
     "unattended: \"Keep the scans\"; nothing was erased",
     3,
     std::nullopt},
};

class EraseRoadTest : public ::testing::TestWithParam<RoadCase> {
  protected:
    void SetUp() override {
        setAlertPrompt(&fPrompt);
        unsetenv("VESK_UNATTENDED");
        unsetenv("VESK_ANSWERS");
    }
    void TearDown() override {
        setAlertPrompt(nullptr);
        unsetenv("VESK_SERIAL_PORTS");
        unsetenv("VESK_UNATTENDED");
    }
    // The scans the scanner held at each erase command ("event erase form 1 holding N records").
    std::vector<long> eraseCommands() const {
        std::vector<long> held;
        std::istringstream lines(fScanner->logText());
        std::string line;
        const std::string prefix = "event erase form 1 holding ";
        while (std::getline(lines, line))
            if (line.rfind(prefix, 0) == 0)
                held.push_back(std::atol(line.c_str() + prefix.size()));
        return held;
    }
    long scansOnTheScanner() {
        pdxProDevice probe;
        probe.SetBsdPathName(fScanner->link().c_str());
        if (!probe.MakeConnection())
            return -1;
        return probe.fSystemInfoFormRecord[1].ReportedCountOfRecords;
    }

    TemporaryFolder fFolder;
    ScriptedAlertPrompt fPrompt;
    RecordingStatusDisplay fStatus;
    RecordingHostEvents fHost;
    RecordingShell fShell;
    RecordingMessageSink fMessages;
    std::unique_ptr<PdxSimProcess> fScanner;
};

} // namespace

TEST_P(EraseRoadTest, TheEraseLeavesOnlyForScansThatAreSaved) {
    const RoadCase& c = GetParam();
    ScaledClock clock(20.0);
    ScopedProcessClock install(clock);
    fScanner = std::make_unique<PdxSimProcess>(fFolder.path(), "tty.SLAB_USBtoUART", "scanner.log");
    setenv("VESK_SERIAL_PORTS", fScanner->link().c_str(), 1);
    std::vector<std::string> options = {"--pace", "instant"};
    if (!c.lateScans.empty())
        options.insert(options.end(), {"--late-records", fFolder.write("late.txt", c.lateScans)});
    options.insert(options.end(), c.simOptions.begin(), c.simOptions.end());
    ASSERT_TRUE(fScanner->startWithRecords(kThreeScans, options));
    for (const auto& entry : c.answers)
        fPrompt.answer(entry.first, entry.second);
    if (c.before == eBefore::SavedFile)
        fFolder.write("BarcodeDataSource.txt", c.savedFile);

    ScannerWorkflows workflows;
    JobContext job(true, fFolder.path(), fHost, fStatus, fShell);
    workflows.rescanSerialPort(job);
    if (c.before == eBefore::Download) {
        ASSERT_EQ(workflows.makeConnection(job), NextTask(eVeskBarcodeTask_DownloadBarcodeData));
        NextTask next = workflows.downloadData(job);
        EXPECT_EQ(next == NextTask(eVeskBarcodeTask_MatchBarcodeDataWithPhotos), c.downloaded)
            << fMessages.text();
    }
    const std::string savedBeforeTheErase = readFile(fFolder.file("BarcodeDataSource.txt"));

    if (c.unattended)
        setenv("VESK_UNATTENDED", "1", 1);
    job.setHostConfirmedErase(c.hostConfirmed);
    StepResult result = workflows.deleteData(job);

    EXPECT_TRUE(fMessages.contains(c.message)) << fMessages.text();
    const std::vector<long> erases = eraseCommands();
    EXPECT_EQ(!erases.empty(), c.eraseSent) << fScanner->logText();
    EXPECT_EQ(fHost.events(), c.events);
    const std::vector<std::string> asked = fPrompt.asked();
    if (c.alert)
        EXPECT_EQ(asked.empty() ? std::string() : asked.back(), c.alert);
    else
        EXPECT_TRUE(asked.empty() || asked.back().rfind("NSAlertWindow_90", 0) != 0) << asked.back();
    EXPECT_EQ(result.next, c.next);
    EXPECT_EQ(result.terminateProgram,
              c.hostConfirmed && c.eraseSent && c.events == Events{"QRWz barc ok02"});
    EXPECT_EQ(scansOnTheScanner(), c.scansAfterwards);

    // The rule of every road: an erase command only for scans the folder's file holds.
    if (!c.onPurpose) {
        const long savedLines =
            savedBeforeTheErase.empty()
                ? -1
                : static_cast<long>(std::count(savedBeforeTheErase.begin(), savedBeforeTheErase.end(), '\n') -
                                    2);
        for (long held : erases)
            EXPECT_EQ(held, savedLines)
                << "the erase command left while the scanner held scans the file lacks";
    }
}

INSTANTIATE_TEST_SUITE_P(Roads, EraseRoadTest, ::testing::ValuesIn(kRoadCases), CaseName());

TEST(EraseRoadAlerts, TheRefusalNamesBothSidesAndWhatToDo) {
    ScriptedAlertPrompt prompt;
    setAlertPrompt(&prompt);
    unsetenv("VESK_UNATTENDED");
    myNSRunAlertPanel(kLocalizedTable, "NSAlertWindow_9011", {"10700002", "81", "10700001", "80"});
    myNSRunAlertPanel(kLocalizedTable, "NSAlertWindow_9010", {"10700001", "82", "80", "2"});
    setAlertPrompt(nullptr);
    EXPECT_NE(prompt.message("NSAlertWindow_9011")
                  .find("This scanner (10700002) holds 81 scans. The scans saved in this folder came from "
                        "scanner 10700001 and number 80. Nothing was erased."),
              std::string::npos)
        << prompt.message("NSAlertWindow_9011");
    EXPECT_NE(prompt.message("NSAlertWindow_9010")
                  .find("The scanner holds 2 scans made after the download. Download again so that they are "
                        "matched; nothing was erased."),
              std::string::npos)
        << prompt.message("NSAlertWindow_9010");
}
