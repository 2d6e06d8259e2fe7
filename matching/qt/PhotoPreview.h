// Loads a photo for the review's preview: the image itself when Qt can decode it (scaled down
// while decoding to at most maxSize), else the preview embedded in the photo. Reading the embedded
// preview is the catalogue's (readEmbeddedPreview); this side only decodes and turns the bytes.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

QImage loadPhotoPreview(const QString& path, const QSize& maxSize = QSize(2048, 2048));

// The embedded preview of a RAW (or any other photo) file, turned upright by the photo's
// orientation: the largest one, or with minimumLongSide the smallest whose longer side reaches it
// (see readEmbeddedPreview). Null when there is none.
QImage loadEmbeddedPreview(const QString& path, unsigned minimumLongSide = 0);

// image turned upright by an EXIF orientation (1 to 8; anything else leaves it as it is).
QImage orientedImage(const QImage& image, int orientation);
