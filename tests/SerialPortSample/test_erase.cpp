// The erase of form 1 on the real pdx-sim: it is reported done only when the scanner then
// reports 00000 records.
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
const std::string kEraseCommand = "\x02"
                                  "CE1\x03";

struct EraseCase {
    const char* name;
    std::string records;
    std::vector<std::string> options;
    const char* expectedUnitID;
    bool result;
    bool eraseSent;
    long recordsAfterwards;
    const char* message;
};

void PrintTo(const EraseCase& c, std::ostream* out) {
    *out << c.name;
}

const EraseCase kEraseCases[] = {
    {"an erase that empties the form",
     kThreeRecords,
     {},
     "10700001",
     true,
     true,
     0,
     "DeleteDataNew Afterwards => There Is NO FORM DATA"},
    {"a form already empty gets no erase",
     "",
     {},
     "10700001",
     true,
     false,
     0,
     "DeleteDataNew Before=> There Is NO FORM DATA"},
    {"an erase that leaves the data",
     kThreeRecords,
     {"--fault", "erase-keeps-data"},
     "10700001",
     false,
     true,
     3,
     "BARCDOE DATA STILL EXISTS"},
    {"an expected ID differing in letter case",
     kThreeRecords,
     {"--unit-id", "ab000001"},
     "AB000001",
     false,
     false,
     3,
     "DeleteDataNew => Found DeviceID[ab000001] != ExpectedDeviceID[AB000001]"},
    {"records with a field count of 00 are not an empty form",
     kThreeRecords,
     {"--report-fields", "00"},
     "10700001",
     true,
     true,
     0,
     "DeleteDataNew Afterwards => There Is NO FORM DATA"},
    {"1,500 records are not an empty form",
     kThreeRecords,
     {"--report-records", "01500"},
     "10700001",
     true,
     true,
     0,
     "DeleteDataNew Afterwards => There Is NO FORM DATA"},
    {"1,500 records that stay are reported",
     kThreeRecords,
     {"--report-records", "01500", "--fault", "erase-keeps-data"},
     "10700001",
     false,
     true,
     1500,
     "BARCDOE DATA STILL EXISTS"},
};

class EraseTest : public ::testing::TestWithParam<EraseCase> {};

} // namespace

TEST_P(EraseTest, ReportsDoneOnlyWhenTheFormIsEmptyAfterwards) {
    const EraseCase& c = GetParam();
    ScaledClock clock(10.0);
    ScopedProcessClock install(clock);
    TemporaryFolder folder;
    writeFile(folder.file("records.txt"), c.records);
    PdxSimProcess sim(folder.path());
    std::vector<std::string> options = {"--records", folder.file("records.txt")};
    options.insert(options.end(), c.options.begin(), c.options.end());
    ASSERT_TRUE(sim.start(options));
    RecordingMessageSink messages;
    pdxProDevice device;
    device.SetBsdPathName(sim.link().c_str());
    EXPECT_EQ(device.DeleteData(c.expectedUnitID), c.result);
    EXPECT_FALSE(device.IsPortOpen());
    EXPECT_TRUE(messages.contains(c.message)) << messages.text();
    EXPECT_EQ(sim.hostBytes().find(kEraseCommand) != std::string::npos, c.eraseSent);

    // What the scanner holds now, asked afresh.
    ASSERT_TRUE(device.EnterRemoteModeLoop2(30));
    ASSERT_TRUE(device.GetSystemInfoCmd());
    device.QuitRemoteMode();
    device.CloseSerialPort();
    EXPECT_EQ(device.fSystemInfoFormRecord[1].ReportedCountOfRecords, c.recordsAfterwards);
}

INSTANTIATE_TEST_SUITE_P(Forms, EraseTest, ::testing::ValuesIn(kEraseCases), CaseName());

TEST(Erase, WithoutAnExpectedUnitIDThePortIsNotTouched) {
    TemporaryFolder folder;
    writeFile(folder.file("records.txt"), kThreeRecords);
    PdxSimProcess sim(folder.path());
    ASSERT_TRUE(sim.start({"--records", folder.file("records.txt")}));
    RecordingMessageSink messages;
    pdxProDevice device;
    device.SetBsdPathName(sim.link().c_str());
    EXPECT_FALSE(device.DeleteData(""));
    EXPECT_FALSE(device.DeleteData(nullptr));
    EXPECT_TRUE(messages.contains("pdxProDevice::DeleteDataNew => NO Valid BARCODE ID???"));
    sim.stop();
    EXPECT_EQ(sim.hostBytes(), "");
}

TEST(Erase, TheEraseCommandRefusesOtherForms) {
    RecordingMessageSink messages;
    pdxProDevice device;
    EXPECT_FALSE(device.DeleteDataCmd(static_cast<pdxProDevice::ePdxFormFileNum>(2)));
    EXPECT_TRUE(messages.contains("pdxProDevice::DeleteDataCmd => Invalid ePdxFormFileNum param = [0x02]"));
    EXPECT_FALSE(device.GetUploadDataFromPDXCmd(static_cast<pdxProDevice::ePdxFormFileNum>(5)));
    EXPECT_TRUE(
        messages.contains("pdxProDevice::GetUploadDataFromPDXCmd => Invalid ePdxFormFileNum param = [0x05]"));
}
