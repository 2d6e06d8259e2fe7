// The system information as the real pdx-sim sends it: form counts with their range rules, the
// model, the unit ID, the date mode, and a reply that is not framed right.
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

bool readSystemInfo(pdxProDevice& device) {
    if (!device.EnterRemoteModeLoop2(30))
        return false;
    bool valid = device.GetSystemInfoCmd();
    device.QuitRemoteMode();
    device.CloseSerialPort();
    return valid;
}

struct SystemInfoCase {
    const char* name;
    std::vector<std::string> options;
    short records;
    short fields;
    long reportedRecords;
    long reportedFields;
    const char* unitID;
    const char* dateMode;
};

void PrintTo(const SystemInfoCase& c, std::ostream* out) {
    *out << c.name;
}

const SystemInfoCase kSystemInfoCases[] = {
    {"three records of three fields", {}, 3, 3, 3, 3, "10700001", "1"},
    {"01499 records", {"--report-records", "01499"}, 1499, 3, 1499, 3, "10700001", "1"},
    {"01500 records are out of range", {"--report-records", "01500"}, 0, 3, 1500, 3, "10700001", "1"},
    {"a field count of 10 is out of range", {"--report-fields", "10"}, 3, 0, 3, 10, "10700001", "1"},
    {"no unit ID: eight 0xFF bytes", {"--no-unit-id"}, 3, 3, 3, 3, "177?????", "1"},
    {"no date mode: 0xFF", {"--no-date-mode"}, 3, 3, 3, 3, "10700001", ""},
    {"another unit and date mode",
     {"--unit-id", "Zx-00042", "--date-mode", "3"},
     3,
     3,
     3,
     3,
     "Zx-00042",
     "3"},
};

class SystemInfoTest : public ::testing::TestWithParam<SystemInfoCase> {};

} // namespace

TEST_P(SystemInfoTest, FieldsAndRangeRules) {
    const SystemInfoCase& c = GetParam();
    ScaledClock clock(10.0);
    ScopedProcessClock install(clock);
    TemporaryFolder folder;
    PdxSimProcess sim(folder.path());
    ASSERT_TRUE(sim.startWithRecords(kThreeRecords, c.options));
    pdxProDevice device;
    device.SetBsdPathName(sim.link().c_str());
    ASSERT_TRUE(readSystemInfo(device));
    const pdxProDevice::pdxSystemInfoFormRecord& form = device.fSystemInfoFormRecord[1];
    EXPECT_EQ(form.CountOfRecords, c.records);
    EXPECT_EQ(form.CountOfFieldsPerRecord, c.fields);
    EXPECT_EQ(form.ReportedCountOfRecords, c.reportedRecords);
    EXPECT_EQ(form.ReportedCountOfFieldsPerRecord, c.reportedFields);
    EXPECT_STREQ(std::string(form.FormName, 8).c_str(), "FORM1   ");
    EXPECT_EQ(device.fSystemInfoFormRecord[0].ReportedCountOfRecords, 0);
    EXPECT_STREQ(device.fModelName, "Z-1070");
    EXPECT_STREQ(device.fUnitID, c.unitID);
    EXPECT_STREQ(device.fDateMode, c.dateMode);
}

INSTANTIATE_TEST_SUITE_P(Scanners, SystemInfoTest, ::testing::ValuesIn(kSystemInfoCases), CaseName());

TEST(SystemInfo, AReplyNotEndingInETXChangesNothing) {
    ScaledClock clock(10.0);
    ScopedProcessClock install(clock);
    TemporaryFolder folder;
    writeFile(folder.file("records.txt"), kThreeRecords);
    pdxProDevice device;
    {
        PdxSimProcess good(folder.path());
        ASSERT_TRUE(good.start({"--records", folder.file("records.txt"), "--unit-id", "GOOD0001"}));
        device.SetBsdPathName(good.link().c_str());
        ASSERT_TRUE(readSystemInfo(device));
    }
    RecordingMessageSink messages;
    PdxSimProcess bad(folder.path());
    ASSERT_TRUE(bad.start({"--unit-id", "OTHER002", "--fault", "bad-frame-end"}));
    EXPECT_FALSE(readSystemInfo(device));
    EXPECT_TRUE(messages.contains("GetSystemInfoCmd returned NOT VALID DATA of:"));
    EXPECT_STREQ(device.fUnitID, "GOOD0001");
    EXPECT_EQ(device.fSystemInfoFormRecord[1].CountOfRecords, 3);
}

TEST(SystemInfo, TheConnectionCheckFailsWhenTheIdentityCannotBeRead) {
    ScaledClock clock(10.0);
    ScopedProcessClock install(clock);
    TemporaryFolder folder;
    PdxSimProcess sim(folder.path());
    ASSERT_TRUE(sim.start({"--fault", "bad-frame-end"}));
    RecordingMessageSink messages;
    pdxProDevice device;
    device.SetBsdPathName(sim.link().c_str());
    EXPECT_FALSE(device.MakeConnection());
    EXPECT_STREQ(device.fUnitID, "");
    EXPECT_TRUE(messages.contains("system information could not be read"));
}
