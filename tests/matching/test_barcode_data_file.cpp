// The barcode data file as the upload writes it: exact bytes of header, title and data lines.
#include "barcodeDataFileMgr.h"

#include "MessageLog.h"

#include "CaseName.h"
#include "FileContent.h"
#include "RecordingMessageSink.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace testsupport;

namespace {

const char kTitleLine[] = "Scanned BarCode ID\tDate Scanned\tTime Scanned\tresv1_HeaderName_max20\t"
                          "resv2_HeaderName_max20\tresv3_HeaderName_max20\n";

std::string headerLine(const std::string& model, const std::string& sn, const std::string& mode) {
    return "CPU=1234\tVers=1.01\tContents=barcodes\tModel=" + model + "\tSN=" + sn + "\tDateFormat=" + mode +
           "\tmoreInfo1\tmoreInfo2\tmoreInfo3\tmoreInfo4\n";
}

barcodeRecord makeRecord(const char* id, const char* date, const char* time) {
    barcodeRecord record{};
    record.setScannedID(id);
    record.setDateScanned(date);
    record.setTimeScanned(time);
    return record;
}

// One download in the upload's calling order.
std::string download(const std::string& folder, const std::vector<barcodeRecord>& records,
                     const char* sn = "17700042", const char* model = "Z-1070  ", const char* mode = "1") {
    barcodeDataFileMgr writer;
    writer.setBarcodeSN(sn);
    writer.formFileName(folder.c_str());
    writer.setBarcodeModel(model);
    writer.setBarcodeDateMode(mode);
    writer.createOutputFileWithHeader();
    EXPECT_TRUE(writer.is_open());
    for (const barcodeRecord& record : records)
        EXPECT_TRUE(writer.writeBarcodeRecord(&record));
    writer.close();
    EXPECT_FALSE(writer.fail());
    return readFile(folder + "BarcodeDataSource.txt");
}

struct DataLineCase {
    const char* name;
    const char* id;
    const char* date;
    const char* time;
    const char* line;
};

void PrintTo(const DataLineCase& c, std::ostream* out) {
    *out << c.name;
}

class DataLineTest : public ::testing::TestWithParam<DataLineCase> {};

TEST_P(DataLineTest, WritesThreeItemsWithPlaceholders) {
    const DataLineCase& c = GetParam();
    TemporaryFolder folder;
    std::string bytes = download(folder.path(), {makeRecord(c.id, c.date, c.time)});
    EXPECT_EQ(headerLine("Z-1070  ", "17700042", "1") + kTitleLine + c.line, bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DataLineTest,
    ::testing::Values(
        DataLineCase{"AllFilled", "A123", "121026", "093015", "A123\t121026\t093015\n"},
        DataLineCase{"AllEmpty", "", "", "", "00000\tmmddyy\thhmmss\n"},
        DataLineCase{"EmptyBarcode", "", "121026", "093015", "00000\t121026\t093015\n"},
        DataLineCase{"EmptyDate", "A1", "", "093015", "A1\tmmddyy\t093015\n"},
        DataLineCase{"EmptyTime", "A1", "121026", "", "A1\t121026\thhmmss\n"},
        DataLineCase{"SpacesKept", " A 1 ", "12/10/26", "09:30:15", " A 1 \t12/10/26\t09:30:15\n"},
        DataLineCase{"HighBytesAsSent", "\xE9\xFF", "121026", "093015", "\xE9\xFF\t121026\t093015\n"},
        DataLineCase{"LongestField", "1234567890123456789012345", "121026", "093015",
                     "1234567890123456789012345\t121026\t093015\n"}),
    testsupport::CaseName());

TEST(BarcodeDataFile, WholeFileInScannerOrderWithLfOnly) {
    TemporaryFolder folder;
    std::string bytes =
        download(folder.path(), {makeRecord("A", "121026", "100000"), makeRecord("B", "121026", "100010"),
                                 makeRecord("C", "121026", "100020")});
    EXPECT_EQ(headerLine("Z-1070  ", "17700042", "1") + kTitleLine +
                  "A\t121026\t100000\nB\t121026\t100010\nC\t121026\t100020\n",
              bytes);
    EXPECT_EQ(std::string::npos, bytes.find('\r'));
}

TEST(BarcodeDataFile, NoScansLeavesTheTwoHeaderLines) {
    TemporaryFolder folder;
    EXPECT_EQ(headerLine("Z-1070  ", "17700042", "1") + kTitleLine, download(folder.path(), {}));
}

TEST(BarcodeDataFile, UnsetHeaderValuesLeaveTheirItemsBare) {
    TemporaryFolder folder;
    barcodeDataFileMgr writer;
    writer.formFileName(folder.path().c_str());
    writer.createOutputFileWithHeader();
    writer.close();
    EXPECT_EQ(headerLine("", "", "") + kTitleLine, readFile(folder.path() + "BarcodeDataSource.txt"));
}

TEST(BarcodeDataFile, EmptyOrNullValueKeepsTheEarlierOne) {
    barcodeDataFileMgr writer;
    writer.setBarcodeModel("Z-1070");
    writer.setBarcodeModel("");
    writer.setBarcodeModel(nullptr);
    writer.setBarcodeSN("17712345");
    writer.setBarcodeSN("");
    writer.setFileName("/tmp/x/BarcodeDataSource.txt");
    writer.setFileName("");
    EXPECT_STREQ("Z-1070", writer.barcodeModel());
    EXPECT_STREQ("17712345", writer.barcodeSN());
    EXPECT_STREQ("/tmp/x/BarcodeDataSource.txt", writer.fileName());
}

TEST(BarcodeDataFile, HeaderValueIsCutAtTwentyFiveCharacters) {
    barcodeDataFileMgr writer;
    writer.setBarcodeSN("1234567890123456789012345678");
    EXPECT_STREQ("1234567890123456789012345", writer.barcodeSN());
}

TEST(BarcodeDataFile, SecondDownloadTruncatesTheFirst) {
    TemporaryFolder folder;
    barcodeDataFileMgr writer;
    writer.setBarcodeSN("17700042");
    writer.formFileName(folder.path().c_str());
    writer.createOutputFileWithHeader();
    barcodeRecord record = makeRecord("A", "121026", "100000");
    writer.writeBarcodeRecord(&record);
    writer.close();
    writer.formFileName(folder.path().c_str());
    writer.createOutputFileWithHeader();
    writer.close();
    EXPECT_EQ(headerLine("", "17700042", "") + kTitleLine, readFile(folder.path() + "BarcodeDataSource.txt"));
}

TEST(BarcodeDataFile, FormFileNameReportsThePathBetweenRules) {
    RecordingMessageSink sink;
    barcodeDataFileMgr writer;
    writer.formFileName("/work/shoot/");
    EXPECT_STREQ("/work/shoot/BarcodeDataSource.txt", writer.fileName());
    std::string rule(20, '\xA5');
    EXPECT_NE(std::string::npos, sink.text().find(rule));
    EXPECT_NE(std::string::npos, sink.text().find("/work/shoot/BarcodeDataSource.txt"));
}

TEST(BarcodeDataFile, PathTooLongIsRefusedAndNothingIsCreated) {
    TemporaryFolder folder;
    barcodeDataFileMgr writer;
    writer.formFileName(folder.path().c_str());
    std::string longFolder = folder.path() + std::string(1100, 'a') + "/";
    writer.formFileName(longFolder.c_str());
    EXPECT_STREQ("", writer.fileName());
    writer.createOutputFileWithHeader();
    EXPECT_FALSE(writer.is_open());
    EXPECT_EQ("", readFile(folder.path() + "BarcodeDataSource.txt"));
}

TEST(BarcodeDataFile, UncreatableFileIsNotOpenAndRecordsAreRefused) {
    RecordingMessageSink sink;
    barcodeDataFileMgr writer;
    writer.formFileName("/nonexistent-vesk-folder/");
    writer.createOutputFileWithHeader();
    barcodeRecord record = makeRecord("A", "121026", "100000");
    bool written = writer.writeBarcodeRecord(&record);
    EXPECT_FALSE(writer.is_open());
    EXPECT_FALSE(written);
    EXPECT_FALSE(writer.writeData("x"));
    EXPECT_FALSE(writer.writeOneByte('x'));
    EXPECT_NE(std::string::npos,
              sink.text().find("barcodeDataFileMgr::createOutputFileWithHeader => NOT opened????"));
}

TEST(BarcodeDataFile, WriteErrorIsReportedForTheRecord) {
    RecordingMessageSink sink;
    barcodeDataFileMgr writer;
    writer.setFileName("/dev/full");
    writer.createOutputFileWithHeader();
    ASSERT_TRUE(writer.is_open());
    barcodeRecord record = makeRecord("A", "121026", "100000");
    bool written = writer.writeBarcodeRecord(&record);
    EXPECT_FALSE(written);
    EXPECT_NE(std::string::npos, sink.text().find("writing to the barcode data file [/dev/full] failed"));
}

TEST(BarcodeDataFile, RecordsReachTheFileBeforeItIsClosed) {
    TemporaryFolder folder;
    barcodeDataFileMgr writer;
    writer.formFileName(folder.path().c_str());
    writer.createOutputFileWithHeader();
    barcodeRecord record = makeRecord("A", "121026", "100000");
    ASSERT_TRUE(writer.writeBarcodeRecord(&record));
    std::string bytes = readFile(folder.path() + "BarcodeDataSource.txt");
    EXPECT_EQ(headerLine("", "", "") + kTitleLine + "A\t121026\t100000\n", bytes);
}

TEST(BarcodeDataFile, NullArgumentsAreRefused) {
    TemporaryFolder folder;
    barcodeDataFileMgr writer;
    writer.formFileName(folder.path().c_str());
    writer.createOutputFileWithHeader();
    EXPECT_FALSE(writer.writeBarcodeRecord(nullptr));
    EXPECT_FALSE(writer.writeData(nullptr));
    EXPECT_TRUE(writer.writeData("x"));
}

TEST(BarcodeDataFile, FieldWithoutTerminatorIsCutAtItsSize) {
    TemporaryFolder folder;
    barcodeRecord record{};
    std::memset(record.scannedID, 'Z', sizeof record.scannedID);
    std::memcpy(record.dateScanned, "121026", 6);
    std::memcpy(record.timeScanned, "100000", 6);
    std::string bytes = download(folder.path(), {record});
    EXPECT_EQ(headerLine("Z-1070  ", "17700042", "1") + kTitleLine + std::string(26, 'Z') +
                  "\t121026\t100000\n",
              bytes);
}

TEST(BarcodeRecord, SettersCutAndTerminate) {
    barcodeRecord record{};
    record.setScannedID("123456789012345678901234567890");
    EXPECT_STREQ("1234567890123456789012345", record.scannedID);
    record.setScannedID(nullptr);
    EXPECT_STREQ("", record.scannedID);
    record.setDateScanned("121026");
    record.clear();
    EXPECT_STREQ("", record.dateScanned);
}

} // namespace
