// vesk-cli scanner, run as a user runs it, against the real pdx-sim.
#include "CaseName.h"
#include "FileContent.h"
#include "PdxSimProcess.h"
#include "TemporaryFolder.h"
#include "serialRS232Manager.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

using namespace testsupport;

namespace {

const char kThreeRecords[] = "1111\t121026\t101500\n2222\t121026\t101530\n3333\t121026\t101600\n";

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

class CliScannerTest : public ::testing::Test {
  protected:
    CliScannerTest() : fSim(fFolder.path()) {}

    void startSim(const std::vector<std::string>& options) {
        writeFile(fFolder.file("records.txt"), kThreeRecords);
        std::vector<std::string> all = {"--records", fFolder.file("records.txt")};
        all.insert(all.end(), options.begin(), options.end());
        ASSERT_TRUE(fSim.start(all));
    }

    // Runs vesk-cli with the arguments (shell words), feeding input to its standard input.
    CliRun cli(const std::string& arguments, const std::string& input = "",
               const std::string& environment = "") {
        return cliIn("", arguments, input, environment);
    }
    // The same in the folder current (empty: where the test runs).
    CliRun cliIn(const std::string& current, const std::string& arguments, const std::string& input = "",
                 const std::string& environment = "") {
        const char* bin = std::getenv("VESK_BIN");
        std::string command = (current.empty() ? std::string() : "cd '" + current + "' && ") + environment +
                              " '" + std::string(bin ? bin : ".") + "/vesk-cli' " + arguments + " < '" +
                              fFolder.file("in") + "' > '" + fFolder.file("out") + "' 2> '" +
                              fFolder.file("err") + "'";
        writeFile(fFolder.file("in"), input);
        int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(fFolder.file("out")),
                readFile(fFolder.file("err"))};
    }

    std::string port() { return "'" + fSim.link() + "'"; }

    TemporaryFolder fFolder;
    PdxSimProcess fSim;
};

} // namespace

TEST_F(CliScannerTest, InfoShowsTheScannerFoundThroughTheEnvironment) {
    startSim({"--unit-id", "CLI00001"});
    CliRun run = cli("scanner info", "", "VESK_SERIAL_PORTS='" + fSim.link() + "'");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("port: " + fSim.link()), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("model: Z-1070"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("unit ID: CLI00001"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("form 1: 3 records of 3 fields"), std::string::npos) << run.out;
    EXPECT_EQ(run.err.find("Returning Back char"), std::string::npos) << "debug lines only with --verbose";
}

TEST_F(CliScannerTest, DownloadThenEraseWithConfirmation) {
    startSim({});
    TemporaryFolder job;
    CliRun download = cli("scanner " + port() + " download '" + job.path() + "'");
    EXPECT_EQ(download.status, 0) << download.err;
    EXPECT_NE(download.out.find("downloaded 3 scans"), std::string::npos) << download.out;
    std::string data = readFile(job.file("BarcodeDataSource.txt"));
    EXPECT_NE(data.find("1111\t121026\t101500\n2222\t121026\t101530\n3333\t121026\t101600\n"),
              std::string::npos);

    const std::string dataFile = " --data-file '" + job.file("BarcodeDataSource.txt") + "'";
    CliRun refused = cli("scanner " + port() + " erase 10700001" + dataFile, "no\n");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("nothing was erased"), std::string::npos) << refused.err;
    EXPECT_EQ(fSim.hostBytes().find("\x02"
                                    "CE1\x03"),
              std::string::npos);

    CliRun wrong = cli("scanner " + port() + " erase 10700002 --yes" + dataFile);
    EXPECT_EQ(wrong.status, 3);
    EXPECT_NE(wrong.err.find("Found DeviceID[10700001] != ExpectedDeviceID[10700002]"), std::string::npos)
        << wrong.err;

    CliRun erase = cli("scanner " + port() + " erase 10700001" + dataFile, "yes\n");
    EXPECT_EQ(erase.status, 0) << erase.err;
    EXPECT_NE(erase.out.find("scanner 10700001 is empty"), std::string::npos) << erase.out;
    CliRun info = cli("scanner " + port() + " info");
    EXPECT_NE(info.out.find("form 1: 0 records"), std::string::npos) << info.out;
}

TEST_F(CliScannerTest, AFailedDownloadSaysSoAndKeepsTheFile) {
    startSim({"--fault", "bad-checksum@4"});
    TemporaryFolder job;
    writeFile(job.file("BarcodeDataSource.txt"), "earlier download\n");
    CliRun run = cli("scanner " + port() + " download '" + job.path() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("the download failed"), std::string::npos) << run.err;
    EXPECT_EQ(readFile(job.file("BarcodeDataSource.txt")), "earlier download\n");
}

namespace {

const char kFiveRecords[] = "1111\t121026\t101500\n2222\t121026\t101530\n3333\t121026\t101600\n"
                            "4444\t121026\t101630\n5555\t121026\t101700\n";

struct CliEraseCase {
    const char* name;
    std::string savedFile; // BarcodeDataSource.txt in the current folder ("": none)
    std::string arguments; // after "erase 10700001 --yes"
    int status;
    bool eraseSent;
    const char* message; // on standard output or standard error
    long scansAfterwards;
};

void PrintTo(const CliEraseCase& c, std::ostream* out) {
    *out << c.name;
}

const CliEraseCase kCliEraseCases[] = {
    {"the current folder's file holds the scans", savedScans("10700001", kFiveRecords), "", 0, true,
     "scanner 10700001 is empty", 0},
    {"no data file", "", "", 3, false,
     "nothing was erased. Scanner 10700001 holds 5 scans, and none of them is saved", 5},
    {"scans made after the download", savedScans("10700001", kThreeRecords), "", 3, false,
     "2 scans made after the download are saved nowhere", 5},
    {"another scanner's file", savedScans("10700002", kFiveRecords), "", 3, false,
     "came from scanner 10700002", 5},
    {"another file named", savedScans("10700001", kThreeRecords), " --data-file other.txt", 3, false,
     "there is no other.txt", 5},
    {"--force erases after showing the count", "", " --force", 0, true, "scanner 10700001 on ", 0},
    {"--force shows why the scans are not saved", savedScans("10700001", kThreeRecords), " --force", 0, true,
     "holds 5 scans. Scanner 10700001 holds 5 scans, but", 0},
};

class CliEraseTest : public CliScannerTest, public ::testing::WithParamInterface<CliEraseCase> {};

} // namespace

TEST_P(CliEraseTest, EraseIsRefusedUnlessTheDataFileHoldsEveryScanOrItIsForced) {
    const CliEraseCase& c = GetParam();
    writeFile(fFolder.file("records.txt"), kFiveRecords);
    ASSERT_TRUE(fSim.start({"--records", fFolder.file("records.txt")}));
    TemporaryFolder current;
    if (!c.savedFile.empty())
        writeFile(current.file("BarcodeDataSource.txt"), c.savedFile);
    CliRun run = cliIn(current.path(), "scanner " + port() + " erase 10700001 --yes" + c.arguments);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE((run.out + run.err).find(c.message), std::string::npos) << run.out << run.err;
    EXPECT_EQ(fSim.hostBytes().find("\x02"
                                    "CE1\x03") != std::string::npos,
              c.eraseSent);
    CliRun info = cli("scanner " + port() + " info");
    EXPECT_NE(info.out.find("form 1: " + std::to_string(c.scansAfterwards) + " records"), std::string::npos)
        << info.out;
}

INSTANTIATE_TEST_SUITE_P(Cli, CliEraseTest, ::testing::ValuesIn(kCliEraseCases), CaseName());

TEST_F(CliScannerTest, ForceAsksAfterShowingTheCount) {
    startSim({});
    CliRun run = cli("scanner " + port() + " erase 10700001 --force", "no\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("holds 3 scans"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Erase these 3 scans anyway?"), std::string::npos) << run.err;
    EXPECT_EQ(fSim.hostBytes().find("\x02"
                                    "CE1\x03"),
              std::string::npos);
}

TEST_F(CliScannerTest, HelpNamesTheExitStatuses) {
    CliRun run = cli("scanner --help");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("3 the erase was refused"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("--data-file FILE"), std::string::npos);
    CliRun main = cli("--help");
    EXPECT_NE(main.out.find("3 the scanner's erase was refused"), std::string::npos) << main.out;
}

TEST_F(CliScannerTest, UsageAndMissingPorts) {
    EXPECT_EQ(cli("scanner").status, 2);
    EXPECT_EQ(cli("scanner info extra").status, 2);
    EXPECT_EQ(cli("scanner download").status, 2);
    EXPECT_EQ(cli("scanner info --force").status, 2);
    EXPECT_EQ(cli("scanner erase 10700001 --data-file").status, 2);
    EXPECT_EQ(cli("scanner erase 10700001 --forse").status, 2);
    EXPECT_EQ(cli("scanner /dev/ttyUSB0 ports").status, 2);
    // Only a machine without a scanner adapter finds none; the others prove nothing here.
    if (!serialRS232Manager().FindScannerPorts().empty())
        return;
    CliRun none = cli("scanner info", "", "VESK_SERIAL_PORTS=");
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("no scanner port found"), std::string::npos) << none.err;
}

// A port named in VESK_SERIAL_PORTS is used as given: one that is not there says so plainly,
// instead of a scanner that did not answer.
TEST_F(CliScannerTest, ANamedPortThatIsNotThereIsGone) {
    std::string missing = fFolder.file("cu.ZEBEX");
    CliRun gone = cli("scanner info", "", "VESK_SERIAL_PORTS='" + missing + "'");
    EXPECT_EQ(gone.status, 1);
    EXPECT_NE(gone.err.find("vesk-cli: " + missing + " is gone: is the scanner's cable plugged in?\n"),
              std::string::npos)
        << gone.err;
    EXPECT_EQ(gone.err.find("no scanner answered"), std::string::npos) << gone.err;
}

// Two programs of ours on one port: the second is refused with the busy sentence, root or not.
TEST_F(CliScannerTest, APortHeldByAnotherOfOurProgramsIsInUse) {
    startSim({});
    serialRS232Device holder;
    holder.SetBsdPathName(fSim.link().c_str());
    ASSERT_GE(holder.OpenSerialPort(), 0);
    CliRun busy = cli("scanner " + port() + " info");
    EXPECT_EQ(busy.status, 1);
    // The holder is named: this test, whose lock on the port the system lists.
    EXPECT_NE(busy.err.find("vesk-cli: " + fSim.link() + " is in use by another program: test_cli_scann"),
              std::string::npos)
        << busy.err;
    EXPECT_NE(busy.err.find("(process " + std::to_string(getpid()) + ").\n"), std::string::npos) << busy.err;
    holder.CloseSerialPort();
    EXPECT_EQ(cli("scanner " + port() + " info").status, 0);
}

TEST_F(CliScannerTest, PortsListsTheNamedPortsFirstWithWhatTheyAre) {
    std::string link = fFolder.file("ttyUSB0");
    CliRun run = cli("scanner ports", "", "VESK_SERIAL_PORTS='" + link + ":/dev/rfcomm9'");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.find(link + " \u2014 serial port (named in VESK_SERIAL_PORTS)\n"
                                  "/dev/rfcomm9 \u2014 Bluetooth serial port (named in VESK_SERIAL_PORTS)\n"),
              0u)
        << run.out;
}
