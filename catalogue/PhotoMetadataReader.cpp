#include "PhotoMetadataReader.h"

#include "MessageLog.h"

#include <exiv2/exiv2.hpp>
#include <exiv2/webpimage.hpp>

#include <cerrno>
#include <cstring>
#include <mutex>

namespace {

// The formats that count as photos. exiv2 also recognises formats that are not photographs
// (XMP and EXV sidecars, GIF, BMP, TARGA, EPS, PGF) and video containers; those never count.
bool isPhotoFormat(int imageType) {
    switch (imageType) {
    case Exiv2::ImageType::jpeg:
    case Exiv2::ImageType::tiff: // also DNG, NEF, PEF, ARW, SR2, SRW
    case Exiv2::ImageType::png:
    case Exiv2::ImageType::cr2:
    case Exiv2::ImageType::crw:
    case Exiv2::ImageType::mrw:
    case Exiv2::ImageType::orf:
    case Exiv2::ImageType::raf:
    case Exiv2::ImageType::rw2:
    case Exiv2::ImageType::bmff: // HEIF, AVIF, CR3
    case Exiv2::ImageType::webp:
    case Exiv2::ImageType::jp2:
    case Exiv2::ImageType::psd:
        return true;
    default:
        return false;
    }
}

// The library's warnings name no file, so they are only worth a debug line.
void logLibraryMessage(int, const char* text) {
    myPrintfDebug(std::string("exiv2: ") + (text ? text : ""));
}

// The bytes of an Exif text value as the file holds them; an ASCII value that the camera padded
// with NULs keeps them, so that the date reader decides what they mean.
std::string textOf(const Exiv2::Exifdatum& datum) {
    Exiv2::TypeId type = datum.typeId();
    if (type != Exiv2::asciiString && type != Exiv2::undefined && type != Exiv2::unsignedByte)
        return datum.toString();
    long size = datum.size();
    if (size <= 0)
        return std::string();
    std::string bytes(static_cast<size_t>(size), '\0');
    datum.copy(reinterpret_cast<Exiv2::byte*>(&bytes[0]), Exiv2::littleEndian);
    return bytes;
}

} // namespace

void initialisePhotoMetadataReading() {
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setHandler(logLibraryMessage);
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::error);
        Exiv2::XmpParser::initialize();
        Exiv2::enableBMFF(true);
    });
}

PhotoMetadata readPhotoMetadata(const std::string& path) {
    initialisePhotoMetadataReading();
    PhotoMetadata result;
    try {
        Exiv2::BasicIo::AutoPtr io(new Exiv2::FileIo(path));
        if (io->open() != 0) {
            result.isUnopenable = true;
            result.formatOrProblem = std::string("cannot be opened: ") + std::strerror(errno);
            return result;
        }
        const int imageType = Exiv2::ImageFactory::getType(*io);
        io->close();
        if (!isPhotoFormat(imageType)) {
            result.formatOrProblem =
                imageType == Exiv2::ImageType::none ? "not an image" : "not a photo format";
            return result;
        }
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(io);
        if (!image.get()) {
            result.formatOrProblem = "not an image";
            return result;
        }
        result.formatOrProblem = image->mimeType();
        if (result.formatOrProblem.compare(0, 6, "image/") != 0) {
            result.formatOrProblem = "not a photo format (" + result.formatOrProblem + ")";
            return result;
        }
        image->readMetadata();
        result.isImage = true;
        const Exiv2::ExifData& exif = image->exifData();
        if (exif.empty())
            return result;
        static const Exiv2::ExifKey kDateTimeOriginal("Exif.Photo.DateTimeOriginal");
        static const Exiv2::ExifKey kSubSecTimeOriginal("Exif.Photo.SubSecTimeOriginal");
        Exiv2::ExifData::const_iterator date = exif.findKey(kDateTimeOriginal);
        if (date != exif.end())
            result.dateTimeOriginal = textOf(*date);
        Exiv2::ExifData::const_iterator subSeconds = exif.findKey(kSubSecTimeOriginal);
        if (subSeconds != exif.end())
            result.subSecTimeOriginal = textOf(*subSeconds);
        return result;
    } catch (const std::exception& error) {
        // A damaged file: its structure does not read, so it is not a usable photo.
        result.isDamaged = result.formatOrProblem.compare(0, 6, "image/") == 0;
        result.isImage = false;
        result.dateTimeOriginal.reset();
        result.subSecTimeOriginal.clear();
        result.formatOrProblem =
            std::string(result.isDamaged ? "damaged: " : "not an image: ") + error.what();
        return result;
    }
}

bool IsValidImageObject(const std::string& path) {
    if (path.empty()) {
        myPrintfDebug("IsValidImageObject => Passed a nil objectPath!!\n");
        return false;
    }
    return readPhotoMetadata(path).isImage;
}
