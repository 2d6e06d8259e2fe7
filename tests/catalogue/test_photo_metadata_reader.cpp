// One read of a photo: its camera body, its long headers, and its embedded preview.
#include "PhotoFixtures.h"
#include "PhotoMetadataReader.h"

#include "Exiv2Compat.h"
#include "FileContent.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

TEST(CameraBody, MakeModelAndBodySerialAreReadTrimmed) {
    TemporaryFolder folder;
    ExifFields fields = exifDate("2008:07:25 14:03:59");
    fields.make = "Canon  ";
    fields.model = " Canon EOS R5";
    fields.bodySerialNumber = "032021001234";
    fields.canonSerialNumber = 55555;
    writeJpeg(folder.file("a.jpg"), fields);
    PhotoMetadata metadata = readPhotoMetadata(folder.path() + "a.jpg");
    ASSERT_TRUE(metadata.isImage) << metadata.formatOrProblem;
    EXPECT_EQ(metadata.cameraMake, "Canon");
    EXPECT_EQ(metadata.cameraModel, "Canon EOS R5");
    EXPECT_EQ(metadata.cameraSerialNumber, "032021001234"); // the standard field wins
    ASSERT_TRUE(metadata.fileDates.has_value());
}

TEST(CameraBody, TheMakerNoteSerialStandsInForAMissingBodySerial) {
    TemporaryFolder folder;
    ExifFields fields = exifDate("2008:07:25 14:03:59");
    fields.make = "Canon";
    fields.model = "Canon EOS 5D Mark IV";
    fields.canonSerialNumber = 2021005678;
    writeJpeg(folder.file("a.jpg"), fields);
    PhotoMetadata metadata = readPhotoMetadata(folder.path() + "a.jpg");
    EXPECT_EQ(metadata.cameraSerialNumber, "2021005678");
}

TEST(CameraBody, APhotoWithoutBodyFieldsHasNone) {
    TemporaryFolder folder;
    writeJpeg(folder.file("a.jpg"), exifDate("2008:07:25 14:03:59"));
    PhotoMetadata metadata = readPhotoMetadata(folder.path() + "a.jpg");
    EXPECT_TRUE(metadata.isImage);
    EXPECT_EQ(metadata.cameraMake + metadata.cameraModel + metadata.cameraSerialNumber, "");
}

// A JPEG whose metadata runs past the first bytes read in one request (a 50 KB thumbnail in the
// Exif, then a 50 KB XMP packet) is read whole; cut inside that metadata it is damaged.
TEST(LongHeaders, AJpegWithMetadataBeyondTheFirstReadIsReadWhole) {
    TemporaryFolder folder;
    const std::string path = folder.file("long.jpg");
    ExifFields fields = exifDate("2008:07:25 14:03:59");
    fields.thumbnailJpeg = tinyJpegBytes() + std::string(50 * 1024, '\0');
    writeJpeg(path, fields);
    {
        VeskExiv2::ImagePtr image = Exiv2::ImageFactory::open(path);
        image->readMetadata();
        Exiv2::XmpData xmp;
        xmp["Xmp.dc.description"] = std::string(50 * 1024, 'd');
        image->setXmpData(xmp);
        image->writeMetadata();
    }
    std::string whole = readFile(path);
    ASSERT_GT(whole.size(), 100u * 1024);
    PhotoMetadata metadata = readPhotoMetadata(path);
    ASSERT_TRUE(metadata.isImage) << metadata.formatOrProblem;
    ASSERT_TRUE(metadata.dateTimeOriginal.has_value());
    EXPECT_EQ(metadata.dateTimeOriginal->substr(0, 19), "2008:07:25 14:03:59");

    folder.write("cut.jpg", whole.substr(0, 98 * 1024));
    PhotoMetadata cut = readPhotoMetadata(folder.path() + "cut.jpg");
    EXPECT_FALSE(cut.isImage);
    EXPECT_TRUE(cut.isDamaged) << cut.formatOrProblem;
}

TEST(OpenOnce, WhatIsNotARegularFileIsNotRead) {
    TemporaryFolder folder;
    PhotoMetadata missing = readPhotoMetadata(folder.path() + "missing.jpg");
    EXPECT_TRUE(missing.isUnopenable);
    EXPECT_FALSE(missing.fileDates.has_value());
    PhotoMetadata directory = readPhotoMetadata(folder.path());
    EXPECT_FALSE(directory.isImage);
    EXPECT_FALSE(directory.isUnopenable);
    EXPECT_EQ(directory.formatOrProblem, "not a regular file");
}

TEST(EmbeddedPreview, TheExifThumbnailWithThePhotosOrientation) {
    TemporaryFolder folder;
    ExifFields fields = exifDate("2008:07:25 14:03:59");
    fields.thumbnailJpeg = tinyJpegBytes();
    fields.orientation = 6;
    writeJpeg(folder.file("a.jpg"), fields);
    std::optional<EmbeddedPreview> preview = readEmbeddedPreview(folder.path() + "a.jpg");
    ASSERT_TRUE(preview.has_value());
    EXPECT_EQ(preview->bytes, tinyJpegBytes());
    EXPECT_EQ(preview->mimeType, "image/jpeg");
    EXPECT_EQ(preview->width, 8u);
    EXPECT_EQ(preview->height, 8u);
    EXPECT_EQ(preview->orientation, 6);
    // Asked for at least 1000 pixels, the largest there is comes back; the caller sees its size.
    std::optional<EmbeddedPreview> large = readEmbeddedPreview(folder.path() + "a.jpg", 1000);
    ASSERT_TRUE(large.has_value());
    EXPECT_EQ(large->width, 8u);
}

TEST(EmbeddedPreview, NoneForAPhotoWithoutOneOrWhatIsNotAPhoto) {
    TemporaryFolder folder;
    writeJpeg(folder.file("plain.jpg"), exifDate("2008:07:25 14:03:59"));
    folder.write("notes.txt", "not a photo\n");
    EXPECT_FALSE(readEmbeddedPreview(folder.path() + "plain.jpg").has_value());
    EXPECT_FALSE(readEmbeddedPreview(folder.path() + "notes.txt").has_value());
    EXPECT_FALSE(readEmbeddedPreview(folder.path() + "missing.jpg").has_value());
    EXPECT_FALSE(readEmbeddedPreview(folder.path()).has_value());
}

} // namespace
