// The automatic clock alignment over generated shoots of every family, written as the real list
// files: every photo that a perfect alignment puts on its subject lands there, and the small shoots
// that timing alone cannot settle are marked uncertain. Both clocks are read to the second and no
// estimate from them is better than a second or two, so a photo taken within kCloseToScan seconds
// of a scan may land on either side of it (when within a second, it is marked).
#include "MessageLog.h"
#include "ShootMatch.h"
#include "ShootSimulator.h"

#include "CaseName.h"
#include "FileContent.h"
#include "ListFiles.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <unordered_map>

using namespace listfiles;

namespace {

constexpr double kCloseToScan = 3.0;

bool isCloseToAScan(const SimulatedShoot& shoot, double trueTime) {
    for (const SimulatedScan& scan : shoot.scans)
        if (std::fabs(double(scan.time) - trueTime) < kCloseToScan)
            return true;
    return false;
}

enum eExpectation {
    // Every photo a perfect alignment places right is right, and the shoot is not uncertain.
    eAllRight,
    // The estimate says it is uncertain (and whatever it placed, it says so).
    eUncertain,
    // A mix of every hard case: most photos right; the benchmark gives the figures.
    eMostlyRight,
};

struct FamilyCase {
    eShootFamily family;
    uint64_t seed;
    eExpectation expected;
};

std::string rowText(const FamilyCase& c) {
    return std::string(shootFamilyName(c.family)) + " seed " + std::to_string(c.seed);
}

void PrintTo(const FamilyCase& c, std::ostream* out) {
    *out << rowText(c);
}

std::string rowName(const ::testing::TestParamInfo<FamilyCase>& info) {
    return testsupport::caseName(rowText(info.param));
}

class ClockAlignmentFamilyTest : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(ClockAlignmentFamilyTest, PlacesEveryPlaceablePhoto) {
    const FamilyCase& c = GetParam();
    const SimulatedShoot shoot = ShootSimulator::generate(c.family, c.seed);
    testsupport::TemporaryFolder folder;
    ASSERT_TRUE(shoot.write(folder.path(), c.family == eShootFamily::SecondBodySameNames));
    std::unique_ptr<ShootMatch> match =
        ShootMatch::read(folder.path() + "BarcodeDataSource.txt", folder.path() + "BarcodeImageList.txt");
    ASSERT_NE(nullptr, match);
    match->matchAutomatically();
    const ClockEstimate& estimate = match->estimate();
    const ShootScore score = shoot.score(*match->tree());

    std::unordered_map<std::string, uint32_t> doubts;
    for (const auto& node : *match->tree())
        for (const auto& image : node->images())
            doubts[image->imageName()] = image->doubts();
    size_t wrongUnmarked = 0;
    std::string firstWrong;
    for (size_t i = 0; i < shoot.photos.size(); ++i) {
        if (!shoot.photos[i].placeable || !score.misplaced[i])
            continue;
        if ((doubts[shoot.photos[i].name] & ePhotoDoubt_NearScanBoundary) ||
            isCloseToAScan(shoot, shoot.photos[i].trueTime))
            continue;
        if (firstWrong.empty())
            firstWrong = shoot.photos[i].name;
        ++wrongUnmarked;
    }
    const std::string summary = match->summary();
    switch (c.expected) {
    case eAllRight:
        EXPECT_EQ(0u, wrongUnmarked) << summary << "; first: " << firstWrong;
        EXPECT_FALSE(estimate.uncertain) << summary;
        break;
    case eUncertain:
        EXPECT_TRUE(estimate.uncertain) << summary;
        EXPECT_NE(std::string::npos, summary.find("could not be lined up with confidence")) << summary;
        break;
    case eMostlyRight:
        EXPECT_GE(double(score.placeableRight), 0.8 * double(score.placeable)) << summary;
        break;
    }
}

std::vector<FamilyCase> familyCases() {
    std::vector<FamilyCase> cases;
    for (const ShootFamilyInfo& info : shootFamilies()) {
        for (uint64_t seed = 1; seed <= 3; ++seed) {
            eExpectation expected = eAllRight;
            if (info.family == eShootFamily::FiveSubjects)
                expected = eUncertain;
            if (info.family == eShootFamily::Everything)
                expected = eMostlyRight;
            cases.push_back({info.family, seed, expected});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Families, ClockAlignmentFamilyTest, ::testing::ValuesIn(familyCases()), rowName);

// The camera clock three days and 2 h 5 min 7 s behind, a line of ten subjects.
std::vector<std::string> lineScans() {
    return {"S01\t061526\t100000", "S02\t061526\t100031", "S03\t061526\t100058", "S04\t061526\t100135",
            "S05\t061526\t100202", "S06\t061526\t100240", "S07\t061526\t100305", "S08\t061526\t100341",
            "S09\t061526\t100409", "S10\t061526\t100447"};
}

std::vector<std::string> linePhotos() {
    // Each subject 4 to 12 s after its scan, 1 to 3 photos, on a clock 3 days 2:05:07 behind
    // (10:00:00 on the 15th is 07:54:53 on the 12th).
    return {"p01a\t061226\t075459", "p01b\t061226\t075501", "p02a\t061226\t075534", "p03a\t061226\t075559",
            "p03b\t061226\t075602", "p03c\t061226\t075603", "p04a\t061226\t075640", "p05a\t061226\t075711",
            "p05b\t061226\t075713", "p06a\t061226\t075739", "p07a\t061226\t075810", "p07b\t061226\t075812",
            "p08a\t061226\t075844", "p09a\t061226\t075914", "p09b\t061226\t075917", "p10a\t061226\t075955",
            "p10b\t061226\t075957"};
}

TEST(ClockAlignment, FindsAnOffsetOfDaysAndSaysItInWords) {
    testsupport::TemporaryFolder folder;
    std::unique_ptr<ShootMatch> match =
        ShootMatch::read(writeScans(folder, lineScans()), writePhotos(folder, linePhotos()));
    ASSERT_NE(nullptr, match);
    match->matchAutomatically();
    EXPECT_EQ("S01[p01a,p01b] S02[p02a] S03[p03a,p03b,p03c] S04[p04a] S05[p05a,p05b] S06[p06a] "
              "S07[p07a,p07b] S08[p08a] S09[p09a,p09b] S10[p10a,p10b]",
              describe(match->tree()));
    const BodyClock& clock = match->estimate().alignment.bodies.at(0);
    // Any offset that keeps every photo after its scan and before the next one is right; the
    // estimate sits inside that stretch, on a half second.
    EXPECT_GT(clock.offset, 3 * 86400 + 2 * 3600 + 5 * 60 + 7 - 4 - 1);
    EXPECT_LT(clock.offset, 3 * 86400 + 2 * 3600 + 5 * 60 + 7 + 20);
    EXPECT_EQ(0.5, clock.offset - std::floor(clock.offset));
    EXPECT_EQ(10u, match->estimate().scansFitting);
    EXPECT_EQ(0, match->summary().find("camera 3 days 2 h 5 min ")) << match->summary();
    EXPECT_NE(std::string::npos,
              match->summary().find("behind the scanner; 10 of 10 scans fit; 0 photos doubtful"))
        << match->summary();
}

TEST(ClockAlignment, FiveSubjectsAtAnEvenPaceAreUncertain) {
    // A subject every 30 s, each photographed 8 s after its scan: the clocks could be a whole
    // subject apart and every scan would still fit.
    testsupport::TemporaryFolder folder;
    std::unique_ptr<ShootMatch> match =
        ShootMatch::read(writeScans(folder, {"A\t061526\t100000", "B\t061526\t100030", "C\t061526\t100100",
                                             "D\t061526\t100130", "E\t061526\t100200"}),
                         writePhotos(folder, {"a\t061526\t110008", "b\t061526\t110038", "c\t061526\t110108",
                                              "d\t061526\t110138", "e\t061526\t110208"}));
    ASSERT_NE(nullptr, match);
    match->matchAutomatically();
    EXPECT_TRUE(match->estimate().uncertain);
    EXPECT_NE(std::string::npos, match->estimate().uncertainty.find("fits almost as well"))
        << match->estimate().uncertainty;
    ASSERT_TRUE(match->estimate().runnerUp.has_value());
    // The other alignment puts photos elsewhere, and each such photo says so.
    size_t marked = 0;
    for (const auto& node : *match->tree())
        for (const auto& image : node->images())
            marked += (image->doubts() & ePhotoDoubt_OtherAlignmentDiffers) ? 1 : 0;
    EXPECT_GT(marked, 0u);
}

TEST(ClockAlignment, FewScansFittingIsUncertain) {
    // Twelve scans ten minutes apart and one run of photos: no offset lines more than one up.
    std::vector<std::string> scans;
    for (int k = 0; k < 12; ++k)
        scans.push_back(std::string(1, char('A' + k)) +
                        myFormat("\t061526\t%02d%02d00", 10 + k / 6, k % 6 * 10));
    testsupport::TemporaryFolder folder;
    std::unique_ptr<ShootMatch> match = ShootMatch::read(
        writeScans(folder, scans),
        writePhotos(folder, {"a\t061526\t110005", "b\t061526\t110006", "c\t061526\t110007"}));
    ASSERT_NE(nullptr, match);
    match->matchAutomatically();
    EXPECT_TRUE(match->estimate().uncertain);
    EXPECT_NE(std::string::npos, match->estimate().uncertainty.find("of 12 scans fit"))
        << match->estimate().uncertainty;
}

TEST(ClockAlignment, OneScanIsUncertain) {
    testsupport::TemporaryFolder folder;
    std::unique_ptr<ShootMatch> match = ShootMatch::read(writeScans(folder, {"A\t061526\t100000"}),
                                                         writePhotos(folder, {"a\t061526\t100010"}));
    ASSERT_NE(nullptr, match);
    match->matchAutomatically();
    EXPECT_EQ("A[a]", describe(match->tree()));
    EXPECT_TRUE(match->estimate().uncertain);
    EXPECT_NE(std::string::npos, match->estimate().uncertainty.find("only 1 scan"))
        << match->estimate().uncertainty;
}

} // namespace
