// The review's preview: embedded previews read by the catalogue, decoded and turned upright here.
#include "PhotoPreview.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

#include "Exiv2Compat.h"

namespace {

// Where the pixel shown at (x, y) comes from in the stored image of width w and height h, for
// each EXIF orientation as the Exif standard defines it.
QPoint storedPixel(int orientation, int x, int y, int w, int h) {
    switch (orientation) {
    case 2:
        return QPoint(w - 1 - x, y);
    case 3:
        return QPoint(w - 1 - x, h - 1 - y);
    case 4:
        return QPoint(x, h - 1 - y);
    case 5:
        return QPoint(y, x);
    case 6:
        return QPoint(y, h - 1 - x);
    case 7:
        return QPoint(w - 1 - y, h - 1 - x);
    case 8:
        return QPoint(w - 1 - y, x);
    default:
        return QPoint(x, y);
    }
}

QImage distinctPixels(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(40 * x, 40 * y, 200));
    return image;
}

QByteArray jpegBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 95);
    return bytes;
}

} // namespace

class TestPhotoPreview : public QObject {
    Q_OBJECT

  private slots:
    void orientationsTurnThePreviewUpright_data() {
        QTest::addColumn<int>("orientation");
        const char* names[] = {"1 as stored",  "2 mirrored",  "3 turned 180", "4 flipped",
                               "5 transposed", "6 turned 90", "7 transverse", "8 turned 270"};
        for (int orientation = 1; orientation <= 8; ++orientation)
            QTest::newRow(names[orientation - 1]) << orientation;
    }

    void orientationsTurnThePreviewUpright() {
        QFETCH(int, orientation);
        const int w = 3, h = 2;
        QImage stored = distinctPixels(w, h);
        QImage shown = orientedImage(stored, orientation);
        const bool sideways = orientation >= 5;
        QCOMPARE(shown.size(), sideways ? QSize(h, w) : QSize(w, h));
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                QPoint from = storedPixel(orientation, x, y, w, h);
                QCOMPARE(shown.pixel(x, y), stored.pixel(from));
            }
        }
    }

    // A RAW-like file whose embedded preview is stored sideways with orientation 6.
    void theEmbeddedPreviewComesFromTheCatalogueUpright() {
        QTemporaryDir folder;
        const QString path = folder.filePath("IMG_1.CR2");
        QImage main(64, 48, QImage::Format_RGB32);
        main.fill(Qt::red);
        QVERIFY(main.save(path + ".jpg", "JPEG"));
        QImage thumbnail(160, 120, QImage::Format_RGB32);
        thumbnail.fill(Qt::blue);
        const QByteArray thumbnailBytes = jpegBytes(thumbnail);
        try {
            VeskExiv2::ImagePtr image = Exiv2::ImageFactory::open((path + ".jpg").toStdString());
            image->readMetadata();
            Exiv2::ExifData exif = image->exifData();
            exif["Exif.Image.Orientation"] = uint16_t(6);
            Exiv2::ExifThumb(exif).setJpegThumbnail(
                reinterpret_cast<const Exiv2::byte*>(thumbnailBytes.constData()),
                static_cast<VeskExiv2::ByteCount>(thumbnailBytes.size()));
            image->setExifData(exif);
            image->writeMetadata();
        } catch (const std::exception& error) {
            QFAIL(error.what());
        }
        QVERIFY(QFile::rename(path + ".jpg", path));
        QImage preview = loadEmbeddedPreview(path);
        QCOMPARE(preview.size(), QSize(120, 160));
        QRgb centre = preview.pixel(60, 80);
        QVERIFY(qBlue(centre) > 200 && qRed(centre) < 60);
        QVERIFY(loadEmbeddedPreview(folder.filePath("missing.CR2")).isNull());
    }
};

QTEST_MAIN(TestPhotoPreview)
#include "test_photo_preview.moc"
