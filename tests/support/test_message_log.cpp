#include "MessageLog.h"

#include "CaseName.h"
#include "FileContent.h"
#include "RecordingMessageSink.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

using namespace testsupport;

namespace {

class MessageLogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = temporary.path();
        folder.pop_back();
        MessageLog::InitLog(folder);
    }
    void TearDown() override { MessageLog::CloseLog(); }
    std::string logBytes() { return readFile(folder + "/VeskBarcodeLog.txt"); }
    TemporaryFolder temporary{"log"};
    std::string folder; // the temporary folder without its final "/"
    RecordingMessageSink sink;
};

struct LogCase {
    const char* name;
    bool debug;
    const char* text;
    const char* fileBytes;
    const char* viewBytes;
};

void PrintTo(const LogCase& c, std::ostream* out) {
    *out << c.name;
}

const LogCase kLogCases[] = {
    {"word_lf", false, "word\n", "\xA5\xA5 word\n", "word\r"},
    {"word_crlf_keeps_cr", false, "word\r\n", "\xA5\xA5 word\r\n", "word\r\r"},
    {"lone_lf_not_trimmed", false, "\n", "\xA5\xA5 \n\n", "\n\r"},
    {"two_lf_keep_one", false, "word\n\n", "\xA5\xA5 word\n\n", "word\n\r"},
    {"debug_log_only", true, "word\n", "\xA5\xA5 word\n", ""},
    {"percent_literal", false, "100% %s %@\n", "\xA5\xA5 100% %s %@\n", "100% %s %@\r"},
    {"inner_line_feeds_one_entry", false, "one\ntwo\n", "\xA5\xA5 one\ntwo\n", "one\ntwo\r"},
    {"no_line_break_at_all", false, "word", "\xA5\xA5 word\n", "word\r"},
    {"lone_cr_not_trimmed", false, "\r", "\xA5\xA5 \r\n", "\r\r"},
};

class PrintfTest : public MessageLogTest, public ::testing::WithParamInterface<LogCase> {};

TEST_P(PrintfTest, WritesExactBytes) {
    const LogCase& c = GetParam();
    sink.clear();
    if (c.debug)
        myPrintfDebug(c.text);
    else
        myPrintf(c.text);
    EXPECT_EQ(c.fileBytes, logBytes());
    EXPECT_EQ(c.viewBytes, sink.text());
}

INSTANTIATE_TEST_SUITE_P(Texts, PrintfTest, ::testing::ValuesIn(kLogCases), CaseName());

TEST_F(MessageLogTest, SetErrorMessageUsesOneBulletAndNoTrim) {
    SetErrorMessage(nullptr, "word\n");
    EXPECT_EQ("\xA5 word\n\r\n", logBytes());
    EXPECT_EQ("word\n\r", sink.text());
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool fileExists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

TEST_F(MessageLogTest, SecondInitStartsAFreshLogAndKeepsTheFirst) {
    myPrintf("first\n");
    MessageLog::InitLog(folder);
    myPrintf("second\n");
    EXPECT_EQ("\xA5\xA5 second\n", logBytes());
    EXPECT_EQ("\xA5\xA5 first\n", fileBytes(folder + "/VeskBarcodeLog.txt.1"));
}

TEST_F(MessageLogTest, KeepsTheFiveRunsBeforeAndDropsOlderOnes) {
    // SetUp's run is run 0; runs 1 to 7 follow, each writing its number.
    myPrintf("run 0\n");
    for (int run = 1; run <= 7; ++run) {
        MessageLog::InitLog(folder);
        myPrintf("run " + std::to_string(run) + "\n");
    }
    EXPECT_EQ("\xA5\xA5 run 7\n", logBytes());
    for (int older = 1; older <= 5; ++older) {
        SCOPED_TRACE(older);
        EXPECT_EQ("\xA5\xA5 run " + std::to_string(7 - older) + "\n",
                  fileBytes(folder + "/VeskBarcodeLog.txt." + std::to_string(older)));
    }
    EXPECT_FALSE(fileExists(folder + "/VeskBarcodeLog.txt.6"));
}

TEST_F(MessageLogTest, AGapInTheEarlierLogsIsNoHindrance) {
    // Someone removed .1 and .3: the others still move down and nothing is lost.
    for (int older : {2, 4, 5})
        std::ofstream(folder + "/VeskBarcodeLog.txt." + std::to_string(older)) << "old " << older << "\n";
    myPrintf("current\n");
    MessageLog::InitLog(folder);
    EXPECT_EQ("\xA5\xA5 current\n", fileBytes(folder + "/VeskBarcodeLog.txt.1"));
    EXPECT_EQ("old 2\n", fileBytes(folder + "/VeskBarcodeLog.txt.3"));
    EXPECT_EQ("old 4\n", fileBytes(folder + "/VeskBarcodeLog.txt.5"));
    EXPECT_FALSE(fileExists(folder + "/VeskBarcodeLog.txt.2"));
    EXPECT_FALSE(fileExists(folder + "/VeskBarcodeLog.txt.4"));
}

struct FallbackCase {
    const char* name;
    // How the program's folder is made unusable, relative to the test's folder.
    const char* programFolder;
    bool readOnly;
};

class LogFallbackTest : public MessageLogTest, public ::testing::WithParamInterface<FallbackCase> {};

// An installed copy's folder (/usr/bin) cannot hold the log: the state folder is the normal place
// then, quietly, with the earlier logs kept there too.
TEST_P(LogFallbackTest, UnwritableProgramFolderUsesTheStateFolderQuietly) {
    const FallbackCase& c = GetParam();
    std::string program = folder + "/" + c.programFolder;
    if (c.readOnly) {
        if (geteuid() == 0)
            GTEST_SKIP() << "root writes into a read-only folder; the normal-user run covers this row";
        ASSERT_EQ(0, system(("mkdir -p '" + program + "' && chmod 0555 '" + program + "'").c_str()));
    }
    std::string state = folder + "/state";
    setenv("XDG_STATE_HOME", state.c_str(), 1);
    sink.clear();
    MessageLog::InitLog(program);
    myPrintf("first\n");
    MessageLog::InitLog(program);
    unsetenv("XDG_STATE_HOME");
    EXPECT_EQ(state + "/VeskBarcode/VeskBarcodeLog.txt", MessageLog::logFilePath());
    // The message area holds only the message itself: no notice about the log's place.
    EXPECT_EQ("first\r", sink.text());
    myPrintf("kept\n");
    EXPECT_EQ("\xA5\xA5 kept\n", fileBytes(MessageLog::logFilePath()));
    EXPECT_EQ("\xA5\xA5 first\n", fileBytes(MessageLog::logFilePath() + ".1"));
    EXPECT_FALSE(fileExists(program + "/VeskBarcodeLog.txt"));
    if (c.readOnly)
        system(("chmod 0755 '" + program + "'").c_str());
}

const FallbackCase kFallbackCases[] = {
    {"missing_folder", "missing/folder", false},
    {"read_only_folder", "bin", true},
};

INSTANTIATE_TEST_SUITE_P(Folders, LogFallbackTest, ::testing::ValuesIn(kFallbackCases), CaseName());

TEST_F(MessageLogTest, NoPlaceForALogAtAllIsSaid) {
    // The state folder cannot be made either: a plain file stands where its parent should be.
    std::ofstream(folder + "/plain-file") << "x";
    setenv("XDG_STATE_HOME", (folder + "/plain-file").c_str(), 1);
    sink.clear();
    MessageLog::InitLog(folder + "/missing/folder");
    unsetenv("XDG_STATE_HOME");
    EXPECT_EQ("", MessageLog::logFilePath());
    EXPECT_NE(std::string::npos, sink.text().find("No log file could be created")) << sink.text();
}

// The system-log copy goes to standard error, decoded from Mac OS Roman and never used as a format.
TEST_F(MessageLogTest, SystemLogCopyIsDecodedAndLiteral) {
    std::string captured = folder + "/stderr.txt";
    fflush(stderr);
    int saved = dup(2);
    FILE* file = fopen(captured.c_str(), "w");
    ASSERT_NE(nullptr, file);
    dup2(fileno(file), 2);
    myPrintf("100% %s %n Caf\x8E\n");
    fflush(stderr);
    dup2(saved, 2);
    close(saved);
    fclose(file);
    std::string bytes = readFile(captured);
    EXPECT_EQ("\xE2\x80\xA2\xE2\x80\xA2 100% %s %n Caf\xC3\xA9\n", bytes);
    EXPECT_EQ("\xA5\xA5 100% %s %n Caf\x8E\n", logBytes());
}

} // namespace
