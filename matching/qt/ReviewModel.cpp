#include "ReviewModel.h"

#include "BarcodeImage.h"
#include "MessageLog.h"
#include "ReviewCommands.h"
#include "ReviewMarks.h"
#include "ReviewTexts.h"

#include <QColor>
#include <QFont>
#include <QMimeData>
#include <QSet>
#include <algorithm>

const char ReviewModel::kPhotoMimeType[] = "application/x-veskbarcode-photo";

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), int(text.size()));
}

// A drag's data: the leaves' addresses, one per line, in the order of the tree.
QByteArray dragData(const QList<BarcodeImage*>& images) {
    QByteArray data;
    for (BarcodeImage* image : images)
        data += QByteArray::number(quintptr(image)) + '\n';
    return data;
}

// Tints of rows that want a look, light enough for black text in light and dark themes alike
// (the text colour follows the tint).
const QColor kDoubtTint(255, 236, 179);
const QColor kMovedTint(214, 234, 248);
const QColor kEmptyTint(236, 236, 236);
const QColor kCrowdedTint(250, 215, 200);

} // namespace

ReviewModel::ReviewModel(QObject* parent) : QAbstractItemModel(parent) {}

void ReviewModel::setSession(ReviewSession* session) {
    beginResetModel();
    fUndoStack.clear();
    fSession = session;
    fDraggedImages.clear();
    indexRows();
    endResetModel();
    fFigures = fSession ? fSession->figures() : ReviewFigures();
    emit edited();
}

void ReviewModel::indexRows() {
    fRowOfBarcode.clear();
    BarcodeList* list = barcodeList();
    if (!list)
        return;
    fRowOfBarcode.reserve(int(list->size()));
    for (size_t row = 0; row < list->size(); ++row)
        fRowOfBarcode.insert((*list)[row].get(), int(row));
}

Barcode* ReviewModel::barcodeAtRow(int row) const {
    BarcodeList* list = barcodeList();
    if (!list || row < 0 || size_t(row) >= list->size())
        return nullptr;
    return (*list)[size_t(row)].get();
}

// A top-level index carries no pointer; a photo's index carries its barcode.
Barcode* ReviewModel::barcodeAt(const QModelIndex& index) const {
    if (!index.isValid() || index.internalPointer())
        return nullptr;
    return barcodeAtRow(index.row());
}

BarcodeImage* ReviewModel::imageAt(const QModelIndex& index) const {
    if (!index.isValid() || !index.internalPointer())
        return nullptr;
    auto* owner = static_cast<Barcode*>(index.internalPointer());
    return owner->objectAtIndex(index.row());
}

QModelIndex ReviewModel::indexOfBarcode(const Barcode* barcode, int column) const {
    auto found = fRowOfBarcode.find(barcode);
    if (found == fRowOfBarcode.end())
        return QModelIndex();
    return createIndex(found.value(), column);
}

QModelIndex ReviewModel::indexOfImage(const BarcodeImage* image, int column) const {
    if (!image || !image->parent() || !fRowOfBarcode.contains(image->parent()))
        return QModelIndex();
    int row = image->parent()->indexOfObject(image);
    if (row < 0)
        return QModelIndex();
    return createIndex(row, column, image->parent());
}

QModelIndex ReviewModel::index(int row, int column, const QModelIndex& parent) const {
    if (column < 0 || column >= eColumnCount || row < 0)
        return QModelIndex();
    if (!parent.isValid())
        return barcodeAtRow(row) ? createIndex(row, column) : QModelIndex();
    Barcode* owner = barcodeAt(parent);
    if (!owner || row >= owner->numberOfChildren())
        return QModelIndex();
    return createIndex(row, column, owner);
}

QModelIndex ReviewModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || !child.internalPointer())
        return QModelIndex();
    return indexOfBarcode(static_cast<Barcode*>(child.internalPointer()));
}

int ReviewModel::rowCount(const QModelIndex& parent) const {
    BarcodeList* list = barcodeList();
    if (!list)
        return 0;
    if (!parent.isValid())
        return int(list->size());
    if (parent.column() != 0)
        return 0;
    Barcode* owner = barcodeAt(parent);
    return owner ? owner->numberOfChildren() : 0;
}

int ReviewModel::columnCount(const QModelIndex&) const {
    return eColumnCount;
}

// Every barcode can be expanded, even without photos; a photo cannot.
bool ReviewModel::hasChildren(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        BarcodeList* list = barcodeList();
        return list && !list->empty();
    }
    return parent.column() == 0 && barcodeAt(parent) != nullptr;
}

QVariant ReviewModel::nameData(const Barcode* barcode, int role) const {
    const size_t photos = barcode->images().size();
    const bool crowded = ReviewSession::isCrowded(photos, fFigures.usualPhotos);
    switch (role) {
    case Qt::DisplayRole:
        return fromUtf8(barcode->objectValue());
    case Qt::DecorationRole:
        if (photos == 0)
            return ReviewMarks::icon(ReviewMarks::eMark_Empty);
        return crowded ? ReviewMarks::icon(ReviewMarks::eMark_Crowded) : QVariant();
    case Qt::FontRole: {
        QFont font;
        font.setBold(true);
        return font;
    }
    case Qt::ToolTipRole: {
        QString text = tr("Barcode %1").arg(fromUtf8(barcode->barcode()));
        if (barcode->scanTime())
            text += QLatin1Char('\n') + tr("Scanned %1").arg(ReviewTexts::dateAndTime(*barcode->scanTime()));
        text += QLatin1Char('\n') + tr("%n photo(s)", nullptr, int(photos));
        if (photos == 0)
            text += QLatin1Char('\n') + tr("No photo: an absent subject, or a card scanned by mistake.");
        else if (crowded)
            text += QLatin1Char('\n') + tr("Far more photos than the usual %1: two subjects may share this "
                                           "barcode (a card that was not scanned).")
                                            .arg(fFigures.usualPhotos);
        return text;
    }
    default:
        return QVariant();
    }
}

QVariant ReviewModel::nameData(const BarcodeImage* image, int role) const {
    const bool moved = fSession && fSession->isMoved(image);
    switch (role) {
    case Qt::DisplayRole:
        return fromUtf8(image->objectValue());
    case Qt::DecorationRole:
        if (moved)
            return ReviewMarks::icon(ReviewMarks::eMark_Moved);
        return image->isDoubtful() ? ReviewMarks::icon(ReviewMarks::eMark_Doubt) : QVariant();
    case Qt::ToolTipRole: {
        QString text = fromUtf8(image->imageName());
        if (image->captureTime())
            text += QLatin1Char('\n') +
                    tr("Taken %1 by the camera's clock").arg(ReviewTexts::dateAndTime(*image->captureTime()));
        if (image->alignedTime())
            text += QLatin1Char('\n') +
                    tr("%1 by the scanner's clock").arg(ReviewTexts::timeOfDay(*image->alignedTime()));
        if (std::optional<double> after = image->secondsAfterScan())
            text += QLatin1Char('\n') +
                    tr("%1 after the scan of its barcode").arg(ReviewTexts::afterScan(*after));
        if (moved) {
            const Barcode* matched = fSession->matchedBarcodeOf(image);
            text += QLatin1Char('\n') + tr("Moved by you from barcode %1.").arg(fromUtf8(matched->barcode()));
        } else if (image->isDoubtful()) {
            text += QLatin1Char('\n') + ReviewTexts::doubtReasons(image->doubts());
        }
        return text;
    }
    default:
        return QVariant();
    }
}

QVariant ReviewModel::otherData(const Barcode* barcode, int column, int role) const {
    if (role == Qt::TextAlignmentRole)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole)
        return nameData(barcode, role);
    if (role != Qt::DisplayRole)
        return QVariant();
    if (column == eColumn_Time)
        return barcode->scanTime() ? ReviewTexts::timeOfDay(*barcode->scanTime()) : QString();
    return QString::number(barcode->numberOfChildren());
}

QVariant ReviewModel::otherData(const BarcodeImage* image, int column, int role) const {
    if (role == Qt::TextAlignmentRole)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole)
        return nameData(image, role);
    if (role != Qt::DisplayRole)
        return QVariant();
    if (column == eColumn_Time)
        return image->captureTime() ? ReviewTexts::timeOfDay(*image->captureTime()) : QString();
    std::optional<double> after = image->secondsAfterScan();
    return after ? ReviewTexts::afterScan(*after) : QString();
}

QVariant ReviewModel::data(const QModelIndex& index, int role) const {
    if (Barcode* barcode = barcodeAt(index)) {
        if (role == Qt::BackgroundRole || role == Qt::ForegroundRole) {
            const size_t photos = barcode->images().size();
            if (photos == 0)
                return role == Qt::BackgroundRole ? QVariant(kEmptyTint) : QVariant(QColor(Qt::black));
            if (ReviewSession::isCrowded(photos, fFigures.usualPhotos))
                return role == Qt::BackgroundRole ? QVariant(kCrowdedTint) : QVariant(QColor(Qt::black));
            return QVariant();
        }
        return index.column() == eColumn_Name ? nameData(barcode, role)
                                              : otherData(barcode, index.column(), role);
    }
    BarcodeImage* image = imageAt(index);
    if (!image)
        return QVariant();
    const bool moved = fSession && fSession->isMoved(image);
    switch (role) {
    case eRole_Moved:
        return moved;
    case eRole_NeedsLook:
        return !moved && (image->isDoubtful() || fFigures.uncertain);
    case Qt::BackgroundRole:
    case Qt::ForegroundRole:
        if (!moved && !image->isDoubtful())
            return QVariant();
        return role == Qt::BackgroundRole ? QVariant(moved ? kMovedTint : kDoubtTint)
                                          : QVariant(QColor(Qt::black));
    default:
        return index.column() == eColumn_Name ? nameData(image, role)
                                              : otherData(image, index.column(), role);
    }
}

QVariant ReviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return QVariant();
    if (role == Qt::TextAlignmentRole && section != eColumn_Name)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole) {
        switch (section) {
        case eColumn_Time:
            return tr("A barcode's scan time (scanner's clock), a photo's capture time (camera's clock)");
        case eColumn_Count:
            return tr("A barcode's number of photos; how long after its barcode's scan a photo was taken, "
                      "with the clocks lined up");
        default:
            return QVariant();
        }
    }
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case eColumn_Name:
        return tr("Barcode / photo");
    case eColumn_Time:
        return tr("Time");
    case eColumn_Count:
        return tr("Photos / after scan");
    default:
        return QVariant();
    }
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

// The photos among the dragged rows, in the order of the tree. A drag that starts on a barcode is
// refused (null).
QMimeData* ReviewModel::mimeData(const QModelIndexList& indexes) const {
    fDraggedImages.clear();
    if (indexes.isEmpty() || !imageAt(indexes.first()))
        return nullptr;
    QSet<BarcodeImage*> seen;
    for (const QModelIndex& index : indexes) {
        BarcodeImage* image = imageAt(index);
        if (image && !seen.contains(image)) {
            seen.insert(image);
            fDraggedImages << image;
        }
    }
    std::sort(fDraggedImages.begin(), fDraggedImages.end(), [this](BarcodeImage* a, BarcodeImage* b) {
        const int rowA = fRowOfBarcode.value(a->parent());
        const int rowB = fRowOfBarcode.value(b->parent());
        return rowA != rowB ? rowA < rowB : a->parent()->indexOfObject(a) < b->parent()->indexOfObject(b);
    });
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kPhotoMimeType), dragData(fDraggedImages));
    QStringList names;
    for (BarcodeImage* image : fDraggedImages)
        names << fromUtf8(image->imageName());
    data->setText(names.join(QLatin1Char('\n')));
    return data;
}

QList<BarcodeImage*> ReviewModel::draggedImagesOf(const QMimeData* data) const {
    if (!data || fDraggedImages.isEmpty() || !data->hasFormat(QString::fromLatin1(kPhotoMimeType)))
        return {};
    if (data->data(QString::fromLatin1(kPhotoMimeType)) != dragData(fDraggedImages))
        return {};
    for (BarcodeImage* image : fDraggedImages)
        if (!indexOfImage(image).isValid())
            return {};
    return fDraggedImages;
}

bool ReviewModel::canDropOn(const QModelIndex& target) const {
    Barcode* barcode = barcodeAt(target);
    if (!barcode)
        return false;
    for (BarcodeImage* image : fDraggedImages)
        if (indexOfImage(image).isValid() && image->parent() != barcode)
            return true;
    return false;
}

// The proposed row plays no part: a drop lands on a barcode and appends there.
bool ReviewModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int, int,
                                  const QModelIndex& parent) const {
    if (action != Qt::MoveAction || draggedImagesOf(data).isEmpty())
        return false;
    return canDropOn(parent);
}

bool ReviewModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                               const QModelIndex& parent) {
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    return moveImages(draggedImagesOf(data), barcodeAt(parent));
}

bool ReviewModel::moveImages(const QList<BarcodeImage*>& images, Barcode* target) {
    if (!fSession || !indexOfBarcode(target).isValid())
        return false;
    std::vector<MovePhotosCommand::Move> moves;
    for (BarcodeImage* image : images)
        if (indexOfImage(image).isValid() && image->parent() != target)
            moves.push_back({image, target});
    if (moves.empty())
        return false;
    const QString text =
        moves.size() == 1
            ? tr("Move %1 to %2").arg(fromUtf8(moves.front().image->imageName()), fromUtf8(target->barcode()))
            : tr("Move %n photo(s) to %1", nullptr, int(moves.size())).arg(fromUtf8(target->barcode()));
    fUndoStack.push(new MovePhotosCommand(this, std::move(moves), text));
    return true;
}

bool ReviewModel::moveImagesBy(const QList<BarcodeImage*>& images, int step) {
    if (!fSession)
        return false;
    std::vector<MovePhotosCommand::Move> moves;
    for (BarcodeImage* image : images) {
        if (!indexOfImage(image).isValid())
            continue;
        Barcode* target = barcodeAtRow(fRowOfBarcode.value(image->parent()) + step);
        if (target)
            moves.push_back({image, target});
    }
    if (moves.empty())
        return false;
    const QString text = step < 0 ? tr("Move %n photo(s) to the barcode before", nullptr, int(moves.size()))
                                  : tr("Move %n photo(s) to the barcode after", nullptr, int(moves.size()));
    fUndoStack.push(new MovePhotosCommand(this, std::move(moves), text));
    return true;
}

bool ReviewModel::rematch(const ClockAlignment& alignment, const QString& text, bool mergeable) {
    if (!fSession || !fSession->canRematch())
        return false;
    fUndoStack.push(new RematchCommand(this, alignment, text, mergeable));
    return true;
}

bool ReviewModel::applyMove(BarcodeImage* image, Barcode* target, int index) {
    QModelIndex from = indexOfImage(image);
    QModelIndex targetIndex = indexOfBarcode(target);
    if (!fSession || !from.isValid() || !targetIndex.isValid() || image->parent() == target)
        return false;
    Barcode* source = image->parent();
    QModelIndex sourceIndex = from.parent();
    const int count = target->numberOfChildren();
    const int newRow = index < 0 || index > count ? count : index;
    if (!beginMoveRows(sourceIndex, from.row(), from.row(), targetIndex, newRow))
        return false;
    fSession->moveImage(image, target, newRow == count ? -1 : newRow);
    endMoveRows();
    myPrintfDebug("Moved " + image->imageName() + " from " + source->barcode() + " to " + target->barcode());
    return true;
}

std::unique_ptr<ReviewSession::Match> ReviewModel::applyRematch(const ClockAlignment& alignment) {
    beginResetModel();
    fDraggedImages.clear();
    std::unique_ptr<ReviewSession::Match> previous = fSession ? fSession->rematch(alignment) : nullptr;
    indexRows();
    endResetModel();
    return previous;
}

std::unique_ptr<ReviewSession::Match> ReviewModel::applySwap(std::unique_ptr<ReviewSession::Match> other) {
    beginResetModel();
    fDraggedImages.clear();
    std::unique_ptr<ReviewSession::Match> previous =
        fSession ? fSession->swapMatch(std::move(other)) : nullptr;
    indexRows();
    endResetModel();
    return previous;
}

void ReviewModel::finishEdit(const QList<BarcodeImage*>& moved, bool matchWasReplaced) {
    fFigures = fSession ? fSession->figures() : ReviewFigures();
    if (matchWasReplaced) {
        emit matchReplaced();
        emit edited();
        return;
    }
    // The barcodes show their new counts and marks (the usual number of photos may have changed
    // too); the photos moved their new times after the scan.
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, eColumnCount - 1));
    for (BarcodeImage* image : moved)
        emit dataChanged(indexOfImage(image, 0), indexOfImage(image, eColumnCount - 1));
    emit imagesMoved(moved);
    emit edited();
}
