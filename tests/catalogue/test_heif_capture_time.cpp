// HEIC and AVIF capture times against an independent reader: ImageMagick (through libheif) makes
// the photo, exiftool writes its Exif dates and camera, and exiftool's own reading of the file is
// what the list must show.
#include "ImageListBuilder.h"
#include "PhotoFixtures.h"

#include "CaseName.h"
#include "FileContent.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>

using namespace testsupport;

namespace {

bool runQuietly(const std::string& command) {
    int status = std::system((command + " >/dev/null 2>&1").c_str());
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string outputOf(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[256];
    size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, got);
    pclose(pipe);
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r'))
        output.pop_back();
    return output;
}

struct HeifCase {
    const char* name;
    const char* extension;
    const char* dateTimeOriginal;
};

// The second date lies in the hour a spring clock change skips in Berlin: the camera's text is
// listed as it stands.
const HeifCase kCases[] = {
    {"heic", "heic", "2021:07:25 14:03:59"},
    {"avif", "avif", "2021:01:05 08:30:12"},
    {"heic_at_clock_change", "heic", "2021:03:28 02:30:00"},
};

void PrintTo(const HeifCase& c, std::ostream* out) {
    *out << c.name;
}

class HeifCaptureTimes : public ::testing::TestWithParam<HeifCase> {};

TEST_P(HeifCaptureTimes, AreListedAsExiftoolReadsThem) {
    const HeifCase& c = GetParam();
    if (!runQuietly("command -v exiftool") || !runQuietly("command -v convert"))
        GTEST_SKIP() << "exiftool (libimage-exiftool-perl) and ImageMagick are needed";
    ScopedTimeZone zone("Europe/Berlin");
    TemporaryFolder folder;
    const std::string name = std::string("IMG_0001.") + c.extension;
    const std::string path = folder.file(name);
    if (!runQuietly("convert -size 64x48 gradient:red-blue '" + path + "'"))
        GTEST_SKIP() << "this ImageMagick cannot write " << c.extension;
    ASSERT_TRUE(runQuietly(std::string("exiftool -q -overwrite_original '-DateTimeOriginal=") +
                           c.dateTimeOriginal + "' -Make=Apple '-Model=iPhone 12' -SerialNumber=F17XYZ '" +
                           path + "'"));
    std::string expected = outputOf("exiftool -s3 -d '%m%d%y %H%M%S' -DateTimeOriginal '" + path + "'");
    ASSERT_EQ(expected.size(), 13u) << expected;
    expected[6] = '\t';

    ImageListBuilder builder;
    ASSERT_TRUE(builder.veskBuildBarcodeFileList2(folder.path()));
    std::vector<std::string> lines = readLines(folder.path() + "BarcodeImageList.txt");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], name + "\t" + expected);
    std::vector<std::string> cameras = readLines(folder.path() + "BarcodeImageCameras.txt");
    ASSERT_EQ(cameras.size(), 2u);
    EXPECT_EQ(cameras[1], name + "\tApple iPhone 12 F17XYZ");
}

INSTANTIATE_TEST_SUITE_P(Cases, HeifCaptureTimes, ::testing::ValuesIn(kCases), testsupport::CaseName());

} // namespace
