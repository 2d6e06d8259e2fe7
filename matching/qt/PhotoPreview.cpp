#include "PhotoPreview.h"

#include "MessageLog.h"

#include "PhotoMetadataReader.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTransform>

namespace {

// RAW files often decode as their small first TIFF page; their embedded preview is the photo.
bool isRawFileName(const QString& path) {
    static const char* const kRawSuffixes[] = {"cr2", "cr3", "crw", "nef", "nrw", "arw", "srf",
                                               "sr2", "orf", "rw2", "raf", "pef", "dng", "srw",
                                               "3fr", "erf", "kdc", "mrw", "raw"};
    QString suffix = path.section(QLatin1Char('.'), -1).toLower();
    for (const char* raw : kRawSuffixes) {
        if (suffix == QLatin1String(raw))
            return true;
    }
    return false;
}

} // namespace

QImage orientedImage(const QImage& image, int orientation) {
    QTransform turn;
    switch (orientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        return image.transformed(turn.rotate(180));
    case 4:
        return image.mirrored(false, true);
    case 5: // mirrored along the main diagonal
        return image.mirrored(true, false).transformed(turn.rotate(270));
    case 6:
        return image.transformed(turn.rotate(90));
    case 7: // mirrored along the other diagonal
        return image.mirrored(true, false).transformed(turn.rotate(90));
    case 8:
        return image.transformed(turn.rotate(270));
    default:
        return image;
    }
}

QImage loadEmbeddedPreview(const QString& path, unsigned minimumLongSide) {
    std::optional<EmbeddedPreview> preview =
        readEmbeddedPreview(QFile::encodeName(path).toStdString(), minimumLongSide);
    if (!preview)
        return QImage();
    QByteArray bytes = QByteArray::fromRawData(preview->bytes.data(), qsizetype(preview->bytes.size()));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    // The photo's orientation applies; one the preview may carry of its own does not.
    reader.setAutoTransform(false);
    QImage decoded = reader.read();
    if (decoded.isNull()) {
        myPrintfDebug("The embedded preview of " + path.toStdString() +
                      " does not decode: " + reader.errorString().toStdString());
        return QImage();
    }
    return orientedImage(decoded, preview->orientation);
}

QImage loadPhotoPreview(const QString& path, const QSize& maxSize) {
    if (isRawFileName(path)) {
        QImage embedded = loadEmbeddedPreview(path);
        if (!embedded.isNull())
            return embedded;
    }
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (size.isValid() && (size.width() > maxSize.width() || size.height() > maxSize.height()))
        reader.setScaledSize(size.scaled(maxSize, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (!image.isNull())
        return image;
    return loadEmbeddedPreview(path);
}
