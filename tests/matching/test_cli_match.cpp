// vesk-cli match run as a photographer would: files in, matched list out, exit status.
#include "ListFiles.h"

#include "CaseName.h"
#include "FileContent.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <vector>

using namespace listfiles;
using namespace testsupport;

namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun runCli(const TemporaryFolder& folder, const std::string& arguments) {
    const char* bin = std::getenv("VESK_BIN");
    std::string command = std::string(bin ? bin : "bin") + "/vesk-cli match " + arguments + " >" +
                          folder.path() + "stdout.txt 2>" + folder.path() + "stderr.txt";
    int raw = std::system(command.c_str());
    CliRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = readFile(folder.path() + "stdout.txt");
    run.err = readFile(folder.path() + "stderr.txt");
    return run;
}

const std::vector<std::string> kScans = {"A\t121026\t100000", "B\t121026\t100500", "C\t121026\t101000"};
const std::vector<std::string> kPhotos = {"p1\t121026\t095958", "p2\t121026\t100200", "p3\t121026\t100700",
                                          "Caf\x8E.JPG\t121026\t101000"};

struct CliCase {
    const char* name;
    std::string options;
    std::string bytes;
};

void PrintTo(const CliCase& c, std::ostream* out) {
    *out << c.name;
}

class CliMatchTest : public ::testing::TestWithParam<CliCase> {};

TEST_P(CliMatchTest, WritesTheMatchedList) {
    TemporaryFolder folder;
    writeScans(folder, kScans);
    writePhotos(folder, kPhotos);
    const std::string& p = folder.path();
    CliRun run = runCli(folder, p + "BarcodeDataSource.txt " + p + "BarcodeImageList.txt " + p + "out.txt " +
                                    GetParam().options);
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ(GetParam().bytes, readFile(p + "out.txt"));
    EXPECT_NE(std::string::npos, run.out.find("4 photos matched")) << run.out;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, CliMatchTest,
    ::testing::Values(CliCase{"SkewTwoThreeIDs", "--skew 2",
                              "p1\tA\t\tB\rp2\tA\t\tB\rp3\tB\tA\tC\rCaf\xC3\xA9.JPG\tC\tB\t\r"},
                      CliCase{"SkewZeroTwoIDs", "--two-ids --skew 0",
                              "p1\tA\t\t\rp2\tA\t\t\rp3\tB\t\t\rCaf\xC3\xA9.JPG\tB\t\t\r"},
                      CliCase{"LargeFractionalSkew", "--skew 200.5",
                              "p1\tA\t\tB\rp2\tB\tA\tC\rp3\tC\tB\t\rCaf\xC3\xA9.JPG\tC\tB\t\r"}),
    testsupport::CaseName());

TEST(CliMatch, NoResultIsAFailureWithTheMessage) {
    TemporaryFolder folder;
    writeScans(folder, kScans);
    writePhotos(folder, {});
    const std::string& p = folder.path();
    CliRun run =
        runCli(folder, p + "BarcodeDataSource.txt " + p + "BarcodeImageList.txt " + p + "out.txt --skew 2");
    EXPECT_NE(0, run.status);
    EXPECT_NE(std::string::npos, run.err.find("NOT Enough records in the the Photo List file:")) << run.err;
    EXPECT_NE(std::string::npos, run.err.find("gave no result")) << run.err;
    EXPECT_EQ("", readFile(p + "out.txt"));
}

struct UsageCase {
    const char* name;
    std::string arguments;
    std::string message;
};

void PrintTo(const UsageCase& c, std::ostream* out) {
    *out << c.name;
}

class CliMatchUsageTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliMatchUsageTest, RefusesWithUsage) {
    TemporaryFolder folder;
    CliRun run = runCli(folder, GetParam().arguments);
    EXPECT_EQ(2, run.status);
    EXPECT_NE(std::string::npos, run.err.find(GetParam().message)) << run.err;
    EXPECT_NE(std::string::npos, run.err.find("usage: vesk-cli match")) << run.err;
}

INSTANTIATE_TEST_SUITE_P(Usage, CliMatchUsageTest,
                         ::testing::Values(UsageCase{"NoSkew", "a b c", "--skew SECONDS is required"},
                                           UsageCase{"SkewNotANumber", "a b c --skew 2x", "is not a number"},
                                           UsageCase{"SkewMissingValue", "a b c --skew", "needs a number"},
                                           UsageCase{"TooFewFiles", "a b --skew 2", "expected BARCODE_FILE"},
                                           UsageCase{"UnknownOption", "a b c --skew 2 --fast",
                                                     "unknown option"}),
                         testsupport::CaseName());

// The shoot of the rows above with the camera clock 2 h 10 min 4 s behind the scanner.
const std::vector<std::string> kPhotosBehind = {"p1\t121026\t074954", "p2\t121026\t075156",
                                                "p3\t121026\t075656", "Caf\x8E.JPG\t121026\t075956"};

TEST(CliMatch, AutomaticAlignmentFindsTheCameraClock) {
    TemporaryFolder folder;
    writeScans(folder, kScans);
    writePhotos(folder, kPhotosBehind);
    const std::string& p = folder.path();
    CliRun run = runCli(folder, p + "BarcodeDataSource.txt " + p + "BarcodeImageList.txt " + p +
                                    "out.txt --align auto " + "--report " + p + "report.txt");
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("p1\tA\t\tB\rp2\tA\t\tB\rp3\tB\tA\tC\rCaf\xC3\xA9.JPG\tC\tB\t\r", readFile(p + "out.txt"));
    EXPECT_NE(std::string::npos, run.out.find("4 photos matched to 3 barcodes (camera 2 h 10 min"))
        << run.out;
    EXPECT_NE(std::string::npos, run.out.find("behind the scanner; 3 of 3 scans fit;")) << run.out;
    const std::string report = readFile(p + "report.txt");
    EXPECT_EQ(0, report.find("estimate\tcamera 2 h 10 min")) << report;
    // p3 came two minutes after its scan, and the shoot is too small to be sure of.
    EXPECT_NE(std::string::npos, report.find("doubtful\tp3\ttaken after a long pause")) << report;
    EXPECT_NE(std::string::npos, run.err.find("could not be lined up with confidence")) << run.err;
}

TEST(CliMatch, SkewAloneIsTheLastRecordAlignmentByteForByte) {
    TemporaryFolder folder;
    writeScans(folder, kScans);
    writePhotos(folder, kPhotos);
    const std::string& p = folder.path();
    const std::string files = p + "BarcodeDataSource.txt " + p + "BarcodeImageList.txt ";
    CliRun plain = runCli(folder, files + p + "plain.txt --skew 0");
    CliRun last = runCli(folder, files + p + "last.txt --align last --skew 0 --report " + p + "report.txt");
    EXPECT_EQ(0, plain.status) << plain.err;
    EXPECT_EQ(0, last.status) << last.err;
    EXPECT_EQ(readFile(p + "plain.txt"), readFile(p + "last.txt"));
    EXPECT_EQ("p1\tA\t\tB\rp2\tA\t\tB\rp3\tB\tA\t\rCaf\xC3\xA9.JPG\tB\tA\t\r", readFile(p + "plain.txt"));
    EXPECT_EQ("4 photos matched to 2 barcodes (skew 0.00 seconds), written to " + p + "plain.txt\n",
              plain.out);
    // The last scan received no photo and has no node: the report says so, and that the automatic
    // alignment puts the last photo elsewhere.
    const std::string report = readFile(p + "report.txt");
    EXPECT_NE(std::string::npos,
              report.find("scan without photos\tC\t12/10/26 10:10:00\tafter the last photo"))
        << report;
    EXPECT_NE(std::string::npos, report.find("doubtful\tCaf\xC3\xA9.JPG\t")) << report;
}

TEST(CliMatch, ReportThatCannotBeWrittenIsAFailure) {
    TemporaryFolder folder;
    writeScans(folder, kScans);
    writePhotos(folder, kPhotos);
    const std::string& p = folder.path();
    CliRun run = runCli(folder, p + "BarcodeDataSource.txt " + p + "BarcodeImageList.txt " + p +
                                    "out.txt --align auto --report " + p + "no/such/folder/report.txt");
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos,
              run.err.find("the report " + p + "no/such/folder/report.txt could not be written"))
        << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    AlignUsage, CliMatchUsageTest,
    ::testing::Values(
        UsageCase{"AlignUnknown", "a b c --align best", "--align is auto or last"},
        UsageCase{"AlignMissingValue", "a b c --align", "--align needs auto or last"},
        UsageCase{"LastWithoutSkew", "a b c --align last", "--align last needs --skew"},
        UsageCase{"AutoWithSkew", "a b c --align auto --skew 2", "--skew belongs to --align last"},
        UsageCase{"ReportWithoutFile", "a b c --align auto --report", "--report needs a file name"}),
    testsupport::CaseName());

} // namespace
