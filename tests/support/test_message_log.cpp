#include "MessageLog.h"

#include "CaseName.h"
#include "FileContent.h"
#include "RecordingMessageSink.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
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

TEST_F(MessageLogTest, SecondInitEmptiesTheLog) {
    myPrintf("first\n");
    MessageLog::InitLog(folder);
    myPrintf("second\n");
    EXPECT_EQ("\xA5\xA5 second\n", logBytes());
}

TEST_F(MessageLogTest, UnwritableFolderFallsBackToStateFolderAndSaysWhere) {
    // A folder that cannot hold the log (here: one that does not exist) sends it to the state folder.
    std::string state = folder + "/state";
    setenv("XDG_STATE_HOME", state.c_str(), 1);
    sink.clear();
    MessageLog::InitLog(folder + "/missing/folder");
    unsetenv("XDG_STATE_HOME");
    EXPECT_EQ(state + "/VeskBarcode/VeskBarcodeLog.txt", MessageLog::logFilePath());
    EXPECT_NE(std::string::npos, sink.text().find(MessageLog::logFilePath()));
    myPrintf("kept\n");
    EXPECT_EQ("\xA5\xA5 kept\n", readFile(MessageLog::logFilePath()));
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
