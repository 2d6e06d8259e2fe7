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

} // namespace
