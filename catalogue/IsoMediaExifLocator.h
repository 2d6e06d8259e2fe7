// Finds the Exif block of an ISO base media photo (HEIF, HEIC, AVIF) by its item tables.
//
// exiv2 0.27 reads an item location table only when every item has the same small layout; files
// whose table carries base offsets or data kept in the meta box (as libheif writes them, and
// with it many converters and editors) come back without any Exif, so their capture time would
// silently be the file's date. This reader follows the boxes the way the format defines them:
// meta -> iinf (the item of type "Exif") -> iloc (where its bytes are, in the file or in idat).
#pragma once

#include <cstddef>
#include <optional>

struct ByteRange {
    size_t offset = 0;
    size_t length = 0;
};

// The TIFF block (from its "II*\0" or "MM\0*" header on) of the first Exif item in the file's
// bytes; none when the file has none, or its tables do not read or point outside the file.
std::optional<ByteRange> findIsoMediaExifBlock(const unsigned char* data, size_t size);
