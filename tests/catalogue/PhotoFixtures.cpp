#include "PhotoFixtures.h"

#include "TinyJpeg.h"

#include "Exiv2Compat.h"
#include "FileContent.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <time.h>

namespace {

void put16(std::string& out, uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void put32(std::string& out, uint32_t value) {
    put16(out, static_cast<uint16_t>(value & 0xFFFF));
    put16(out, static_cast<uint16_t>(value >> 16));
}

void putEntry(std::string& out, uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
    put16(out, tag);
    put16(out, type);
    put32(out, count);
    put32(out, value);
}

// Little-endian baseline TIFF: one IFD, one strip of 8x8 8-bit grey.
std::string tinyTiff() {
    const uint16_t kShort = 3, kLong = 4;
    const uint16_t entries = 9;
    const uint32_t stripOffset = 8 + 2 + entries * 12 + 4;
    std::string out = "II*";
    out += '\0';
    put32(out, 8);
    put16(out, entries);
    putEntry(out, 256, kShort, 1, 8); // ImageWidth
    putEntry(out, 257, kShort, 1, 8); // ImageLength
    putEntry(out, 258, kShort, 1, 8); // BitsPerSample
    putEntry(out, 259, kShort, 1, 1); // Compression: none
    putEntry(out, 262, kShort, 1, 1); // PhotometricInterpretation: black is zero
    putEntry(out, 273, kLong, 1, stripOffset);
    putEntry(out, 277, kShort, 1, 1); // SamplesPerPixel
    putEntry(out, 278, kShort, 1, 8); // RowsPerStrip
    putEntry(out, 279, kLong, 1, 64); // StripByteCounts
    put32(out, 0);
    out += std::string(64, '\x80');
    return out;
}

void setAscii(Exiv2::ExifData& exif, const char* key, const std::string& bytes) {
    VeskExiv2::ValuePtr value = Exiv2::Value::create(Exiv2::asciiString);
    value->read(reinterpret_cast<const Exiv2::byte*>(bytes.data()),
                static_cast<VeskExiv2::ByteCount>(bytes.size()), Exiv2::littleEndian);
    exif.add(Exiv2::ExifKey(key), value.get());
}

void putBig16(std::string& out, uint16_t value) {
    out += static_cast<char>(value >> 8);
    out += static_cast<char>(value & 0xFF);
}

void putBig32(std::string& out, uint32_t value) {
    putBig16(out, static_cast<uint16_t>(value >> 16));
    putBig16(out, static_cast<uint16_t>(value & 0xFFFF));
}

std::string box(const char* type, const std::string& content) {
    std::string out;
    putBig32(out, static_cast<uint32_t>(8 + content.size()));
    out += type;
    return out + content;
}

std::string fullBox(const char* type, const std::string& content) {
    return box(type, std::string(4, '\0') + content);
}

void writeBytes(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(testsupport::writeFile(path, bytes)) << path;
}

} // namespace

void writeExif(const std::string& path, const ExifFields& fields) {
    if (!fields.dateTimeOriginal && !fields.subSecTimeOriginal && !fields.make && !fields.model &&
        !fields.bodySerialNumber && !fields.canonSerialNumber && !fields.orientation && !fields.thumbnailJpeg)
        return;
    VeskExiv2::ImagePtr image = Exiv2::ImageFactory::open(path);
    image->readMetadata();
    Exiv2::ExifData exif = image->exifData();
    if (fields.dateTimeOriginal)
        setAscii(exif, "Exif.Photo.DateTimeOriginal", *fields.dateTimeOriginal);
    if (fields.subSecTimeOriginal)
        setAscii(exif, "Exif.Photo.SubSecTimeOriginal", *fields.subSecTimeOriginal);
    if (fields.make)
        setAscii(exif, "Exif.Image.Make", *fields.make + std::string(1, '\0'));
    if (fields.model)
        setAscii(exif, "Exif.Image.Model", *fields.model + std::string(1, '\0'));
    if (fields.bodySerialNumber)
        setAscii(exif, "Exif.Photo.BodySerialNumber", *fields.bodySerialNumber + std::string(1, '\0'));
    if (fields.canonSerialNumber)
        exif["Exif.Canon.SerialNumber"] = *fields.canonSerialNumber;
    if (fields.orientation)
        exif["Exif.Image.Orientation"] = *fields.orientation;
    if (fields.thumbnailJpeg)
        Exiv2::ExifThumb(exif).setJpegThumbnail(
            reinterpret_cast<const Exiv2::byte*>(fields.thumbnailJpeg->data()),
            static_cast<VeskExiv2::ByteCount>(fields.thumbnailJpeg->size()));
    image->setExifData(exif);
    image->writeMetadata();
}

std::string tinyJpegBytes() {
    return std::string(reinterpret_cast<const char*>(kTinyJpeg), sizeof kTinyJpeg);
}

void writeJpeg(const std::string& path, const ExifFields& fields) {
    writeBytes(path, tinyJpegBytes());
    writeExif(path, fields);
}

void writeTiff(const std::string& path, const ExifFields& fields, bool dngVersion) {
    writeBytes(path, tinyTiff());
    writeExif(path, fields);
    if (!dngVersion)
        return;
    VeskExiv2::ImagePtr image = Exiv2::ImageFactory::open(path);
    image->readMetadata();
    Exiv2::ExifData exif = image->exifData();
    VeskExiv2::ValuePtr version = Exiv2::Value::create(Exiv2::unsignedByte);
    version->read("1 4 0 0");
    exif.add(Exiv2::ExifKey("Exif.Image.DNGVersion"), version.get());
    image->setExifData(exif);
    image->writeMetadata();
}

void writeHeifWithExif(const std::string& path, const ExifFields& fields) {
    Exiv2::ExifData exif;
    if (fields.dateTimeOriginal)
        setAscii(exif, "Exif.Photo.DateTimeOriginal", *fields.dateTimeOriginal);
    if (fields.subSecTimeOriginal)
        setAscii(exif, "Exif.Photo.SubSecTimeOriginal", *fields.subSecTimeOriginal);
    Exiv2::Blob tiff;
    Exiv2::ExifParser::encode(tiff, nullptr, 0, Exiv2::littleEndian, exif);
    // The Exif item: the offset of the TIFF header behind it, "Exif\0\0", the TIFF block.
    std::string item;
    putBig32(item, 6);
    item += std::string("Exif\0\0", 6);
    item.append(reinterpret_cast<const char*>(tiff.data()), tiff.size());

    std::string ftyp = box("ftyp", std::string("heic") + std::string(4, '\0') + "mif1heic");
    std::string hdlr = fullBox("hdlr", std::string(4, '\0') + "pict" + std::string(13, '\0'));
    std::string pitm;
    putBig16(pitm, 1);
    pitm = fullBox("pitm", pitm);
    std::string infe;
    putBig16(infe, 1); // item 1
    putBig16(infe, 0); // not protected
    infe += std::string("Exif") + '\0';
    infe = box("infe", std::string("\x02\0\0\0", 4) + infe);
    std::string iinf;
    putBig16(iinf, 1);
    iinf = fullBox("iinf", iinf + infe);
    auto iloc = [&](uint32_t offset) {
        std::string content;
        content += '\x44'; // 4-byte offsets and lengths
        content += '\0';   // no base offset
        putBig16(content, 1);
        putBig16(content, 1); // item 1
        putBig16(content, 0); // in this file
        putBig16(content, 1); // one extent
        putBig32(content, offset);
        putBig32(content, static_cast<uint32_t>(item.size()));
        return fullBox("iloc", content);
    };
    std::string meta = fullBox("meta", hdlr + pitm + iinf + iloc(0));
    const uint32_t itemOffset = static_cast<uint32_t>(ftyp.size() + meta.size() + 8);
    meta = fullBox("meta", hdlr + pitm + iinf + iloc(itemOffset));
    writeBytes(path, ftyp + meta + box("mdat", item));
}

ExifFields exifDate(const std::string& dateTimeOriginal, const std::string& subSeconds) {
    ExifFields fields;
    fields.dateTimeOriginal = dateTimeOriginal + std::string(1, '\0');
    if (!subSeconds.empty())
        fields.subSecTimeOriginal = subSeconds + std::string(1, '\0');
    return fields;
}

ScopedTimeZone::ScopedTimeZone(const char* zone) {
    if (const char* saved = std::getenv("TZ"))
        fSaved = saved;
    setenv("TZ", zone, 1);
    tzset();
}

ScopedTimeZone::~ScopedTimeZone() {
    if (fSaved)
        setenv("TZ", fSaved->c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}
