// Real photo files for the catalogue tests: JPEG and TIFF bytes written here, EXIF written by
// exiv2, in temporary folders.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct ExifFields {
    // Raw bytes of Exif.Photo.DateTimeOriginal (NULs and blanks as given); unset: no such tag.
    std::optional<std::string> dateTimeOriginal;
    std::optional<std::string> subSecTimeOriginal;
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

// Sets TZ for the lifetime of the object.
class ScopedTimeZone {
  public:
    explicit ScopedTimeZone(const char* zone);
    ~ScopedTimeZone();

  private:
    std::optional<std::string> fSaved;
};
