// The download of form 1 from the real pdx-sim into BarcodeDataSource.txt: what a clean
// transfer writes, and that every failed one leaves the earlier file as it was.
#include "ScaledClock.h"
#include "pdxProDevice.h"

#include "CaseName.h"
#include "FileContent.h"
#include "PdxSimProcess.h"
#include "RecordingMessageSink.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace testsupport;

namespace {

const char kHeader[] =
    "CPU=1234\tVers=1.01\tContents=barcodes\tModel=Z-1070\tSN=10700001\tDateFormat=1\tmoreInfo1\tmoreInfo2\t"
    "moreInfo3\tmoreInfo4\n"
    "Scanned BarCode ID\tDate Scanned\tTime Scanned\tresv1_HeaderName_max20\tresv2_HeaderName_max20\t"
    "resv3_HeaderName_max20\n";

const char kGoodRecords[] = "1111\t121026\t101500\n2222\t121026\t101530\n3333\t121026\t101600\n";
const char kOtherRecords[] = "9991\t121126\t090000\n9992\t121126\t090010\n9993\t121126\t090020\n";

class UploadTest : public ::testing::Test {
  protected:
    UploadTest() : fClock(10.0), fInstall(fClock) {}

    // Runs one download from a pdx-sim serving records with the given options.
    bool download(const std::string& records, const std::vector<std::string>& options,
                  const char* expectedUnitID = "10700001") {
        return downloadInto(fFolder, records, options, expectedUnitID);
    }
    bool downloadInto(const TemporaryFolder& folder, const std::string& records,
                      const std::vector<std::string>& options, const char* expectedUnitID) {
        writeFile(folder.file("records.txt"), records);
        PdxSimProcess sim(folder.path());
        std::vector<std::string> all = {"--records", folder.file("records.txt")};
        all.insert(all.end(), options.begin(), options.end());
        if (!sim.start(all))
            return false;
        pdxProDevice device;
        device.SetBsdPathName(sim.link().c_str());
        device.SetWorkingPathCString(folder.path().c_str());
        bool result = device.DownloadDataFromDevice(expectedUnitID);
        sim.stop();
        fHostBytes = sim.hostBytes();
        return result;
    }

    std::string dataFile() { return readFile(fFolder.file("BarcodeDataSource.txt")); }
    bool exists(const char* name) { return fileExists(fFolder.file(name)); }

    TemporaryFolder fFolder;
    ScaledClock fClock;
    ScopedProcessClock fInstall;
    std::string fHostBytes;
};

struct CleanTransferCase {
    const char* name;
    std::string records;
    std::vector<std::string> options;
    std::string lines; // the data lines after the header and title lines
};

void PrintTo(const CleanTransferCase& c, std::ostream* out) {
    *out << c.name;
}

const CleanTransferCase kCleanTransferCases[] = {
    {"three records of three fields",
     kGoodRecords,
     {},
     "1111\t121026\t101500\n2222\t121026\t101530\n3333\t121026\t101600\n"},
    {"a record of five fields keeps the first three",
     "AAA\t010126\t080000\tfourth\tfifth\nBBB\t010126\t080100\n",
     {},
     "AAA\t010126\t080000\nBBB\t010126\t080100\n"},
    {"a 30-character field keeps its first 24",
     "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123\t121026\t101500\n",
     {},
     "ABCDEFGHIJKLMNOPQRSTUVWX\t121026\t101500\n"},
    {"zero-length fields become placeholders",
     "\t121026\t101500\n4444\t\t\n",
     {"--fields", "3"},
     "00000\t121026\t101500\n4444\tmmddyy\thhmmss\n"},
    {"an empty form leaves the two header lines", "", {}, ""},
};

class UploadFilesTest : public ::testing::TestWithParam<CleanTransferCase> {};

} // namespace

TEST_P(UploadFilesTest, CleanTransfersWriteOneLinePerRecord) {
    const CleanTransferCase& c = GetParam();
    ScaledClock clock(10.0);
    ScopedProcessClock install(clock);
    TemporaryFolder folder;
    writeFile(folder.file("records.txt"), c.records);
    PdxSimProcess sim(folder.path());
    std::vector<std::string> options = {"--records", folder.file("records.txt")};
    options.insert(options.end(), c.options.begin(), c.options.end());
    ASSERT_TRUE(sim.start(options));
    pdxProDevice device;
    device.SetBsdPathName(sim.link().c_str());
    ASSERT_TRUE(device.SetWorkingPathCString(folder.path().c_str()));
    EXPECT_TRUE(device.DownloadDataFromDevice("10700001"));
    EXPECT_EQ(readFile(folder.file("BarcodeDataSource.txt")), std::string(kHeader) + c.lines);
    EXPECT_FALSE(fileExists(folder.file(kBarcodeDataPartialFileName)));
    EXPECT_FALSE(fileExists(folder.file(kBarcodeDataDamagedFileName)));
    EXPECT_FALSE(device.IsPortOpen());
}

INSTANTIATE_TEST_SUITE_P(Transfers, UploadFilesTest, ::testing::ValuesIn(kCleanTransferCases), CaseName());

TEST_F(UploadTest, AScannerWithoutUnitIDOrDateModeShowsThemInTheHeader) {
    ASSERT_TRUE(download(kGoodRecords, {"--no-unit-id", "--no-date-mode"}, "177?????"));
    std::string content = dataFile();
    EXPECT_NE(content.find("\tSN=177?????\tDateFormat=\tmoreInfo1\t"), std::string::npos) << content;
}

TEST_F(UploadTest, TheHeaderBlockIsReadStraightAfterItsRequest) {
    ASSERT_TRUE(download(kGoodRecords, {"--pace", "byte"}));
    EXPECT_EQ(dataFile(), std::string(kHeader) + kGoodRecords);
    // Upload command, header request, nine field requests, the closing request, then ESC.
    std::string upload = fHostBytes.substr(fHostBytes.find("\x02"
                                                           "CU1\x03"));
    EXPECT_EQ(upload, std::string("\x02"
                                  "CU1\x03\x05") +
                          std::string(10, '\x06') + "\x1B");
}

namespace {

struct FailedDownloadCase {
    const char* name;
    std::vector<std::string> options;
    const char* expectedUnitID;
    const char* message;
    bool keepsDamagedFile;
};

void PrintTo(const FailedDownloadCase& c, std::ostream* out) {
    *out << c.name;
}

const FailedDownloadCase kFailedDownloadCases[] = {
    {"wrong checksum in a field", {"--fault", "bad-checksum@2"}, "10700001", "!= DataChecksum", true},
    {"wrong checksum in the header", {"--fault", "bad-checksum@0"}, "10700001", "!= Data Checksum", true},
    {"dropped reply", {"--fault", "drop-reply@4"}, "10700001", "TIMED OUT", true},
    {"bad length byte", {"--fault", "bad-length@3"}, "10700001", "BAD Record Length = [0]", true},
    {"disconnect in the middle", {"--fault", "disconnect@5"}, "10700001", "did not arrive whole", true},
    {"records with a field count of 00",
     {"--report-fields", "00"},
     "10700001",
     "reports 0 fields per record",
     false},
    {"records with a field count of 10",
     {"--report-fields", "10"},
     "10700001",
     "reports 10 fields per record",
     false},
    {"1,500 records",
     {"--report-records", "01500"},
     "10700001",
     "reports 1500 records, outside 1 to 1499",
     false},
    {"the system information reports 2 of 3 scans",
     {"--report-records", "00002"},
     "10700001",
     "its system information reports 2 scans of 3 fields, but its upload announces 3 scans of 3 fields",
     true},
    {"the system information reports another field count",
     {"--report-fields", "02"},
     "10700001",
     "its system information reports 3 scans of 2 fields, but its upload announces 3 scans of 3 fields",
     true},
    {"an extra block instead of the final acknowledgement",
     {"--fault", "extra-block"},
     "10700001",
     "did not end the upload: it holds more than it announced",
     true},
    {"another scanner answers", {"--unit-id", "10700002"}, "10700001", "fUnitID != barcodeID", false},
    {"the unit ID differs in letter case",
     {"--unit-id", "ab000001"},
     "AB000001",
     "fUnitID != barcodeID",
     false},
};

class FailedDownloadTest : public UploadTest, public ::testing::WithParamInterface<FailedDownloadCase> {};

} // namespace

TEST_P(FailedDownloadTest, LeavesTheEarlierFileUntouched) {
    const FailedDownloadCase& c = GetParam();
    ASSERT_TRUE(download(kGoodRecords, {"--unit-id", c.expectedUnitID}, c.expectedUnitID));
    const std::string good = dataFile();
    ASSERT_NE(good.find("1111\t121026\t101500"), std::string::npos);

    RecordingMessageSink messages;
    std::vector<std::string> options = {"--unit-id", c.expectedUnitID};
    options.insert(options.end(), c.options.begin(), c.options.end());
    EXPECT_FALSE(download(kOtherRecords, options, c.expectedUnitID));
    EXPECT_EQ(dataFile(), good);
    EXPECT_TRUE(messages.contains(c.message)) << messages.text();
    EXPECT_EQ(exists(kBarcodeDataDamagedFileName), c.keepsDamagedFile);
    EXPECT_FALSE(exists(kBarcodeDataPartialFileName));
    if (c.keepsDamagedFile) {
        EXPECT_TRUE(messages.contains("was not changed and the scans are still on the scanner"));
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, FailedDownloadTest, ::testing::ValuesIn(kFailedDownloadCases), CaseName());

TEST_F(UploadTest, AFailedFirstDownloadCreatesNoDataFile) {
    RecordingMessageSink messages;
    EXPECT_FALSE(download(kGoodRecords, {"--fault", "bad-checksum@7"}));
    EXPECT_FALSE(exists("BarcodeDataSource.txt"));
    std::string damaged = readFile(fFolder.file(kBarcodeDataDamagedFileName));
    EXPECT_NE(damaged.find("1111\t121026\t101500\n2222\t121026\t101530\n"), std::string::npos)
        << "the records before the bad block are kept for inspection";
    EXPECT_EQ(damaged.find("3333"), std::string::npos);
}

TEST_F(UploadTest, AFolderThatCannotHoldTheFileIsReported) {
    writeFile(fFolder.file("records.txt"), kGoodRecords);
    PdxSimProcess sim(fFolder.path());
    ASSERT_TRUE(sim.start({"--records", fFolder.file("records.txt")}));
    RecordingMessageSink messages;
    pdxProDevice device;
    device.SetBsdPathName(sim.link().c_str());
    EXPECT_FALSE(device.DownloadDataFromDevice("10700001")) << "no working folder set";
    EXPECT_TRUE(messages.contains("no working folder is set"));
    ASSERT_TRUE(device.SetWorkingPathCString(fFolder.file("missing/").c_str()));
    EXPECT_FALSE(device.DownloadDataFromDevice("10700001"));
    EXPECT_TRUE(messages.contains("UNABLE to create the output barcode file!!!"));
    EXPECT_FALSE(device.IsPortOpen());
}

namespace {

struct ReplacedFileCase {
    const char* name;
    std::string earlier; // the data file already in the folder
    bool kept;           // it is kept beside the new one
};

void PrintTo(const ReplacedFileCase& c, std::ostream* out) {
    *out << c.name;
}

std::string savedFile(const std::string& serialNumber, const std::string& scans) {
    std::string header = kHeader;
    header.replace(header.find("SN=10700001"), 11, "SN=" + serialNumber);
    return header + scans;
}

const ReplacedFileCase kReplacedFileCases[] = {
    {"another scanner's scans are kept", savedFile("10700002", "7777\t121026\t091500\n"), true},
    {"another day's scans of this scanner are kept", savedFile("10700001", "9991\t121126\t090000\n"), true},
    {"the same scans and fewer are not kept", savedFile("10700001", "1111\t121026\t101500\n"), false},
    {"a file with no scans is not kept", savedFile("10700001", ""), false},
    {"a file that is not a data file is kept", "notes of the day\n", true},
};

class ReplacedFileTest : public UploadTest, public ::testing::WithParamInterface<ReplacedFileCase> {};

std::vector<std::string> keptFiles(const TemporaryFolder& folder) {
    std::vector<std::string> kept;
    std::string listing = folder.path() + "listing";
    std::string command = "ls '" + folder.path() + "' > '" + listing + "'";
    if (std::system(command.c_str()) != 0)
        return kept;
    for (const std::string& name : readLines(listing))
        if (name.rfind(kBarcodeDataReplacedFilePrefix, 0) == 0)
            kept.push_back(name);
    return kept;
}

} // namespace

TEST_P(ReplacedFileTest, AnEarlierFileWithOtherScansIsKeptBesideTheNewOne) {
    const ReplacedFileCase& c = GetParam();
    writeFile(fFolder.file("BarcodeDataSource.txt"), c.earlier);
    RecordingMessageSink messages;
    ASSERT_TRUE(download(kGoodRecords, {}));
    EXPECT_EQ(dataFile(), std::string(kHeader) + kGoodRecords);
    std::vector<std::string> kept = keptFiles(fFolder);
    ASSERT_EQ(kept.size(), c.kept ? 1u : 0u) << messages.text();
    if (c.kept) {
        EXPECT_EQ(readFile(fFolder.file(kept[0])), c.earlier);
        EXPECT_TRUE(messages.contains("holds scans this download does not: it is kept as"))
            << messages.text();
    }
}

INSTANTIATE_TEST_SUITE_P(Downloads, ReplacedFileTest, ::testing::ValuesIn(kReplacedFileCases), CaseName());

TEST_F(UploadTest, TwoReplacedFilesInOneSecondKeepBoth) {
    writeFile(fFolder.file("BarcodeDataSource.txt"), savedFile("10700002", "7777\t121026\t091500\n"));
    ASSERT_TRUE(download(kGoodRecords, {}));
    writeFile(fFolder.file("BarcodeDataSource.txt"), savedFile("10700003", "8888\t121026\t091500\n"));
    ASSERT_TRUE(download(kGoodRecords, {}));
    EXPECT_EQ(keptFiles(fFolder).size(), 2u);
}
