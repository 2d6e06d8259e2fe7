// The protocol's vocabulary: block checksum, decimal digits, 0xFF filler, the log rendering and
// the decoding of one form's description with its range rules.
#include "pdxProCommands.h"
#include "pdxProDevice.h"
#include "serialRS232Device.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using testsupport::CaseName;

namespace {

struct ChecksumCase {
    const char* name;
    std::string data;
    unsigned char sum;
};

void PrintTo(const ChecksumCase& c, std::ostream* out) {
    *out << c.name;
}

const ChecksumCase kChecksumCases[] = {
    {"wraps", std::string("\x80\x80\x01", 3), 0x01},
    {"empty block", std::string(), 0x00},
    {"text", "1111", static_cast<unsigned char>(4 * '1')},
    {"all 0xFF", std::string(4, '\xFF'), 0xFC},
};

class ChecksumTest : public ::testing::TestWithParam<ChecksumCase> {};

} // namespace

TEST_P(ChecksumTest, SumsDataBytesModulo256) {
    const ChecksumCase& c = GetParam();
    unsigned char sum = 0x55;
    EXPECT_TRUE(pdxProDeviceComputeCheckSum(reinterpret_cast<const unsigned char*>(c.data.data()),
                                            static_cast<short>(c.data.size()), sum));
    EXPECT_EQ(sum, c.sum);
}

INSTANTIATE_TEST_SUITE_P(Blocks, ChecksumTest, ::testing::ValuesIn(kChecksumCases), CaseName());

TEST(Checksum, RefusesNullDataAndNegativeCount) {
    unsigned char sum = 0x55;
    EXPECT_FALSE(pdxProDeviceComputeCheckSum(nullptr, 3, sum));
    EXPECT_EQ(sum, 0);
    const unsigned char data[] = {1, 2, 3};
    sum = 0x55;
    EXPECT_FALSE(pdxProDeviceComputeCheckSum(data, -1, sum));
    EXPECT_EQ(sum, 0);
}

namespace {

struct DigitsCase {
    const char* name;
    const char* digits;
    long value;
};

void PrintTo(const DigitsCase& c, std::ostream* out) {
    *out << c.name;
}

const DigitsCase kDigitsCases[] = {
    {"five digits", "00042", 42},
    {"top of the record range", "01499", 1499},
    {"just out of range", "01500", 1500},
    {"a space wraps to 240 in the last place", "1499 ", 15230},
    {"two digits", "10", 10},
    {"zeros", "00000", 0},
};

class ConvertAsciiBufferToHexTest : public ::testing::TestWithParam<DigitsCase> {};

} // namespace

TEST_P(ConvertAsciiBufferToHexTest, DecimalValueOfDigits) {
    const DigitsCase& c = GetParam();
    unsigned char buffer[8] = {0};
    std::memcpy(buffer, c.digits, std::strlen(c.digits));
    long value = -1;
    EXPECT_TRUE(convertAsciiBufferToHex(buffer, static_cast<short>(std::strlen(c.digits)), value));
    EXPECT_EQ(value, c.value);
}

INSTANTIATE_TEST_SUITE_P(Digits, ConvertAsciiBufferToHexTest, ::testing::ValuesIn(kDigitsCases), CaseName());

TEST(ConvertAsciiBufferToHex, ChangesTheCallersBufferInPlace) {
    unsigned char buffer[] = {'4', '2'};
    long value = 0;
    convertAsciiBufferToHex(buffer, 2, value);
    EXPECT_EQ(buffer[0], 4);
    EXPECT_EQ(buffer[1], 2);
}

TEST(FilterOutFFs, EightFFsGiveAnEmptyText) {
    unsigned char buffer[9];
    std::memset(buffer, 0xFF, 8);
    buffer[8] = 0;
    EXPECT_TRUE(filterOutFFsInBuffer(buffer, 8));
    EXPECT_EQ(std::strlen(reinterpret_cast<char*>(buffer)), 0u);
}

TEST(LogString2, RendersControlBytesReadably) {
    const char bytes[] = {0x02, 'R', 'X', 0x03, 0x1B, '\t', '\n', '\r', static_cast<char>(0xFF)};
    EXPECT_EQ(LogString2(bytes, sizeof bytes), "\\002RX\\003\\e\\t\\n\\r\\255");
}

namespace {

// A payload whose form 1 carries the given count characters.
std::string payloadWithForm1(const std::string& records, const std::string& fields) {
    std::string payload(252, ' ');
    std::string form = std::string("SCANS   ") + records + " " + fields + " ";
    payload.replace(17, 17, form);
    return payload;
}

struct FormCase {
    const char* name;
    const char* records;
    const char* fields;
    short countOfRecords;
    short countOfFields;
    long reportedRecords;
    long reportedFields;
};

void PrintTo(const FormCase& c, std::ostream* out) {
    *out << c.name;
}

const FormCase kFormCases[] = {
    {"ordinary", "00003", "03", 3, 3, 3, 3},
    {"empty form", "00000", "03", 0, 3, 0, 3},
    {"1499 records", "01499", "03", 1499, 3, 1499, 3},
    {"1500 records are out of range", "01500", "03", 0, 3, 1500, 3},
    {"10 fields are out of range", "00003", "10", 3, 0, 3, 10},
    {"no fields", "00003", "00", 3, 0, 3, 0},
    {"nine fields", "00003", "09", 3, 9, 3, 9},
};

class FormRecordTest : public ::testing::TestWithParam<FormCase> {};

} // namespace

TEST_P(FormRecordTest, RangeRulesForCounts) {
    const FormCase& c = GetParam();
    std::string payload = payloadWithForm1(c.records, c.fields);
    pdxProDevice::pdxSystemInfoFormRecord record;
    ASSERT_TRUE(pdxProDevice::GetSystemInfoFormRecord(reinterpret_cast<const unsigned char*>(payload.data()),
                                                      1, record));
    EXPECT_STREQ(std::string(record.FormName, 8).c_str(), "SCANS   ");
    EXPECT_EQ(record.CountOfRecords, c.countOfRecords);
    EXPECT_EQ(record.CountOfFieldsPerRecord, c.countOfFields);
    EXPECT_EQ(record.ReportedCountOfRecords, c.reportedRecords);
    EXPECT_EQ(record.ReportedCountOfFieldsPerRecord, c.reportedFields);
}

INSTANTIATE_TEST_SUITE_P(Counts, FormRecordTest, ::testing::ValuesIn(kFormCases), CaseName());

TEST(FormRecord, RefusesNullPayloadAndIndexOutsideTheNineForms) {
    std::string payload = payloadWithForm1("00003", "03");
    pdxProDevice::pdxSystemInfoFormRecord record;
    EXPECT_FALSE(pdxProDevice::GetSystemInfoFormRecord(nullptr, 1, record));
    EXPECT_FALSE(pdxProDevice::GetSystemInfoFormRecord(reinterpret_cast<const unsigned char*>(payload.data()),
                                                       9, record));
    EXPECT_FALSE(pdxProDevice::GetSystemInfoFormRecord(reinterpret_cast<const unsigned char*>(payload.data()),
                                                       -1, record));
}

TEST(WorkingPath, EmptyAndOverlongFoldersAreRefused) {
    pdxProDevice device;
    EXPECT_FALSE(device.SetWorkingPathCString(""));
    EXPECT_STREQ(device.GetWorkingPath(), "");
    EXPECT_TRUE(device.SetWorkingPathCString("/tmp/job/"));
    EXPECT_STREQ(device.GetWorkingPath(), "/tmp/job/");
    std::string longFolder = "/" + std::string(1000, 'a') + "/";
    EXPECT_FALSE(device.SetWorkingPathCString(longFolder.c_str()));
    EXPECT_STREQ(device.GetWorkingPath(), "");
}
