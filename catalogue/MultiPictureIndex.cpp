#include "MultiPictureIndex.h"

#include <cstdint>
#include <cstring>

namespace {

const uint16_t kTagImageCount = 0xB001;
const uint16_t kTagImageEntries = 0xB002;
const size_t kEntryLength = 16;
// An index that names more images than this is not a camera's.
const uint32_t kMostImages = 64;

// A reader over bytes in the byte order of the index; every read is checked against the end.
class Fields {
  public:
    Fields(const unsigned char* bytes, size_t size, bool bigEndian)
        : fBytes(bytes), fSize(size), fBig(bigEndian) {}
    bool u16(size_t at, uint16_t& value) const {
        if (at > fSize || fSize - at < 2)
            return false;
        value =
            fBig ? uint16_t(fBytes[at] << 8 | fBytes[at + 1]) : uint16_t(fBytes[at + 1] << 8 | fBytes[at]);
        return true;
    }
    bool u32(size_t at, uint32_t& value) const {
        uint16_t first = 0;
        uint16_t second = 0;
        if (!u16(at, first) || !u16(at + 2, second))
            return false;
        value = fBig ? uint32_t(first) << 16 | second : uint32_t(second) << 16 | first;
        return true;
    }

  private:
    const unsigned char* fBytes;
    size_t fSize;
    bool fBig;
};

uint16_t bigEndian16(const unsigned char* at) {
    return uint16_t(at[0] << 8 | at[1]);
}

// The images of the index whose TIFF header starts at header (absolute) and whose directory lies
// within the segment's payload (payload, payloadSize).
std::vector<MultiPictureImage> readIndex(const unsigned char* bytes, size_t size, size_t header,
                                         size_t segmentEnd) {
    std::vector<MultiPictureImage> images;
    const unsigned char* tiff = bytes + header;
    const size_t tiffSize = segmentEnd - header;
    if (tiffSize < 8)
        return images;
    bool big = false;
    if (std::memcmp(tiff, "MM\0\x2A", 4) == 0)
        big = true;
    else if (std::memcmp(tiff, "II\x2A\0", 4) != 0)
        return images;
    const Fields fields(tiff, tiffSize, big);
    uint32_t directory = 0;
    uint16_t entries = 0;
    if (!fields.u32(4, directory) || !fields.u16(directory, entries))
        return images;
    uint32_t count = 0;
    uint32_t listOffset = 0;
    uint32_t listLength = 0;
    for (uint16_t k = 0; k < entries; ++k) {
        const size_t at = size_t(directory) + 2 + size_t(k) * 12;
        uint16_t tag = 0;
        uint32_t length = 0;
        uint32_t value = 0;
        if (!fields.u16(at, tag) || !fields.u32(at + 4, length) || !fields.u32(at + 8, value))
            return images;
        if (tag == kTagImageCount)
            count = value;
        if (tag == kTagImageEntries) {
            listLength = length;
            listOffset = value;
        }
    }
    if (count < 2 || count > kMostImages || listLength < count * kEntryLength)
        return images;
    for (uint32_t k = 1; k < count; ++k) {
        const size_t at = size_t(listOffset) + size_t(k) * kEntryLength;
        uint32_t length = 0;
        uint32_t offset = 0;
        if (!fields.u32(at + 4, length) || !fields.u32(at + 8, offset))
            return images;
        // Offsets count from the index's TIFF header; the first image (offset 0) is the photo.
        if (offset == 0 || length < 4)
            continue;
        MultiPictureImage image;
        image.offset = header + size_t(offset);
        image.size = length;
        if (image.offset >= size || size - image.offset < image.size)
            continue;
        if (bytes[image.offset] != 0xFF || bytes[image.offset + 1] != 0xD8)
            continue;
        if (!readJpegFrameSize(bytes + image.offset, image.size, image.width, image.height))
            continue;
        images.push_back(image);
    }
    return images;
}

} // namespace

bool readJpegFrameSize(const unsigned char* bytes, size_t size, unsigned& width, unsigned& height) {
    if (size < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        return false;
    size_t at = 2;
    while (at + 4 <= size) {
        if (bytes[at] != 0xFF)
            return false;
        const unsigned char marker = bytes[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        const size_t length = bigEndian16(bytes + at + 2);
        if (length < 2)
            return false;
        // SOF0 to SOF15, leaving out DHT (C4), JPG (C8) and DAC (CC).
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            if (at + 9 > size)
                return false;
            height = bigEndian16(bytes + at + 5);
            width = bigEndian16(bytes + at + 7);
            return width > 0 && height > 0;
        }
        if (marker == 0xDA || marker == 0xD9)
            return false;
        at += 2 + length;
    }
    return false;
}

std::vector<MultiPictureImage> readMultiPictureImages(const unsigned char* bytes, size_t size) {
    if (!bytes || size < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        return {};
    size_t at = 2;
    // The index sits among the application segments before the image data.
    while (at + 4 <= size) {
        if (bytes[at] != 0xFF)
            return {};
        const unsigned char marker = bytes[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            return {};
        const size_t length = bigEndian16(bytes + at + 2);
        if (length < 2 || at + 2 + length > size)
            return {};
        const size_t payload = at + 4;
        if (marker == 0xE2 && length >= 2 + 4 + 8 && std::memcmp(bytes + payload, "MPF\0", 4) == 0)
            return readIndex(bytes, size, payload + 4, at + 2 + length);
        at += 2 + length;
    }
    return {};
}
