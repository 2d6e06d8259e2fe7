// The erase of form 1 on the real pdx-sim: the erase command leaves only when, in the same
// connection and right before it, the scanner holds exactly the scans of the data file; it is
// reported done only when the scanner then reports 00000 records.
#include "ScaledClock.h"
#include "pdxProDevice.h"

#include "CaseName.h"
#include "FileContent.h"
#include "PdxSimProcess.h"
#include "RecordingMessageSink.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

const char kThreeRecords[] = "1111\t121026\t101500\n2222\t121026\t101530\n3333\t121026\t101600\n";
const char kFiveRecords[] = "1111\t121026\t101500\n2222\t121026\t101530\n3333\t121026\t101600\n"
                            "4444\t121026\t101630\n5555\t121026\t101700\n";
const std::string kEraseCommand = "\x02"
                                  "CE1\x03";

// A data file as the download writes it: scans of the scanner serialNumber.
std::string dataFile(const std::string& serialNumber, const std::string& scans) {
    return "CPU=1234\tVers=1.01\tContents=barcodes\tModel=Z-1070\tSN=" + serialNumber +
           "\tDateFormat=1\tmoreInfo1\tmoreInfo2\tmoreInfo3\tmoreInfo4\n"
           "Scanned BarCode ID\tDate Scanned\tTime Scanned\tresv1_HeaderName_max20\tresv2_HeaderName_max20\t"
           "resv3_HeaderName_max20\n" +
           scans;
}

const std::string kNoFile = "<none>";
const std::string kSavedThree = dataFile("10700001", kThreeRecords);

struct EraseCase {
    const char* name;
    std::string records;              // what the scanner holds
    std::vector<std::string> options; // pdx-sim's further options
    std::string savedFile;            // the folder's BarcodeDataSource.txt (kNoFile: none)
    const char* expectedUnitID;
    ePdxEraseOutcome outcome;
    ePdxEraseVerdict verdict;
    bool eraseSent;
    long recordsAfterwards;
    const char* message;
};

void PrintTo(const EraseCase& c, std::ostream* out) {
    *out << c.name;
}

const EraseCase kEraseCases[] = {
    {"the saved scans are the scanner's: erased",
     kThreeRecords,
     {},
     kSavedThree,
     "10700001",
     ePdxEraseOutcome_Erased,
     ePdxEraseVerdict_Allowed,
     true,
     0,
     "DeleteDataNew Afterwards => There Is NO FORM DATA"},
    {"a form already empty gets no erase",
     "",
     {},
     kSavedThree,
     "10700001",
     ePdxEraseOutcome_NothingToErase,
     ePdxEraseVerdict_NothingToErase,
     false,
     0,
     "DeleteDataNew Before=> There Is NO FORM DATA"},
    {"an erase that leaves the data",
     kThreeRecords,
     {"--fault", "erase-keeps-data"},
     kSavedThree,
     "10700001",
     ePdxEraseOutcome_DataRemains,
     ePdxEraseVerdict_Allowed,
     true,
     3,
     "BARCDOE DATA STILL EXISTS"},
    {"an expected ID differing in letter case",
     kThreeRecords,
     {"--unit-id", "ab000001"},
     dataFile("ab000001", kThreeRecords),
     "AB000001",
     ePdxEraseOutcome_Refused,
     ePdxEraseVerdict_NotExpectedScanner,
     false,
     3,
     "DeleteDataNew => Found DeviceID[ab000001] != ExpectedDeviceID[AB000001]"},
    {"scans made after the download",
     kFiveRecords,
     {},
     kSavedThree,
     "10700001",
     ePdxEraseOutcome_Refused,
     ePdxEraseVerdict_LateScans,
     false,
     5,
     "2 scans made after the download are saved nowhere"},
    {"a data file from another scanner",
     kThreeRecords,
     {"--unit-id", "10700002"},
     kSavedThree,
     "10700002",
     ePdxEraseOutcome_Refused,
     ePdxEraseVerdict_OtherScanner,
     false,
     3,
     "Scanner 10700002 holds 3 scans, but the 3 scans saved in"},
    {"an empty scanner other than the file's is not called erased",
     "",
     {"--unit-id", "10700002"},
     kSavedThree,
     "10700002",
     ePdxEraseOutcome_Refused,
     ePdxEraseVerdict_OtherScanner,
     false,
     0,
     "came from scanner 10700001"},
    {"no data file",
     kThreeRecords,
     {},
     kNoFile,
     "10700001",
     ePdxEraseOutcome_Refused,
     ePdxEraseVerdict_NoDataFile,
     false,
     3,
     "and none of them is saved: there is no"},
    {"a data file that is not one",
     kThreeRecords,
     {},
     "1111\t121026\t101500\n",
     "10700001",
     ePdxEraseOutcome_Refused,
     ePdxEraseVerdict_UnreadableDataFile,
     false,
     3,
     "cannot be read as a barcode data file"},
    {"fewer scans than saved",
     "1111\t121026\t101500\n2222\t121026\t101530\n",
     {},
     kSavedThree,
     "10700001",
     ePdxEraseOutcome_Refused,
     ePdxEraseVerdict_MissingScans,
     false,
     2,
     "fewer than the 3 saved from it"},
    {"a blank line does not count as a scan",
     "1111\t121026\t101500\n2222\t121026\t101530\n",
     {},
     dataFile("10700001", "1111\t121026\t101500\n2222\t121026\t101530\n\n"),
     "10700001",
     ePdxEraseOutcome_Erased,
     ePdxEraseVerdict_Allowed,
     true,
     0,
     "NO FORM DATA"},
    {"repeated scans all count",
     "1111\t121026\t101500\n1111\t121026\t101501\n",
     {},
     dataFile("10700001", "1111\t121026\t101500\n"),
     "10700001",
     ePdxEraseOutcome_Refused,
     ePdxEraseVerdict_LateScans,
     false,
     2,
     "1 scan made after the download is saved nowhere"},
    {"no unit ID, the same count",
     kThreeRecords,
     {"--no-unit-id"},
     dataFile("177?????", kThreeRecords),
     "177?????",
     ePdxEraseOutcome_Erased,
     ePdxEraseVerdict_Allowed,
     true,
     0,
     "NO FORM DATA"},
    {"no unit ID is checked by the count alone",
     kThreeRecords,
     {"--no-unit-id"},
     kSavedThree,
     "177?????",
     ePdxEraseOutcome_Erased,
     ePdxEraseVerdict_Allowed,
     true,
     0,
     "NO FORM DATA"},
    {"no unit ID, another count",
     kFiveRecords,
     {"--no-unit-id"},
     dataFile("177?????", kThreeRecords),
     "177?????",
     ePdxEraseOutcome_Refused,
     ePdxEraseVerdict_LateScans,
     false,
     5,
     "made after the download"},
    {"records with a field count of 00 are not an empty form",
     kThreeRecords,
     {"--report-fields", "00"},
     kSavedThree,
     "10700001",
     ePdxEraseOutcome_Erased,
     ePdxEraseVerdict_Allowed,
     true,
     0,
     "NO FORM DATA"},
    {"1,500 records are not the 3 saved",
     kThreeRecords,
     {"--report-records", "01500"},
     kSavedThree,
     "10700001",
     ePdxEraseOutcome_Refused,
     ePdxEraseVerdict_LateScans,
     false,
     1500,
     "Scanner 10700001 holds 1500 scans"},
    {"confirmed on the third read",
     kThreeRecords,
     {"--fault", "mute-after-erase@2"},
     kSavedThree,
     "10700001",
     ePdxEraseOutcome_Erased,
     ePdxEraseVerdict_Allowed,
     true,
     0,
     "Unable to GetSystemInfoCmd Afterwards (try 2 of 3)"},
    {"an erase that cannot be confirmed says so",
     kThreeRecords,
     {"--fault", "mute-after-erase@3"},
     kSavedThree,
     "10700001",
     ePdxEraseOutcome_NotConfirmed,
     ePdxEraseVerdict_Allowed,
     true,
     0,
     "the erase was sent but could not be confirmed; check the scanner before scanning again"},
};

class EraseTest : public ::testing::TestWithParam<EraseCase> {};

} // namespace

TEST_P(EraseTest, SendsTheEraseOnlyForScansTheFileHolds) {
    const EraseCase& c = GetParam();
    ScaledClock clock(10.0);
    ScopedProcessClock install(clock);
    TemporaryFolder folder;
    writeFile(folder.file("records.txt"), c.records);
    if (c.savedFile != kNoFile)
        writeFile(folder.file("BarcodeDataSource.txt"), c.savedFile);
    PdxSimProcess sim(folder.path());
    std::vector<std::string> options = {"--records", folder.file("records.txt")};
    options.insert(options.end(), c.options.begin(), c.options.end());
    ASSERT_TRUE(sim.start(options));
    RecordingMessageSink messages;
    pdxProDevice device;
    device.SetBsdPathName(sim.link().c_str());
    ASSERT_TRUE(device.SetWorkingPathCString(folder.path().c_str()));
    pdxEraseResult result = device.DeleteDataNew(
        c.expectedUnitID, pdxEraseGuard::ForDataFile(folder.file("BarcodeDataSource.txt")));
    EXPECT_EQ(result.outcome, c.outcome) << messages.text();
    EXPECT_EQ(result.check.verdict, c.verdict);
    EXPECT_FALSE(device.IsPortOpen());
    EXPECT_TRUE(messages.contains(c.message)) << messages.text();
    EXPECT_EQ(sim.hostBytes().find(kEraseCommand) != std::string::npos, c.eraseSent);
    EXPECT_EQ(result.eraseCommandSent, c.eraseSent);

    // What the scanner holds now, asked afresh.
    ASSERT_TRUE(device.EnterRemoteModeLoop2(30));
    ASSERT_TRUE(device.GetSystemInfoCmd());
    device.QuitRemoteMode();
    device.CloseSerialPort();
    EXPECT_EQ(device.fSystemInfoFormRecord[1].ReportedCountOfRecords, c.recordsAfterwards);
}

INSTANTIATE_TEST_SUITE_P(Forms, EraseTest, ::testing::ValuesIn(kEraseCases), CaseName());

TEST(Erase, DeleteDataChecksTheWorkingFoldersDataFile) {
    ScaledClock clock(10.0);
    ScopedProcessClock install(clock);
    TemporaryFolder folder;
    PdxSimProcess sim(folder.path());
    ASSERT_TRUE(sim.startWithRecords(kThreeRecords));
    RecordingMessageSink messages;
    pdxProDevice device;
    device.SetBsdPathName(sim.link().c_str());
    EXPECT_FALSE(device.DeleteData("10700001")) << "no working folder, so no data file";
    ASSERT_TRUE(device.SetWorkingPathCString(folder.path().c_str()));
    EXPECT_FALSE(device.DeleteData("10700001"));
    EXPECT_EQ(sim.hostBytes().find(kEraseCommand), std::string::npos);
    writeFile(folder.file("BarcodeDataSource.txt"), kSavedThree);
    EXPECT_TRUE(device.DeleteData("10700001"));
    EXPECT_NE(sim.hostBytes().find(kEraseCommand), std::string::npos);
}

namespace {

struct OnPurposeCase {
    const char* name;
    std::vector<std::string> options;
    const char* shownUnitID;
    long shownScans;
    ePdxEraseOutcome outcome;
    ePdxEraseVerdict verdict;
};

void PrintTo(const OnPurposeCase& c, std::ostream* out) {
    *out << c.name;
}

const OnPurposeCase kOnPurposeCases[] = {
    {"the scans shown are erased", {}, "10700001", 3, ePdxEraseOutcome_Erased, ePdxEraseVerdict_Allowed},
    {"a scan made since the question stops it",
     {},
     "10700001",
     2,
     ePdxEraseOutcome_Refused,
     ePdxEraseVerdict_NotAsShown},
    {"another scanner since the question stops it",
     {"--unit-id", "10700002"},
     "10700001",
     3,
     ePdxEraseOutcome_Refused,
     ePdxEraseVerdict_NotExpectedScanner},
};

class OnPurposeEraseTest : public ::testing::TestWithParam<OnPurposeCase> {};

} // namespace

TEST_P(OnPurposeEraseTest, ErasesExactlyWhatTheUserWasShown) {
    const OnPurposeCase& c = GetParam();
    ScaledClock clock(10.0);
    ScopedProcessClock install(clock);
    TemporaryFolder folder;
    PdxSimProcess sim(folder.path());
    ASSERT_TRUE(sim.startWithRecords(kThreeRecords, c.options));
    RecordingMessageSink messages;
    pdxProDevice device;
    device.SetBsdPathName(sim.link().c_str());
    pdxEraseResult result =
        device.DeleteDataNew("10700001", pdxEraseGuard::OnPurpose(c.shownUnitID, c.shownScans));
    EXPECT_EQ(result.outcome, c.outcome) << messages.text();
    EXPECT_EQ(result.check.verdict, c.verdict);
    EXPECT_EQ(sim.hostBytes().find(kEraseCommand) != std::string::npos, c.outcome == ePdxEraseOutcome_Erased);
}

INSTANTIATE_TEST_SUITE_P(Erase, OnPurposeEraseTest, ::testing::ValuesIn(kOnPurposeCases), CaseName());

TEST(Erase, TheScannerOfTheErasesOwnConnectionIsTheOneChecked) {
    ScaledClock clock(10.0);
    ScopedProcessClock install(clock);
    TemporaryFolder folder;
    writeFile(folder.file("BarcodeDataSource.txt"), kSavedThree);
    PdxSimProcess sim(folder.path());
    // Another scanner answers from the second connection on, with as many scans.
    ASSERT_TRUE(sim.startWithRecords(kThreeRecords, {"--unit-ids", "10700001,10700002"}));
    RecordingMessageSink messages;
    pdxProDevice device;
    device.SetBsdPathName(sim.link().c_str());
    ASSERT_TRUE(device.MakeConnection());
    ASSERT_STREQ(device.fUnitID, "10700001");
    pdxEraseResult result =
        device.DeleteDataNew("10700001", pdxEraseGuard::ForDataFile(folder.file("BarcodeDataSource.txt")));
    EXPECT_EQ(result.outcome, ePdxEraseOutcome_Refused);
    EXPECT_EQ(result.check.verdict, ePdxEraseVerdict_NotExpectedScanner);
    EXPECT_TRUE(messages.contains("Found DeviceID[10700002] != ExpectedDeviceID[10700001]"))
        << messages.text();
    sim.stop();
    EXPECT_EQ(sim.hostBytes().find(kEraseCommand), std::string::npos);
    EXPECT_NE(sim.logText().find("event connection 2 unit 10700002"), std::string::npos);
}

TEST(Erase, WithoutAnExpectedUnitIDThePortIsNotTouched) {
    TemporaryFolder folder;
    writeFile(folder.file("BarcodeDataSource.txt"), kSavedThree);
    PdxSimProcess sim(folder.path());
    ASSERT_TRUE(sim.startWithRecords(kThreeRecords));
    RecordingMessageSink messages;
    pdxProDevice device;
    device.SetBsdPathName(sim.link().c_str());
    device.SetWorkingPathCString(folder.path().c_str());
    EXPECT_FALSE(device.DeleteData(""));
    EXPECT_FALSE(device.DeleteData(nullptr));
    EXPECT_TRUE(messages.contains("pdxProDevice::DeleteDataNew => NO Valid BARCODE ID???"));
    sim.stop();
    EXPECT_EQ(sim.hostBytes(), "");
}

TEST(Erase, AnUnreadableSystemInformationErasesNothing) {
    TemporaryFolder folder;
    writeFile(folder.file("BarcodeDataSource.txt"), kSavedThree);
    PdxSimProcess sim(folder.path());
    ASSERT_TRUE(sim.startWithRecords(kThreeRecords, {"--fault", "bad-frame-end"}));
    RecordingMessageSink messages;
    pdxProDevice device;
    device.SetBsdPathName(sim.link().c_str());
    device.SetWorkingPathCString(folder.path().c_str());
    pdxEraseResult result =
        device.DeleteDataNew("10700001", pdxEraseGuard::ForDataFile(folder.file("BarcodeDataSource.txt")));
    EXPECT_EQ(result.outcome, ePdxEraseOutcome_NoScanner);
    EXPECT_TRUE(messages.contains("could not be read, so nothing shows what it holds: nothing was erased"));
    sim.stop();
    EXPECT_EQ(sim.hostBytes().find(kEraseCommand), std::string::npos);
}

TEST(Erase, TheUploadCommandRefusesOtherForms) {
    RecordingMessageSink messages;
    pdxProDevice device;
    EXPECT_FALSE(device.GetUploadDataFromPDXCmd(static_cast<pdxProDevice::ePdxFormFileNum>(5)));
    EXPECT_TRUE(
        messages.contains("pdxProDevice::GetUploadDataFromPDXCmd => Invalid ePdxFormFileNum param = [0x05]"));
}
