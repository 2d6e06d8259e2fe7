// The strip of thumbnails beside the large preview: the photos of the selected barcode, with the
// last photo of the barcode before and the first of the barcode after at its ends, set apart, so
// that a photo of another subject stands out. Thumbnails come from the PhotoLoader's workers;
// until one arrives its place shows a blank frame.
#pragma once

#include <QListWidget>
#include <QString>

class BarcodeImage;
class PhotoLoader;

class ThumbnailStrip : public QListWidget {
    Q_OBJECT
  public:
    struct Entry {
        BarcodeImage* image = nullptr;
        QString path;
        // Under the thumbnail: the time after the scan, or the neighbour's barcode.
        QString label;
        QString toolTip;
        // A photo of the barcode before or after.
        bool neighbour = false;
    };

    ThumbnailStrip(PhotoLoader* loader, QWidget* parent = nullptr);

    // Shows entries (the same entries again only move the highlight) with current highlighted.
    void setEntries(const QList<Entry>& entries, const BarcodeImage* current);
    void setCurrentImage(const BarcodeImage* current);
    // Forgets the entries (their photos are about to go: a new match is shown).
    void clearEntries();
    const QList<Entry>& entries() const { return fEntries; }
    // How many thumbnails shown have arrived.
    int thumbnailsShown() const;

  signals:
    // A thumbnail was clicked: the window selects its photo.
    void imageChosen(BarcodeImage* image);

  private:
    void showThumbnail(int row);
    void onImageReady(const QString& path, int kind);

    PhotoLoader* fLoader;
    QList<Entry> fEntries;
};
