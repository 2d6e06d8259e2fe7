// Reading a photo's metadata: is the file a photo, and what capture time did the camera record?
//
// This pair is the only code that talks to exiv2. Every exiv2 exception is caught here and turned
// into a result; nothing decodes pixels, only the bytes that hold the metadata are read.
#pragma once

#include <optional>
#include <string>

struct PhotoMetadata {
    // True when the file's content is a photo format that cameras and photo editors write and its
    // metadata structure reads without error.
    bool isImage = false;
    // True when the content starts like a photo but its structure does not read (a truncated or
    // corrupt file): it does not count, and the user should hear of it.
    bool isDamaged = false;
    // True when the file could not be opened at all (no permission, vanished): the user should
    // hear of it, since it may be a photo.
    bool isUnopenable = false;
    // The format as a MIME type ("image/jpeg"), or why the file does not count (for the log).
    std::string formatOrProblem;
    // The raw text of Exif.Photo.DateTimeOriginal, unset when the file has none or its Exif block
    // does not decode.
    std::optional<std::string> dateTimeOriginal;
    // The raw text of Exif.Photo.SubSecTimeOriginal, empty when absent.
    std::string subSecTimeOriginal;
};

// Prepares the metadata library once per process: the XMP parser (which is not safe to initialise
// from several threads at once), the ISO base media formats (HEIF, CR3) and the library's own
// warnings, which go to the debug log. Safe to call from any thread, any number of times; call it
// before starting threads that read metadata.
void initialisePhotoMetadataReading();

// Opens path through the library's format detection (by content, not by name) and reads its
// metadata. Never throws.
PhotoMetadata readPhotoMetadata(const std::string& path);

// True when the file at path can be opened as a photo (IsValidImageObject).
bool IsValidImageObject(const std::string& path);
