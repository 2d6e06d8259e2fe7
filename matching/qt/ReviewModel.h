// The item model of the review window over the match tree: the barcodes at the top level, each
// with its photos below it. A photo can be dragged onto another barcode, where it becomes that
// barcode's last photo; a barcode cannot be dragged, and a drop on the root, on a photo or on
// the photo's own barcode is refused. The model does not own the tree.
#pragma once

#include "Barcode.h"

#include <QAbstractItemModel>
#include <QHash>

class ReviewModel : public QAbstractItemModel {
    Q_OBJECT
  public:
    // The MIME type of a dragged photo; its data identifies the leaf within this model.
    static const char kPhotoMimeType[];

    explicit ReviewModel(QObject* parent = nullptr);

    // Shows list (or nothing for null); the caller keeps it alive until the next call.
    void setBarcodeList(BarcodeList* list);
    BarcodeList* barcodeList() const { return fList; }

    // The node or leaf of an index (exactly one is non-null for a valid index).
    Barcode* barcodeAt(const QModelIndex& index) const;
    BarcodeImage* imageAt(const QModelIndex& index) const;
    QModelIndex indexOfBarcode(const Barcode* barcode) const;
    QModelIndex indexOfImage(const BarcodeImage* image) const;

    // The leaf of the last drag start, or null (a barcode drag clears it).
    BarcodeImage* draggedImage() const { return fDraggedImage; }

    // Whether the dragged leaf may be dropped on the row at target.
    bool canDropOn(const QModelIndex& target) const;
    // Moves the leaf to the end of target's photos; false when the move is not allowed.
    bool moveImage(BarcodeImage* image, Barcode* target);

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
    // A photo has been moved; the window selects it.
    void imageMoved(const QModelIndex& newIndex);

  private:
    // The leaf that a drag's data names, when it is the current drag of this model.
    BarcodeImage* draggedImageOf(const QMimeData* data) const;
    // The node a drop on parent lands on: a top-level row, never the root or a photo.
    Barcode* dropTarget(const QModelIndex& parent) const;

    BarcodeList* fList = nullptr;
    QHash<const Barcode*, int> fRowOfBarcode;
    mutable BarcodeImage* fDraggedImage = nullptr;
};
