#include "PhotoPreview.h"

#include "MessageLog.h"

#include <QFile>
#include <QImageReader>

#include <exiv2/exiv2.hpp>

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

QImage loadEmbeddedPreview(const QString& path) {
    try {
        auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
        if (!image.get())
            return QImage();
        image->readMetadata();
        Exiv2::PreviewManager previews(*image);
        Exiv2::PreviewPropertiesList properties = previews.getPreviewProperties();
        if (properties.empty())
            return QImage();
        // The list is sorted by size, smallest first.
        Exiv2::PreviewImage preview = previews.getPreviewImage(properties.back());
        QImage decoded;
        decoded.loadFromData(reinterpret_cast<const uchar*>(preview.pData()), int(preview.size()));
        return decoded;
    } catch (const Exiv2::Error& error) {
        myPrintfDebug("No preview for " + path.toStdString() + ": " + error.what());
        return QImage();
    }
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
