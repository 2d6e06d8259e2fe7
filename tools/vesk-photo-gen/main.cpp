// vesk-photo-gen: writes one JPEG photo for demos and tests: a coloured picture of a subject with
// text labels (drawn without any font, see DotMatrixFont) and the camera's EXIF fields
// (DateTimeOriginal, SubSecTimeOriginal, Make, Model) written by exiv2.
//
//   vesk-photo-gen --date "2026:05:04 10:05:17" [--label TEXT]... [OPTIONS] OUTPUT.jpg
#include "DotMatrixFont.h"

#include <QColor>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include <exiv2/exiv2.hpp>
#include <getopt.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#ifndef VESK_VERSION
#define VESK_VERSION ""
#endif

namespace {

const char kUsage[] =
    "Usage: vesk-photo-gen --date \"YYYY:MM:DD HH:MM:SS\" [OPTIONS] OUTPUT.jpg\n"
    "Writes a JPEG photo of a subject with text labels and the camera's EXIF fields, for demos\n"
    "and tests. The labels are drawn without fonts, so it works on a machine that has none.\n"
    "\n"
    "Options:\n"
    "  --date TEXT      Exif.Photo.DateTimeOriginal, as a camera writes it (required)\n"
    "  --subsec DIGITS  Exif.Photo.SubSecTimeOriginal\n"
    "  --make TEXT      Exif.Image.Make (default VeskCam)\n"
    "  --model TEXT     Exif.Image.Model (default Demo 1)\n"
    "  --label TEXT     a line of text on the picture (repeatable; digits, letters, - : . /)\n"
    "  --colour COLOUR  the background, #rrggbb or a colour name such as tomato (default steelblue)\n"
    "  --size WxH       the picture's size in pixels (default 640x427)\n"
    "  -h, --help       show this help and exit\n"
    "  -v, --version    show the version and exit\n"
    "\n"
    "Exit status: 0 written, 1 the file could not be written, 2 wrong arguments.\n";

struct PhotoOptions {
    std::string date;
    std::string subSeconds;
    std::string make = "VeskCam";
    std::string model = "Demo 1";
    QStringList labels;
    QColor colour = QColor("steelblue");
    int width = 640;
    int height = 427;
    std::string output;
};

int usageError(const std::string& message) {
    std::fprintf(stderr, "vesk-photo-gen: %s\nTry 'vesk-photo-gen --help' for more information.\n",
                 message.c_str());
    return 2;
}

// "YYYY:MM:DD HH:MM:SS" with digits where digits belong (the camera's own form).
bool looksLikeExifDate(const std::string& text) {
    static const char kPattern[] = "dddd:dd:dd dd:dd:dd";
    if (text.size() != sizeof kPattern - 1)
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        bool digit = text[i] >= '0' && text[i] <= '9';
        if ((kPattern[i] == 'd') != digit || (kPattern[i] != 'd' && text[i] != kPattern[i]))
            return false;
    }
    return true;
}

QImage drawPhoto(const PhotoOptions& options) {
    QImage image(options.width, options.height, QImage::Format_RGB32);
    image.fill(options.colour);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // The subject: a head and shoulders in a lighter shade, like a portrait against a backdrop.
    QColor subject = options.colour.lighter(135);
    int w = options.width, h = options.height;
    painter.setPen(Qt::NoPen);
    painter.setBrush(subject);
    painter.drawEllipse(QPointF(w / 2.0, h * 0.42), h * 0.16, h * 0.19);
    painter.drawRoundedRect(QRectF(w / 2.0 - h * 0.33, h * 0.66, h * 0.66, h * 0.40), h * 0.12, h * 0.12);
    // The labels, centred in a dark band at the bottom.
    if (options.labels.isEmpty())
        return image;
    int dot = qMax(2, h / 90);
    int lineHeight = DotMatrixFont::textHeight(dot) + 3 * dot;
    int band = int(options.labels.size()) * lineHeight + 2 * dot;
    painter.fillRect(0, h - band, w, band, QColor(0, 0, 0, 150));
    int y = h - band + 2 * dot;
    for (const QString& label : options.labels) {
        int x = (w - DotMatrixFont::textWidth(label, dot)) / 2;
        DotMatrixFont::drawText(painter, x, y, label, dot, Qt::white);
        y += lineHeight;
    }
    return image;
}

bool writeExif(const PhotoOptions& options) {
    try {
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(options.output);
        image->readMetadata();
        Exiv2::ExifData& exif = image->exifData();
        exif["Exif.Image.Make"] = options.make;
        exif["Exif.Image.Model"] = options.model;
        exif["Exif.Image.DateTime"] = options.date;
        exif["Exif.Photo.DateTimeOriginal"] = options.date;
        exif["Exif.Photo.DateTimeDigitized"] = options.date;
        if (!options.subSeconds.empty())
            exif["Exif.Photo.SubSecTimeOriginal"] = options.subSeconds;
        image->writeMetadata();
        return true;
    } catch (const Exiv2::Error& error) {
        std::fprintf(stderr, "vesk-photo-gen: cannot write the EXIF fields of %s: %s\n",
                     options.output.c_str(), error.what());
        return false;
    }
}

const struct option kOptions[] = {
    {"date", required_argument, nullptr, 'd'},  {"subsec", required_argument, nullptr, 's'},
    {"make", required_argument, nullptr, 'm'},  {"model", required_argument, nullptr, 'M'},
    {"label", required_argument, nullptr, 'l'}, {"colour", required_argument, nullptr, 'c'},
    {"size", required_argument, nullptr, 'S'},  {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'v'},     {nullptr, 0, nullptr, 0},
};

} // namespace

int main(int argc, char** argv) {
    PhotoOptions options;
    opterr = 0;
    int code;
    while ((code = getopt_long(argc, argv, ":hv", kOptions, nullptr)) != -1) {
        switch (code) {
        case 'h':
            std::fputs(kUsage, stdout);
            return 0;
        case 'v':
            std::printf("vesk-photo-gen %s\n", VESK_VERSION);
            return 0;
        case 'd':
            options.date = optarg;
            break;
        case 's':
            options.subSeconds = optarg;
            break;
        case 'm':
            options.make = optarg;
            break;
        case 'M':
            options.model = optarg;
            break;
        case 'l':
            options.labels << QString::fromUtf8(optarg);
            break;
        case 'c':
            options.colour = QColor(QString::fromUtf8(optarg));
            if (!options.colour.isValid())
                return usageError(std::string("not a colour: ") + optarg);
            break;
        case 'S':
            if (std::sscanf(optarg, "%dx%d", &options.width, &options.height) != 2 || options.width < 16 ||
                options.height < 16 || options.width > 10000 || options.height > 10000)
                return usageError(std::string("--size takes WIDTHxHEIGHT from 16 to 10000, not ") + optarg);
            break;
        case ':':
            return usageError(std::string("this option needs a value: ") + argv[optind - 1]);
        default:
            return usageError(std::string("unknown option ") + argv[optind - 1]);
        }
    }
    if (optind + 1 != argc)
        return usageError("expected one OUTPUT file");
    options.output = argv[optind];
    if (!looksLikeExifDate(options.date))
        return usageError("--date takes \"YYYY:MM:DD HH:MM:SS\", not \"" + options.date + "\"");

    // The JPEG writer is a Qt plugin, found through the application object.
    QCoreApplication application(argc, argv);
    if (!drawPhoto(options).save(QString::fromLocal8Bit(options.output.c_str()), "JPEG", 85)) {
        std::fprintf(stderr, "vesk-photo-gen: cannot write %s\n", options.output.c_str());
        return 1;
    }
    return writeExif(options) ? 0 : 1;
}
