#include "PhotoPreview.h"

#include "MessageLog.h"

#include "PhotoMetadataReader.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTransform>

#include <algorithm>
#include <mutex>
#include <optional>

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

std::mutex gObserverLock;
PhotoDecodeObserver gObserver;

void noteDecode(const QString& path) {
    PhotoDecodeObserver observer;
    {
        std::lock_guard<std::mutex> lock(gObserverLock);
        observer = gObserver;
    }
    if (observer)
        observer(path);
}

// Reading quality below Qt's threshold of 50 makes libjpeg use its fast integer transform and
// plain upsampling: about a third faster, and no difference a preview pane or a thumbnail shows.
const int kFastJpegQuality = 40;

// The embedded preview decoded and turned upright; with a box, decoded no larger than the box
// needs (libjpeg scales while it decodes: a 1,600-pixel preview for a 640-pixel pane takes half
// the time).
QImage decodeEmbedded(const EmbeddedPreview& preview, const QString& path, const QSize& box = QSize()) {
    QByteArray bytes = QByteArray::fromRawData(preview.bytes.data(), qsizetype(preview.bytes.size()));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    // The photo's orientation applies; one the preview may carry of its own does not.
    reader.setAutoTransform(false);
    reader.setQuality(kFastJpegQuality);
    const QSize stored = reader.size();
    if (box.isValid() && stored.isValid()) {
        const QSize storedBox = preview.orientation >= 5 ? box.transposed() : box;
        if (stored.width() > storedBox.width() || stored.height() > storedBox.height())
            reader.setScaledSize(stored.scaled(storedBox, Qt::KeepAspectRatio));
    }
    QImage decoded = reader.read();
    if (decoded.isNull()) {
        myPrintfDebug("The embedded preview of " + path.toStdString() +
                      " does not decode: " + reader.errorString().toStdString());
        return QImage();
    }
    return orientedImage(decoded, preview.orientation);
}

std::optional<EmbeddedPreview> embeddedPreviewOf(const QString& path, unsigned minimumLongSide) {
    return readEmbeddedPreview(QFile::encodeName(path).toStdString(), minimumLongSide);
}

// The size of a preview once turned upright.
QSize uprightSize(const EmbeddedPreview& preview) {
    QSize size(int(preview.width), int(preview.height));
    return preview.orientation >= 5 ? size.transposed() : size;
}

// True when an image of size shown in box would not have to be enlarged.
bool fills(const QSize& size, const QSize& box) {
    if (size.isEmpty())
        return false;
    const QSize fitted = size.scaled(box, Qt::KeepAspectRatio);
    return fitted.width() <= size.width() && fitted.height() <= size.height();
}

// image made no larger than box.
QImage fittedInto(const QImage& image, const QSize& box) {
    if (image.isNull() || (image.width() <= box.width() && image.height() <= box.height()))
        return image;
    return image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// The photo itself, decoded at the size that fits box (upright): libjpeg decodes a JPEG at 1/2,
// 1/4 or 1/8 of its size directly, which is most of the saving.
QImage decodeScaled(const QString& path, const QSize& box) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    reader.setQuality(kFastJpegQuality);
    QSize size = reader.size();
    if (size.isValid()) {
        const bool sideways = reader.transformation() & QImageIOHandler::TransformationRotate90;
        const QSize storedBox = sideways ? box.transposed() : box;
        if (size.width() > storedBox.width() || size.height() > storedBox.height())
            reader.setScaledSize(size.scaled(storedBox, Qt::KeepAspectRatio));
    }
    return reader.read();
}

} // namespace

void setPhotoDecodeObserver(PhotoDecodeObserver observer) {
    std::lock_guard<std::mutex> lock(gObserverLock);
    gObserver = std::move(observer);
}

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
    noteDecode(path);
    std::optional<EmbeddedPreview> preview = embeddedPreviewOf(path, minimumLongSide);
    return preview ? decodeEmbedded(*preview, path) : QImage();
}

QImage loadPhotoPreview(const QString& path, const QSize& maxSize) {
    noteDecode(path);
    // The smallest embedded preview that fills the pane, when the photo carries one; a RAW file's
    // largest one in any case (Qt would decode its small first page, or nothing).
    const unsigned longSide = unsigned(std::max(maxSize.width(), maxSize.height()));
    std::optional<EmbeddedPreview> preview = embeddedPreviewOf(path, longSide);
    QImage embedded;
    if (preview && (isRawFileName(path) || fills(uprightSize(*preview), maxSize) || preview->width == 0)) {
        embedded = decodeEmbedded(*preview, path, maxSize);
        if (isRawFileName(path) || fills(embedded.size(), maxSize) ||
            (!embedded.isNull() && fills(uprightSize(*preview), maxSize)))
            return fittedInto(embedded, maxSize);
    }
    QImage image = decodeScaled(path, maxSize);
    if (!image.isNull())
        return fittedInto(image, maxSize);
    if (embedded.isNull() && preview)
        embedded = decodeEmbedded(*preview, path, maxSize);
    return fittedInto(embedded, maxSize);
}

QImage loadPhotoThumbnail(const QString& path, int longSide) {
    noteDecode(path);
    const QSize box(longSide, longSide);
    std::optional<EmbeddedPreview> preview = embeddedPreviewOf(path, unsigned(longSide));
    QImage embedded = preview ? decodeEmbedded(*preview, path) : QImage();
    // An EXIF thumbnail of 160 pixels does for a strip of 120; a much smaller one does not.
    if (!embedded.isNull() && std::max(embedded.width(), embedded.height()) * 4 >= longSide * 3)
        return fittedInto(embedded, box);
    QImage image = decodeScaled(path, box);
    if (!image.isNull())
        return fittedInto(image, box);
    return fittedInto(embedded, box);
}
