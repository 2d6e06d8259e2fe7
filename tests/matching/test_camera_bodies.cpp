// Telling camera bodies apart: the side file BarcodeImageCameras.txt first, then the folder and
// file prefix of the names; names that do not look like a camera's tell nothing.
#include "CameraBodies.h"

#include "CaseName.h"
#include "FileContent.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct NameCase {
    const char* name;
    std::string photoName;
    std::string body;
};

void PrintTo(const NameCase& c, std::ostream* out) {
    *out << c.name;
}

class NameRuleTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameRuleTest, BodyOfAName) {
    EXPECT_EQ(GetParam().body, CameraBodies::nameRuleBody(GetParam().photoName));
}

INSTANTIATE_TEST_SUITE_P(
    Names, NameRuleTest,
    ::testing::Values(NameCase{"NikonFolderAndPrefix", "DCIM/100NIKON/DSC_0001.JPG", "DCIM/###NIKON/DSC_"},
                      NameCase{"FolderNumberRollsOver", "DCIM/101NIKON/DSC_1000.NEF", "DCIM/###NIKON/DSC_"},
                      NameCase{"SecondCard", "card2/DCIM/100CANON/IMG_0042.CR2", "card2/DCIM/###CANON/IMG_"},
                      NameCase{"PanasonicPrefix", "P1010001.JPG", "P"},
                      NameCase{"NoFolder", "IMG_1234.jpg", "IMG_"},
                      NameCase{"ExportNamedBySubject", "Class 4/Smith_John_001.jpg", "Class 4/"},
                      NameCase{"NoDigits", "portrait.jpg", ""}, NameCase{"TooFewDigits", "DSC_12.JPG", ""},
                      NameCase{"FolderOfOtherShape", "2026-06-15/DSC_0001.JPG", "2026-06-15/DSC_"}),
    testsupport::CaseName());

std::vector<std::string> repeated(const std::string& prefix, int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(prefix + std::to_string(1000 + i) + ".JPG");
    return names;
}

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(CameraBodies, TwoCardsAreTwoBodies) {
    const std::vector<std::string> names =
        joined(repeated("DCIM/100NIKON/DSC_", 10), repeated("DCIM/100CANON/IMG_", 8));
    CameraBodies bodies = CameraBodies::identify(names, "/nonexistent/BarcodeImageCameras.txt");
    ASSERT_EQ(2u, bodies.labels().size());
    EXPECT_EQ("DCIM/###NIKON/DSC_", bodies.labels()[0]);
    EXPECT_EQ("DCIM/###CANON/IMG_", bodies.labels()[1]);
    EXPECT_EQ(0u, bodies.bodyOfPhoto()[0]);
    EXPECT_EQ(1u, bodies.bodyOfPhoto()[17]);
}

TEST(CameraBodies, NamesOfAnExportTellNothing) {
    // Every subject its own prefix: no camera bodies in that.
    std::vector<std::string> names;
    for (int s = 0; s < 20; ++s)
        names.push_back("Export/Subject" + std::string(1, char('A' + s)) + "_" + std::to_string(s) + ".jpg");
    CameraBodies bodies = CameraBodies::identify(names, "/nonexistent/BarcodeImageCameras.txt");
    ASSERT_EQ(1u, bodies.labels().size());
    EXPECT_EQ("camera", bodies.labels()[0]);
}

TEST(CameraBodies, AFewStrayPhotosDoNotMakeABody) {
    const std::vector<std::string> names = joined(repeated("DCIM/100NIKON/DSC_", 40), {"phone/IMG_0001.JPG"});
    EXPECT_EQ(1u, CameraBodies::identify(names, "/nonexistent/BarcodeImageCameras.txt").labels().size());
}

TEST(CameraBodies, SideFileNamesBodiesThatNamesCannot) {
    testsupport::TemporaryFolder folder;
    const std::vector<std::string> names = repeated("DCIM/100NIKON/DSC_", 6);
    folder.write("BarcodeImageCameras.txt",
                 "CPU=1234\tVers=1.00\tContents=ImageCameras\n"
                 "DCIM/100NIKON/DSC_1000.JPG\tNIKON CORPORATION NIKON D750 3012345\n"
                 "DCIM/100NIKON/DSC_1001.JPG\tNIKON CORPORATION NIKON D750 3012345\n"
                 "DCIM/100NIKON/DSC_1002.JPG\tNIKON CORPORATION NIKON D750 4040404\r\n"
                 "not a line\n"
                 "DCIM/100NIKON/DSC_1003.JPG\tNIKON CORPORATION NIKON D750 4040404\n");
    CameraBodies bodies = CameraBodies::identify(names, folder.path() + "BarcodeImageCameras.txt");
    // Two bodies from the file; the photos it does not name share one body by the name rule.
    ASSERT_EQ(3u, bodies.labels().size());
    EXPECT_EQ("NIKON CORPORATION NIKON D750 3012345", bodies.labels()[0]);
    EXPECT_EQ("NIKON CORPORATION NIKON D750 4040404", bodies.labels()[1]);
    EXPECT_EQ(bodies.bodyOfPhoto()[0], bodies.bodyOfPhoto()[1]);
    EXPECT_EQ(bodies.bodyOfPhoto()[2], bodies.bodyOfPhoto()[3]);
    EXPECT_NE(bodies.bodyOfPhoto()[0], bodies.bodyOfPhoto()[2]);
    EXPECT_EQ(bodies.bodyOfPhoto()[4], bodies.bodyOfPhoto()[5]);
    EXPECT_EQ(2u, bodies.bodyOfPhoto()[4]);
}

TEST(CameraBodies, SideFileWithoutItsHeaderIsLeftAside) {
    testsupport::TemporaryFolder folder;
    const std::vector<std::string> names = repeated("DCIM/100NIKON/DSC_", 6);
    folder.write("BarcodeImageCameras.txt", "DCIM/100NIKON/DSC_1000.JPG\tNIKON D750 1\n"
                                            "DCIM/100NIKON/DSC_1001.JPG\tNIKON D750 2\n");
    CameraBodies bodies = CameraBodies::identify(names, folder.path() + "BarcodeImageCameras.txt");
    EXPECT_EQ(1u, bodies.labels().size());
}

} // namespace
