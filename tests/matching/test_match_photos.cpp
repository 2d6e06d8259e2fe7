// Matching photos to scans through the two list files: alignment on each list's last dated
// record, the skew's strict comparison, repeated scans, header and short lines, undated records.
#include "MatchPhotos.h"

#include "ListFiles.h"
#include "MessageLog.h"
#include "Preferences.h"

#include "CaseName.h"
#include "FileContent.h"
#include "RecordingMessageSink.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cmath>

#include <map>
#include <string>
#include <vector>

using namespace listfiles;
using namespace testsupport;

namespace {

// Scans A, B, C five minutes apart; photos at 09:59:58, 10:02:00, 10:07:00 and 10:10:00.
const std::vector<std::string> kScansABC = {"A\t121026\t100000", "B\t121026\t100500", "C\t121026\t101000"};
const std::vector<std::string> kPhotosABC = {"p1\t121026\t095958", "p2\t121026\t100200", "p3\t121026\t100700",
                                             "p4\t121026\t101000"};

struct WalkCase {
    const char* name;
    std::vector<std::string> scans;
    std::vector<std::string> photos;
    float skew;
    std::string tree;
};

void PrintTo(const WalkCase& c, std::ostream* out) {
    *out << c.name;
}

class MatchWalkTest : public ::testing::TestWithParam<WalkCase> {};

TEST_P(MatchWalkTest, AssignsEveryPhoto) {
    const WalkCase& c = GetParam();
    TemporaryFolder folder;
    std::unique_ptr<BarcodeList> list =
        MatchPhotos(writeScans(folder, c.scans), writePhotos(folder, c.photos), c.skew);
    EXPECT_EQ(c.tree, describe(list.get()));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, MatchWalkTest,
    ::testing::Values(
        WalkCase{"ThreeScansSkewTwo", kScansABC, kPhotosABC, 2.0f, "A[p1,p2] B[p3] C[p4]"},
        WalkCase{"CameraAnHourAhead",
                 kScansABC,
                 {"p1\t121026\t105958", "p2\t121026\t110200", "p3\t121026\t110700", "p4\t121026\t111000"},
                 2.0f,
                 "A[p1,p2] B[p3] C[p4]"},
        WalkCase{"CameraOnAnotherDay",
                 kScansABC,
                 {"p1\t010109\t235958", "p2\t010209\t000200", "p3\t010209\t000700", "p4\t010209\t001000"},
                 2.0f,
                 "A[p1,p2] B[p3] C[p4]"},
        WalkCase{"OneScan",
                 {"A\t121026\t100000"},
                 {"p1\t121026\t080000", "p2\t121026\t090000", "p3\t121026\t100000"},
                 2.0f,
                 "A[p1,p2,p3]"},
        WalkCase{"PhotoPlusSkewEqualToTheNextScanStays",
                 kScansABC,
                 {"p1\t121026\t100458", "p2\t121026\t101000"},
                 2.0f,
                 "A[p1] B[] C[p2]"},
        WalkCase{"PhotoPlusSkewJustPastTheNextScanMoves",
                 kScansABC,
                 {"p1\t121026\t100459", "p2\t121026\t101000"},
                 2.0f,
                 "A[] B[p1] C[p2]"},
        WalkCase{"RepeatedScanCountsOnceAtItsFirstTime",
                 {"A\t121026\t100000", "A\t121026\t100400", "B\t121026\t100500"},
                 {"p1\t121026\t100100", "p2\t121026\t100500"},
                 2.0f,
                 "A[p1] B[p2]"},
        WalkCase{"RepeatedScanAtTheEndKeepsFirstAndLast",
                 {"A\t121026\t100000", "B\t121026\t100500", "B\t121026\t100600", "B\t121026\t101000"},
                 {"p1\t121026\t100100", "p2\t121026\t100600", "p3\t121026\t101000"},
                 2.0f,
                 "A[p1] B[p2] B[p3]"},
        WalkCase{"SameBarcodeAgainAfterAnother",
                 {"A\t121026\t100000", "B\t121026\t100500", "A\t121026\t101000"},
                 {"p1\t121026\t100100", "p2\t121026\t100600", "p3\t121026\t101000"},
                 2.0f,
                 "A[p1] B[p2] A[p3]"},
        WalkCase{"HeaderEmptyAndShortLinesSkipped",
                 {"A\t121026\t100000", "", "CPU=1234\tVers=1.01", "B\t121026\t100500",
                  "Scanned BarCode ID\tDate Scanned", "12345", "1\t2", "C\t121026\t101000", ""},
                 kPhotosABC,
                 2.0f,
                 "A[p1,p2] B[p3] C[p4]"},
        WalkCase{"ShortPhotoLinesSkipped",
                 kScansABC,
                 {"p1\t121026\t095958", "", "short", "p2\t121026\t100200", "p3\t121026\t100700",
                  "p4\t121026\t101000"},
                 2.0f,
                 "A[p1,p2] B[p3] C[p4]"},
        WalkCase{"ScansWithoutPhotosBetweenTwoPhotosGetEmptyNodes",
                 {"A\t121026\t100000", "B\t121026\t100100", "C\t121026\t100200", "D\t121026\t101000"},
                 {"p1\t121026\t100030", "p2\t121026\t101000"},
                 2.0f,
                 "A[p1] B[] C[] D[p2]"},
        WalkCase{"SkewZeroLeavesTheLastScanWithoutNode", kScansABC, kPhotosABC, 0.0f, "A[p1,p2] B[p3,p4]"},
        WalkCase{"CommaDelimitedScans",
                 {"A,121026,100000", "B,121026,100500", "C,121026,101000"},
                 kPhotosABC,
                 2.0f,
                 "A[p1,p2] B[p3] C[p4]"},
        WalkCase{"OutOfOrderPhotoStaysWithTheCurrentScan",
                 kScansABC,
                 {"p1\t121026\t100700", "p2\t121026\t095000", "p3\t121026\t101000"},
                 2.0f,
                 "A[] B[p1,p2] C[p3]"},
        WalkCase{"UndatedPhotoStaysWithThePhotoBeforeIt",
                 kScansABC,
                 {"p1\t121026\t095958", "p2\t121026\t100200", "pX\t000000\t000000", "p3\t121026\t100700",
                  "p4\t121026\t101000"},
                 2.0f,
                 "A[p1,p2,pX] B[p3] C[p4]"},
        WalkCase{"UndatedLastPhotoIsNotTheReference",
                 kScansABC,
                 {"p1\t121026\t095958", "p2\t121026\t100200", "p3\t121026\t100700", "p4\t121026\t101000",
                  "pX\t000000\t000000"},
                 2.0f,
                 "A[p1,p2] B[p3] C[p4,pX]"},
        WalkCase{"UndatedFirstPhotoGoesToTheFirstScan",
                 kScansABC,
                 {"pX\t000000\t000000", "p1\t121026\t095958", "p2\t121026\t100200", "p3\t121026\t100700",
                  "p4\t121026\t101000"},
                 2.0f,
                 "A[pX,p1,p2] B[p3] C[p4]"},
        WalkCase{"UndatedScanDoesNotHoldTheWalkBack",
                 {"A\t121026\t100000", "X\tmmddyy\thhmmss", "B\t121026\t100500", "C\t121026\t101000"},
                 kPhotosABC,
                 2.0f,
                 "A[p1,p2] X[] B[p3] C[p4]"},
        WalkCase{"UndatedFirstScan",
                 {"X\tmmddyy\thhmmss", "A\t121026\t100000", "B\t121026\t100500", "C\t121026\t101000"},
                 kPhotosABC,
                 2.0f,
                 "X[] A[p1,p2] B[p3] C[p4]"},
        WalkCase{"UndatedLastScanIsNotTheReference",
                 {"A\t121026\t100000", "B\t121026\t100500", "C\t121026\t101000", "X\tmmddyy\thhmmss"},
                 kPhotosABC,
                 2.0f,
                 "A[p1,p2] B[p3] C[p4]"},
        WalkCase{"ScanLineWithoutDelimiterIsAnUndatedScan",
                 {"A\t121026\t100000", "B\t121026\t100500", "garbage-line", "C\t121026\t101000"},
                 kPhotosABC,
                 2.0f,
                 "A[p1,p2] B[p3] [] C[p4]"}),
    testsupport::CaseName());

struct NoResultCase {
    const char* name;
    std::vector<std::string> scans;
    std::vector<std::string> photos;
    std::string message;
};

void PrintTo(const NoResultCase& c, std::ostream* out) {
    *out << c.name;
}

class MatchNoResultTest : public ::testing::TestWithParam<NoResultCase> {};

TEST_P(MatchNoResultTest, GivesNoTreeAndSaysWhy) {
    const NoResultCase& c = GetParam();
    TemporaryFolder folder;
    RecordingMessageSink sink;
    std::string scans = writeScans(folder, c.scans);
    std::string photos = writePhotos(folder, c.photos);
    std::unique_ptr<BarcodeList> list = MatchPhotos(scans, photos, 2.0f);
    EXPECT_EQ(nullptr, list);
    EXPECT_NE(std::string::npos, sink.text().find(c.message)) << sink.text();
}

INSTANTIATE_TEST_SUITE_P(
    Failures, MatchNoResultTest,
    ::testing::Values(
        NoResultCase{
            "PhotoListOfHeadersOnly", kScansABC, {}, "NOT Enough records in the the Photo List file:\r"},
        NoResultCase{
            "DataFileOfHeadersOnly", {}, kPhotosABC, "NOT Enough records in the the Source Barcode file:\r"},
        NoResultCase{"OnlyShortScanLines",
                     {"12345", "", "1"},
                     kPhotosABC,
                     "NOT Enough records in the the Source Barcode file:\r"},
        NoResultCase{"NoScanHasATime",
                     {"A\tmmddyy\thhmmss", "B\tmmddyy\thhmmss"},
                     kPhotosABC,
                     "No scan of the barcode data file has a valid date and time"},
        NoResultCase{"NoPhotoHasATime",
                     kScansABC,
                     {"p1\t000000\t000000", "p2\t000000\t000000"},
                     "No photo of the photo list has a valid date and time"}),
    testsupport::CaseName());

TEST(MatchPhotos, MissingFilesGiveNoTreeAndNameTheFile) {
    TemporaryFolder folder;
    RecordingMessageSink sink;
    std::string photos = writePhotos(folder, kPhotosABC);
    std::unique_ptr<BarcodeList> noScans = MatchPhotos(folder.path() + "missing.txt", photos, 2.0f);
    std::string scans = writeScans(folder, kScansABC);
    std::unique_ptr<BarcodeList> noPhotos = MatchPhotos(scans, folder.path() + "gone.txt", 2.0f);
    EXPECT_EQ(nullptr, noScans);
    EXPECT_EQ(nullptr, noPhotos);
    EXPECT_NE(std::string::npos,
              sink.text().find("Unable to open the barcode data file [" + folder.path() + "missing.txt]"));
    EXPECT_NE(std::string::npos,
              sink.text().find("Unable to open the photo list [" + folder.path() + "gone.txt]"));
}

TEST(MatchPhotos, PhotoNamesAreDecodedFromMacRomanAndScanBytesAreKept) {
    TemporaryFolder folder;
    // "Café/Zoë.JPG" in Mac OS Roman; a scan text with a byte that is not UTF-8.
    std::string scans = writeScans(folder, {"\xFF"
                                            "12\t121026\t100000",
                                            "B\xC3\xA9\t121026\t101000"});
    std::string photos = writePhotos(folder, {"Caf\x8E/Zo\x91.JPG\t121026\t100100", "p2\t121026\t101000"});
    std::unique_ptr<BarcodeList> list = MatchPhotos(scans, photos, 2.0f);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ("\xFF"
              "12[Caf\xC3\xA9/Zo\xC3\xAB.JPG] B\xC3\xA9[p2]",
              describe(list.get()));
}

TEST(MatchPhotos, ReadsTheSkewFromThePreferences) {
    class SkewStore : public PreferenceStore {
      public:
        std::optional<std::string> value(const std::string& key) override {
            if (key == sPrefs_barcodeMatchSkewSeconds)
                return std::string("2.0");
            return std::nullopt;
        }
        void setValue(const std::string&, const std::string&) override {}
    } store;
    setPreferenceStore(&store);
    TemporaryFolder folder;
    std::unique_ptr<BarcodeList> list =
        MatchPhotos(writeScans(folder, kScansABC), writePhotos(folder, kPhotosABC));
    setPreferenceStore(nullptr);
    EXPECT_EQ("A[p1,p2] B[p3] C[p4]", describe(list.get()));
}

TEST(MatchPhotos, ReportsTheSkewAndTheUndatedRecords) {
    TemporaryFolder folder;
    RecordingMessageSink sink;
    std::unique_ptr<BarcodeList> list =
        MatchPhotos(writeScans(folder, {"A\t121026\t100000", "X\tmmddyy\thhmmss", "C\t121026\t101000"}),
                    writePhotos(folder, {"p1\t000000\t000000", "p2\t121026\t101000"}), 2.5f);
    ASSERT_NE(nullptr, list);
    EXPECT_NE(std::string::npos, sink.text().find("2Using skewValue of 2.50 seconds"));
    EXPECT_NE(std::string::npos, sink.text().find("1 scans have no valid date and time"));
    EXPECT_NE(std::string::npos, sink.text().find("1 photos have no valid date and time"));
}

TEST(MatchPhotos, FortyThousandPhotosAndScansAllMatch) {
    const int kCount = 40000;
    std::vector<std::string> scans;
    std::vector<std::string> photos;
    char line[64];
    for (int i = 0; i < kCount; ++i) {
        // One scan and one photo a minute from 1 December 2026 00:00:00 on.
        const int day = 1 + i / 1440;
        const int hour = (i / 60) % 24;
        const int minute = i % 60;
        snprintf(line, sizeof line, "S%05d\t12%02d26\t%02d%02d00", i, day, hour, minute);
        scans.push_back(line);
        snprintf(line, sizeof line, "P%05d.JPG\t12%02d26\t%02d%02d10", i, day, hour, minute);
        photos.push_back(line);
    }
    TemporaryFolder folder;
    std::unique_ptr<BarcodeList> list =
        MatchPhotos(writeScans(folder, scans), writePhotos(folder, photos), 2.0f);
    ASSERT_NE(nullptr, list);
    ASSERT_EQ(static_cast<size_t>(kCount), list->size());
    for (int i = 0; i < kCount; ++i) {
        const Barcode& node = *(*list)[static_cast<size_t>(i)];
        snprintf(line, sizeof line, "S%05d", i);
        ASSERT_EQ(line, node.barcode());
        ASSERT_EQ(1, node.numberOfChildren());
        snprintf(line, sizeof line, "P%05d.JPG", i);
        ASSERT_EQ(line, node.objectAtIndex(0)->imageName());
    }
}

TEST(MatchPhotos, PhotoListWithoutHeaderLinesLosesNoPhoto) {
    TemporaryFolder folder;
    std::string scans = writeScans(folder, kScansABC);
    std::string photos = folder.write("BarcodeImageList.txt", joinLines(kPhotosABC));
    EXPECT_EQ("A[p1,p2] B[p3] C[p4]", describe(MatchPhotos(scans, photos, 2.0f).get()));
}

TEST(MatchPhotos, SkewThatIsNotANumberGivesNoTree) {
    TemporaryFolder folder;
    RecordingMessageSink sink;
    std::unique_ptr<BarcodeList> list =
        MatchPhotos(writeScans(folder, kScansABC), writePhotos(folder, kPhotosABC), std::nanf(""));
    EXPECT_EQ(nullptr, list);
    EXPECT_NE(std::string::npos, sink.text().find("barcodeMatchSkewSeconds"));
}

TEST(MatchPhotos, LastLineWithoutLineEndIsRead) {
    TemporaryFolder folder;
    std::string scans = folder.write("BarcodeDataSource.txt",
                                     std::string(kDataFileHeader) + "A\t121026\t100000\nB\t121026\t101000");
    std::string photos = folder.write("BarcodeImageList.txt", std::string(kPhotoListHeader) +
                                                                  "p1\t121026\t100100\np2\t121026\t101000");
    EXPECT_EQ("A[p1] B[p2]", describe(MatchPhotos(scans, photos, 2.0f).get()));
}

} // namespace
