// The matched list's exact bytes: four fields, three TABs and one CR per photo, neighbours by
// position including nodes without photos.
#include "MatchedListFile.h"

#include "ListFiles.h"
#include "MatchPhotos.h"

#include "CaseName.h"
#include "FileContent.h"
#include "RecordingMessageSink.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <string>
#include <vector>

using namespace testsupport;

namespace {

struct NodeSpec {
    std::string barcode;
    std::vector<std::string> images;
};

BarcodeList makeList(const std::vector<NodeSpec>& nodes) {
    BarcodeList list;
    for (const NodeSpec& node : nodes) {
        list.push_back(Barcode::barcodeWithValue(node.barcode));
        for (const std::string& name : node.images)
            list.back()->addObject(BarcodeImage::barcodeImageWithValue(name));
    }
    return list;
}

struct FileCase {
    const char* name;
    std::vector<NodeSpec> nodes;
    bool threeIDs;
    std::string bytes;
};

void PrintTo(const FileCase& c, std::ostream* out) {
    *out << c.name;
}

class MatchedListBytesTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(MatchedListBytesTest, WritesExactBytes) {
    const FileCase& c = GetParam();
    TemporaryFolder folder;
    BarcodeList list = makeList(c.nodes);
    const std::string path = folder.path() + kMatchedListFileName;
    EXPECT_TRUE(writeNSArrayToMatchedListFile(path, &list, c.threeIDs));
    EXPECT_EQ(c.bytes, readFile(path));
}

INSTANTIATE_TEST_SUITE_P(
    Files, MatchedListBytesTest,
    ::testing::Values(FileCase{"ThreeIDsWithEmptyNeighbour",
                               {{"A", {"p1", "p2"}}, {"B", {}}, {"C", {"p3"}}},
                               true,
                               "p1\tA\t\tB\rp2\tA\t\tB\rp3\tC\tB\t\r"},
                      FileCase{"TwoIDs",
                               {{"A", {"p1", "p2"}}, {"B", {}}, {"C", {"p3"}}},
                               false,
                               "p1\tA\t\t\rp2\tA\t\t\rp3\tC\t\t\r"},
                      FileCase{"OneNode", {{"A", {"p1", "p2"}}}, true, "p1\tA\t\t\rp2\tA\t\t\r"},
                      FileCase{"MiddleNodeHasBothNeighbours",
                               {{"A", {"p1"}}, {"B", {"p2"}}, {"C", {"p3"}}},
                               true,
                               "p1\tA\t\tB\rp2\tB\tA\tC\rp3\tC\tB\t\r"},
                      FileCase{"NeighbourWithTheSameText",
                               {{"A", {"p1"}}, {"B", {"p2"}}, {"B", {"p3"}}},
                               true,
                               "p1\tA\t\tB\rp2\tB\tA\tB\rp3\tB\tB\t\r"},
                      FileCase{"NodesWithoutPhotosOnly", {{"A", {}}, {"B", {}}}, true, ""},
                      FileCase{"SubfolderAndUtf8Names",
                               {{"4711", {"day 1/Caf\xC3\xA9.JPG"}}, {"4712", {"IMG 2.JPG"}}},
                               true,
                               "day 1/Caf\xC3\xA9.JPG\t4711\t\t4712\rIMG 2.JPG\t4712\t4711\t\r"}),
    testsupport::CaseName());

TEST(MatchedListFile, EmptyOrNoListEmptiesTheFileAndFails) {
    TemporaryFolder folder;
    const std::string path = folder.write(kMatchedListFileName, "old content\r");
    BarcodeList empty;
    EXPECT_FALSE(writeNSArrayToMatchedListFile(path, &empty, true));
    EXPECT_EQ("", readFile(path));
    folder.write(kMatchedListFileName, "old content\r");
    EXPECT_FALSE(writeNSArrayToMatchedListFile(path, nullptr, true));
    EXPECT_EQ("", readFile(path));
}

TEST(MatchedListFile, WritingAgainReplacesTheFirstVersion) {
    TemporaryFolder folder;
    const std::string path = folder.path() + kMatchedListFileName;
    BarcodeList first = makeList({{"A", {"p1", "p2", "p3"}}, {"B", {"p4"}}});
    BarcodeList second = makeList({{"A", {"p1"}}});
    ASSERT_TRUE(writeNSArrayToMatchedListFile(path, &first, true));
    ASSERT_TRUE(writeNSArrayToMatchedListFile(path, &second, true));
    EXPECT_EQ("p1\tA\t\t\r", readFile(path));
}

TEST(MatchedListFile, UncreatableFileFails) {
    BarcodeList list = makeList({{"A", {"p1"}}});
    EXPECT_FALSE(
        writeNSArrayToMatchedListFile("/nonexistent-vesk-folder/BarcodeMatchedList.txt", &list, true));
}

// A limit on the size of files makes every write past it fail (EFBIG), as a full disk does.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &fOld);
        fOldHandler = signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = fOld;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &fOld);
        signal(SIGXFSZ, fOldHandler);
    }

  private:
    struct rlimit fOld;
    sighandler_t fOldHandler;
};

std::vector<std::string> folderEntries(const TemporaryFolder& folder) {
    std::vector<std::string> names;
    DIR* directory = opendir(folder.path().c_str());
    if (!directory)
        return names;
    while (dirent* entry = readdir(directory))
        if (entry->d_name[0] != '.')
            names.push_back(entry->d_name);
    closedir(directory);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(MatchedListFile, AFullDiskFailsAndLeavesNoEarlierListUnderTheName) {
    TemporaryFolder folder;
    const std::string path = folder.write(kMatchedListFileName, "an earlier job's result\r");
    BarcodeList list = makeList({{"A", {"p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8", "p9"}}});
    RecordingMessageSink messages;
    eMatchedListWrite written;
    {
        FileSizeLimit full(40);
        written = writeMatchedListFile(path, &list, true);
    }
    EXPECT_EQ(written, eMatchedListWrite_Failed);
    EXPECT_TRUE(messages.contains("Writing the matched list file [" + path + ".part] failed"))
        << messages.text();
    EXPECT_EQ(folderEntries(folder), std::vector<std::string>{kMatchedListEarlierFileName});
    EXPECT_EQ(readFile(folder.path() + kMatchedListEarlierFileName), "an earlier job's result\r");
    EXPECT_TRUE(
        messages.contains("is not this job's result (the new one could not be written): it is kept as"));
}

TEST(MatchedListFile, AWriteGoesThroughAPartFileThatIsGoneAfterwards) {
    TemporaryFolder folder;
    const std::string path = folder.write(kMatchedListFileName, "an earlier job's result\r");
    BarcodeList list = makeList({{"A", {"p1"}}});
    EXPECT_EQ(writeMatchedListFile(path, &list, true), eMatchedListWrite_Written);
    EXPECT_EQ(folderEntries(folder), std::vector<std::string>{kMatchedListFileName});
    EXPECT_EQ(readFile(path), "p1\tA\t\t\r");
}

TEST(MatchedListFile, AListThatCannotTakeItsPlaceFails) {
    // A folder where the list belongs: no rename puts a file there, not even root's.
    TemporaryFolder folder;
    folder.write(std::string(kMatchedListFileName) + "/inside", "x");
    const std::string path = folder.path() + kMatchedListFileName;
    BarcodeList list = makeList({{"A", {"p1"}}});
    RecordingMessageSink messages;
    EXPECT_EQ(writeMatchedListFile(path, &list, true), eMatchedListWrite_Failed);
    EXPECT_TRUE(messages.contains("The matched list could not be put in place")) << messages.text();
    EXPECT_FALSE(fileExists(path + ".part"));
}

TEST(MatchedListFile, InAReadOnlyFolderAnEarlierListIsEmptied) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders; the normal user's run covers this";
    TemporaryFolder folder;
    const std::string path = folder.write(kMatchedListFileName, "an earlier job's result\r");
    ASSERT_EQ(chmod(folder.path().c_str(), 0555), 0);
    BarcodeList list = makeList({{"A", {"p1"}}});
    RecordingMessageSink messages;
    EXPECT_EQ(writeMatchedListFile(path, &list, true), eMatchedListWrite_Failed);
    chmod(folder.path().c_str(), 0755);
    EXPECT_EQ(readFile(path), "");
    EXPECT_TRUE(messages.contains("allows no renaming (Permission denied): [" + path + "] was emptied"))
        << messages.text();
}

TEST(MatchedListFile, AnEarlierListThatCanBeNeitherMovedNorEmptiedIsNamedAsNotThisJobs) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders; the normal user's run covers this";
    TemporaryFolder folder;
    const std::string path = folder.write(kMatchedListFileName, "an earlier job's result\r");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    ASSERT_EQ(chmod(folder.path().c_str(), 0555), 0);
    RecordingMessageSink messages;
    EXPECT_FALSE(withdrawMatchedList(path, "this match failed"));
    chmod(folder.path().c_str(), 0755);
    EXPECT_TRUE(messages.contains("is NOT this job's result (this match failed)")) << messages.text();
}

TEST(MatchedListFile, EditedTreeIsWrittenInItsNewOrder) {
    TemporaryFolder folder;
    BarcodeList list = makeList({{"A", {"p1", "p2"}}, {"B", {"p3"}}});
    BarcodeImage* moved = list[0]->objectAtIndex(0);
    list[1]->addObject(list[0]->removeObject(moved));
    const std::string path = folder.path() + kMatchedListFileName;
    ASSERT_TRUE(writeNSArrayToMatchedListFile(path, &list, true));
    EXPECT_EQ("p2\tA\t\tB\rp3\tB\tA\t\rp1\tB\tA\t\r", readFile(path));
}

TEST(MatchedListFile, AccentedPhotoNameFromThePhotoListComesOutAsUtf8) {
    TemporaryFolder folder;
    std::string scans = listfiles::writeScans(folder, {"4711\t121026\t100000", "4712\t121026\t101000"});
    // "Élève.JPG" and "Zoë.JPG" in Mac OS Roman, as the photo list carries them.
    std::string photos =
        listfiles::writePhotos(folder, {"\x83l\x8Fve.JPG\t121026\t100100", "Zo\x91.JPG\t121026\t101000"});
    std::unique_ptr<BarcodeList> list = MatchPhotos(scans, photos, 2.0f);
    ASSERT_NE(nullptr, list);
    const std::string path = folder.path() + kMatchedListFileName;
    ASSERT_TRUE(writeNSArrayToMatchedListFile(path, list.get(), true));
    EXPECT_EQ("\xC3\x89l\xC3\xA8ve.JPG\t4711\t\t4712\rZo\xC3\xAB.JPG\t4712\t4711\t\r", readFile(path));
}

} // namespace
