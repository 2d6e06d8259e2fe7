// The large preview of a JPEG's multi-picture index: found, chosen by size beside the EXIF
// thumbnail, and nothing read outside the file when the index lies.
#include "MultiPictureIndex.h"
#include "PhotoFixtures.h"
#include "PhotoMetadataReader.h"
#include "ShootPhotos.h"

#include "CaseName.h"
#include "FileContent.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <functional>

using namespace testsupport;

namespace {

// The tiny JPEG with its frame header saying width x height (the index reader never decodes).
std::string jpegSaying(unsigned width, unsigned height) {
    std::string bytes = tinyJpegBytes();
    const size_t sof = bytes.find("\xff\xc0", 0, 2);
    bytes[sof + 5] = char(height >> 8);
    bytes[sof + 6] = char(height & 0xFF);
    bytes[sof + 7] = char(width >> 8);
    bytes[sof + 8] = char(width & 0xFF);
    return bytes;
}

// A photo with an EXIF thumbnail of 160 x 120 and a large preview of 1620 x 1080 in its index.
struct PhotoWithIndex {
    explicit PhotoWithIndex(const TemporaryFolder& folder) {
        ExifFields fields = exifDate("2026:05:01 10:00:00");
        fields.thumbnailJpeg = jpegSaying(160, 120);
        writeJpeg(folder.file("photo.jpg"), fields);
        photo = readFile(folder.path() + "photo.jpg");
        preview = jpegSaying(1620, 1080);
        bytes = ShootPhotos::withMultiPicturePreview(photo, preview);
        // Where the index's TIFF header starts.
        tiff = bytes.find(std::string("MPF\0", 4)) + 4;
    }
    const unsigned char* data() const { return reinterpret_cast<const unsigned char*>(bytes.data()); }
    std::string photo;
    std::string preview;
    std::string bytes;
    size_t tiff = 0;
};

TEST(MultiPictureIndex, NamesTheLargePreviewAfterThePhoto) {
    TemporaryFolder folder;
    PhotoWithIndex file(folder);
    const std::vector<MultiPictureImage> images = readMultiPictureImages(file.data(), file.bytes.size());
    ASSERT_EQ(1u, images.size());
    EXPECT_EQ(file.bytes.size() - file.preview.size(), images[0].offset);
    EXPECT_EQ(file.preview.size(), images[0].size);
    EXPECT_EQ(1620u, images[0].width);
    EXPECT_EQ(1080u, images[0].height);
    EXPECT_TRUE(
        readMultiPictureImages(reinterpret_cast<const unsigned char*>(file.photo.data()), file.photo.size())
            .empty());
}

// The smallest preview that reaches the size asked for: the thumbnail for a strip, the index's
// preview for a pane.
TEST(MultiPictureIndex, ThePreviewReaderChoosesItByItsSize) {
    TemporaryFolder folder;
    PhotoWithIndex file(folder);
    const std::string path = folder.path() + "camera.jpg";
    writeFile(path, file.bytes);
    std::optional<EmbeddedPreview> large = readEmbeddedPreview(path, 1000);
    ASSERT_TRUE(large.has_value());
    EXPECT_EQ(file.preview, large->bytes);
    EXPECT_EQ(1620u, large->width);
    EXPECT_EQ("image/jpeg", large->mimeType);
    std::optional<EmbeddedPreview> small = readEmbeddedPreview(path, 100);
    ASSERT_TRUE(small.has_value());
    EXPECT_EQ(160u, small->width);
    std::optional<EmbeddedPreview> largest = readEmbeddedPreview(path, 0);
    ASSERT_TRUE(largest.has_value());
    EXPECT_EQ(1620u, largest->width);
}

struct BrokenIndex {
    const char* name;
    std::function<void(PhotoWithIndex&)> harm;
};

void PrintTo(const BrokenIndex& c, std::ostream* out) {
    *out << c.name;
}

void putBig32(std::string& bytes, size_t at, uint32_t value) {
    for (int k = 0; k < 4; ++k)
        bytes[at + size_t(k)] = char(value >> (24 - 8 * k) & 0xFF);
}

// Where the list of image entries starts (the writer puts it after a directory of three).
size_t entries(const PhotoWithIndex& file) {
    return file.tiff + 8 + 2 + 3 * 12 + 4;
}

const BrokenIndex kBrokenIndexes[] = {
    {"file cut short inside the preview", [](PhotoWithIndex& f) { f.bytes.resize(f.bytes.size() - 10); }},
    {"preview offset past the end",
     [](PhotoWithIndex& f) { putBig32(f.bytes, entries(f) + 16 + 8, uint32_t(f.bytes.size())); }},
    {"preview size past the end",
     [](PhotoWithIndex& f) { putBig32(f.bytes, entries(f) + 16 + 4, 0xFFFFFFF0u); }},
    {"offset wrapping round", [](PhotoWithIndex& f) { putBig32(f.bytes, entries(f) + 16 + 8, 0xFFFFFFFFu); }},
    {"entry that is not a JPEG", [](PhotoWithIndex& f) { f.bytes[f.bytes.size() - f.preview.size()] = 'X'; }},
    {"too many images", [](PhotoWithIndex& f) { putBig32(f.bytes, f.tiff + 8 + 2 + 12 + 8, 100000); }},
    {"list shorter than the images",
     [](PhotoWithIndex& f) { putBig32(f.bytes, f.tiff + 8 + 2 + 24 + 4, 16); }},
    {"directory past the segment", [](PhotoWithIndex& f) { putBig32(f.bytes, f.tiff + 4, 0x7FFFFFF0u); }},
    {"unknown byte order", [](PhotoWithIndex& f) { f.bytes[f.tiff] = 'X'; }},
    {"segment length past the end",
     [](PhotoWithIndex& f) {
         f.bytes[f.tiff - 6] = char(0xFF);
         f.bytes[f.tiff - 5] = char(0xFF);
         f.bytes.resize(f.tiff + 40);
     }},
};

class BrokenIndexTest : public ::testing::TestWithParam<BrokenIndex> {};

TEST_P(BrokenIndexTest, NamesNoImage) {
    TemporaryFolder folder;
    PhotoWithIndex file(folder);
    GetParam().harm(file);
    EXPECT_TRUE(readMultiPictureImages(file.data(), file.bytes.size()).empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, BrokenIndexTest, ::testing::ValuesIn(kBrokenIndexes), CaseName());

} // namespace
