// Loads photos for the review: the large preview and the thumbnails. Decoding a photo is slow (a
// 24-megapixel JPEG takes a quarter of a second and more), so these functions belong on worker
// threads (PhotoLoader runs them there); the user-interface thread never calls them.
//
// A photo's embedded preview is used wherever it is big enough: it is a small JPEG beside the
// photo (the EXIF thumbnail, the large preview of a RAW or JPEG file), read by the catalogue
// (readEmbeddedPreview); this side only decodes it and turns it upright.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

// The photo at the size of a preview pane of maxSize: the embedded preview when it fills the pane,
// else the photo decoded scaled down while decoding (RAW files: their largest embedded preview).
QImage loadPhotoPreview(const QString& path, const QSize& maxSize = QSize(2048, 2048));

// A thumbnail whose longer side is at most longSide: from the embedded preview or EXIF thumbnail
// when there is one, else the photo decoded scaled down.
QImage loadPhotoThumbnail(const QString& path, int longSide);

// The embedded preview of a RAW (or any other photo) file, turned upright by the photo's
// orientation: the largest one, or with minimumLongSide the smallest whose longer side reaches it
// (see readEmbeddedPreview). Null when there is none.
QImage loadEmbeddedPreview(const QString& path, unsigned minimumLongSide = 0);

// image turned upright by an EXIF orientation (1 to 8; anything else leaves it as it is).
QImage orientedImage(const QImage& image, int orientation);

// Called with the photo's path at the start of every decode above, on the thread that decodes:
// how a test proves that no photo is decoded on the user-interface thread. None by default.
using PhotoDecodeObserver = std::function<void(const QString& path)>;
void setPhotoDecodeObserver(PhotoDecodeObserver observer);
