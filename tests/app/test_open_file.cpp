// The host's request to open a job on a folder, and the working folder it gives.
#include "JobTestSupport.h"

#include "JobCheckList.h"
#include "RunningThread.h"

#include "CaseName.h"
#include "FileContent.h"
#include "RecordingHostEvents.h"
#include "RecordingShell.h"
#include "TaskName.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class OpenFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("VESK_UNATTENDED", "1", 1);
        ApplicationServices services;
        services.hostEvents = &host;
        services.shell = &shell;
        services.steps = &steps;
        services.logFolder = logs.path();
        delegate = std::make_unique<MyApplicationDelegate>(services, BuildInfo());
        delegate->applicationWillFinishLaunching();
    }
    void TearDown() override {
        steps.release();
        EXPECT_TRUE(waitForNoWorker());
        delegate.reset();
        MessageLog::CloseLog();
    }
    std::string log() { return testsupport::readFile(logs.path() + "VeskBarcodeLog.txt"); }

    testsupport::TemporaryFolder logs;
    testsupport::TemporaryFolder photos;
    testsupport::RecordingHostEvents host;
    testsupport::RecordingShell shell;
    ScriptedSteps steps;
    std::unique_ptr<MyApplicationDelegate> delegate;
};

enum class Kind { Folder, Literal, Null };

struct OpenCase {
    const char* name;
    Kind kind;
    const char* path; // a subfolder to create (Folder) or the path text itself (Literal)
    bool accepted;
    bool jobCreated;
    eVeskBarcodeTask nextTask; // when a job was created
    const char* folderEnd;     // the working folder's expected ending when accepted
    const char* logLine;       // a line the request writes
};

void PrintTo(const OpenCase& c, std::ostream* out) {
    *out << c.name;
}

const OpenCase kOpenCases[] = {
    {"plain_folder_gets_one_slash", Kind::Folder, "Day 1", true, true, eVeskBarcodeTask_BuildTheImageList,
     "/Day 1/", "\xA5\xA5 Implementing BuildList AS A THREAD..."},
    {"folder_with_slash_keeps_one", Kind::Folder, "Day 2/", true, true, eVeskBarcodeTask_BuildTheImageList,
     "/Day 2/", nullptr},
    {"no_path", Kind::Null, nullptr, false, false, eVeskBarcodeTask_None, nullptr,
     "\xA5\xA5 NSApplication:openFile => Passed NO Path???? \n"},
    {"accented_e_refused", Kind::Folder, "Caf\xC3\xA9", false, true,
     eVeskBarcodeTask_SendErrorToVeskBadSourceFolder, nullptr,
     "\xA5\xA5 INVALID CHARACTER(s) Found in the Source Path Name:\n"},
    {"empty_path_refused", Kind::Literal, "", false, true, eVeskBarcodeTask_SendErrorToVeskBadSourceFolder,
     nullptr, "EMPTY Source Path Name"},
    {"missing_folder_refused", Kind::Literal, "/nonexistent/vesk/photos", false, true,
     eVeskBarcodeTask_SendErrorToVeskBadSourceFolder, nullptr,
     "Source Path Name is NOT a Folder:\n/nonexistent/vesk/photos"},
};

class OpenRequestTest : public OpenFileTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenRequestTest, OpensAJobOnAnAcceptableFolder) {
    const OpenCase& c = GetParam();
    std::string path = c.kind == Kind::Folder ? photos.makeFolder(c.path) : (c.path ? c.path : "");
    if (c.kind == Kind::Folder && path.back() != '/' && std::string(c.path).back() == '/')
        path += "/";
    EXPECT_EQ(c.accepted, delegate->applicationOpenFile(c.kind == Kind::Null ? nullptr : path.c_str()));
    ASSERT_EQ(c.jobCreated, delegate->job() != nullptr);
    if (c.jobCreated) {
        EXPECT_TRUE(delegate->job()->jobCreated);
        EXPECT_EQ(c.accepted, delegate->job()->workingFolderAccepted);
        EXPECT_EQ(eVeskBarcodeTask_SetWorkingFolder, delegate->job()->curTask.load());
        EXPECT_EQ(c.nextTask, delegate->job()->nextTask.load());
    }
    std::string folder = delegate->getWorkingFolderPathName();
    if (c.accepted) {
        ASSERT_GE(folder.size(), std::string(c.folderEnd).size());
        EXPECT_EQ(c.folderEnd, folder.substr(folder.size() - std::string(c.folderEnd).size()));
    } else {
        EXPECT_EQ("", folder);
    }
    if (c.logLine) {
        EXPECT_NE(std::string::npos, log().find(c.logLine)) << log();
    }
}

INSTANTIATE_TEST_SUITE_P(Requests, OpenRequestTest, ::testing::ValuesIn(kOpenCases), testsupport::CaseName());

TEST_F(OpenFileTest, InvalidCharactersAreLoggedInMacRomanAndShownAsAPlainAlert) {
    std::string accented = photos.makeFolder("Caf\xC3\xA9");
    EXPECT_FALSE(delegate->applicationOpenFile(accented.c_str()));
    std::string text = log();
    // The log carries the path converted to Mac OS Roman (e-acute is 0x8E there).
    EXPECT_NE(std::string::npos, text.find("Caf\x8E")) << text;
    EXPECT_NE(
        std::string::npos,
        text.find(
            "alert ERROR: INVALID CHARACTER(s) Found in the Source Path Name: \"ERROR: INVALID CHARACTER(s) "
            "Found in the Source Path Name:\" answered 1 [OK]"))
        << text;
}

TEST_F(OpenFileTest, SecondJobIsRefusedAndTheFirstStaysUntouched) {
    std::string first = photos.makeFolder("First");
    ASSERT_TRUE(delegate->applicationOpenFile(first.c_str()));
    jobCheckList* job = delegate->job();
    job->curTask = 7;
    job->nextTask = 7;
    EXPECT_FALSE(delegate->applicationOpenFile(photos.makeFolder("Second").c_str()));
    EXPECT_EQ(job, delegate->job());
    EXPECT_EQ(7, job->curTask.load());
    EXPECT_EQ(7, job->nextTask.load());
    EXPECT_EQ(first + "/", delegate->getWorkingFolderPathName());
    EXPECT_NE(std::string::npos, log().find("\xA5\xA5 THERE MIGHT BE ANOTHER JOB in PROCESS?????????"));
}

TEST_F(OpenFileTest, RefusedWhileAWorkerRunsWithoutCreatingAJob) {
    steps.hold();
    ASSERT_TRUE(delegate->ibConnectToBarcodeDevice());
    ASSERT_TRUE(steps.waitForCalls(1));
    EXPECT_FALSE(delegate->applicationOpenFile(photos.makeFolder("Busy").c_str()));
    EXPECT_EQ(nullptr, delegate->job());
    EXPECT_NE(std::string::npos, log().find("NSApplication:openFile => gRunningThread==TRUE "));
}

TEST_F(OpenFileTest, RefusedFolderKeepsTheOldWorkingFolder) {
    std::string good = photos.makeFolder("Good");
    ASSERT_TRUE(delegate->setWorkingFolderPathName(good.c_str()));
    EXPECT_FALSE(delegate->setWorkingFolderPathName(photos.makeFolder("Caf\xC3\xA9").c_str()));
    EXPECT_EQ(good + "/", delegate->getWorkingFolderPathName());
    EXPECT_FALSE(delegate->setWorkingFolderPathName(nullptr));
    EXPECT_EQ("", delegate->getWorkingFolderPathName());
}

TEST_F(OpenFileTest, OverlongPathIsRefused) {
    std::string path = photos.path();
    path.pop_back();
    while (path.size() <= 1000)
        path += "/abcdefghij";
    EXPECT_FALSE(delegate->setWorkingFolderPathName(path.c_str()));
    EXPECT_NE(std::string::npos, log().find("Source Path Name TOO LONG"));
}

} // namespace
