// The review window: the match tree with every barcode expanded, in columns that show the times
// and the marks; above it the clocks (with the warning when they are uncertain and the controls
// to set them) and a summary line with a find field; beside it the large preview of the photo
// under the cursor and a strip of thumbnails of its barcode. Photos move by drag and drop, by
// Alt+Up and Alt+Down, or through "Move to barcode..."; every move can be undone.
//
// Four buttons end the review with a code: OK 1 (after its confirmation), "Use automatic
// matches" 0, Revert 2, Return to Vesk-X 3. Escape and the window's close button end it as 0 too,
// but once photos are moved they, Cancel, Revert and Return to Vesk-X first ask, so that no work
// is lost by a slip.
//
// Photos are decoded only on the PhotoLoader's workers, never on the user-interface thread.
#pragma once

#include "Barcode.h"
#include "ClockAlignment.h"

#include <QDialog>
#include <QImage>
#include <QPointer>

class ClockPanel;
class PhotoLoader;
class QAction;
class QLabel;
class QLineEdit;
class QMessageBox;
class QTimer;
class ReviewModel;
class ReviewSession;
class ReviewTreeView;
class ThumbnailStrip;

class ReviewWindow : public QDialog {
    Q_OBJECT
  public:
    explicit ReviewWindow(QWidget* parent = nullptr);
    ~ReviewWindow() override;

    // Shows the session's tree with every barcode expanded (null: nothing, as between reviews).
    // The caller keeps the session alive until the next call.
    void setSession(ReviewSession* session);
    ReviewSession* session() const;
    ReviewModel* model() const { return fModel; }
    ReviewTreeView* imageSortView() const { return fImageSortView; }
    PhotoLoader* photoLoader() const { return fLoader; }
    ThumbnailStrip* thumbnailStrip() const { return fStrip; }
    ClockPanel* clockPanel() const { return fClockPanel; }
    QLabel* summaryLine() const { return fSummary; }
    QLineEdit* findField() const { return fFind; }
    QLabel* caption() const { return fPreviewName; }

    // The photo under the cursor (null for a barcode or nothing) and its file.
    BarcodeImage* currentImage() const;
    QString pathOfImage(const BarcodeImage& image) const;
    // The photos selected, in the order of the list.
    QList<BarcodeImage*> selectedImages() const;
    // The preview shown for the photo under the cursor: null while it is on its way from the
    // worker, for a barcode, or when the photo cannot be shown.
    const QImage& selectedImage() const { return fSelectedImage; }

    // The keys' actions: the selected photos to the barcode before (-1) or after (+1); to a barcode
    // picked in a list; the next or previous doubtful photo; the clocks lined up on the photo
    // under the cursor. false when nothing was done.
    bool moveSelectionBy(int step);
    bool moveSelectionToChosenBarcode();
    bool goToDoubtfulPhoto(bool forward);
    bool alignOnCurrentPhoto();
    // The same without the barcode list: the clocks lined up so that image sits under barcode.
    bool alignOn(BarcodeImage* image, Barcode* barcode);

    // Grows the window by 550 x 330 with its top-right corner kept, within the screen.
    void growOnce();

    void ibOKHit();
    void ibCancelHit();
    void ibRevertHit();
    void ibReturnToVeskx();

  signals:
    // The preview of the photo under the cursor has changed (arrived, cleared).
    void selectedImageChanged();

  public slots:
    // Escape and the close button: leaves as "Use automatic matches", asking first once photos
    // have been moved.
    void reject() override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void buildActions();
    void currentChanged();
    void showSelectedImage();
    void requestPhotos();
    void showStrip();
    void showCaption();
    void refreshFigures();
    void afterMatchReplaced();
    void selectImages(const QList<BarcodeImage*>& images);
    void offsetChanged();
    void findNext(bool fromCurrent);
    void showContextMenu(const QPoint& globalPosition);
    void showNote(const QString& text);
    // Asks before moves are dropped by matching again; true to go on.
    bool mayDiscardMovesForRematch();
    // Asks before leaving with changes: true to leave with the code chosen in code.
    enum eLeave { eLeave_Stay, eLeave_Save, eLeave_Discard };
    eLeave askBeforeLeaving();
    bool confirmDiscard(const QString& name, const QString& title, const QString& text,
                        const QString& action);
    QSize previewBox() const;

    ReviewModel* fModel = nullptr;
    ReviewTreeView* fImageSortView = nullptr;
    PhotoLoader* fLoader = nullptr;
    ThumbnailStrip* fStrip = nullptr;
    ClockPanel* fClockPanel = nullptr;
    QLabel* fSummary = nullptr;
    QLineEdit* fFind = nullptr;
    QLabel* fPreview = nullptr;
    QLabel* fPreviewName = nullptr;
    QLabel* fHint = nullptr;
    QTimer* fNoteTimer = nullptr;
    QTimer* fOffsetTimer = nullptr;
    QAction* fUndo = nullptr;
    QAction* fRedo = nullptr;
    QAction* fMoveUp = nullptr;
    QAction* fMoveDown = nullptr;
    QAction* fMoveTo = nullptr;
    QAction* fAlign = nullptr;
    QImage fSelectedImage;
    QString fShownPath;
    // The clocks the offset control shifts from, and whether a shift is being applied.
    ClockAlignment fOffsetBase;
    bool fShifting = false;
    // The photo (by name) to select again once a new match is shown.
    std::string fReselectName;
};
