// Real photo files for the catalogue tests: JPEG and TIFF bytes written here, EXIF written by
// exiv2, in temporary folders.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ExifFields {
    // Raw bytes of Exif.Photo.DateTimeOriginal (NULs and blanks as given); unset: no such tag.
    std::optional<std::string> dateTimeOriginal;
    std::optional<std::string> subSecTimeOriginal;
    // The camera body: Exif.Image.Make, Exif.Image.Model, Exif.Photo.BodySerialNumber, and a
    // Canon maker-note serial number (Exif.Canon.SerialNumber, a number).
    std::optional<std::string> make;
    std::optional<std::string> model;
    std::optional<std::string> bodySerialNumber;
    std::optional<uint32_t> canonSerialNumber;
    // Exif.Image.Orientation.
    std::optional<uint16_t> orientation;
    // A JPEG written as the Exif thumbnail.
    std::optional<std::string> thumbnailJpeg;
};

// A real JPEG (8x8 grey) at path; with fields, exiv2 writes them as its EXIF.
void writeJpeg(const std::string& path, const ExifFields& fields = ExifFields());
// A real uncompressed TIFF (8x8 grey); dngVersion adds the tag that makes it a DNG.
void writeTiff(const std::string& path, const ExifFields& fields = ExifFields(), bool dngVersion = false);
// An ISO base media (HEIF) file whose one item is an Exif block encoded by exiv2: the structure
// that HEIF photos and CR3 files share, without image data.
void writeHeifWithExif(const std::string& path, const ExifFields& fields);
// The EXIF fields written through exiv2 into an existing image file.
void writeExif(const std::string& path, const ExifFields& fields);
ExifFields exifDate(const std::string& dateTimeOriginal, const std::string& subSeconds = std::string());
// The bytes of the small JPEG that writeJpeg writes.
std::string tinyJpegBytes();

// Sets TZ for the lifetime of the object.
class ScopedTimeZone {
  public:
    explicit ScopedTimeZone(const char* zone);
    ~ScopedTimeZone();

  private:
    std::optional<std::string> fSaved;
};
