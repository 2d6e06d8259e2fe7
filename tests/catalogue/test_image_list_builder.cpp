// BarcodeImageList.txt built from real photo files.
#include "ImageListBuilder.h"
#include "PhotoFixtures.h"

#include "CaseName.h"
#include "FileContent.h"
#include "RecordingMessageSink.h"
#include "RecordingStatusDisplay.h"
#include "TemporaryFolder.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <ctime>

using namespace testsupport;

namespace {

const char kTitle[] = "OriginalName\tCreationDate\tCreationTime";

std::vector<std::string> buildList(const TemporaryFolder& folder, StatusDisplay* status = nullptr,
                                   const FileDateAccess* fileDates = nullptr, unsigned threads = 0) {
    ImageListBuilder builder(status, fileDates, threads);
    EXPECT_TRUE(builder.veskBuildBarcodeFileList2(folder.path()));
    return readLines(folder.path() + "BarcodeImageList.txt");
}

// The photo records only (the two header lines dropped).
std::vector<std::string> records(const std::vector<std::string>& lines) {
    if (lines.size() < 2)
        return {};
    return std::vector<std::string>(lines.begin() + 2, lines.end());
}

// A file date as the list shows it: birth time, else modification time, in local time.
std::string listedFileDate(const std::string& path) {
    struct statx attributes {};
    EXPECT_EQ(statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME | STATX_MTIME, &attributes), 0);
    std::time_t instant =
        (attributes.stx_mask & STATX_BTIME) ? attributes.stx_btime.tv_sec : attributes.stx_mtime.tv_sec;
    std::tm local{};
    localtime_r(&instant, &local);
    char text[32];
    std::strftime(text, sizeof text, "%m%d%y\t%H%M%S", &local);
    return text;
}

TEST(ImageList, ListsPhotosOldestFirstWhateverTheirNames) {
    TemporaryFolder folder;
    writeJpeg(folder.file("A.JPG"), exifDate("2008:07:25 10:00:05"));
    writeJpeg(folder.file("B.JPG"), exifDate("2008:07:25 09:59:59"));
    writeJpeg(folder.file("C.JPG"), exifDate("2008:07:25 10:00:00"));
    EXPECT_EQ(records(buildList(folder)),
              (std::vector<std::string>{"B.JPG\t072508\t095959", "C.JPG\t072508\t100000",
                                        "A.JPG\t072508\t100005"}));
}

TEST(ImageList, WritesTheHeaderAndTitleRecords) {
    TemporaryFolder folder;
    writeJpeg(folder.file("IMG_1.JPG"), exifDate("2008:07:25 14:03:59"));
    std::time_t before = std::time(nullptr);
    std::vector<std::string> lines = buildList(folder);
    std::time_t after = std::time(nullptr);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], kTitle);
    bool matchesBuildTime = false;
    for (std::time_t t = before; t <= after; ++t)
        matchesBuildTime = matchesBuildTime || lines[0] == formatImageListHeader(t);
    EXPECT_TRUE(matchesBuildTime) << lines[0];
    EXPECT_EQ(lines[2], "IMG_1.JPG\t072508\t140359");
}

TEST(ImageList, HeaderShowsTheLocalBuildDateAndTime) {
    ScopedTimeZone zone("Europe/Berlin");
    // 3 January 2009, 09:05:07 in Berlin.
    EXPECT_EQ(formatImageListHeader(1230969907),
              "CPU=1234\tVers=1.00\tContents=ImageList\tBuildDate=010309\tBuildTime=090507\t"
              "HasTitleRecord=True");
}

TEST(ImageList, APhotoInASubfolderIsListedWithItsRelativePath) {
    TemporaryFolder folder;
    writeJpeg(folder.file("Class 3B/Row 2/IMG_0007.JPG"), exifDate("2008:07:25 14:03:59"));
    writeJpeg(folder.file("IMG_0001.JPG"), exifDate("2008:07:25 14:00:00"));
    EXPECT_EQ(records(buildList(folder)),
              (std::vector<std::string>{"IMG_0001.JPG\t072508\t140000",
                                        "Class 3B/Row 2/IMG_0007.JPG\t072508\t140359"}));
}

TEST(ImageList, TheCameraTimeIsListedAsRecordedInBothSeasons) {
    const char* zones[] = {"Europe/Berlin", "America/Los_Angeles", "PST8PDT,M3.2.0,M11.1.0"};
    for (const char* zoneName : zones) {
        ScopedTimeZone zone(zoneName);
        TemporaryFolder folder;
        writeJpeg(folder.file("summer.jpg"), exifDate("2008:07:25 14:03:59"));
        writeJpeg(folder.file("winter.jpg"), exifDate("2008:01:25 14:03:59"));
        EXPECT_EQ(records(buildList(folder)),
                  (std::vector<std::string>{"winter.jpg\t012508\t140359", "summer.jpg\t072508\t140359"}))
            << zoneName;
    }
}

TEST(ImageList, APhotoWithoutCameraDateTakesItsFileDate) {
    ScopedTimeZone zone("Europe/Berlin");
    TemporaryFolder folder;
    const std::string path = folder.file("no_exif.jpg");
    writeJpeg(path);
    EXPECT_EQ(records(buildList(folder)), (std::vector<std::string>{"no_exif.jpg\t" + listedFileDate(path)}));
}

struct UnusableDateCase {
    const char* name;
    std::string text;
};

const UnusableDateCase kUnusableDates[] = {
    {"zero_date", std::string("0000:00:00 00:00:00") + '\0'},
    {"blank", std::string("    :  :     :  :  ") + '\0'},
    {"hour_24", std::string("2008:07:25 24:00:00") + '\0'},
    {"partial", std::string("2008:07:25") + '\0'},
};

void PrintTo(const UnusableDateCase& c, std::ostream* out) {
    *out << c.name;
}

class UnusableCameraDates : public ::testing::TestWithParam<UnusableDateCase> {};

TEST_P(UnusableCameraDates, FallBackToTheFileDate) {
    TemporaryFolder folder;
    const std::string path = folder.file("IMG_1.JPG");
    ExifFields fields;
    fields.dateTimeOriginal = GetParam().text;
    writeJpeg(path, fields);
    EXPECT_EQ(records(buildList(folder)), (std::vector<std::string>{"IMG_1.JPG\t" + listedFileDate(path)}));
}

INSTANTIATE_TEST_SUITE_P(Cases, UnusableCameraDates, ::testing::ValuesIn(kUnusableDates),
                         testsupport::CaseName());

TEST(ImageList, ADateWithTrailingNulsIsRead) {
    TemporaryFolder folder;
    ExifFields fields;
    fields.dateTimeOriginal = std::string("2008:07:25 14:03:59") + std::string(8, '\0');
    writeJpeg(folder.file("IMG_1.JPG"), fields);
    EXPECT_EQ(records(buildList(folder)), (std::vector<std::string>{"IMG_1.JPG\t072508\t140359"}));
}

TEST(ImageList, ABurstWithinOneSecondKeepsTheCamerasOrder) {
    TemporaryFolder folder;
    writeJpeg(folder.file("C.JPG"), exifDate("2008:07:25 10:00:00", "05"));
    writeJpeg(folder.file("A.JPG"), exifDate("2008:07:25 10:00:00", "60"));
    writeJpeg(folder.file("B.JPG"), exifDate("2008:07:25 10:00:00", "3"));
    writeJpeg(folder.file("E.JPG"), exifDate("2008:07:25 10:00:01"));
    writeJpeg(folder.file("D.JPG"), exifDate("2008:07:25 10:00:01"));
    EXPECT_EQ(
        records(buildList(folder)),
        (std::vector<std::string>{"C.JPG\t072508\t100000", "B.JPG\t072508\t100000", "A.JPG\t072508\t100000",
                                  "D.JPG\t072508\t100001", "E.JPG\t072508\t100001"}));
}

// A photo whose dates cannot be read at all (as when it vanishes during the build).
class NoFileDates : public FileDateAccess {
  public:
    std::optional<FileDates> readFileDates(const std::string&) const override { return std::nullopt; }
    bool setCreationDate(const std::string&, std::time_t) const override { return false; }
};

TEST(ImageList, APhotoWithoutAnyDateIsWrittenWithZerosAndComesLast) {
    RecordingMessageSink sink;
    TemporaryFolder folder;
    writeJpeg(folder.file("A_undated.jpg"));
    writeJpeg(folder.file("Z_dated.jpg"), exifDate("2030:12:31 23:59:59"));
    writeJpeg(folder.file("M_dated.jpg"), exifDate("2008:07:25 14:03:59"));
    NoFileDates noDates;
    EXPECT_EQ(records(buildList(folder, nullptr, &noDates)),
              (std::vector<std::string>{"M_dated.jpg\t072508\t140359", "Z_dated.jpg\t123130\t235959",
                                        "A_undated.jpg\t000000\t000000"}));
    EXPECT_TRUE(sink.contains("ERRORRRRRRRR - Unable to get photo's creation date!!!!!!")) << sink.text();
    EXPECT_TRUE(sink.contains("A_undated.jpg")) << sink.text();
}

TEST(ImageList, AFolderOfTextFilesGivesTheTwoHeaderLinesOnly) {
    TemporaryFolder folder;
    ASSERT_TRUE(writeFile(folder.file("notes.txt"), "Class photos, Tuesday\n"));
    ASSERT_TRUE(writeFile(
        folder.file("BarcodeImageList.txt"),
        "CPU=1234\tVers=1.00\tContents=ImageList\tBuildDate=010101\tBuildTime=000000\t"
        "HasTitleRecord=True\nOriginalName\tCreationDate\tCreationTime\nold.jpg\t010101\t000000\n"));
    ASSERT_TRUE(writeFile(folder.file("BarcodeDataSource.txt"), "CPU=1234\n"));
    std::vector<std::string> lines = buildList(folder);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].compare(0, 38, "CPU=1234\tVers=1.00\tContents=ImageList\t"), 0);
    EXPECT_EQ(lines[1], kTitle);
}

TEST(ImageList, DamagedAndFakePhotosNeitherCrashNorCount) {
    RecordingMessageSink sink;
    TemporaryFolder folder;
    writeJpeg(folder.file("good.jpg"), exifDate("2008:07:25 14:03:59"));
    std::string good = readFile(folder.path() + "good.jpg");
    ASSERT_TRUE(writeFile(folder.file("cut_in_header.jpg"), good.substr(0, 60)));
    ASSERT_TRUE(writeFile(folder.file("garbage_after_start.jpg"),
                          std::string("\xFF\xD8\xFF\xE1\x7F\xFF", 6) + std::string(500, '\x55')));
    ASSERT_TRUE(writeFile(folder.file("text_named.jpg"), "This is not a photo at all.\n"));
    ASSERT_TRUE(writeFile(folder.file("empty.jpg"), ""));
    ASSERT_TRUE(writeFile(folder.file("IMG_1.xmp"), "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>"
                                                    "<x:xmpmeta xmlns:x='adobe:ns:meta/'></x:xmpmeta>"
                                                    "<?xpacket end='w'?>"));
    EXPECT_EQ(records(buildList(folder)), (std::vector<std::string>{"good.jpg\t072508\t140359"}));
    EXPECT_TRUE(sink.contains("cut_in_header.jpg")) << sink.text();
    EXPECT_TRUE(sink.contains("garbage_after_start.jpg")) << sink.text();
    EXPECT_FALSE(sink.contains("text_named.jpg")) << sink.text();
}

TEST(ImageList, APhotoCutShortInItsImageDataStillCounts) {
    TemporaryFolder folder;
    writeJpeg(folder.file("whole.jpg"), exifDate("2008:07:25 14:03:59"));
    std::string whole = readFile(folder.path() + "whole.jpg");
    ASSERT_TRUE(writeFile(folder.file("cut.jpg"), whole.substr(0, whole.size() - 4)));
    EXPECT_EQ(records(buildList(folder)),
              (std::vector<std::string>{"cut.jpg\t072508\t140359", "whole.jpg\t072508\t140359"}));
}

TEST(ImageList, TiffAndDngPhotosCountByTheirContent) {
    TemporaryFolder folder;
    writeTiff(folder.file("scan.tif"), exifDate("2008:07:25 14:00:01"));
    writeTiff(folder.file("IMG_2.DNG"), exifDate("2008:07:25 14:00:02"), true);
    writeJpeg(folder.file("renamed.png"), exifDate("2008:07:25 14:00:03"));
    writeTiff(folder.file("no_extension"), exifDate("2008:07:25 14:00:04"));
    EXPECT_EQ(records(buildList(folder)),
              (std::vector<std::string>{"scan.tif\t072508\t140001", "IMG_2.DNG\t072508\t140002",
                                        "renamed.png\t072508\t140003", "no_extension\t072508\t140004"}));
}

TEST(ImageList, HeifStructuredPhotosAreRead) {
    TemporaryFolder folder;
    writeHeifWithExif(folder.file("IMG_0001.HEIC"), exifDate("2008:07:25 14:03:59"));
    writeHeifWithExif(folder.file("IMG_0002.HEIF"), exifDate("2008:07:25 14:04:10"));
    EXPECT_EQ(records(buildList(folder)),
              (std::vector<std::string>{"IMG_0001.HEIC\t072508\t140359", "IMG_0002.HEIF\t072508\t140410"}));
}

TEST(ImageList, ANameMacOsRomanCannotCarryIsEscapedAndReported) {
    RecordingMessageSink sink;
    TemporaryFolder folder;
    writeJpeg(folder.file("\xC5\x81\xC3\xB3"
                          "d\xC5\xBA.jpg"),
              exifDate("2008:07:25 14:03:59"));
    writeJpeg(folder.file("Caf\xC3\xA9.jpg"), exifDate("2008:07:25 14:04:00"));
    EXPECT_EQ(records(buildList(folder)), (std::vector<std::string>{"%C5%81\x97"
                                                                    "d%C5%BA.jpg\t072508\t140359",
                                                                    "Caf\x8E.jpg\t072508\t140400"}));
    EXPECT_TRUE(sink.contains("%C5%81\x97"
                              "d%C5%BA.jpg"))
        << sink.text();
    EXPECT_TRUE(sink.contains("Mac OS Roman cannot carry")) << sink.text();
    EXPECT_FALSE(sink.contains("Caf\x8E.jpg\":")) << sink.text();
}

TEST(ImageList, TwoFilesWhoseNamesEscapeAlikeAreListedApart) {
    RecordingMessageSink sink;
    TemporaryFolder folder;
    writeJpeg(folder.file("new\nline.jpg"), exifDate("2008:07:25 14:03:59"));
    writeJpeg(folder.file("new%0Aline.jpg"), exifDate("2008:07:25 14:04:00"));
    EXPECT_EQ(records(buildList(folder)), (std::vector<std::string>{"new%0Aline.jpg\t072508\t140359",
                                                                    "new%250Aline.jpg\t072508\t140400"}));
    EXPECT_TRUE(sink.contains("new%250Aline.jpg\": its name has \"%\" followed by two hexadecimal digits"))
        << sink.text();
}

TEST(ImageList, LoopingDanglingAndFolderLinksAreNamedAndCounted) {
    RecordingMessageSink sink;
    TemporaryFolder folder;
    writeJpeg(folder.file("Day 1/IMG_1.JPG"), exifDate("2008:07:25 14:03:59"));
    ASSERT_EQ(symlink("loop_b.jpg", (folder.path() + "loop_a.jpg").c_str()), 0);
    ASSERT_EQ(symlink("loop_a.jpg", (folder.path() + "loop_b.jpg").c_str()), 0);
    ASSERT_EQ(symlink("Day 1/deleted.jpg", (folder.path() + "dangling.jpg").c_str()), 0);
    ASSERT_EQ(symlink("Day 1", (folder.path() + "Day 1 again").c_str()), 0);
    ImageListBuilder builder;
    ASSERT_TRUE(builder.veskBuildBarcodeFileList2(folder.path()));
    EXPECT_EQ(records(readLines(folder.path() + "BarcodeImageList.txt")),
              (std::vector<std::string>{"Day 1/IMG_1.JPG\t072508\t140359"}));
    EXPECT_EQ(builder.summary().loopingLinks, 2u);
    EXPECT_EQ(builder.summary().danglingLinks, 1u);
    EXPECT_EQ(builder.summary().linkedFolders, 1u);
    EXPECT_TRUE(sink.contains("The link \"loop_a.jpg\" leads round in a circle")) << sink.text();
    EXPECT_TRUE(sink.contains("The link \"loop_b.jpg\" leads round in a circle")) << sink.text();
    EXPECT_TRUE(sink.contains("The link \"dangling.jpg\" leads to a file that is not there")) << sink.text();
    EXPECT_TRUE(sink.contains("The link \"Day 1 again\" leads to a folder")) << sink.text();
}

TEST(ImageList, PipesAndLinksToThemNeitherHangNorCount) {
    TemporaryFolder folder;
    writeJpeg(folder.file("IMG_1.JPG"), exifDate("2008:07:25 14:03:59"));
    ASSERT_EQ(mkfifo((folder.path() + "camera.pipe").c_str(), 0600), 0);
    ASSERT_EQ(symlink("camera.pipe", (folder.path() + "pipe.jpg").c_str()), 0);
    ImageListBuilder builder;
    ASSERT_TRUE(builder.veskBuildBarcodeFileList2(folder.path()));
    EXPECT_EQ(records(readLines(folder.path() + "BarcodeImageList.txt")),
              (std::vector<std::string>{"IMG_1.JPG\t072508\t140359"}));
    EXPECT_EQ(builder.summary().otherEntries, 2u);
}

ExifFields bodyFields(const std::string& date, const char* make, const char* model, const char* serial) {
    ExifFields fields = exifDate(date);
    if (make)
        fields.make = make;
    if (model)
        fields.model = model;
    if (serial)
        fields.bodySerialNumber = serial;
    return fields;
}

TEST(ImageCameras, NamesEachPhotosBodyUnderItsListedName) {
    TemporaryFolder folder;
    writeJpeg(folder.file("A.JPG"),
              bodyFields("2008:07:25 14:00:01", "Canon", "Canon EOS R5", "032021001234"));
    writeJpeg(folder.file("\xC5\x81\xC3\xB3"
                          "d\xC5\xBA.jpg"),
              bodyFields("2008:07:25 14:00:02", "NIKON CORPORATION", "NIKON Z 6", nullptr));
    writeJpeg(folder.file("no_body.jpg"), exifDate("2008:07:25 14:00:03"));
    writeJpeg(folder.file("Day 2/tabbed.jpg"),
              bodyFields("2008:07:25 14:00:04", " Canon\t", "EOS\nR6 ", "77"));
    std::vector<std::string> list = records(buildList(folder));
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(readLines(folder.path() + "BarcodeImageCameras.txt"),
              (std::vector<std::string>{"CPU=1234\tVers=1.00\tContents=ImageCameras",
                                        "A.JPG\tCanon Canon EOS R5 032021001234",
                                        "%C5%81\x97"
                                        "d%C5%BA.jpg\tNIKON CORPORATION NIKON Z 6",
                                        "Day 2/tabbed.jpg\tCanon EOS R6 77"}));
    // The names are exactly the list's.
    EXPECT_EQ(list[1].substr(0, list[1].find('\t')), "%C5%81\x97"
                                                     "d%C5%BA.jpg");
    struct stat attributes {};
    EXPECT_NE(stat((folder.path() + ".BarcodeImageCameras.txt.partial").c_str(), &attributes), 0);
}

TEST(ImageCameras, AFolderWithoutBodiesHasTheHeaderOnlyAndAFailedListLeavesNone) {
    TemporaryFolder folder;
    writeJpeg(folder.file("IMG_1.JPG"), exifDate("2008:07:25 14:03:59"));
    buildList(folder);
    EXPECT_EQ(readLines(folder.path() + "BarcodeImageCameras.txt"),
              (std::vector<std::string>{"CPU=1234\tVers=1.00\tContents=ImageCameras"}));
    ASSERT_EQ(unlink((folder.path() + "BarcodeImageList.txt").c_str()), 0);
    folder.write("BarcodeImageList.txt/occupied", "a folder where the list should go");
    RecordingMessageSink sink;
    ImageListBuilder builder;
    EXPECT_FALSE(builder.veskBuildBarcodeFileList2(folder.path()));
    struct stat attributes {};
    EXPECT_NE(stat((folder.path() + "BarcodeImageCameras.txt").c_str(), &attributes), 0);
}

TEST(ImageList, ALinkBackUpTheTreeDoesNotMakeTheWalkEndless) {
    TemporaryFolder folder;
    writeJpeg(folder.file("Day 1/IMG_1.JPG"), exifDate("2008:07:25 14:03:59"));
    ASSERT_EQ(symlink("..", (folder.path() + "Day 1/up").c_str()), 0);
    ASSERT_EQ(symlink("Day 1/IMG_1.JPG", (folder.path() + "linked.jpg").c_str()), 0);
    EXPECT_EQ(records(buildList(folder)),
              (std::vector<std::string>{"Day 1/IMG_1.JPG\t072508\t140359", "linked.jpg\t072508\t140359"}));
}

TEST(ImageList, FilesAndFoldersThatCannotBeReadAreReported) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
    RecordingMessageSink sink;
    TemporaryFolder folder;
    writeJpeg(folder.file("locked.jpg"), exifDate("2008:07:25 14:03:59"));
    writeJpeg(folder.file("Locked folder/IMG_1.JPG"), exifDate("2008:07:25 14:03:59"));
    writeJpeg(folder.file("open.jpg"), exifDate("2008:07:25 14:04:00"));
    chmod((folder.path() + "locked.jpg").c_str(), 0);
    chmod((folder.path() + "Locked folder").c_str(), 0);
    ImageListBuilder builder;
    EXPECT_TRUE(builder.veskBuildBarcodeFileList2(folder.path()));
    chmod((folder.path() + "Locked folder").c_str(), 0755);
    EXPECT_EQ(records(readLines(folder.path() + "BarcodeImageList.txt")),
              (std::vector<std::string>{"open.jpg\t072508\t140400"}));
    EXPECT_TRUE(sink.contains("locked.jpg")) << sink.text();
    EXPECT_TRUE(sink.contains("Locked folder")) << sink.text();
    EXPECT_EQ(builder.summary().unreadableFolders, 1u);
    EXPECT_EQ(builder.summary().unopenableFiles, 1u);
}

TEST(ImageList, ReplacesAnOlderListAndLeavesNoTemporaryFile) {
    TemporaryFolder folder;
    ASSERT_TRUE(writeFile(folder.file("BarcodeImageList.txt"), std::string(10000, 'x')));
    writeJpeg(folder.file("IMG_1.JPG"), exifDate("2008:07:25 14:03:59"));
    EXPECT_EQ(records(buildList(folder)), (std::vector<std::string>{"IMG_1.JPG\t072508\t140359"}));
    struct stat attributes {};
    EXPECT_NE(stat((folder.path() + ".BarcodeImageList.txt.partial").c_str(), &attributes), 0);
}

TEST(ImageList, AListThatCannotBePutInPlaceIsReportedAndLeavesNoPartialFile) {
    RecordingMessageSink sink;
    TemporaryFolder folder;
    writeJpeg(folder.file("IMG_1.JPG"), exifDate("2008:07:25 14:03:59"));
    ASSERT_TRUE(writeFile(folder.file("BarcodeImageList.txt/occupied"), "a folder where the list should go"));
    ImageListBuilder builder;
    EXPECT_FALSE(builder.veskBuildBarcodeFileList2(folder.path()));
    EXPECT_TRUE(sink.contains("PROBLEM with writing")) << sink.text();
    struct stat attributes {};
    EXPECT_NE(stat((folder.path() + ".BarcodeImageList.txt.partial").c_str(), &attributes), 0);
}

TEST(ImageList, AFolderThatIsNotThereIsReportedAndWritesNothing) {
    RecordingMessageSink sink;
    ImageListBuilder builder;
    EXPECT_FALSE(builder.veskBuildBarcodeFileList2("/nonexistent/vesk-folder/"));
    EXPECT_TRUE(sink.contains("veskBuildBarcodeFileList2 => PROBLEM with creating outputFile"))
        << sink.text();
    EXPECT_TRUE(sink.contains("/nonexistent/vesk-folder/BarcodeImageList.txt")) << sink.text();
    EXPECT_FALSE(builder.veskBuildBarcodeFileList2(""));
}

TEST(ImageList, ShowsProgressInTheStatusLine) {
    TemporaryFolder folder;
    writeJpeg(folder.file("IMG_1.JPG"), exifDate("2008:07:25 14:03:59"));
    RecordingStatusDisplay status;
    buildList(folder, &status);
    std::vector<std::string> texts = status.texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Validating File: IMG_1.JPG");
    EXPECT_EQ(texts[1], "Sorting the Image File List...");
}

TEST(ImageList, ParallelReadersGiveTheSameListAsOne) {
    TemporaryFolder folder;
    for (int i = 0; i < 240; ++i) {
        char name[32], date[32];
        snprintf(name, sizeof name, "Roll %d/IMG_%04d.JPG", i % 3, i);
        snprintf(date, sizeof date, "2008:07:25 %02d:%02d:%02d", 10 + (i * 7919) % 5, (i * 31) % 60, i % 60);
        if (i % 17 == 0)
            writeJpeg(folder.file(name));
        else
            writeJpeg(folder.file(name), exifDate(date, std::to_string(i % 4)));
    }
    std::vector<std::string> one = records(buildList(folder, nullptr, nullptr, 1));
    std::vector<std::string> four = records(buildList(folder, nullptr, nullptr, 4));
    EXPECT_EQ(one.size(), 240u);
    EXPECT_EQ(one, four);
}

} // namespace
