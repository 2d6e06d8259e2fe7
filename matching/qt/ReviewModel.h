// The item model of the review window over the match tree of a ReviewSession: the barcodes at the
// top level, each with its photos below it, in three columns (the name, the time, the number of
// photos or how long after its barcode's scan a photo was taken), with marks for the doubtful,
// moved, empty and crowded rows.
//
// Every edit goes through the model's undo history: moves of one or several photos (a drop, a key,
// "Move to barcode...") and matches done again with other clocks. A photo always becomes its
// target's last photo; an undo puts it back where it was. A barcode cannot be dragged, and a drop on
// the root, on a photo or on the photo's own barcode is refused. The model does not own the session.
#pragma once

#include "Barcode.h"
#include "ReviewSession.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QList>
#include <QUndoStack>

class ReviewModel : public QAbstractItemModel {
    Q_OBJECT
  public:
    // The MIME type of dragged photos; its data identifies the leaves within this model.
    static const char kPhotoMimeType[];

    enum eColumn { eColumn_Name, eColumn_Time, eColumn_Count, eColumnCount };
    enum eRole {
        // True for a photo with doubt marks that has not been moved, or any photo of an uncertain
        // match.
        eRole_NeedsLook = Qt::UserRole + 1,
        // True for a photo moved away from the barcode matching gave it.
        eRole_Moved,
    };

    explicit ReviewModel(QObject* parent = nullptr);

    // Shows the session's tree (null: nothing) and clears the undo history; the caller keeps the
    // session alive until the next call.
    void setSession(ReviewSession* session);
    ReviewSession* session() const { return fSession; }
    BarcodeList* barcodeList() const { return fSession ? fSession->tree() : nullptr; }
    QUndoStack* undoStack() { return &fUndoStack; }
    // The figures of the summary line, kept up to date.
    const ReviewFigures& figures() const { return fFigures; }

    // The node or leaf of an index (exactly one is non-null for a valid index).
    Barcode* barcodeAt(const QModelIndex& index) const;
    BarcodeImage* imageAt(const QModelIndex& index) const;
    QModelIndex indexOfBarcode(const Barcode* barcode, int column = 0) const;
    QModelIndex indexOfImage(const BarcodeImage* image, int column = 0) const;
    Barcode* barcodeAtRow(int row) const;

    // The leaves of the last drag start (empty when a barcode drag cleared it).
    const QList<BarcodeImage*>& draggedImages() const { return fDraggedImages; }
    BarcodeImage* draggedImage() const { return fDraggedImages.isEmpty() ? nullptr : fDraggedImages.first(); }

    // Whether the dragged leaves may be dropped on the row at target.
    bool canDropOn(const QModelIndex& target) const;
    // Moves the images (those not already there) to the end of target's photos, in their order,
    // as one step of the undo history; false when none can move.
    bool moveImages(const QList<BarcodeImage*>& images, Barcode* target);
    bool moveImage(BarcodeImage* image, Barcode* target) { return moveImages({image}, target); }
    // Moves each image to the barcode before (step -1) or after (+1) its own, as one step; images
    // with no barcode there stay. false when none can move.
    bool moveImagesBy(const QList<BarcodeImage*>& images, int step);
    // Matches the shoot again with alignment as one step of the undo history. A step that follows
    // another mergeable rematch joins it (the changes of an offset control undo together).
    bool rematch(const ClockAlignment& alignment, const QString& text, bool mergeable);

    // For the undo commands: one photo moved (index -1: as the last photo) inside the model's move
    // notifications, and the session's match swapped inside a reset.
    bool applyMove(BarcodeImage* image, Barcode* target, int index);
    std::unique_ptr<ReviewSession::Match> applyRematch(const ClockAlignment& alignment);
    std::unique_ptr<ReviewSession::Match> applySwap(std::unique_ptr<ReviewSession::Match> other);
    // After a command: the figures, the title and the moved photos' selection follow.
    void finishEdit(const QList<BarcodeImage*>& moved, bool matchWasReplaced);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

  signals:
    // Photos have been moved (or put back by an undo); the window selects them.
    void imagesMoved(const QList<BarcodeImage*>& images);
    // Photos moved, or the shoot matched again: the summary and the title follow.
    void edited();
    // The shoot has been matched again (or an earlier match put back): a new tree is shown.
    void matchReplaced();

  private:
    QVariant nameData(const Barcode* barcode, int role) const;
    QVariant nameData(const BarcodeImage* image, int role) const;
    QVariant otherData(const Barcode* barcode, int column, int role) const;
    QVariant otherData(const BarcodeImage* image, int column, int role) const;
    // The leaves that a drag's data names, when it is the current drag of this model.
    QList<BarcodeImage*> draggedImagesOf(const QMimeData* data) const;
    void indexRows();

    ReviewSession* fSession = nullptr;
    QHash<const Barcode*, int> fRowOfBarcode;
    mutable QList<BarcodeImage*> fDraggedImages;
    QUndoStack fUndoStack;
    ReviewFigures fFigures;
};
