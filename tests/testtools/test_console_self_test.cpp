// The console self-tests: the terminal question, the version request on a real pseudo-terminal,
// the scanner self-test against the real pdx-sim, and vesk-cli selftest as a developer runs it.
#include "ConsolePrompt.h"
#include "MessageLog.h"
#include "pdxProDevice.h"
#include "serialRS232Device.h"

#include "CaseName.h"
#include "FileContent.h"
#include "PdxSimProcess.h"
#include "PseudoTerminal.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>
#include <thread>

using namespace testsupport;

namespace {

int occurrences(const std::string& text, const std::string& part) {
    int found = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++found;
    return found;
}

// Every test runs in a fresh current folder with its own log file there.
class SelfTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char previous[PATH_MAX + 1] = {0};
        ASSERT_NE(nullptr, getcwd(previous, PATH_MAX));
        fPrevious = previous;
        ASSERT_EQ(0, chdir(fFolder.path().c_str()));
        MessageLog::InitLog(fFolder.path());
    }
    void TearDown() override {
        MessageLog::CloseLog();
        ASSERT_EQ(0, chdir(fPrevious.c_str()));
    }
    std::string logText() { return readFile(fFolder.file("VeskBarcodeLog.txt")); }

    TemporaryFolder fFolder;
    std::string fPrevious;
};

struct PromptCase {
    const char* name;
    const char* input;
    bool first;
    bool second;
};

void PrintTo(const PromptCase& c, std::ostream* out) {
    *out << c.name;
}

const PromptCase kPromptCases[] = {
    {"lower_y", "y\n", true, false},
    {"upper_y", "Y\n", true, false},
    {"n", "n\n", false, false},
    {"other_character", "x\n", false, false},
    {"enter_alone", "\n", false, false},
    {"end_of_input", "", false, false},
    {"yes_word_then_n", "yes\nn\n", true, false},
    {"no_word_then_y", "no\ny\n", false, true},
    {"y_twice", "y\nY\n", true, true},
};

class PromptToContinueTest : public ::testing::TestWithParam<PromptCase> {};

TEST_P(PromptToContinueTest, YesOnlyForLowerOrUpperY) {
    const PromptCase& c = GetParam();
    std::string input = c.input;
    FILE* in = fmemopen(input.empty() ? nullptr : &input[0], input.size(), "r");
    ASSERT_NE(nullptr, in);
    char* written = nullptr;
    size_t writtenSize = 0;
    FILE* out = open_memstream(&written, &writtenSize);
    ASSERT_NE(nullptr, out);
    EXPECT_EQ(c.first, doPromptToContinue("Go on? ", in, out));
    // The second question reads the next line, not what was left of the first answer.
    EXPECT_EQ(c.second, doPromptToContinue("Again? ", in, out));
    fclose(in);
    fclose(out);
    EXPECT_EQ("Go on? \n\n\nAgain? \n\n\n", std::string(written, writtenSize));
    free(written);
}

INSTANTIATE_TEST_SUITE_P(Answers, PromptToContinueTest, ::testing::ValuesIn(kPromptCases), CaseName());

TEST_F(SelfTest, VersionRequestOnASilentPortLogsNothingReadOnce) {
    PseudoTerminal line(/*keepSlaveOpen=*/true);
    ASSERT_TRUE(line.ok());
    serialRS232Device port;
    ASSERT_TRUE(port.SetBsdPathName(line.slavePath().c_str()));
    ASSERT_GE(port.OpenSerialPort(), 0);
    EXPECT_FALSE(port.InitializeQRWDevice());
    port.CloseSerialPort();
    EXPECT_EQ("VERS\r", line.readUntil("VERS\r", 1000));
    std::string log = logText();
    EXPECT_EQ(1, occurrences(log, "Nothing read."));
    EXPECT_NE(std::string::npos, log.find("Wrote 5 bytes = [\"VERS\\r\"]"));
    EXPECT_NE(std::string::npos, log.find("Read BACK Data \"\""));
}

struct ReplyCase {
    const char* name;
    std::string reply;
    std::string logged; // the rendering in "Read BACK Data"
};

void PrintTo(const ReplyCase& c, std::ostream* out) {
    *out << c.name;
}

const ReplyCase kReplyCases[] = {
    {"five_bytes", "V1.0\r", "V1.0\\r"},
    {"longer_reply_in_pieces", "V1.02 build 7\r", "V1.02 build 7\\r"},
    // A line that never falls silent: reading stops once the 255-byte buffer is full.
    {"flood", std::string(400, 'x'), std::string(serialRS232Device::kVersionReplySize, 'x')},
};

class VersionReplyTest : public SelfTest, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(VersionReplyTest, VersionRequestLogsTheReplyWithinItsBuffer) {
    const ReplyCase& c = GetParam();
    PseudoTerminal line(/*keepSlaveOpen=*/true);
    ASSERT_TRUE(line.ok());
    serialRS232Device port;
    ASSERT_TRUE(port.SetBsdPathName(line.slavePath().c_str()));
    ASSERT_GE(port.OpenSerialPort(), 0);
    std::thread farEnd([&] {
        if (line.readUntil("VERS\r", 2000).find("VERS\r") != std::string::npos) {
            EXPECT_TRUE(line.send(c.reply));
        }
    });
    EXPECT_FALSE(port.InitializeQRWDevice());
    farEnd.join();
    port.CloseSerialPort();
    std::string log = logText();
    EXPECT_EQ(0, occurrences(log, "Nothing read."));
    EXPECT_EQ(1, occurrences(log, "Read back EXPECTED bytes of"));
    EXPECT_NE(std::string::npos, log.find("Read BACK Data \"" + c.logged + "\""));
}

INSTANTIATE_TEST_SUITE_P(Replies, VersionReplyTest, ::testing::ValuesIn(kReplyCases), CaseName());

TEST_F(SelfTest, PortThatDoesNotOpenIsReported) {
    const std::string missing = fFolder.file("no-such-port");
    serialRS232Device port;
    ASSERT_TRUE(port.SetBsdPathName(missing.c_str()));
    EXPECT_FALSE(port.DoDebugTest());
    EXPECT_FALSE(port.IsPortOpen());

    pdxProDevice scanner;
    ASSERT_TRUE(scanner.SetBsdPathName(missing.c_str()));
    EXPECT_FALSE(scanner.DoDebugTest());
    EXPECT_FALSE(scanner.IsPortOpen());

    std::string log = logText();
    EXPECT_EQ(2, occurrences(log, "UNABLE to OpenSerialPort -- fileDescriptor is [-1]"));
    EXPECT_NE(std::string::npos, log.find("Error opening serial port " + missing + " - No such file"));
    EXPECT_NE(std::string::npos, log.find("Issuing inquiry => [10] of [10]"));
    EXPECT_EQ(0, occurrences(log, "Issuing inquiry => [11]"));
    EXPECT_FALSE(fileExists(fFolder.file("BarcodeDataSource.txt")));
}

const char kRecords[] = "1111\t121026\t101500\n2222\t121026\t101530\n3333\t121026\t101600\n";

TEST_F(SelfTest, ScannerSelfTestWritesDataFileNamedByUnitID) {
    writeFile(fFolder.file("records.txt"), kRecords);
    PdxSimProcess sim(fFolder.path());
    ASSERT_TRUE(sim.start({"--records", fFolder.file("records.txt"), "--unit-id", "10700042"}));
    pdxProDevice scanner;
    ASSERT_TRUE(scanner.SetBsdPathName(sim.link().c_str()));
    EXPECT_TRUE(scanner.DoDebugTest());
    EXPECT_FALSE(scanner.IsPortOpen());
    sim.stop();

    std::string data = readFile(fFolder.file("10700042BarcodeDataSource.txt"));
    EXPECT_NE(std::string::npos, data.find("Model=Z-1070\tSN=10700042\tDateFormat=1\t"));
    EXPECT_NE(std::string::npos, data.find("Scanned BarCode ID\tDate Scanned\tTime Scanned\t"));
    ASSERT_GE(data.size(), sizeof kRecords - 1);
    EXPECT_EQ(kRecords, data.substr(data.size() - (sizeof kRecords - 1)));
    EXPECT_FALSE(fileExists(fFolder.file("BarcodeDataSource.txt")));

    std::string log = logText();
    EXPECT_NE(std::string::npos, log.find("========== pdxProDevice::DoDebugTest ==========="));
    EXPECT_EQ(2, occurrences(log, "serialRS232Device::JustReceiveCharacters => xxxxxxx"));
    EXPECT_NE(std::string::npos, log.find("The checksum is [0x"));
    EXPECT_NE(std::string::npos, log.find("Get Date returned: [12/10/26]"));
    EXPECT_NE(std::string::npos, log.find("GetTime returned: [10:20:30]"));
    // The session ends by leaving remote mode.
    std::string sent = sim.hostBytes();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ('\x1B', sent.back());
}

struct FailedSessionCase {
    const char* name;
    const char* fault;
    const char* message;
    bool dataFile; // whether <unit ID>BarcodeDataSource.txt is there, incomplete
};

void PrintTo(const FailedSessionCase& c, std::ostream* out) {
    *out << c.name;
}

const FailedSessionCase kFailedSessionCases[] = {
    {"no_system_information", "bad-frame-end", "could not be read; no data file is written", false},
    {"bad_checksum", "bad-checksum@2", "the transfer was not clean;", true},
};

class FailedSelfTest : public SelfTest, public ::testing::WithParamInterface<FailedSessionCase> {};

TEST_P(FailedSelfTest, ScannerSelfTestReportsAFailedSession) {
    const FailedSessionCase& c = GetParam();
    writeFile(fFolder.file("records.txt"), kRecords);
    PdxSimProcess sim(fFolder.path());
    ASSERT_TRUE(sim.start({"--records", fFolder.file("records.txt"), "--fault", c.fault}));
    pdxProDevice scanner;
    ASSERT_TRUE(scanner.SetBsdPathName(sim.link().c_str()));
    EXPECT_FALSE(scanner.DoDebugTest());
    EXPECT_FALSE(scanner.IsPortOpen());
    sim.stop();
    EXPECT_NE(std::string::npos, logText().find(c.message));
    EXPECT_EQ(c.dataFile, fileExists(fFolder.file("10700001BarcodeDataSource.txt")));
    EXPECT_FALSE(fileExists(fFolder.file("BarcodeDataSource.txt")));
    std::string sent = sim.hostBytes();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ('\x1B', sent.back());
}

INSTANTIATE_TEST_SUITE_P(Faults, FailedSelfTest, ::testing::ValuesIn(kFailedSessionCases), CaseName());

// vesk-cli selftest as a developer runs it: the answer typed on standard input.
class CliSelfTest : public SelfTest {
  protected:
    int run(const std::string& answer, const std::string& arguments) {
        const char* bin = std::getenv("VESK_BIN");
        std::string command = "printf '" + answer + "' | '" + std::string(bin ? bin : ".") +
                              "/vesk-cli' selftest " + arguments + " >'" + fFolder.file("out.txt") + "' 2>'" +
                              fFolder.file("err.txt") + "'";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string out() { return readFile(fFolder.file("out.txt")); }
    std::string err() { return readFile(fFolder.file("err.txt")); }
};

TEST_F(CliSelfTest, PortOnlySendsFiveVersionRequests) {
    PseudoTerminal line(/*keepSlaveOpen=*/true);
    ASSERT_TRUE(line.ok());
    EXPECT_EQ(0, run("y\\n", "--port-only " + line.slavePath()));
    EXPECT_NE(std::string::npos, out().find("five times on " + line.slavePath()));
    EXPECT_EQ("VERS\rVERS\rVERS\rVERS\rVERS\r", line.readUntil("VERS\rVERS\rVERS\rVERS\rVERS\r", 1000));
    EXPECT_EQ(5, occurrences(err(), "Nothing read."));
}

TEST_F(CliSelfTest, DeclinedOrUnopenablePortRunsNothing) {
    PseudoTerminal line(/*keepSlaveOpen=*/true);
    ASSERT_TRUE(line.ok());
    EXPECT_EQ(1, run("n\\n", "--port-only " + line.slavePath()));
    EXPECT_NE(std::string::npos, err().find("nothing was run"));
    EXPECT_EQ("", line.readUntil("VERS", 200));

    EXPECT_EQ(1, run("y\\n", fFolder.file("no-such-port")));
    EXPECT_NE(std::string::npos, err().find("UNABLE to OpenSerialPort -- fileDescriptor is [-1]"));
    EXPECT_NE(std::string::npos, err().find("did not pass"));

    EXPECT_EQ(2, run("y\\n", "--bogus"));
    EXPECT_EQ(2, run("y\\n", "one two"));
}

TEST_F(CliSelfTest, ScannerSelfTestAgainstPdxSim) {
    writeFile(fFolder.file("records.txt"), kRecords);
    PdxSimProcess sim(fFolder.path());
    ASSERT_TRUE(sim.start({"--records", fFolder.file("records.txt")}));
    EXPECT_EQ(0, run("Y\\n", "'" + sim.link() + "'"));
    sim.stop();
    EXPECT_NE(std::string::npos, out().find("the scanner self-test on " + sim.link() + " ran to its end"));
    EXPECT_NE(std::string::npos,
              readFile(fFolder.file("10700001BarcodeDataSource.txt")).find("1111\t121026\t101500\n"));
}

} // namespace
