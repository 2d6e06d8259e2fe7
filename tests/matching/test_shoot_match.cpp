// A shoot matched through ShootMatch: the doubt marks and their reasons on small hand-made lists,
// the scans left without photos, the choice of alignment by preference (the last-record walk
// unchanged), matching again with an offset, and "this photo is this subject".
#include "ShootMatch.h"
#include "ShootSimulator.h"

#include "CaseName.h"
#include "FileContent.h"
#include "ListFiles.h"
#include "MatchedListFile.h"
#include "MessageLog.h"
#include "Preferences.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

using namespace listfiles;

namespace {

// One clock for all photos, offset seconds behind the scanner, no drift.
ClockAlignment clockBehind(double offset) {
    BodyClock clock;
    clock.label = "camera";
    clock.offset = offset;
    ClockAlignment alignment;
    alignment.bodies.push_back(clock);
    return alignment;
}

std::unique_ptr<ShootMatch> readShoot(const testsupport::TemporaryFolder& folder,
                                      const std::vector<std::string>& scans,
                                      const std::vector<std::string>& photos) {
    return ShootMatch::read(writeScans(folder, scans), writePhotos(folder, photos));
}

// "name:marks" for every photo with marks, in tree order; marks as letters: B before the first
// scan, N near a scan, P after a long pause, O other alignment, T no capture time, Q just after
// the scan then a pause. ignored marks are left out.
std::string marksOf(const BarcodeList* tree, uint32_t ignored = ePhotoDoubt_None) {
    std::string text;
    for (const auto& node : *tree) {
        for (const auto& image : node->images()) {
            const uint32_t doubts = image->doubts() & ~ignored;
            if (doubts == ePhotoDoubt_None)
                continue;
            std::string letters;
            letters += (doubts & ePhotoDoubt_BeforeFirstScan) ? "B" : "";
            letters += (doubts & ePhotoDoubt_NearScanBoundary) ? "N" : "";
            letters += (doubts & ePhotoDoubt_AfterLongPause) ? "P" : "";
            letters += (doubts & ePhotoDoubt_OtherAlignmentDiffers) ? "O" : "";
            letters += (doubts & ePhotoDoubt_NoCaptureTime) ? "T" : "";
            letters += (doubts & ePhotoDoubt_JustAfterScanThenPause) ? "Q" : "";
            text += (text.empty() ? "" : " ") + image->imageName() + ":" + letters;
        }
    }
    return text;
}

// Six subjects 30 s apart from 10:00:00, each photographed 6 and 8 s after its scan.
std::vector<std::string> sixScans() {
    return {"A\t061526\t100000", "B\t061526\t100030", "C\t061526\t100100",
            "D\t061526\t100130", "E\t061526\t100200", "F\t061526\t100230"};
}

std::vector<std::string> sixSubjectsWith(std::vector<std::string> extra) {
    std::vector<std::string> photos = {"a1\t061526\t100006", "a2\t061526\t100008", "b1\t061526\t100036",
                                       "b2\t061526\t100038", "c1\t061526\t100106", "c2\t061526\t100108",
                                       "d1\t061526\t100136", "d2\t061526\t100138", "e1\t061526\t100206",
                                       "e2\t061526\t100208", "f1\t061526\t100236", "f2\t061526\t100238"};
    photos.insert(photos.end(), extra.begin(), extra.end());
    std::stable_sort(photos.begin(), photos.end(), [](const std::string& a, const std::string& b) {
        return a.substr(a.find('\t')) < b.substr(b.find('\t'));
    });
    return photos;
}

struct DoubtCase {
    const char* name;
    std::vector<std::string> photos;
    std::string marks;
};

void PrintTo(const DoubtCase& c, std::ostream* out) {
    *out << c.name;
}

class DoubtMarkTest : public ::testing::TestWithParam<DoubtCase> {};

// With the clocks set by hand, half a second apart; the marks of the automatic alignment placing
// photos elsewhere have tests of their own.
TEST_P(DoubtMarkTest, MarksWithTheReason) {
    testsupport::TemporaryFolder folder;
    std::unique_ptr<ShootMatch> match = readShoot(folder, sixScans(), GetParam().photos);
    ASSERT_NE(nullptr, match);
    match->matchWith(clockBehind(0.5));
    EXPECT_EQ(GetParam().marks, marksOf(match->tree(), ePhotoDoubt_OtherAlignmentDiffers))
        << describe(match->tree());
}

INSTANTIATE_TEST_SUITE_P(
    HandMade, DoubtMarkTest,
    ::testing::Values(
        DoubtCase{"NothingUnusual", sixSubjectsWith({}), ""},
        DoubtCase{"TestShotsBeforeTheFirstScan",
                  sixSubjectsWith({"t1\t061526\t095500", "t2\t061526\t095510"}), "t1:B t2:B"},
        DoubtCase{"PhotoJustBeforeTheNextScan",
                  sixSubjectsWith({"c3\t061526\t100112", "c4\t061526\t100117", "c5\t061526\t100122",
                                   "c6\t061526\t100126", "c7\t061526\t100129"}),
                  "c7:N"},
        DoubtCase{"PhotoInTheSecondOfItsScan", sixSubjectsWith({"d0\t061526\t100130"}), "d0:N"},
        DoubtCase{"SubjectPhotographedWithoutAScan",
                  sixSubjectsWith({"x1\t061526\t100125", "x2\t061526\t100127"}), "x1:P x2:P"},
        DoubtCase{"TestShotsAfterTheLastSubject",
                  sixSubjectsWith({"t1\t061526\t100700", "t2\t061526\t100705"}), "t1:P t2:P"},
        DoubtCase{"NoCaptureTime", sixSubjectsWith({"u\t000000\t000000"}), "u:T"},
        DoubtCase{"CardScannedBeforeTheLastPhotoOfTheSubjectBefore",
                  // b's last photo 2 s after C's scan, then a long wait for c's photos.
                  {"a1\t061526\t100006", "a2\t061526\t100008", "b1\t061526\t100036", "b2\t061526\t100038",
                   "b3\t061526\t100102", "c1\t061526\t100125", "c2\t061526\t100127", "d1\t061526\t100136",
                   "d2\t061526\t100138", "e1\t061526\t100206", "e2\t061526\t100208", "f1\t061526\t100236",
                   "f2\t061526\t100238"},
                  "b3:Q c1:P c2:P"}),
    testsupport::CaseName());

TEST(ShootMatch, DoubtReasonsInWords) {
    EXPECT_EQ("", describePhotoDoubts(ePhotoDoubt_None));
    EXPECT_EQ("taken before the first scan", describePhotoDoubts(ePhotoDoubt_BeforeFirstScan));
    const std::string both =
        describePhotoDoubts(ePhotoDoubt_AfterLongPause | ePhotoDoubt_OtherAlignmentDiffers);
    EXPECT_NE(std::string::npos, both.find("after a long pause inside its barcode's photos")) << both;
    EXPECT_NE(std::string::npos, both.find("; the other way of lining up the clocks")) << both;
}

TEST(ShootMatch, LastRecordAlignmentMarksWhatTheAutomaticOnePlacesElsewhere) {
    // With a skew of 0 the last photo goes to B and the one before to A; lined up automatically
    // they belong to C and B.
    testsupport::TemporaryFolder folder;
    std::unique_ptr<ShootMatch> match =
        readShoot(folder, {"A\t121026\t100000", "B\t121026\t100500", "C\t121026\t101000"},
                  {"p1\t121026\t100005", "p2\t121026\t100200", "p3\t121026\t100507", "p4\t121026\t101009"});
    ASSERT_NE(nullptr, match);
    ASSERT_TRUE(match->matchLastRecord(0.0f));
    EXPECT_EQ("A[p1,p2,p3] B[p4]", describe(match->tree()));
    EXPECT_EQ(eAlignment_LastRecord, match->estimate().method);
    // p1 also comes before the first scan, p3 after a long pause, p4 in the second of the last scan.
    EXPECT_EQ("p1:B p3:PO p4:NO", marksOf(match->tree()));
    match->matchAutomatically();
    EXPECT_EQ("A[p1,p2] B[p3] C[p4]", describe(match->tree()));
}

TEST(ShootMatch, ScansWithoutPhotosWithAndWithoutANode) {
    // B received nothing between A and C; D was scanned after the last photo.
    testsupport::TemporaryFolder folder;
    std::unique_ptr<ShootMatch> match = readShoot(
        folder, {"A\t061526\t100000", "B\t061526\t100030", "C\t061526\t100100", "D\t061526\t100400"},
        {"a\t061526\t100006", "c\t061526\t100106"});
    ASSERT_NE(nullptr, match);
    match->matchWith(clockBehind(0.5));
    EXPECT_EQ("A[a] B[] C[c]", describe(match->tree()));
    const std::vector<UnmatchedScan>& unmatched = match->scansWithoutPhotos();
    ASSERT_EQ(2u, unmatched.size());
    EXPECT_EQ("B", unmatched[0].barcode);
    EXPECT_EQ(1u, unmatched[0].scanIndex);
    EXPECT_TRUE(unmatched[0].hasNode);
    EXPECT_EQ("D", unmatched[1].barcode);
    EXPECT_FALSE(unmatched[1].hasNode);
    ASSERT_TRUE(unmatched[1].scanTime.has_value());
    const std::string report = match->reportText();
    EXPECT_NE(std::string::npos, report.find("scan without photos\tB\t06/15/26 10:00:30\tempty barcode\n"))
        << report;
    EXPECT_NE(
        std::string::npos,
        report.find(
            "scan without photos\tD\t06/15/26 10:04:00\tafter the last photo, no barcode in the list\n"))
        << report;
}

TEST(ShootMatch, TreeCarriesTimesForTheReview) {
    testsupport::TemporaryFolder folder;
    std::unique_ptr<ShootMatch> match = readShoot(folder, sixScans(), sixSubjectsWith({}));
    ASSERT_NE(nullptr, match);
    match->matchWith(clockBehind(0.5));
    ASSERT_EQ(6u, match->tree()->size());
    const Barcode& b = *(*match->tree())[1];
    EXPECT_EQ(1u, b.scanIndex());
    ASSERT_TRUE(b.scanTime().has_value());
    const BarcodeImage& a1 = *(*match->tree())[0]->images()[0];
    ASSERT_TRUE(a1.captureTime() && a1.alignedTime());
    EXPECT_DOUBLE_EQ(0.5, *a1.alignedTime() - *a1.captureTime());
    EXPECT_DOUBLE_EQ(6.5, *a1.secondsAfterScan());
    EXPECT_EQ(0u, a1.photoIndex());
    // Seconds after the scan follow the photo when it is moved.
    const double after = *a1.secondsAfterScan();
    Barcode& target = *(*match->tree())[5];
    BarcodeImage* leaf = (*match->tree())[0]->images()[0].get();
    target.addObject((*match->tree())[0]->removeObject(leaf));
    EXPECT_DOUBLE_EQ(after - (*target.scanTime() - *(*match->tree())[0]->scanTime()),
                     *leaf->secondsAfterScan());
}

// The preference store of a test: the alignment choice and the skew.
class ChoiceStore : public PreferenceStore {
  public:
    ChoiceStore(const char* lastRecord, const char* skew) : fLastRecord(lastRecord), fSkew(skew) {}
    std::optional<std::string> value(const std::string& key) override {
        if (key == sPrefs_doUseLastBarcodeAsSyncData && fLastRecord)
            return std::string(fLastRecord);
        if (key == sPrefs_barcodeMatchSkewSeconds)
            return std::string(fSkew);
        return std::nullopt;
    }
    void setValue(const std::string&, const std::string&) override {}

  private:
    const char* fLastRecord;
    const char* fSkew;
};

// The last-record walk as the program always did it: each list measured from its last dated
// record, a run of repeated scans counted at its first scan (the final run keeps its last too), a
// photo under the latest scan whose relative time is below the photo's plus the skew.
std::string lastRecordMatchedList(const SimulatedShoot& shoot, double skew) {
    std::vector<SimulatedScan> scans;
    std::string remembered;
    std::optional<SimulatedScan> heldBack;
    for (const SimulatedScan& scan : shoot.scans) {
        if (scan.barcode == remembered) {
            heldBack = scan;
            continue;
        }
        remembered = scan.barcode;
        heldBack.reset();
        scans.push_back(scan);
    }
    if (heldBack)
        scans.push_back(*heldBack);
    const long long scanReference = scans.back().time;
    const long long photoReference = shoot.photos.back().cameraTime;
    std::vector<std::vector<std::string>> nodes(1);
    size_t current = 0;
    for (const SimulatedPhoto& photo : shoot.photos) {
        const double relative = double(photo.cameraTime - photoReference);
        while (current + 1 < scans.size() &&
               relative + skew > double(scans[current + 1].time - scanReference)) {
            ++current;
            nodes.emplace_back();
        }
        nodes.back().push_back(photo.name);
    }
    std::string text;
    for (size_t k = 0; k < nodes.size(); ++k)
        for (const std::string& name : nodes[k])
            text += name + "\t" + scans[k].barcode + "\t" + (k > 0 ? scans[k - 1].barcode : "") + "\t" +
                    (k + 1 < nodes.size() ? scans[k + 1].barcode : "") + "\r";
    return text;
}

struct PreferenceCase {
    const char* name;
    const char* lastRecord;
    eAlignmentMethod method;
};

void PrintTo(const PreferenceCase& c, std::ostream* out) {
    *out << c.name;
}

class AlignmentPreferenceTest : public ::testing::TestWithParam<PreferenceCase> {};

TEST_P(AlignmentPreferenceTest, ChoosesTheAlignment) {
    ChoiceStore store(GetParam().lastRecord, "36");
    setPreferenceStore(&store);
    testsupport::TemporaryFolder folder;
    const SimulatedShoot shoot = ShootSimulator::generate(eShootFamily::MixedDay, 7);
    ASSERT_TRUE(shoot.write(folder.path(), false));
    std::unique_ptr<ShootMatch> match =
        ShootMatch::read(folder.path() + "BarcodeDataSource.txt", folder.path() + "BarcodeImageList.txt");
    ASSERT_NE(nullptr, match);
    ASSERT_TRUE(match->matchWithPreferences());
    setPreferenceStore(nullptr);
    EXPECT_EQ(GetParam().method, match->estimate().method);
    const std::string written = folder.path() + "out.txt";
    ASSERT_TRUE(writeNSArrayToMatchedListFile(written, match->tree(), true));
    const std::string lastRecord = lastRecordMatchedList(shoot, 36.0);
    if (GetParam().method == eAlignment_LastRecord)
        EXPECT_EQ(lastRecord, testsupport::readFile(written));
    else
        EXPECT_NE(lastRecord, testsupport::readFile(written));
}

INSTANTIATE_TEST_SUITE_P(
    Preference, AlignmentPreferenceTest,
    ::testing::Values(PreferenceCase{"LastRecordWhenTrue", "true", eAlignment_LastRecord},
                      PreferenceCase{"AutomaticWhenFalse", "false", eAlignment_Automatic},
                      PreferenceCase{"AutomaticWhenNeverSet", nullptr, eAlignment_Automatic}),
    testsupport::CaseName());

TEST(ShootMatch, LastRecordWalkIsTheOldOneOnEveryFamily) {
    for (const ShootFamilyInfo& info : shootFamilies()) {
        const SimulatedShoot shoot = ShootSimulator::generate(info.family, 11);
        testsupport::TemporaryFolder folder;
        ASSERT_TRUE(shoot.write(folder.path(), false));
        std::unique_ptr<ShootMatch> match =
            ShootMatch::read(folder.path() + "BarcodeDataSource.txt", folder.path() + "BarcodeImageList.txt");
        ASSERT_NE(nullptr, match) << info.name;
        for (float skew : {0.0f, 2.0f, 36.0f, 150.5f}) {
            ASSERT_TRUE(match->matchLastRecord(skew));
            const std::string written = folder.path() + "out.txt";
            ASSERT_TRUE(writeNSArrayToMatchedListFile(written, match->tree(), true));
            EXPECT_EQ(lastRecordMatchedList(shoot, skew), testsupport::readFile(written))
                << info.name << " skew " << skew;
        }
    }
}

TEST(ShootMatch, OffsetControlMatchesAgainWithTheFiguresOfTheOffset) {
    testsupport::TemporaryFolder folder;
    std::unique_ptr<ShootMatch> match = readShoot(folder, sixScans(), sixSubjectsWith({}));
    ASSERT_NE(nullptr, match);
    match->matchAutomatically();
    const ClockAlignment found = match->estimate().alignment;
    EXPECT_EQ(6u, match->fitsOf(found));
    // A whole subject later: every photo under the barcode before its own.
    match->matchWith(found.shifted(30.0));
    EXPECT_EQ(eAlignment_Manual, match->estimate().method);
    EXPECT_EQ("A[] B[a1,a2] C[b1,b2] D[c1,c2] E[d1,d2] F[e1,e2,f1,f2]", describe(match->tree()));
    EXPECT_EQ(0, match->summary().find("clock offset set by hand: ")) << match->summary();
    // Every photo the automatic alignment places elsewhere is marked; F's own photos now come
    // after a long pause inside F.
    EXPECT_EQ("a1:O a2:O b1:O b2:O c1:O c2:O d1:O d2:O e1:O e2:O f1:P f2:P", marksOf(match->tree()));
}

struct PlacingCase {
    const char* name;
    eShootFamily family;
    uint64_t seed;
    // The photo picked (its index in the list) and how many barcodes from its own to move it.
    size_t photo;
    long barcodes;
};

void PrintTo(const PlacingCase& c, std::ostream* out) {
    *out << c.name;
}

class AlignFromPhotoTest : public ::testing::TestWithParam<PlacingCase> {};

TEST_P(AlignFromPhotoTest, PutsThePhotoOnTheChosenBarcode) {
    const PlacingCase& c = GetParam();
    const SimulatedShoot shoot = ShootSimulator::generate(c.family, c.seed);
    testsupport::TemporaryFolder folder;
    ASSERT_TRUE(shoot.write(folder.path(), false));
    std::unique_ptr<ShootMatch> match =
        ShootMatch::read(folder.path() + "BarcodeDataSource.txt", folder.path() + "BarcodeImageList.txt");
    ASSERT_NE(nullptr, match);
    match->matchAutomatically();
    auto scanOf = [&](size_t photo) {
        for (const auto& node : *match->tree())
            for (const auto& image : node->images())
                if (image->photoIndex() == photo)
                    return node->scanIndex();
        return Barcode::npos;
    };
    const size_t own = scanOf(c.photo);
    ASSERT_NE(Barcode::npos, own);
    const size_t target = size_t(long(own) + c.barcodes);
    std::optional<ClockAlignment> placed = match->alignmentPlacing(c.photo, target);
    ASSERT_TRUE(placed.has_value());
    match->matchWith(*placed);
    EXPECT_EQ(target, scanOf(c.photo)) << match->summary();
    EXPECT_EQ(eAlignment_Manual, match->estimate().method);
    // Back on its own barcode: the offset found puts every photo where the automatic one did.
    std::optional<ClockAlignment> back = match->alignmentPlacing(c.photo, own);
    ASSERT_TRUE(back.has_value());
    match->matchWith(*back);
    EXPECT_EQ(own, scanOf(c.photo));
    size_t moved = 0;
    for (const auto& node : *match->tree())
        for (const auto& image : node->images())
            moved += (image->doubts() & ePhotoDoubt_OtherAlignmentDiffers) ? 1 : 0;
    EXPECT_EQ(0u, moved) << match->summary();
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, AlignFromPhotoTest,
    ::testing::Values(PlacingCase{"SchoolLineTwoBarcodesLater", eShootFamily::SchoolLine, 2, 40, 2},
                      PlacingCase{"SchoolLineOneEarlier", eShootFamily::SchoolLine, 3, 100, -1},
                      PlacingCase{"DriftingClockFiveLater", eShootFamily::Drift, 1, 60, 5},
                      PlacingCase{"EventOneLater", eShootFamily::Event, 4, 30, 1}),
    testsupport::CaseName());

TEST(ShootMatch, AlignFromPhotoRefusesWhatNoOffsetCanDo) {
    testsupport::TemporaryFolder folder;
    // B and C scanned in the same second: nothing can land on B.
    std::unique_ptr<ShootMatch> match = readShoot(
        folder, {"A\t061526\t100000", "B\t061526\t100030", "C\t061526\t100030", "D\t061526\t100100"},
        {"a\t061526\t100006", "u\t000000\t000000", "c\t061526\t100036", "d\t061526\t100106"});
    ASSERT_NE(nullptr, match);
    match->matchAutomatically();
    EXPECT_FALSE(match->alignmentPlacing(0, 1).has_value());
    EXPECT_FALSE(match->alignmentPlacing(1, 3).has_value()) << "a photo without a capture time";
    EXPECT_FALSE(match->alignmentPlacing(9, 0).has_value()) << "no such photo";
    EXPECT_FALSE(match->alignmentPlacing(0, 9).has_value()) << "no such scan";
    std::optional<ClockAlignment> first = match->alignmentPlacing(3, 0);
    ASSERT_TRUE(first.has_value()) << "the last photo on the first barcode";
    match->matchWith(*first);
    EXPECT_EQ(3u, (*match->tree())[0]->images().back()->photoIndex()) << describe(match->tree());
}

TEST(ShootMatch, ReportListsTheEstimateAndEveryDoubtfulPhoto) {
    testsupport::TemporaryFolder folder;
    std::unique_ptr<ShootMatch> match =
        readShoot(folder, sixScans(), sixSubjectsWith({"t1\t061526\t095500", "x1\t061526\t100125"}));
    ASSERT_NE(nullptr, match);
    match->matchWith(clockBehind(0.5));
    ASSERT_TRUE(match->writeReport(folder.path() + "report.txt"));
    const std::string report = testsupport::readFile(folder.path() + "report.txt");
    EXPECT_EQ(
        0, report.find("estimate\tclock offset set by hand: camera 1 s behind the scanner; 6 of 6 scans fit; "
                       "2 photos doubtful\n"))
        << report;
    EXPECT_NE(std::string::npos, report.find("camera\tcamera\toffset +0.5 s\tdrift +0 ppm\t14 photos\n"))
        << report;
    EXPECT_NE(std::string::npos, report.find("doubtful\tt1\ttaken before the first scan\n")) << report;
    EXPECT_NE(std::string::npos, report.find("doubtful\tx1\ttaken after a long pause")) << report;
    EXPECT_FALSE(match->writeReport(folder.path() + "missing/report.txt"));
}

TEST(ShootMatch, DurationsAndClocksInWords) {
    EXPECT_EQ("0 s", describeDuration(0.4));
    EXPECT_EQ("13 min 3 s", describeDuration(783));
    EXPECT_EQ("13 min 3 s", describeDuration(-783.2));
    EXPECT_EQ("2 h 5 min", describeDuration(7500));
    EXPECT_EQ("1 day 1 s", describeDuration(86401));
    EXPECT_EQ("3 days 2 h 5 min 7 s", describeDuration(3 * 86400 + 7507));
    ClockAlignment one = clockBehind(783.4);
    one.bodies[0].driftPpm = 40.2;
    EXPECT_EQ("camera 13 min 3 s behind the scanner, drift +40 ppm", describeClocks(one));
    EXPECT_EQ("camera in step with the scanner", describeClocks(clockBehind(0.2)));
    ClockAlignment two = clockBehind(-7200);
    BodyClock second;
    second.label = "Canon EOS 5D 0123";
    second.offset = 30;
    two.bodies.push_back(second);
    two.bodies[0].label = "NIKON D750 3012345";
    EXPECT_EQ("camera NIKON D750 3012345 2 h ahead of the scanner; camera Canon EOS 5D 0123 30 s behind the "
              "scanner",
              describeClocks(two));
    ClockEstimate estimate;
    estimate.alignment = one;
    estimate.scansFitting = 78;
    estimate.scansTotal = 80;
    EXPECT_EQ("camera 13 min 3 s behind the scanner, drift +40 ppm; 78 of 80 scans fit; 3 photos doubtful",
              describeEstimate(estimate, 3));
}

} // namespace
