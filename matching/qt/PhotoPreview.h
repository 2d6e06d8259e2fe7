// Loads a photo for the review's preview: the image itself when Qt can decode it (scaled down
// while decoding to at most maxSize), else the largest preview embedded in a RAW file.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

QImage loadPhotoPreview(const QString& path, const QSize& maxSize = QSize(2048, 2048));

// The largest embedded preview of a RAW (or any exiv2-readable) file; null when there is none.
QImage loadEmbeddedPreview(const QString& path);
