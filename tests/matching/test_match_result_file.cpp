// The match task and its result file: a result that cannot be written is a failed match, and no
// earlier BarcodeMatchedList.txt is left to pass as the result of a match that wrote none.
#include "MatchTask.h"
#include "MatchedListFile.h"

#include "ListFiles.h"

#include "FileContent.h"
#include "RecordingMessageSink.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

using namespace testsupport;

namespace {

const char kEarlierList[] = "IMG_0001.jpg\tOLD1\t\t\r";

class MatchResultFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("VESK_UNATTENDED", "1", 1);
        unsetenv("VESK_ANSWERS");
    }
    void writeShoot() {
        listfiles::writeScans(fFolder, {"4711\t121026\t100000", "4712\t121026\t101000"});
        listfiles::writePhotos(fFolder, {"IMG_0001.jpg\t121026\t100100", "IMG_0002.jpg\t121026\t101010"});
    }
    std::string list() const { return fFolder.path() + kMatchedListFileName; }
    std::string earlier() const { return fFolder.path() + kMatchedListEarlierFileName; }
    eMatchOutcome match() { return matchBarcodeDataWithPhotos(fFolder.path(), nullptr, nullptr, nullptr); }

    TemporaryFolder fFolder;
    RecordingMessageSink fMessages;
};

} // namespace

TEST_F(MatchResultFileTest, AMatchWritesItsListAndSetsNothingAside) {
    writeShoot();
    fFolder.write(kMatchedListFileName, kEarlierList);
    EXPECT_EQ(match(), eMatchOutcome_Matched) << fMessages.text();
    EXPECT_EQ(readFile(list()), "IMG_0001.jpg\t4711\t\t4712\rIMG_0002.jpg\t4712\t4711\t\r");
    EXPECT_FALSE(fileExists(earlier()));
    EXPECT_FALSE(fileExists(list() + ".part"));
}

TEST_F(MatchResultFileTest, AResultThatCannotBeWrittenIsAFailedMatch) {
    writeShoot();
    fFolder.write(kMatchedListFileName, kEarlierList);
    // Where the new list is written first, a folder: no one can create that file, root included.
    fFolder.write(std::string(kMatchedListFileName) + ".part/inside", "x");
    EXPECT_EQ(match(), eMatchOutcome_Failed);
    EXPECT_TRUE(fMessages.contains("The match FAILED: its result could not be saved as " + list()))
        << fMessages.text();
    EXPECT_FALSE(fileExists(list()));
    EXPECT_EQ(readFile(earlier()), kEarlierList);
}

TEST_F(MatchResultFileTest, AMatchWithoutADataFileLeavesNoEarlierListUnderTheName) {
    listfiles::writePhotos(fFolder, {"IMG_0001.jpg\t121026\t100100"});
    fFolder.write(kMatchedListFileName, kEarlierList);
    EXPECT_EQ(match(), eMatchOutcome_Failed);
    EXPECT_FALSE(fileExists(list()));
    EXPECT_EQ(readFile(earlier()), kEarlierList);
    EXPECT_TRUE(fMessages.contains("is not this job's result (this match found no barcode data file)"));
}

TEST_F(MatchResultFileTest, AReadOnlyFolderFailsTheMatchAndEmptiesTheEarlierList) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders; the normal user's run covers this";
    writeShoot();
    fFolder.write(kMatchedListFileName, kEarlierList);
    ASSERT_EQ(chmod(fFolder.path().c_str(), 0555), 0);
    eMatchOutcome outcome = match();
    chmod(fFolder.path().c_str(), 0755);
    EXPECT_EQ(outcome, eMatchOutcome_Failed);
    EXPECT_TRUE(
        fMessages.contains("Unable to create the matched list file [" + list() + ".part]: Permission denied"))
        << fMessages.text();
    EXPECT_EQ(readFile(list()), "");
}
