// Photo files for generated shoots: a JPEG per photo showing its subject (a figure in the
// subject's own colour with its name, so that a photo of another subject stands out), the EXIF
// capture time, the EXIF thumbnail a camera writes, and optionally a large preview in a
// Multi-Picture Format index as many cameras write one. For the review's tests, its screenshots
// and its benchmark.
#pragma once

#include "SimulatedShoot.h"

#include <QColor>
#include <QSize>
#include <QString>

#include <string>

struct PhotoFileOptions {
    QSize size = QSize(600, 400);
    int quality = 85;
    // The EXIF thumbnail of 160 x 120 that cameras write.
    bool exifThumbnail = true;
    // A large preview of that size after the photo, named in an MPF index (none when empty).
    QSize largePreview;
    // Fine grain all over the picture, so that the file is as large as a camera's.
    bool grain = false;
};

// What a photo shows: a title (a subject's name) over a figure in a colour.
struct PhotoLook {
    QString title;
    QColor colour;
    // A test shot of the backdrop: no figure.
    bool backdrop = false;
};

class ShootPhotos {
  public:
    // The look of a subject's photos: a name and a colour drawn from its barcode, the same for
    // every photo of the subject; a backdrop for a photo of no subject.
    static PhotoLook lookOf(const std::string& subjectBarcode);
    // Writes one photo; cameraTime (seconds since 1970, as the lists give them) goes into
    // Exif.Photo.DateTimeOriginal. false when the file cannot be written.
    static bool writePhoto(const std::string& path, const PhotoLook& look, long long cameraTime,
                           const PhotoFileOptions& options = PhotoFileOptions());
    // Writes every photo of the shoot under folder (ends with "/"), subfolders included.
    static bool writeShoot(const SimulatedShoot& shoot, const std::string& folder,
                           const PhotoFileOptions& options = PhotoFileOptions());
    // A JPEG's bytes with a second, smaller image appended and named in an MPF index (APP2), as
    // cameras store their large preview.
    static std::string withMultiPicturePreview(const std::string& jpeg, const std::string& previewJpeg);
};
