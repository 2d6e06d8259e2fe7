#include "ShootPhotos.h"

#include "Exiv2Compat.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>

#include <cstdint>
#include <ctime>
#include <fstream>

namespace {

const char* const kFirstNames[] = {"Ava",   "Ben",   "Chloe", "Dev",   "Elif",  "Finn", "Gia",     "Hugo",
                                   "Ines",  "Jonas", "Kira",  "Liam",  "Maya",  "Noah", "Olga",    "Pablo",
                                   "Quinn", "Rosa",  "Sami",  "Tariq", "Uma",   "Vera", "Wendell", "Xin",
                                   "Yara",  "Zoe",   "Aaron", "Bea",   "Cyrus", "Dana", "Emil",    "Fatima"};
const char* const kSurnames[] = {"Lindqvist", "Okafor", "Marsh", "Patel",  "Kaya",   "Byrne", "Romano",
                                 "Laine",     "Novak",  "Silva", "Haddad", "Moreau", "Berg",  "Quispe"};

uint32_t hashOf(const std::string& text) {
    uint32_t hash = 2166136261u;
    for (unsigned char c : text)
        hash = (hash ^ c) * 16777619u;
    return hash;
}

QByteArray jpegBytes(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", quality);
    return bytes;
}

QImage drawPhoto(const PhotoLook& look, const QSize& size, bool grain) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const int w = size.width();
    const int h = size.height();
    QLinearGradient backdrop(0, 0, 0, h);
    backdrop.setColorAt(0, look.backdrop ? QColor(150, 150, 150) : look.colour.lighter(160));
    backdrop.setColorAt(1, look.backdrop ? QColor(90, 90, 90) : look.colour.darker(150));
    painter.fillRect(image.rect(), backdrop);
    if (look.backdrop) {
        // A colour chart on the empty backdrop, as a test shot shows.
        const QColor chart[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::cyan, Qt::magenta};
        for (int k = 0; k < 6; ++k)
            painter.fillRect(QRectF(w * (0.2 + 0.1 * k), h * 0.45, w * 0.09, h * 0.12), chart[k]);
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(look.colour.lighter(130));
        painter.drawRoundedRect(QRectF(w * 0.30, h * 0.62, w * 0.40, h * 0.45), w * 0.12, w * 0.12);
        painter.setBrush(QColor(240, 205, 170));
        painter.drawEllipse(QPointF(w * 0.5, h * 0.42), h * 0.15, h * 0.18);
    }
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(std::max(8, h / 11));
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, h / 30, w, h / 6), Qt::AlignCenter, look.title);
    painter.end();
    if (grain) {
        QRandomGenerator random(hashOf(look.title.toStdString()));
        for (int y = 0; y < h; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < w; ++x) {
                const int n = int(random.bounded(24)) - 12;
                const QRgb c = line[x];
                line[x] = qRgb(qBound(0, qRed(c) + n, 255), qBound(0, qGreen(c) + n, 255),
                               qBound(0, qBlue(c) + n, 255));
            }
        }
    }
    return image;
}

// "2026:05:01 10:00:00"
std::string exifTime(long long seconds) {
    std::time_t when = std::time_t(seconds);
    std::tm fields{};
    gmtime_r(&when, &fields);
    char text[32];
    std::strftime(text, sizeof text, "%Y:%m:%d %H:%M:%S", &fields);
    return text;
}

// The JPEG with the camera's EXIF fields (and thumbnail) written by exiv2, in memory.
std::string withExif(const QByteArray& jpeg, const QImage& image, long long cameraTime, bool thumbnail) {
    try {
        VeskExiv2::ImagePtr photo =
            Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(jpeg.constData()),
                                      static_cast<VeskExiv2::ByteCount>(jpeg.size()));
        photo->readMetadata();
        Exiv2::ExifData exif;
        exif["Exif.Image.Make"] = "VeskCam";
        exif["Exif.Image.Model"] = "Shoot 24";
        exif["Exif.Photo.DateTimeOriginal"] = exifTime(cameraTime);
        if (thumbnail) {
            // 160 x 120 with bars above and below, as cameras fit a 3:2 photo into it.
            QImage small(160, 120, QImage::Format_RGB32);
            small.fill(Qt::black);
            QPainter painter(&small);
            const QImage scaled = image.scaled(160, 120, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            painter.drawImage((160 - scaled.width()) / 2, (120 - scaled.height()) / 2, scaled);
            painter.end();
            const QByteArray bytes = jpegBytes(small, 80);
            Exiv2::ExifThumb(exif).setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(bytes.constData()),
                                                    static_cast<VeskExiv2::ByteCount>(bytes.size()));
        }
        photo->setExifData(exif);
        photo->writeMetadata();
        Exiv2::BasicIo& io = photo->io();
        io.seek(0, Exiv2::BasicIo::beg);
        std::string written(size_t(io.size()), '\0');
        io.read(reinterpret_cast<Exiv2::byte*>(&written[0]),
                static_cast<VeskExiv2::ByteCount>(written.size()));
        return written;
    } catch (const std::exception&) { // exiv2 0.27's AnyError and 0.28's Error alike
        return std::string();
    }
}

void putBig16(std::string& bytes, size_t at, uint32_t value) {
    bytes[at] = char(value >> 8 & 0xFF);
    bytes[at + 1] = char(value & 0xFF);
}

void putBig32(std::string& bytes, size_t at, uint32_t value) {
    putBig16(bytes, at, value >> 16);
    putBig16(bytes, at + 2, value & 0xFFFF);
}

} // namespace

PhotoLook ShootPhotos::lookOf(const std::string& subjectBarcode) {
    PhotoLook look;
    if (subjectBarcode.empty()) {
        look.title = QStringLiteral("Test shot");
        look.backdrop = true;
        return look;
    }
    const uint32_t hash = hashOf(subjectBarcode);
    look.title = QStringLiteral("%1 %2").arg(QString::fromLatin1(kFirstNames[hash % std::size(kFirstNames)]),
                                             QString::fromLatin1(kSurnames[hash / 7 % std::size(kSurnames)]));
    look.colour =
        QColor::fromHsv(int(hash / 101 % 360), 140 + int(hash / 13 % 80), 150 + int(hash / 17 % 60));
    return look;
}

std::string ShootPhotos::withMultiPicturePreview(const std::string& jpeg, const std::string& previewJpeg) {
    // After the application segments at the start (the EXIF block), as cameras place the index.
    size_t insert = 2;
    while (insert + 4 <= jpeg.size() && uint8_t(jpeg[insert]) == 0xFF &&
           (uint8_t(jpeg[insert + 1]) & 0xF0) == 0xE0)
        insert += 2 + (size_t(uint8_t(jpeg[insert + 2])) << 8 | uint8_t(jpeg[insert + 3]));
    // FF E2, length, "MPF\0", then a big-endian TIFF header, a directory of three entries and the
    // list of two 16-byte image entries.
    const size_t tiffStart = 8;
    const size_t directory = 8;
    const size_t list = directory + 2 + 3 * 12 + 4;
    std::string segment(tiffStart + list + 2 * 16, '\0');
    segment[0] = char(0xFF);
    segment[1] = char(0xE2);
    putBig16(segment, 2, uint32_t(segment.size() - 2));
    segment.replace(4, 4, std::string("MPF\0", 4));
    segment.replace(tiffStart, 4, std::string("MM\0\x2A", 4));
    putBig32(segment, tiffStart + 4, directory);
    size_t at = tiffStart + directory;
    putBig16(segment, at, 3);
    at += 2;
    putBig16(segment, at, 0xB000); // version
    putBig16(segment, at + 2, 7);
    putBig32(segment, at + 4, 4);
    segment.replace(at + 8, 4, "0100");
    at += 12;
    putBig16(segment, at, 0xB001); // number of images
    putBig16(segment, at + 2, 4);
    putBig32(segment, at + 4, 1);
    putBig32(segment, at + 8, 2);
    at += 12;
    putBig16(segment, at, 0xB002); // the image entries
    putBig16(segment, at + 2, 7);
    putBig32(segment, at + 4, 32);
    putBig32(segment, at + 8, uint32_t(list));
    const size_t mainSize = jpeg.size() + segment.size();
    const size_t tiffInFile = insert + tiffStart;
    at = tiffStart + list;
    putBig32(segment, at, 0x20030000); // the photo: representative, baseline primary image
    putBig32(segment, at + 4, uint32_t(mainSize));
    putBig32(segment, at + 8, 0);
    at += 16;
    putBig32(segment, at, 0x00010002); // a large thumbnail (full HD class)
    putBig32(segment, at + 4, uint32_t(previewJpeg.size()));
    putBig32(segment, at + 8, uint32_t(mainSize - tiffInFile));
    return jpeg.substr(0, insert) + segment + jpeg.substr(insert) + previewJpeg;
}

bool ShootPhotos::writePhoto(const std::string& path, const PhotoLook& look, long long cameraTime,
                             const PhotoFileOptions& options) {
    const QImage image = drawPhoto(look, options.size, options.grain);
    std::string bytes = withExif(jpegBytes(image, options.quality), image, cameraTime, options.exifThumbnail);
    if (bytes.empty())
        return false;
    if (!options.largePreview.isEmpty()) {
        const QImage preview =
            image.scaled(options.largePreview, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        const QByteArray previewBytes = jpegBytes(preview, 85);
        bytes = withMultiPicturePreview(bytes, previewBytes.toStdString());
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    return !out.fail();
}

bool ShootPhotos::writeShoot(const SimulatedShoot& shoot, const std::string& folder,
                             const PhotoFileOptions& options) {
    for (const SimulatedPhoto& photo : shoot.photos) {
        const std::string path = folder + photo.name;
        QDir().mkpath(QFileInfo(QString::fromStdString(path)).absolutePath());
        if (!writePhoto(path, lookOf(photo.subject), photo.cameraTime, options))
            return false;
    }
    return true;
}
