#include "IsoMediaExifLocator.h"

#include <cstdint>
#include <cstring>

namespace {

// Big-endian reads within [position, end); every read checks its bounds.
class BoxReader {
  public:
    BoxReader(const unsigned char* data, size_t position, size_t end)
        : fData(data), fPosition(position), fEnd(end) {}

    bool has(size_t bytes) const { return fPosition <= fEnd && fEnd - fPosition >= bytes; }
    size_t position() const { return fPosition; }
    void skip(size_t bytes) { fPosition += bytes; }

    // An unsigned number of width bytes (0, 1, 2, 4 or 8); false past the end.
    bool number(size_t width, uint64_t& value) {
        if (!has(width))
            return false;
        value = 0;
        for (size_t i = 0; i < width; ++i)
            value = (value << 8) | fData[fPosition + i];
        fPosition += width;
        return true;
    }

  private:
    const unsigned char* fData;
    size_t fPosition;
    size_t fEnd;
};

struct Box {
    char type[5] = {0};
    size_t contentStart = 0;
    size_t end = 0;
};

// The box at position; false when its header does not fit or it claims more than its parent.
bool readBox(const unsigned char* data, size_t position, size_t parentEnd, Box& box) {
    BoxReader reader(data, position, parentEnd);
    uint64_t size = 0;
    if (!reader.number(4, size) || !reader.has(4))
        return false;
    std::memcpy(box.type, data + reader.position(), 4);
    reader.skip(4);
    if (size == 1 && !reader.number(8, size))
        return false;
    if (size == 0)
        size = parentEnd - position;
    box.contentStart = reader.position();
    if (size < box.contentStart - position || size > parentEnd - position)
        return false;
    box.end = position + static_cast<size_t>(size);
    return true;
}

// The first child of type within [start, end).
bool findChild(const unsigned char* data, size_t start, size_t end, const char* type, Box& found) {
    size_t position = start;
    Box box;
    while (position < end && readBox(data, position, end, box)) {
        if (std::memcmp(box.type, type, 4) == 0) {
            found = box;
            return true;
        }
        position = box.end;
    }
    return false;
}

// The item ID of the first item of type "Exif" in iinf.
std::optional<uint64_t> findExifItem(const unsigned char* data, const Box& iinf) {
    BoxReader reader(data, iinf.contentStart, iinf.end);
    uint64_t version = 0, count = 0;
    if (!reader.number(1, version))
        return std::nullopt;
    reader.skip(3);
    if (!reader.number(version == 0 ? 2 : 4, count))
        return std::nullopt;
    size_t position = reader.position();
    Box infe;
    for (uint64_t i = 0; i < count && readBox(data, position, iinf.end, infe); ++i, position = infe.end) {
        if (std::memcmp(infe.type, "infe", 4) != 0)
            continue;
        BoxReader entry(data, infe.contentStart, infe.end);
        uint64_t entryVersion = 0, id = 0;
        if (!entry.number(1, entryVersion) || entryVersion < 2)
            continue;
        entry.skip(3);
        if (!entry.number(entryVersion == 2 ? 2 : 4, id) || !entry.has(2 + 4))
            continue;
        entry.skip(2); // item_protection_index
        if (std::memcmp(data + entry.position(), "Exif", 4) == 0)
            return id;
    }
    return std::nullopt;
}

struct ItemLocation {
    uint64_t constructionMethod = 0;
    uint64_t offset = 0;
    uint64_t length = 0;
};

// Where item lies, from iloc (single-extent items only, which is how Exif items are stored).
std::optional<ItemLocation> findItemLocation(const unsigned char* data, const Box& iloc, uint64_t item) {
    BoxReader reader(data, iloc.contentStart, iloc.end);
    uint64_t version = 0, sizes = 0, moreSizes = 0, count = 0;
    if (!reader.number(1, version) || version > 2)
        return std::nullopt;
    reader.skip(3);
    if (!reader.number(1, sizes) || !reader.number(1, moreSizes))
        return std::nullopt;
    const size_t offsetSize = sizes >> 4, lengthSize = sizes & 0xF, baseOffsetSize = moreSizes >> 4;
    const size_t indexSize = version >= 1 ? (moreSizes & 0xF) : 0;
    for (size_t width : {offsetSize, lengthSize, baseOffsetSize, indexSize}) {
        if (width != 0 && width != 4 && width != 8)
            return std::nullopt;
    }
    if (!reader.number(version < 2 ? 2 : 4, count))
        return std::nullopt;
    for (uint64_t i = 0; i < count; ++i) {
        uint64_t id = 0, method = 0, ignored = 0, baseOffset = 0, extents = 0;
        if (!reader.number(version < 2 ? 2 : 4, id))
            return std::nullopt;
        if (version >= 1 && !reader.number(2, method))
            return std::nullopt;
        if (!reader.number(2, ignored) || !reader.number(baseOffsetSize, baseOffset) ||
            !reader.number(2, extents))
            return std::nullopt;
        ItemLocation location;
        location.constructionMethod = method & 0xF;
        for (uint64_t e = 0; e < extents; ++e) {
            uint64_t offset = 0, length = 0;
            if (!reader.number(indexSize, ignored) || !reader.number(offsetSize, offset) ||
                !reader.number(lengthSize, length))
                return std::nullopt;
            if (e == 0) {
                location.offset = baseOffset + offset;
                location.length = length;
            }
        }
        if (id == item)
            return extents == 1 ? std::optional<ItemLocation>(location) : std::nullopt;
    }
    return std::nullopt;
}

bool isTiffHeader(const unsigned char* bytes) {
    return std::memcmp(bytes, "II*\0", 4) == 0 || std::memcmp(bytes, "MM\0*", 4) == 0;
}

} // namespace

std::optional<ByteRange> findIsoMediaExifBlock(const unsigned char* data, size_t size) {
    if (!data)
        return std::nullopt;
    Box meta, iinf, iloc;
    if (!findChild(data, 0, size, "meta", meta))
        return std::nullopt;
    const size_t children = meta.contentStart + 4; // meta is a full box
    if (children > meta.end || !findChild(data, children, meta.end, "iinf", iinf) ||
        !findChild(data, children, meta.end, "iloc", iloc))
        return std::nullopt;
    std::optional<uint64_t> item = findExifItem(data, iinf);
    if (!item)
        return std::nullopt;
    std::optional<ItemLocation> location = findItemLocation(data, iloc, *item);
    if (!location || location->constructionMethod > 1)
        return std::nullopt;
    uint64_t start = location->offset;
    uint64_t end = size;
    if (location->constructionMethod == 1) {
        Box idat;
        if (!findChild(data, children, meta.end, "idat", idat))
            return std::nullopt;
        start += idat.contentStart;
        end = idat.end;
    }
    if (location->length != 0)
        end = start + location->length;
    if (start > size || end > size || end < start + 4)
        return std::nullopt;
    // The item: the offset of the TIFF header behind a 4-byte field, usually "Exif\0\0".
    uint64_t tiffOffset = 0;
    BoxReader item4(data, static_cast<size_t>(start), static_cast<size_t>(end));
    item4.number(4, tiffOffset);
    const uint64_t tiff = start + 4 + tiffOffset;
    if (tiffOffset > end || tiff + 8 > end || !isTiffHeader(data + tiff))
        return std::nullopt;
    ByteRange range;
    range.offset = static_cast<size_t>(tiff);
    range.length = static_cast<size_t>(end - tiff);
    return range;
}
