// Reading a photo's metadata: is the file a photo, when was it taken, by which camera body, and
// what preview does it carry?
//
// This pair is the only code that asks exiv2 about photos. Each photo is opened once: one open,
// one statx on the open descriptor (the file dates), one memory map whose first bytes are read in
// one request; exiv2 parses the mapped bytes and never opens the file again. Every exiv2 exception
// is caught here and turned into a result; nothing decodes pixels.
#pragma once

#include "FileDateAccess.h"

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
    // The dates of the opened file (birth time where the file system keeps one, modification
    // time); unset when the file could not be opened or examined.
    std::optional<FileDates> fileDates;
    // The raw text of Exif.Photo.DateTimeOriginal, unset when the file has none or its Exif block
    // does not decode.
    std::optional<std::string> dateTimeOriginal;
    // The raw text of Exif.Photo.SubSecTimeOriginal, empty when absent.
    std::string subSecTimeOriginal;
    // The camera body: Exif.Image.Make and Model, and its serial number (Exif.Photo.BodySerialNumber,
    // else the TIFF/EP or DNG camera serial, else the maker note's serial where exiv2 decodes one).
    // Each trimmed of padding; empty when absent.
    std::string cameraMake;
    std::string cameraModel;
    std::string cameraSerialNumber;
};

// Prepares the metadata library once per process: the XMP parser (which is not safe to initialise
// from several threads at once), the ISO base media formats (HEIF, AVIF, CR3) and the library's own
// warnings, which go to the debug log. Safe to call from any thread, any number of times; call it
// before starting threads that read metadata.
void initialisePhotoMetadataReading();

// Opens path once (following a symbolic link) and reads its file dates and, when its content is a
// photo format (by content, not by name), its metadata. Never throws. Files that are not regular
// files (folders, devices, pipes) are not read and do not count.
PhotoMetadata readPhotoMetadata(const std::string& path);

// True when the file at path can be opened as a photo (IsValidImageObject).
bool IsValidImageObject(const std::string& path);

// A photo's embedded preview, for the review's thumbnails and large preview.
struct EmbeddedPreview {
    // The encoded preview as the photo stores it (JPEG for nearly every camera; TIFF or PNG for a
    // few formats): decode it with any image decoder. Never empty in a returned preview.
    std::string bytes;
    // "image/jpeg", "image/tiff" or "image/png".
    std::string mimeType;
    // Its size in pixels as the photo declares it, before orientation; 0 when unknown.
    unsigned width = 0;
    unsigned height = 0;
    // The photo's EXIF orientation (1 to 8; 1 when absent or invalid), which applies to the
    // preview too: cameras store previews as the sensor saw the scene. 6 means "turn 90 degrees
    // clockwise to show", 8 "turn 90 degrees anticlockwise", 3 "turn 180 degrees"; 2, 4, 5 and 7
    // add a mirror image. Apply it after decoding, with the decoder's own EXIF rotation turned off
    // (a preview may carry an orientation of its own that does not apply).
    int orientation = 1;
};

// The embedded preview of the photo at path: JPEG and RAW previews and EXIF thumbnails, through
// exiv2's preview manager, and the large previews of a JPEG's multi-picture index
// (MultiPictureIndex.h), from one open of the file like readPhotoMetadata.
//   minimumLongSide 0:  the largest preview (for the large preview pane).
//   minimumLongSide N:  the smallest preview whose longer side is at least N pixels (for a
//                       thumbnail strip: the EXIF thumbnail of 160 pixels rather than a 6 MB
//                       preview); the largest one when none is that large, so check width and
//                       height if a smaller one will not do.
// None when the file cannot be read, is not a photo or carries no preview; the reason goes to the
// debug log only (a photo without a preview is ordinary: decode the photo itself). Never throws;
// safe from any thread.
std::optional<EmbeddedPreview> readEmbeddedPreview(const std::string& path, unsigned minimumLongSide = 0);
