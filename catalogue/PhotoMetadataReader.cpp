#include "PhotoMetadataReader.h"

#include "Exiv2Compat.h"
#include "GuardedFileMapping.h"
#include "IsoMediaExifLocator.h"
#include "MessageLog.h"
#include "MultiPictureIndex.h"

#include <exiv2/webpimage.hpp>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>

namespace {

// The bytes asked for in one request when a file other than a JPEG is mapped: a RAW file's first
// IFDs and an ISO media file's item tables lie within them. Whatever exiv2 touches beyond is read
// page by page.
constexpr size_t kPrefetchBytes = 96 * 1024;

// A JPEG's metadata ends where its image data starts, so exiv2 can read it from the first bytes
// alone: read into memory without the cost of mapping the file. Other formats point at metadata
// anywhere in the file and are mapped whole.
bool startsLikeJpeg(const std::string& head) {
    return head.size() >= 3 && head.compare(0, 3, "\xFF\xD8\xFF", 3) == 0;
}

// The first read of a JPEG: its Exif segment (at most 64 KB, camera thumbnail included) and, for
// nearly every camera, the few small segments after it up to the image data.
constexpr size_t kJpegFirstRead = 64 * 1024;
// At most this many further reads follow the segment chain of an unusually long header.
constexpr int kJpegMoreReads = 8;

// Follows the JPEG's segments from the start of head: the length of the header up to and with
// the start-of-scan segment's header when head holds it (complete), else how many bytes are
// needed to see the next marker. 0 when the bytes do not read as a segment chain.
size_t jpegHeaderLength(const std::string& head, bool& complete) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(head.data());
    const size_t size = head.size();
    complete = false;
    size_t position = 2;
    while (true) {
        while (position < size && bytes[position] == 0xFF && position + 1 < size &&
               bytes[position + 1] == 0xFF)
            ++position; // fill bytes before a marker
        if (position + 4 > size)
            return position + 4;
        if (bytes[position] != 0xFF)
            return 0;
        const unsigned char marker = bytes[position + 1];
        const size_t length = (size_t(bytes[position + 2]) << 8) | bytes[position + 3];
        if (length < 2)
            return 0;
        if (marker == 0xDA) {
            complete = true;
            return position + 4;
        }
        if (marker == 0xD9)
            return 0;
        position += 2 + length;
    }
}

// The formats that count as photos. exiv2 also recognises formats that are not photographs
// (XMP and EXV sidecars, GIF, BMP, TARGA, EPS, PGF) and video containers; those never count.
bool isPhotoFormat(VeskExiv2::ImageTypeCode imageType) {
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
    const size_t size = static_cast<size_t>(datum.size());
    if (size == 0)
        return std::string();
    std::string bytes(size, '\0');
    datum.copy(reinterpret_cast<Exiv2::byte*>(&bytes[0]), Exiv2::littleEndian);
    return bytes;
}

// A camera text as one line: up to the first NUL, control characters (tabs, line breaks) as
// spaces, padding trimmed.
std::string cameraText(const Exiv2::Exifdatum& datum) {
    std::string text = textOf(datum);
    text = text.substr(0, text.find('\0'));
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    }
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The Exif fields the catalogue reads, found in one pass over the decoded metadata.
enum eWantedField {
    eWanted_DateTimeOriginal,
    eWanted_SubSecTimeOriginal,
    eWanted_Make,
    eWanted_Model,
    eWanted_Orientation,
    eWanted_Serial, // ranked: the first key of kSerialKeys found wins
};

struct WantedKey {
    const char* key;
    uint16_t tag;
    eWantedField field;
    int serialRank;
};

// Body serial numbers, most standard first. Maker-note serials are read only where exiv2 decodes
// them as plain fields (no decryption, no extra reads).
const WantedKey kWantedKeys[] = {
    {"Exif.Photo.DateTimeOriginal", 0x9003, eWanted_DateTimeOriginal, 0},
    {"Exif.Photo.SubSecTimeOriginal", 0x9291, eWanted_SubSecTimeOriginal, 0},
    {"Exif.Image.Make", 0x010f, eWanted_Make, 0},
    {"Exif.Image.Model", 0x0110, eWanted_Model, 0},
    {"Exif.Image.Orientation", 0x0112, eWanted_Orientation, 0},
    {"Exif.Photo.BodySerialNumber", 0xa431, eWanted_Serial, 1},
    {"Exif.Image.CameraSerialNumber", 0xc62f, eWanted_Serial, 2},
    {"Exif.Canon.SerialNumber", 0x000c, eWanted_Serial, 3},
    {"Exif.Nikon3.SerialNumber", 0x001d, eWanted_Serial, 3},
    {"Exif.OlympusEq.SerialNumber", 0x0101, eWanted_Serial, 3},
    {"Exif.Pentax.SerialNumber", 0x0229, eWanted_Serial, 3},
    {"Exif.PentaxDng.SerialNumber", 0x0229, eWanted_Serial, 3},
    {"Exif.Fujifilm.SerialNumber", 0x0010, eWanted_Serial, 3},
    {"Exif.Panasonic.InternalSerialNumber", 0x0025, eWanted_Serial, 3},
    {"Exif.Sigma.SerialNumber", 0x0002, eWanted_Serial, 3},
};

const WantedKey* wantedKeyOf(const Exiv2::Exifdatum& datum) {
    const uint16_t tag = datum.tag();
    std::string key;
    for (const WantedKey& wanted : kWantedKeys) {
        if (wanted.tag != tag)
            continue;
        if (key.empty())
            key = datum.key();
        if (key == wanted.key)
            return &wanted;
    }
    return nullptr;
}

struct ExifFindings {
    std::optional<std::string> dateTimeOriginal;
    std::string subSecTimeOriginal;
    std::string make;
    std::string model;
    std::string serialNumber;
    int orientation = 1;
};

ExifFindings findWantedFields(const Exiv2::ExifData& exif) {
    ExifFindings found;
    int serialRank = 0;
    for (const Exiv2::Exifdatum& datum : exif) {
        const WantedKey* wanted = wantedKeyOf(datum);
        if (!wanted)
            continue;
        switch (wanted->field) {
        case eWanted_DateTimeOriginal:
            found.dateTimeOriginal = textOf(datum);
            break;
        case eWanted_SubSecTimeOriginal:
            found.subSecTimeOriginal = textOf(datum);
            break;
        case eWanted_Make:
            found.make = cameraText(datum);
            break;
        case eWanted_Model:
            found.model = cameraText(datum);
            break;
        case eWanted_Orientation: {
            int64_t value = datum.count() > 0 ? VeskExiv2::toInteger(datum) : 1;
            found.orientation = value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
            break;
        }
        case eWanted_Serial: {
            if (serialRank != 0 && serialRank <= wanted->serialRank)
                break;
            std::string serial = cameraText(datum);
            if (serial.empty() || serial.find_first_not_of('0') == std::string::npos)
                break;
            found.serialNumber = serial;
            serialRank = wanted->serialRank;
            break;
        }
        }
    }
    return found;
}

// One open of a file: its descriptor, its attributes from the same descriptor, and a map of its
// bytes. Closes itself.
class OpenPhotoFile {
  public:
    explicit OpenPhotoFile(const std::string& path) {
        // Non-blocking, so that a link to a pipe cannot stall the listing; no controlling
        // terminal from a link to a terminal.
        fFd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (fFd < 0) {
            fError = errno;
            return;
        }
        if (statx(fFd, "", AT_EMPTY_PATH, STATX_TYPE | STATX_SIZE | STATX_BTIME | STATX_MTIME,
                  &fAttributes) != 0) {
            fError = errno;
            close(fFd);
            fFd = -1;
        }
    }
    ~OpenPhotoFile() {
        fMapping.reset();
        if (fFd >= 0)
            close(fFd);
    }
    OpenPhotoFile(const OpenPhotoFile&) = delete;
    OpenPhotoFile& operator=(const OpenPhotoFile&) = delete;

    bool isOpen() const { return fFd >= 0; }
    int error() const { return fError; }
    bool isRegularFile() const { return S_ISREG(fAttributes.stx_mode); }

    FileDates dates() const { return fileDatesOf(fAttributes); }

    size_t size() const { return static_cast<size_t>(fAttributes.stx_size); }

    // The first length bytes of the file (fewer at its end), read in requests of exactly the
    // missing bytes: the kernel's read-ahead, which may be megabytes, is turned off for this file.
    // Shorter on a read error.
    const std::string& head(size_t length) {
        if (!fHeadRead)
            posix_fadvise(fFd, 0, 0, POSIX_FADV_RANDOM);
        fHeadRead = true;
        length = std::min(length, size());
        if (length <= fHead.size())
            return fHead;
        const size_t had = fHead.size();
        fHead.resize(length);
        ssize_t got = pread(fFd, &fHead[had], length - had, static_cast<off_t>(had));
        fHead.resize(had + (got > 0 ? static_cast<size_t>(got) : 0));
        return fHead;
    }

    // The file's bytes; null for an empty file or when the map fails.
    const GuardedFileMapping& map() {
        if (!fMapping)
            fMapping.reset(new GuardedFileMapping(fFd, size(), fHeadRead ? 0 : kPrefetchBytes));
        return *fMapping;
    }

  private:
    int fFd = -1;
    int fError = 0;
    struct statx fAttributes {};
    std::unique_ptr<GuardedFileMapping> fMapping;
    std::string fHead;
    bool fHeadRead = false;
};

// The photo's metadata parsed by exiv2 from bytes in memory. Throws what exiv2 throws.
VeskExiv2::ImagePtr openPhotoInMemory(const unsigned char* data, size_t length,
                                      std::string& formatOrProblem) {
    const Exiv2::byte* bytes = data;
    const VeskExiv2::ByteCount size = static_cast<VeskExiv2::ByteCount>(length);
    const VeskExiv2::ImageTypeCode imageType = Exiv2::ImageFactory::getType(bytes, size);
    if (!isPhotoFormat(imageType)) {
        formatOrProblem = imageType == Exiv2::ImageType::none ? "not an image" : "not a photo format";
        return VeskExiv2::ImagePtr();
    }
    VeskExiv2::ImagePtr image = Exiv2::ImageFactory::open(bytes, size);
    if (!image.get()) {
        formatOrProblem = "not an image";
        return image;
    }
    formatOrProblem = image->mimeType();
    if (formatOrProblem.compare(0, 6, "image/") != 0) {
        formatOrProblem = "not a photo format (" + formatOrProblem + ")";
        return VeskExiv2::ImagePtr();
    }
    image->readMetadata();
    // The ISO base media reader knows the brand (HEIC, AVIF, CR3) only once it has read the file.
    formatOrProblem = image->mimeType();
    return image;
}

VeskExiv2::ImagePtr openMappedPhoto(const GuardedFileMapping& mapping, std::string& formatOrProblem) {
    return openPhotoInMemory(mapping.data(), mapping.size(), formatOrProblem);
}

// A JPEG read from its header alone; null when it is not a JPEG or its header does not read from
// the first bytes (then the whole file is read, which also tells a damaged file from a long
// header).
VeskExiv2::ImagePtr openJpegFromHead(OpenPhotoFile& file, std::string& formatOrProblem) {
    const std::string* head = &file.head(kJpegFirstRead);
    if (!startsLikeJpeg(*head))
        return VeskExiv2::ImagePtr();
    bool complete = false;
    size_t length = jpegHeaderLength(*head, complete);
    for (int more = 0; !complete && length > head->size() && length <= file.size() && more < kJpegMoreReads;
         ++more) {
        head = &file.head(length + 4096); // the next segment's marker and length, and a little more
        length = jpegHeaderLength(*head, complete);
    }
    if (!complete)
        length = head->size();
    try {
        return openPhotoInMemory(reinterpret_cast<const unsigned char*>(head->data()), length,
                                 formatOrProblem);
    } catch (...) {
        if (head->size() == file.size())
            throw;
        formatOrProblem.clear();
        return VeskExiv2::ImagePtr();
    }
}

bool isIsoMediaPhoto(const unsigned char* data, size_t size) {
    return Exiv2::ImageFactory::getType(data, static_cast<VeskExiv2::ByteCount>(size)) ==
           Exiv2::ImageType::bmff;
}

// The Exif of an ISO base media photo whose item table exiv2 did not follow (see
// IsoMediaExifLocator.h); found unchanged when there is none. Throws what exiv2 throws.
ExifFindings findWantedFieldsOfIsoMedia(const GuardedFileMapping& mapping, const ExifFindings& found) {
    std::optional<ByteRange> block = findIsoMediaExifBlock(mapping.data(), mapping.size());
    if (!block)
        return found;
    Exiv2::ExifData exif;
    Exiv2::ExifParser::decode(exif, mapping.data() + block->offset, static_cast<uint32_t>(block->length));
    return findWantedFields(exif);
}

std::string describeOpenFailure(int error) {
    return std::string("cannot be opened: ") + std::strerror(error);
}

} // namespace

void initialisePhotoMetadataReading() {
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setHandler(logLibraryMessage);
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::error);
        Exiv2::XmpParser::initialize();
        VeskExiv2::enableIsoBaseMediaFormats();
    });
}

PhotoMetadata readPhotoMetadata(const std::string& path) {
    initialisePhotoMetadataReading();
    PhotoMetadata result;
    OpenPhotoFile file(path);
    if (!file.isOpen()) {
        result.isUnopenable = true;
        result.formatOrProblem = describeOpenFailure(file.error());
        return result;
    }
    result.fileDates = file.dates();
    if (!file.isRegularFile()) {
        result.formatOrProblem = "not a regular file";
        return result;
    }
    if (file.size() == 0) {
        result.formatOrProblem = "not an image (empty)";
        return result;
    }
    try {
        VeskExiv2::ImagePtr image = openJpegFromHead(file, result.formatOrProblem);
        const GuardedFileMapping* mapping = nullptr;
        if (!image.get()) {
            mapping = &file.map();
            if (!mapping->data()) {
                result.formatOrProblem = describeOpenFailure(errno);
                return result;
            }
            image = openMappedPhoto(*mapping, result.formatOrProblem);
        }
        if (!image.get())
            return result;
        if (mapping && mapping->wasCutShort()) {
            result.isDamaged = true;
            result.formatOrProblem = "damaged: the file was cut short while it was read";
            return result;
        }
        result.isImage = true;
        ExifFindings found = findWantedFields(image->exifData());
        if (!found.dateTimeOriginal && mapping && isIsoMediaPhoto(mapping->data(), mapping->size()))
            found = findWantedFieldsOfIsoMedia(*mapping, found);
        result.dateTimeOriginal = std::move(found.dateTimeOriginal);
        result.subSecTimeOriginal = std::move(found.subSecTimeOriginal);
        result.cameraMake = std::move(found.make);
        result.cameraModel = std::move(found.model);
        result.cameraSerialNumber = std::move(found.serialNumber);
        return result;
    } catch (...) {
        // A damaged file: its structure does not read, so it is not a usable photo. exiv2 0.27
        // throws AnyError and 0.28 Error, both std::exception; a failed allocation for a size
        // the file claims is caught the same way.
        std::string what = "unknown error";
        try {
            throw;
        } catch (const std::exception& error) {
            what = error.what();
        } catch (...) {
        }
        result.isDamaged = result.formatOrProblem.compare(0, 6, "image/") == 0;
        result.isImage = false;
        result.dateTimeOriginal.reset();
        result.subSecTimeOriginal.clear();
        result.formatOrProblem = std::string(result.isDamaged ? "damaged: " : "not an image: ") + what;
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

namespace {

// One preview a photo carries: one of exiv2's, or an image of the JPEG's multi-picture index.
struct PreviewCandidate {
    unsigned width = 0;
    unsigned height = 0;
    size_t size = 0;
    const Exiv2::PreviewProperties* exiv2 = nullptr;
    const MultiPictureImage* multiPicture = nullptr;
};

unsigned longSide(const PreviewCandidate& preview) {
    return std::max(preview.width, preview.height);
}

// Pixels where the file declares them, else bytes: the order among one photo's previews.
bool isSmaller(const PreviewCandidate& a, const PreviewCandidate& b) {
    uint64_t areaA = uint64_t(a.width) * a.height;
    uint64_t areaB = uint64_t(b.width) * b.height;
    if (areaA != areaB)
        return areaA < areaB;
    return a.size < b.size;
}

const PreviewCandidate* choosePreview(const std::vector<PreviewCandidate>& previews,
                                      unsigned minimumLongSide) {
    const PreviewCandidate* largest = nullptr;
    const PreviewCandidate* smallestLargeEnough = nullptr;
    for (const PreviewCandidate& preview : previews) {
        if (!largest || isSmaller(*largest, preview))
            largest = &preview;
        if (minimumLongSide == 0 || longSide(preview) < minimumLongSide)
            continue;
        if (!smallestLargeEnough || isSmaller(preview, *smallestLargeEnough))
            smallestLargeEnough = &preview;
    }
    return smallestLargeEnough ? smallestLargeEnough : largest;
}

} // namespace

std::optional<EmbeddedPreview> readEmbeddedPreview(const std::string& path, unsigned minimumLongSide) {
    initialisePhotoMetadataReading();
    OpenPhotoFile file(path);
    if (!file.isOpen() || !file.isRegularFile()) {
        myPrintfDebug(
            "No preview for " + path + ": " +
            (file.isOpen() ? std::string("not a regular file") : describeOpenFailure(file.error())));
        return std::nullopt;
    }
    const GuardedFileMapping& mapping = file.map();
    if (!mapping.data())
        return std::nullopt;
    try {
        std::string formatOrProblem;
        VeskExiv2::ImagePtr image = openMappedPhoto(mapping, formatOrProblem);
        if (!image.get()) {
            myPrintfDebug("No preview for " + path + ": " + formatOrProblem);
            return std::nullopt;
        }
        Exiv2::PreviewManager previews(*image);
        const Exiv2::PreviewPropertiesList properties = previews.getPreviewProperties();
        const std::vector<MultiPictureImage> multiPicture =
            readMultiPictureImages(mapping.data(), mapping.size());
        std::vector<PreviewCandidate> candidates;
        for (const Exiv2::PreviewProperties& property : properties)
            candidates.push_back(
                {property.width_, property.height_, size_t(property.size_), &property, nullptr});
        for (const MultiPictureImage& picture : multiPicture)
            candidates.push_back({picture.width, picture.height, picture.size, nullptr, &picture});
        const PreviewCandidate* chosen = choosePreview(candidates, minimumLongSide);
        if (!chosen) {
            myPrintfDebug("No preview for " + path + ": the photo carries none");
            return std::nullopt;
        }
        EmbeddedPreview result;
        if (chosen->multiPicture) {
            const MultiPictureImage& picture = *chosen->multiPicture;
            result.bytes.assign(reinterpret_cast<const char*>(mapping.data() + picture.offset), picture.size);
            result.mimeType = "image/jpeg";
            result.width = picture.width;
            result.height = picture.height;
        } else {
            Exiv2::PreviewImage preview = previews.getPreviewImage(*chosen->exiv2);
            result.bytes.assign(reinterpret_cast<const char*>(preview.pData()), preview.size());
            result.mimeType = preview.mimeType();
            result.width = preview.width();
            result.height = preview.height();
        }
        if (mapping.wasCutShort() || result.bytes.empty()) {
            myPrintfDebug("No preview for " + path + ": the file was cut short while it was read");
            return std::nullopt;
        }
        result.orientation = findWantedFields(image->exifData()).orientation;
        return result;
    } catch (const std::exception& error) {
        myPrintfDebug("No preview for " + path + ": " + error.what());
        return std::nullopt;
    } catch (...) {
        myPrintfDebug("No preview for " + path + ": unknown error");
        return std::nullopt;
    }
}
