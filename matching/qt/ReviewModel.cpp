#include "ReviewModel.h"

#include "BarcodeImage.h"
#include "MessageLog.h"

#include <QMimeData>

const char ReviewModel::kPhotoMimeType[] = "application/x-veskbarcode-photo";

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), int(text.size()));
}

} // namespace

ReviewModel::ReviewModel(QObject* parent) : QAbstractItemModel(parent) {}

void ReviewModel::setBarcodeList(BarcodeList* list) {
    beginResetModel();
    fList = list;
    fDraggedImage = nullptr;
    fRowOfBarcode.clear();
    if (fList) {
        for (size_t row = 0; row < fList->size(); ++row)
            fRowOfBarcode.insert((*fList)[row].get(), int(row));
    }
    endResetModel();
}

// A top-level index carries no pointer; a photo's index carries its barcode.
Barcode* ReviewModel::barcodeAt(const QModelIndex& index) const {
    if (!fList || !index.isValid() || index.internalPointer())
        return nullptr;
    if (index.row() < 0 || size_t(index.row()) >= fList->size())
        return nullptr;
    return (*fList)[size_t(index.row())].get();
}

BarcodeImage* ReviewModel::imageAt(const QModelIndex& index) const {
    if (!index.isValid() || !index.internalPointer())
        return nullptr;
    auto* owner = static_cast<Barcode*>(index.internalPointer());
    return owner->objectAtIndex(index.row());
}

QModelIndex ReviewModel::indexOfBarcode(const Barcode* barcode) const {
    auto found = fRowOfBarcode.find(barcode);
    if (found == fRowOfBarcode.end())
        return QModelIndex();
    return createIndex(found.value(), 0);
}

QModelIndex ReviewModel::indexOfImage(const BarcodeImage* image) const {
    if (!image || !image->parent() || !fRowOfBarcode.contains(image->parent()))
        return QModelIndex();
    int row = image->parent()->indexOfObject(image);
    if (row < 0)
        return QModelIndex();
    return createIndex(row, 0, image->parent());
}

QModelIndex ReviewModel::index(int row, int column, const QModelIndex& parent) const {
    if (!fList || column != 0 || row < 0)
        return QModelIndex();
    if (!parent.isValid()) {
        if (size_t(row) >= fList->size())
            return QModelIndex();
        return createIndex(row, 0);
    }
    Barcode* owner = barcodeAt(parent);
    if (!owner || row >= owner->numberOfChildren())
        return QModelIndex();
    return createIndex(row, 0, owner);
}

QModelIndex ReviewModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || !child.internalPointer())
        return QModelIndex();
    return indexOfBarcode(static_cast<Barcode*>(child.internalPointer()));
}

int ReviewModel::rowCount(const QModelIndex& parent) const {
    if (!fList)
        return 0;
    if (!parent.isValid())
        return int(fList->size());
    Barcode* owner = barcodeAt(parent);
    return owner ? owner->numberOfChildren() : 0;
}

int ReviewModel::columnCount(const QModelIndex&) const {
    return 1;
}

// Every barcode can be expanded, even without photos; a photo cannot.
bool ReviewModel::hasChildren(const QModelIndex& parent) const {
    if (!parent.isValid())
        return fList && !fList->empty();
    return barcodeAt(parent) != nullptr;
}

QVariant ReviewModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return QVariant();
    if (Barcode* barcode = barcodeAt(index)) {
        if (role == Qt::ToolTipRole)
            return tr("%n photo(s)", nullptr, barcode->numberOfChildren());
        return fromUtf8(barcode->objectValue());
    }
    if (BarcodeImage* image = imageAt(index))
        return fromUtf8(image->objectValue());
    return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
}

QVariant ReviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section != 0 || orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    return tr("Barcode / photo");
}

Qt::ItemFlags ReviewModel::flags(const QModelIndex& index) const {
    if (barcodeAt(index))
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled;
    if (imageAt(index))
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
    return Qt::NoItemFlags;
}

Qt::DropActions ReviewModel::supportedDragActions() const {
    return Qt::MoveAction;
}

Qt::DropActions ReviewModel::supportedDropActions() const {
    return Qt::MoveAction;
}

QStringList ReviewModel::mimeTypes() const {
    return {QString::fromLatin1(kPhotoMimeType)};
}

// Only the first dragged row counts. A barcode is not dragged: the drag is refused (null).
QMimeData* ReviewModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty())
        return nullptr;
    BarcodeImage* image = imageAt(indexes.first());
    fDraggedImage = image;
    if (!image)
        return nullptr;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kPhotoMimeType), QByteArray::number(quintptr(image)));
    data->setText(fromUtf8(image->imageName()));
    return data;
}

BarcodeImage* ReviewModel::draggedImageOf(const QMimeData* data) const {
    if (!data || !fDraggedImage || !data->hasFormat(QString::fromLatin1(kPhotoMimeType)))
        return nullptr;
    if (data->data(QString::fromLatin1(kPhotoMimeType)) != QByteArray::number(quintptr(fDraggedImage)))
        return nullptr;
    if (!indexOfImage(fDraggedImage).isValid())
        return nullptr;
    return fDraggedImage;
}

Barcode* ReviewModel::dropTarget(const QModelIndex& parent) const {
    return barcodeAt(parent);
}

bool ReviewModel::canDropOn(const QModelIndex& target) const {
    Barcode* barcode = dropTarget(target);
    return barcode && fDraggedImage && indexOfImage(fDraggedImage).isValid() &&
           fDraggedImage->parent() != barcode;
}

// The proposed row plays no part: a drop lands on a barcode and appends there.
bool ReviewModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int, int,
                                  const QModelIndex& parent) const {
    if (action != Qt::MoveAction || !draggedImageOf(data))
        return false;
    return canDropOn(parent);
}

bool ReviewModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                               const QModelIndex& parent) {
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    return moveImage(draggedImageOf(data), dropTarget(parent));
}

bool ReviewModel::moveImage(BarcodeImage* image, Barcode* target) {
    QModelIndex from = indexOfImage(image);
    QModelIndex targetIndex = indexOfBarcode(target);
    if (!from.isValid() || !targetIndex.isValid() || image->parent() == target)
        return false;
    Barcode* source = image->parent();
    QModelIndex sourceIndex = from.parent();
    int newRow = target->numberOfChildren();
    if (!beginMoveRows(sourceIndex, from.row(), from.row(), targetIndex, newRow))
        return false;
    target->addObject(source->removeObject(image));
    endMoveRows();
    myPrintfDebug("Moved " + image->imageName() + " from " + source->barcode() + " to " + target->barcode());
    QModelIndex moved = indexOfImage(image);
    emit dataChanged(sourceIndex, sourceIndex, {Qt::ToolTipRole});
    emit dataChanged(targetIndex, targetIndex, {Qt::ToolTipRole});
    emit imageMoved(moved);
    return true;
}
