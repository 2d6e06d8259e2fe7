// The test-support library's own logic: row names, the reading of pdx-sim's byte record, folders
// that remove themselves, the message sink that stands in for the message area.
#include "CaseName.h"
#include "FileContent.h"
#include "PdxSimProcess.h"
#include "RecordingMessageSink.h"
#include "TaskName.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

using namespace testsupport;

namespace {

struct NameCase {
    const char* name;
    const char* text;
    const char* expected;
};

void PrintTo(const NameCase& c, std::ostream* out) {
    *out << c.name;
}

const NameCase kNameCases[] = {
    {"words", "wrong answer to 0x05", "WrongAnswerTo0x05"},
    {"punctuation", "partial: fewer bytes than expected", "PartialFewerBytesThanExpected"},
    {"digits_and_commas", "1,500 records are not an empty form", "1500RecordsAreNotAnEmptyForm"},
    {"snake_case_kept", "lower_y", "lower_y"},
    {"camel_case_kept", "ScanLine", "ScanLine"},
    {"path", "/dev/cu.SLAB_USBtoUART", "DevCuSLAB_USBtoUART"},
    {"non_ascii_bytes_dropped", "caf\xC3\xA9 au lait", "CafAuLait"},
    {"empty", "", "Unnamed"},
    {"only_punctuation", " - ", "Unnamed"},
};

class CaseNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(CaseNameTest, IsAValidTestName) {
    const NameCase& c = GetParam();
    EXPECT_EQ(c.expected, caseName(c.text));
}

INSTANTIATE_TEST_SUITE_P(Texts, CaseNameTest, ::testing::ValuesIn(kNameCases), CaseName());

TEST(PdxSimRecord, EachSideHasItsBytesInOrder) {
    const std::string record = "host 05\n"
                               "scanner 55\n"
                               "host 55 54\n"
                               "event disconnect\n"
                               "scanner 02 ff 00 03\n"
                               "host 1b\n";
    EXPECT_EQ(std::string("\x05UT\x1B"), bytesInPdxSimRecord(record, "host"));
    EXPECT_EQ(std::string("U\x02\xFF\0\x03", 5), bytesInPdxSimRecord(record, "scanner"));
    EXPECT_EQ("", bytesInPdxSimRecord("", "host"));
}

TEST(TemporaryFolderTest, IsRemovedWithEverythingInItEvenWhatWasMadeReadOnly) {
    std::string path;
    {
        TemporaryFolder folder("selftest");
        path = folder.path();
        EXPECT_EQ('/', path.back());
        EXPECT_NE(std::string::npos, path.find("/vesk-selftest-"));
        std::string deep = folder.write("a/b/c.txt", "bytes");
        EXPECT_EQ(path + "a/b/c.txt", deep);
        EXPECT_EQ("bytes", readFile(deep));
        EXPECT_EQ(path + "Day 1", folder.makeFolder("Day 1/"));
        EXPECT_TRUE(fileExists(path + "Day 1"));
        EXPECT_EQ(path + "missing/", folder.file("missing/"));
        EXPECT_FALSE(fileExists(path + "missing"));
        // A folder its owner can neither write nor enter, as a test of refused access leaves it.
        ASSERT_EQ(0, chmod((path + "a/b").c_str(), 0));
        ASSERT_EQ(0, chmod((path + "a").c_str(), S_IRUSR | S_IXUSR));
    }
    EXPECT_FALSE(fileExists(path));
}

TEST(TemporaryFolderTest, TwoFoldersNeverShareAPath) {
    TemporaryFolder first;
    TemporaryFolder second;
    EXPECT_NE(first.path(), second.path());
}

TEST(FileContentTest, ReadsAndWritesBytesAndLines) {
    TemporaryFolder folder;
    const std::string path = folder.file("lines.txt");
    ASSERT_TRUE(writeFile(path, std::string("one\r\ntwo\n\0three", 15)));
    EXPECT_EQ(std::string("one\r\ntwo\n\0three", 15), readFile(path));
    EXPECT_EQ((std::vector<std::string>{"one\r", "two", std::string("\0three", 6)}), readLines(path));
    EXPECT_FALSE(writeFile(folder.path() + "missing/file.txt", "x"));
    EXPECT_EQ("", readFile(folder.path() + "missing.txt"));
    EXPECT_TRUE(readLines(folder.path() + "missing.txt").empty());
}

TEST(RecordingMessageSinkTest, StandsInForTheMessageAreaAndPutsThePreviousOneBack) {
    RecordingMessageSink outer;
    {
        RecordingMessageSink inner;
        myPrintf("first\n");
        myPrintf("second\n");
        EXPECT_EQ("first\rsecond\r", inner.text());
        EXPECT_EQ((std::vector<std::string>{"first\r", "second\r"}), inner.messages());
        EXPECT_EQ(2, inner.count("\r"));
        inner.clear();
        EXPECT_EQ("", inner.text());
    }
    myPrintf("third\n");
    EXPECT_EQ("third\r", outer.text());
    EXPECT_EQ(&outer, defaultMessageSink());
}

TEST(RecordingMessageSinkTest, WaitsForATextShownByAnotherThread) {
    RecordingMessageSink sink;
    std::thread worker([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        myPrintf("worker done\n");
    });
    EXPECT_TRUE(sink.waitFor("worker done"));
    worker.join();
    EXPECT_FALSE(sink.waitFor("never shown", std::chrono::milliseconds(10)));
}

TEST(TaskNameTest, EveryTaskCodeHasItsEnumeratorName) {
    EXPECT_EQ("eVeskBarcodeTask_None", taskName(eVeskBarcodeTask_None));
    EXPECT_EQ("eVeskBarcodeTask_DownloadBarcodeData", taskName(eVeskBarcodeTask_DownloadBarcodeData));
    EXPECT_EQ("eVeskBarcodeTask_SendErrorToVeskEraseFailed",
              taskName(eVeskBarcodeTask_SendErrorToVeskEraseFailed));
    for (int32_t task = eVeskBarcodeTask_None; task <= eVeskBarcodeTask_SendErrorToVeskEraseFailed; ++task)
        EXPECT_EQ(0u, taskName(task).rfind("eVeskBarcodeTask_", 0)) << task;
    EXPECT_EQ("task 17", taskName(17));
    EXPECT_EQ("task -1", taskName(-1));
    EXPECT_EQ("eVeskBarcodeTask_JobEnded", ::testing::PrintToString(eVeskBarcodeTask_JobEnded));
}

} // namespace
