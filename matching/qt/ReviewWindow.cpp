#include "ReviewWindow.h"

#include "AlertPanel.h"
#include "BarcodeChooser.h"
#include "BarcodeImage.h"
#include "ClockPanel.h"
#include "ListName.h"
#include "MessageLog.h"
#include "PhotoLoader.h"
#include "ReviewModel.h"
#include "ReviewPrompt.h"
#include "ReviewSession.h"
#include "ReviewTexts.h"
#include "ReviewTreeView.h"
#include "ThumbnailStrip.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {

const int kGrowWidth = 550;
const int kGrowHeight = 330;
// How long a change of the offset control rests before the shoot is matched again (typing
// "120" matches once, not three times).
const int kOffsetRestMs = 150;
const int kThumbnailSide = 100;

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), int(text.size()));
}

// Escape in the find field empties it (or goes back to the list) instead of ending the review, and
// Enter finds the next match instead of pressing OK.
class FindFieldEscape : public QObject {
  public:
    FindFieldEscape(QLineEdit* field, QWidget* list) : QObject(field), fField(field), fList(list) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            // Enter finds the next match; it must not reach the window's default button (OK).
            if (event->type() == QEvent::KeyPress &&
                (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
                emit fField->returnPressed();
                event->accept();
                return true;
            }
            if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
                if (event->type() == QEvent::KeyPress) {
                    if (fField->text().isEmpty())
                        fList->setFocus();
                    else
                        fField->clear();
                }
                event->accept();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QLineEdit* fField;
    QWidget* fList;
};

} // namespace

ReviewWindow::ReviewWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("imageSortWindow"));
    setWindowTitle(tr("Review the matches"));
    setWindowModality(Qt::WindowModal);

    fModel = new ReviewModel(this);
    fLoader = new PhotoLoader(this);
    fLoader->setThumbnailSize(kThumbnailSide);

    fClockPanel = new ClockPanel;
    fSummary = new QLabel;
    fSummary->setObjectName(QStringLiteral("summaryLine"));
    fSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fFind = new QLineEdit;
    fFind->setObjectName(QStringLiteral("findBarcode"));
    fFind->setPlaceholderText(tr("Find a barcode or photo (Ctrl+F)"));
    fFind->setClearButtonEnabled(true);
    fFind->setMinimumWidth(fontMetrics().horizontalAdvance(fFind->placeholderText()) + 40);
    fFind->setMaximumWidth(360);

    fImageSortView = new ReviewTreeView;
    fImageSortView->setObjectName(QStringLiteral("imageSortView"));
    fImageSortView->setModel(fModel);
    fImageSortView->setUniformRowHeights(true);
    fImageSortView->setAllColumnsShowFocus(true);
    fImageSortView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    fImageSortView->setSelectionBehavior(QAbstractItemView::SelectRows);
    fImageSortView->setDragEnabled(true);
    fImageSortView->setAcceptDrops(true);
    fImageSortView->setDropIndicatorShown(true);
    fImageSortView->setDragDropMode(QAbstractItemView::DragDrop);
    fImageSortView->setDefaultDropAction(Qt::MoveAction);
    fImageSortView->setIconSize(QSize(14, 14));
    QHeaderView* header = fImageSortView->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(ReviewModel::eColumn_Name, QHeaderView::Stretch);
    header->setSectionResizeMode(ReviewModel::eColumn_Time, QHeaderView::Interactive);
    header->setSectionResizeMode(ReviewModel::eColumn_Count, QHeaderView::Interactive);
    header->resizeSection(ReviewModel::eColumn_Time,
                          fontMetrics().horizontalAdvance(QStringLiteral("00:00:00")) + 24);
    // Wide enough for its header and for the longest usual value.
    const QString countHeader = fModel->headerData(ReviewModel::eColumn_Count, Qt::Horizontal).toString();
    header->resizeSection(ReviewModel::eColumn_Count,
                          std::max(fontMetrics().horizontalAdvance(QStringLiteral("+12 min 59 s")),
                                   fontMetrics().horizontalAdvance(countHeader)) +
                              24);

    fPreview = new QLabel;
    fPreview->setObjectName(QStringLiteral("preview"));
    fPreview->setAlignment(Qt::AlignCenter);
    fPreview->setMinimumSize(160, 120);
    fPreview->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    fPreview->setStyleSheet(QStringLiteral("QLabel#preview { background: #202020; color: #c0c0c0; }"));
    fPreviewName = new QLabel;
    fPreviewName->setObjectName(QStringLiteral("previewName"));
    fPreviewName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fPreviewName->setWordWrap(true);
    fStrip = new ThumbnailStrip(fLoader);
    auto* previewPane = new QWidget;
    auto* previewLayout = new QVBoxLayout(previewPane);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    previewLayout->addWidget(fPreview, 1);
    previewLayout->addWidget(fPreviewName);
    previewLayout->addWidget(fStrip);

    auto* splitter = new QSplitter;
    splitter->addWidget(fImageSortView);
    splitter->addWidget(previewPane);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);

    auto* undoButton = new QToolButton;
    auto* redoButton = new QToolButton;
    buildActions();
    undoButton->setDefaultAction(fUndo);
    redoButton->setDefaultAction(fRedo);
    auto* summaryRow = new QHBoxLayout;
    summaryRow->addWidget(fSummary, 1);
    summaryRow->addWidget(undoButton);
    summaryRow->addWidget(redoButton);
    summaryRow->addWidget(fFind);

    fHint = new QLabel;
    fHint->setObjectName(QStringLiteral("hint"));
    fHint->setWordWrap(true);
    const QString hint = tr("Drag a photo onto the barcode it belongs to, or press Alt+Up / Alt+Down to move "
                            "the selected photos to the barcode before or after; a moved photo becomes that "
                            "barcode's last photo. F3 goes to the next doubtful photo, Ctrl+Z undoes.");
    fHint->setText(hint);
    fNoteTimer = new QTimer(this);
    fNoteTimer->setSingleShot(true);
    connect(fNoteTimer, &QTimer::timeout, this, [this, hint] {
        fHint->setStyleSheet(QString());
        fHint->setText(hint);
    });

    // Return to Vesk-X and Revert on the left, away from Cancel and OK.
    auto* returnToHost = new QPushButton(tr("Return to Vesk-X"));
    returnToHost->setObjectName(QStringLiteral("ibReturnToVeskx"));
    returnToHost->setToolTip(
        tr("Cancel the job and go back to Vesk-X; nothing is handed over and the scanner "
           "is not erased."));
    auto* revert = new QPushButton(tr("Revert"));
    revert->setObjectName(QStringLiteral("ibRevertHit"));
    revert->setToolTip(tr("Forget the changes and match again from the files."));
    auto* cancel = new QPushButton(tr("Use automatic matches"));
    cancel->setObjectName(QStringLiteral("ibCancelHit"));
    cancel->setToolTip(tr("Keep the matches as they were found automatically and go on; your moves are "
                          "discarded."));
    auto* ok = new QPushButton(tr("OK"));
    ok->setObjectName(QStringLiteral("ibOKHit"));
    ok->setToolTip(tr("Save the matches as shown and go on."));
    for (QPushButton* button : {returnToHost, revert, cancel, ok})
        button->setAutoDefault(false);
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(returnToHost);
    buttons->addWidget(revert);
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    buttons->addWidget(ok);
    connect(ok, &QPushButton::clicked, this, [this] { ibOKHit(); });
    connect(cancel, &QPushButton::clicked, this, [this] { ibCancelHit(); });
    connect(revert, &QPushButton::clicked, this, [this] { ibRevertHit(); });
    connect(returnToHost, &QPushButton::clicked, this, [this] { ibReturnToVeskx(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fClockPanel);
    layout->addLayout(summaryRow);
    layout->addWidget(splitter, 1);
    layout->addWidget(fHint);
    layout->addLayout(buttons);
    resize(470, 340);

    connect(fImageSortView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { currentChanged(); });
    connect(fImageSortView, &ReviewTreeView::contextMenuAt, this, &ReviewWindow::showContextMenu);
    connect(fModel, &ReviewModel::imagesMoved, this, &ReviewWindow::selectImages);
    connect(fModel, &ReviewModel::edited, this, &ReviewWindow::refreshFigures);
    connect(fModel, &ReviewModel::modelAboutToBeReset, this, [this] {
        BarcodeImage* image = currentImage();
        fReselectName = image ? image->imageName() : std::string();
        fStrip->clearEntries();
    });
    connect(fModel, &ReviewModel::matchReplaced, this, &ReviewWindow::afterMatchReplaced);
    connect(fLoader, &PhotoLoader::imageReady, this, [this](const QString& path, int kind) {
        if (kind == PhotoLoader::eKind_Preview && path == fShownPath)
            showSelectedImage();
    });
    connect(fStrip, &ThumbnailStrip::imageChosen, this, [this](BarcodeImage* image) {
        const QModelIndex index = fModel->indexOfImage(image);
        if (index.isValid())
            fImageSortView->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                                         QItemSelectionModel::Rows);
    });
    connect(fFind, &QLineEdit::textEdited, this, [this] { findNext(false); });
    connect(fFind, &QLineEdit::returnPressed, this, [this] { findNext(true); });
    fFind->installEventFilter(new FindFieldEscape(fFind, fImageSortView));
    fOffsetTimer = new QTimer(this);
    fOffsetTimer->setSingleShot(true);
    fOffsetTimer->setInterval(kOffsetRestMs);
    connect(fOffsetTimer, &QTimer::timeout, this, &ReviewWindow::offsetChanged);
    connect(fClockPanel, &ClockPanel::offsetChanged, fOffsetTimer, qOverload<>(&QTimer::start));
    connect(fClockPanel, &ClockPanel::alignFromPhotoRequested, this, [this] { alignOnCurrentPhoto(); });
    setSession(nullptr);
}

ReviewWindow::~ReviewWindow() = default;

void ReviewWindow::buildActions() {
    QUndoStack* stack = fModel->undoStack();
    fUndo = stack->createUndoAction(this, tr("Undo"));
    fUndo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    fRedo = stack->createRedoAction(this, tr("Redo"));
    fRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    fMoveUp = new QAction(tr("Move to the barcode before"), this);
    fMoveUp->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Up));
    connect(fMoveUp, &QAction::triggered, this, [this] { moveSelectionBy(-1); });
    fMoveDown = new QAction(tr("Move to the barcode after"), this);
    fMoveDown->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Down));
    connect(fMoveDown, &QAction::triggered, this, [this] { moveSelectionBy(1); });
    fMoveTo = new QAction(tr("Move to barcode..."), this);
    fMoveTo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(fMoveTo, &QAction::triggered, this, [this] { moveSelectionToChosenBarcode(); });
    fAlign = new QAction(tr("This photo shows barcode... (line up the clocks on it)"), this);
    connect(fAlign, &QAction::triggered, this, [this] { alignOnCurrentPhoto(); });
    auto* nextDoubt = new QAction(tr("Next doubtful photo"), this);
    nextDoubt->setShortcut(QKeySequence(Qt::Key_F3));
    connect(nextDoubt, &QAction::triggered, this, [this] { goToDoubtfulPhoto(true); });
    auto* previousDoubt = new QAction(tr("Previous doubtful photo"), this);
    previousDoubt->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    connect(previousDoubt, &QAction::triggered, this, [this] { goToDoubtfulPhoto(false); });
    auto* find = new QAction(tr("Find"), this);
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(find, &QAction::triggered, this, [this] {
        fFind->setFocus();
        fFind->selectAll();
    });
    for (QAction* action :
         {fUndo, fRedo, fMoveUp, fMoveDown, fMoveTo, fAlign, nextDoubt, previousDoubt, find}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
}

ReviewSession* ReviewWindow::session() const {
    return fModel->session();
}

void ReviewWindow::setSession(ReviewSession* session) {
    fOffsetTimer->stop();
    fStrip->clearEntries();
    fLoader->dropQueued();
    fModel->setSession(session);
    // expandAll is one pass over the model, where expanding row by row relayouts each time.
    fImageSortView->expandAll();
    if (BarcodeList* list = fModel->barcodeList())
        myPrintfDebug(myFormat("imageSortView expanded %zu barcodes", list->size()));
    fOffsetBase = session && session->estimate() ? session->estimate()->alignment : ClockAlignment();
    fClockPanel->resetOffset();
    fClockPanel->showEstimate(session ? session->estimate() : nullptr, session && session->canRematch());
    currentChanged();
    refreshFigures();
}

BarcodeImage* ReviewWindow::currentImage() const {
    return fModel->imageAt(fImageSortView->currentIndex());
}

QString ReviewWindow::pathOfImage(const BarcodeImage& image) const {
    const ReviewSession* reviewed = session();
    const std::string folder = reviewed ? reviewed->workingPathName() : std::string();
    // The list may hold a name escaped because the file's own could not be written in it.
    return QFile::decodeName(QByteArray::fromStdString(folder + relativePathOfListName(image.imageName())));
}

QList<BarcodeImage*> ReviewWindow::selectedImages() const {
    QList<BarcodeImage*> images;
    const QModelIndexList rows = fImageSortView->selectionModel()->selectedRows(ReviewModel::eColumn_Name);
    for (const QModelIndex& row : rows)
        if (BarcodeImage* image = fModel->imageAt(row))
            images << image;
    if (images.isEmpty())
        if (BarcodeImage* image = currentImage())
            images << image;
    // In the order of the list, as a drag gives them.
    std::sort(images.begin(), images.end(), [this](BarcodeImage* a, BarcodeImage* b) {
        const int rowA = fModel->indexOfBarcode(a->parent()).row();
        const int rowB = fModel->indexOfBarcode(b->parent()).row();
        return rowA != rowB ? rowA < rowB : a->parent()->indexOfObject(a) < b->parent()->indexOfObject(b);
    });
    return images;
}

QSize ReviewWindow::previewBox() const {
    const qreal ratio = devicePixelRatioF();
    return QSize(std::max(64, int(fPreview->width() * ratio)), std::max(64, int(fPreview->height() * ratio)));
}

void ReviewWindow::currentChanged() {
    BarcodeImage* image = currentImage();
    fShownPath = image ? pathOfImage(*image) : QString();
    requestPhotos();
    showSelectedImage();
    showCaption();
    const bool photo = image != nullptr;
    fAlign->setEnabled(photo && session() && session()->canRematch());
    fClockPanel->alignButton()->setEnabled(photo && session() && session()->canRematch());
}

// The photo before or after image in the list (across barcodes), or null.
static BarcodeImage* adjacentImage(const ReviewModel& model, BarcodeImage* image, int step) {
    if (!image || !image->parent())
        return nullptr;
    if (BarcodeImage* near = image->parent()->objectAtIndex(image->parent()->indexOfObject(image) + step))
        return near;
    for (int row = model.indexOfBarcode(image->parent()).row() + step;; row += step) {
        Barcode* barcode = model.barcodeAtRow(row);
        if (!barcode)
            return nullptr;
        if (barcode->numberOfChildren() > 0)
            return barcode->objectAtIndex(step > 0 ? 0 : barcode->numberOfChildren() - 1);
    }
}

// What the photographer looks at now first, then what comes next: the strip's thumbnails, the
// previews of the photos before and after, and the preview of the photo under the cursor at the
// front of the queue. Requests of an earlier photo that have not started are dropped.
void ReviewWindow::requestPhotos() {
    fLoader->dropQueued();
    showStrip();
    BarcodeImage* image = currentImage();
    if (!image)
        return;
    const QSize box = previewBox();
    for (int step : {1, -1})
        if (BarcodeImage* near = adjacentImage(*fModel, image, step))
            fLoader->request(pathOfImage(*near), PhotoLoader::eKind_Preview, box, false);
    fLoader->request(fShownPath, PhotoLoader::eKind_Preview, box, true);
}

void ReviewWindow::showStrip() {
    const QModelIndex current = fImageSortView->currentIndex();
    BarcodeImage* image = fModel->imageAt(current);
    Barcode* barcode = image ? image->parent() : fModel->barcodeAt(current.siblingAtColumn(0));
    if (!barcode) {
        fStrip->clearEntries();
        return;
    }
    QList<ThumbnailStrip::Entry> entries;
    auto entryFor = [this](BarcodeImage* photo, bool neighbour) {
        ThumbnailStrip::Entry entry;
        entry.image = photo;
        entry.path = pathOfImage(*photo);
        entry.neighbour = neighbour;
        entry.toolTip = fromUtf8(photo->imageName());
        std::optional<double> after = photo->secondsAfterScan();
        entry.label = after ? ReviewTexts::afterScan(*after)
                            : fromUtf8(photo->imageName()).section(QLatin1Char('/'), -1);
        return entry;
    };
    const int row = fModel->indexOfBarcode(barcode).row();
    for (int before = row - 1; before >= 0; --before) {
        Barcode* other = fModel->barcodeAtRow(before);
        if (other->numberOfChildren() == 0)
            continue;
        ThumbnailStrip::Entry entry = entryFor(other->objectAtIndex(other->numberOfChildren() - 1), true);
        entry.label = QStringLiteral("\u2039 ") + fromUtf8(other->barcode());
        entry.toolTip =
            tr("The last photo of the barcode before, %1: %2").arg(fromUtf8(other->barcode()), entry.toolTip);
        entries << entry;
        break;
    }
    for (const auto& photo : barcode->images())
        entries << entryFor(photo.get(), false);
    for (int after = row + 1; fModel->barcodeAtRow(after); ++after) {
        Barcode* other = fModel->barcodeAtRow(after);
        if (other->numberOfChildren() == 0)
            continue;
        ThumbnailStrip::Entry entry = entryFor(other->objectAtIndex(0), true);
        entry.label = fromUtf8(other->barcode()) + QStringLiteral(" \u203a");
        entry.toolTip =
            tr("The first photo of the barcode after, %1: %2").arg(fromUtf8(other->barcode()), entry.toolTip);
        entries << entry;
        break;
    }
    fStrip->setEntries(entries, image);
}

void ReviewWindow::showSelectedImage() {
    const QImage previous = fSelectedImage;
    fSelectedImage = fShownPath.isEmpty() ? QImage() : fLoader->image(fShownPath, PhotoLoader::eKind_Preview);
    if (fSelectedImage.isNull()) {
        fPreview->setPixmap(QPixmap());
        if (fShownPath.isEmpty())
            fPreview->setText(tr("Select a photo to see it here"));
        else if (fLoader->failed(fShownPath, PhotoLoader::eKind_Preview))
            fPreview->setText(tr("This photo cannot be shown"));
        else
            fPreview->setText(tr("Loading..."));
    } else {
        QPixmap pixmap = QPixmap::fromImage(
            fSelectedImage.scaled(previewBox(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
        pixmap.setDevicePixelRatio(devicePixelRatioF());
        fPreview->setPixmap(pixmap);
    }
    if (previous.cacheKey() != fSelectedImage.cacheKey())
        emit selectedImageChanged();
}

void ReviewWindow::showCaption() {
    BarcodeImage* image = currentImage();
    if (!image) {
        Barcode* barcode = fModel->barcodeAt(fImageSortView->currentIndex().siblingAtColumn(0));
        fPreviewName->setText(barcode ? tr("Barcode %1: %n photo(s)", nullptr, barcode->numberOfChildren())
                                            .arg(fromUtf8(barcode->barcode()))
                                      : QString());
        return;
    }
    QString text =
        tr("%1 under barcode %2").arg(fromUtf8(image->imageName()), fromUtf8(image->parent()->barcode()));
    if (std::optional<double> after = image->secondsAfterScan())
        text += QStringLiteral(", ") + tr("%1 after its scan").arg(ReviewTexts::afterScan(*after));
    if (session() && session()->isMoved(image))
        text += QStringLiteral(" (") +
                tr("moved by you from %1").arg(fromUtf8(session()->matchedBarcodeOf(image)->barcode())) +
                QLatin1Char(')');
    else if (image->isDoubtful())
        text += QLatin1Char('\n') + ReviewTexts::doubtReasons(image->doubts());
    fPreviewName->setText(text);
}

void ReviewWindow::refreshFigures() {
    ReviewSession* reviewed = session();
    fSummary->setText(reviewed ? ReviewTexts::summary(fModel->figures()) : QString());
    QString title = tr("Review the matches");
    if (reviewed && reviewed->movedPhotos() > 0)
        title += QStringLiteral(" \u2014 ") + tr("%n photo(s) moved", nullptr, int(reviewed->movedPhotos()));
    if (reviewed && reviewed->isRematched())
        title += QStringLiteral(" \u2014 ") + tr("matched again with other clocks");
    setWindowTitle(title);
    showCaption();
}

void ReviewWindow::afterMatchReplaced() {
    fImageSortView->expandAll();
    ReviewSession* reviewed = session();
    const ClockEstimate* estimate = reviewed ? reviewed->estimate() : nullptr;
    fClockPanel->showEstimate(estimate, reviewed && reviewed->canRematch());
    if (!fShifting) {
        fOffsetBase = estimate ? estimate->alignment : ClockAlignment();
        fClockPanel->resetOffset();
    }
    // The photo under the cursor before stays under it, wherever the new match put it.
    BarcodeImage* reselect = nullptr;
    if (BarcodeList* list = fModel->barcodeList())
        for (const auto& node : *list)
            for (const auto& image : node->images())
                if (!reselect && !fReselectName.empty() && image->imageName() == fReselectName)
                    reselect = image.get();
    if (reselect)
        selectImages({reselect});
    else
        currentChanged();
}

void ReviewWindow::selectImages(const QList<BarcodeImage*>& images) {
    QItemSelection selection;
    QModelIndex first;
    for (BarcodeImage* image : images) {
        const QModelIndex index = fModel->indexOfImage(image);
        if (!index.isValid())
            continue;
        fImageSortView->expand(index.parent());
        selection.select(index, fModel->indexOfImage(image, ReviewModel::eColumnCount - 1));
        if (!first.isValid())
            first = index;
    }
    if (!first.isValid())
        return;
    QItemSelectionModel* selectionModel = fImageSortView->selectionModel();
    selectionModel->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    selectionModel->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    fImageSortView->scrollTo(first);
    // The current index may not have changed (a photo moved stays under the cursor): the caption,
    // the strip and the preview follow its new place all the same.
    currentChanged();
}

bool ReviewWindow::moveSelectionBy(int step) {
    const QList<BarcodeImage*> images = selectedImages();
    if (images.isEmpty()) {
        showNote(tr("Select the photos to move first."));
        return false;
    }
    if (fModel->moveImagesBy(images, step))
        return true;
    QApplication::beep();
    showNote(step < 0 ? tr("There is no barcode before the first one.")
                      : tr("There is no barcode after the last one."));
    return false;
}

bool ReviewWindow::moveSelectionToChosenBarcode() {
    const QList<BarcodeImage*> images = selectedImages();
    BarcodeList* list = fModel->barcodeList();
    if (images.isEmpty() || !list) {
        showNote(tr("Select the photos to move first."));
        return false;
    }
    const QString title = images.size() == 1 ? tr("Move %1").arg(fromUtf8(images.first()->imageName()))
                                             : tr("Move %n photo(s)", nullptr, int(images.size()));
    BarcodeChooser chooser(
        *list, images.first()->parent(), title,
        tr("Type the barcode to move to, then press Enter. The photos become its last photos."), this);
    if (chooser.exec() != QDialog::Accepted || !chooser.chosenBarcode())
        return false;
    return fModel->moveImages(images, chooser.chosenBarcode());
}

bool ReviewWindow::goToDoubtfulPhoto(bool forward) {
    BarcodeList* list = fModel->barcodeList();
    if (!list || list->empty())
        return false;
    // Walk the photos in the list's order from the one under the cursor, round to where it began.
    const QModelIndex current = fImageSortView->currentIndex();
    BarcodeImage* image = fModel->imageAt(current);
    int row = image ? fModel->indexOfBarcode(image->parent()).row() : std::max(0, current.row());
    int photo = image ? image->parent()->indexOfObject(image)
                      : (forward ? -1 : fModel->barcodeAtRow(row)->numberOfChildren());
    const int rows = int(list->size());
    size_t seen = 0;
    const size_t photos = size_t(fModel->figures().photos) + 1;
    while (seen++ <= photos + size_t(rows)) {
        photo += forward ? 1 : -1;
        Barcode* barcode = fModel->barcodeAtRow(row);
        if (photo < 0 || photo >= barcode->numberOfChildren()) {
            row = (row + (forward ? 1 : -1) + rows) % rows;
            photo = forward ? -1 : fModel->barcodeAtRow(row)->numberOfChildren();
            continue;
        }
        BarcodeImage* candidate = barcode->objectAtIndex(photo);
        if (candidate == image || !candidate->isDoubtful() || session()->isMoved(candidate))
            continue;
        fImageSortView->selectionModel()->setCurrentIndex(
            fModel->indexOfImage(candidate), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        fImageSortView->scrollTo(fModel->indexOfImage(candidate));
        return true;
    }
    QApplication::beep();
    showNote(tr("No doubtful photo left to look at."));
    return false;
}

bool ReviewWindow::alignOnCurrentPhoto() {
    BarcodeImage* image = currentImage();
    BarcodeList* list = fModel->barcodeList();
    if (!image || !list || !session() || !session()->canRematch()) {
        showNote(tr("Select a photo whose subject you know first."));
        return false;
    }
    BarcodeChooser chooser(
        *list, image->parent(), tr("Line up the clocks on %1").arg(fromUtf8(image->imageName())),
        tr("Which barcode does %1 show? The clocks are lined up so that it sits under that "
           "barcode, and the whole shoot is matched again.")
            .arg(fromUtf8(image->imageName())),
        this);
    if (chooser.exec() != QDialog::Accepted || !chooser.chosenBarcode())
        return false;
    return alignOn(image, chooser.chosenBarcode());
}

bool ReviewWindow::alignOn(BarcodeImage* image, Barcode* barcode) {
    ReviewSession* reviewed = session();
    if (!image || !barcode || !reviewed || !reviewed->canRematch())
        return false;
    std::optional<ClockAlignment> clocks = reviewed->alignmentPlacing(*image, *barcode);
    if (!clocks) {
        QMessageBox box(QMessageBox::Information, tr("The clocks cannot be lined up so"),
                        tr("No clock offset puts %1 under barcode %2 (the photo has no capture time, or the "
                           "barcode was scanned at the same second as the next one).")
                            .arg(fromUtf8(image->imageName()), fromUtf8(barcode->barcode())),
                        QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("alignImpossible"));
        box.button(QMessageBox::Ok)->setText(tr("OK"));
        box.exec();
        return false;
    }
    if (!mayDiscardMovesForRematch())
        return false;
    fReselectName = image->imageName();
    const QString name = fromUtf8(image->imageName());
    const QString code = fromUtf8(barcode->barcode());
    if (!fModel->rematch(*clocks, tr("Line up the clocks: %1 shows %2").arg(name, code), false))
        return false;
    showNote(tr("The clocks are lined up on %1 under %2; the whole shoot has been matched again (Ctrl+Z "
                "undoes it).")
                 .arg(name, code));
    return true;
}

bool ReviewWindow::mayDiscardMovesForRematch() {
    ReviewSession* reviewed = session();
    if (!reviewed || reviewed->movedPhotos() == 0)
        return true;
    const int moved = int(reviewed->movedPhotos());
    return confirmDiscard(QStringLiteral("confirmRematch"), tr("Match the shoot again?"),
                          tr("Matching again with other clocks puts every photo where the new clocks say and "
                             "discards your %n move(s). Undo brings them back.",
                             nullptr, moved),
                          tr("Match Again"));
}

void ReviewWindow::offsetChanged() {
    ReviewSession* reviewed = session();
    if (!reviewed || !reviewed->canRematch() || fOffsetBase.bodies.empty())
        return;
    if (!mayDiscardMovesForRematch()) {
        fClockPanel->resetOffset();
        return;
    }
    fShifting = true;
    fModel->rematch(fOffsetBase.shifted(fClockPanel->offsetSeconds()), tr("Shift the camera clock"), true);
    fShifting = false;
}

void ReviewWindow::findNext(bool fromCurrent) {
    const QString text = fFind->text().trimmed();
    BarcodeList* list = fModel->barcodeList();
    if (text.isEmpty() || !list || list->empty())
        return;
    // Barcodes first (the one that starts with the text before one that holds it), then photos,
    // from the row after the cursor when Enter asks for the next one.
    const int rows = int(list->size());
    const QModelIndex current = fImageSortView->currentIndex();
    const int start =
        fromCurrent && current.isValid()
            ? (fModel->barcodeAt(current.siblingAtColumn(0)) ? current.row() : current.parent().row()) + 1
            : 0;
    QModelIndex found;
    for (int pass = 0; pass < 3 && !found.isValid(); ++pass) {
        for (int i = 0; i < rows && !found.isValid(); ++i) {
            Barcode* barcode = fModel->barcodeAtRow((start + i) % rows);
            const QString code = fromUtf8(barcode->barcode());
            if ((pass == 0 && code.startsWith(text, Qt::CaseInsensitive)) ||
                (pass == 1 && code.contains(text, Qt::CaseInsensitive))) {
                found = fModel->indexOfBarcode(barcode);
                continue;
            }
            if (pass != 2)
                continue;
            for (const auto& image : barcode->images())
                if (!found.isValid() && fromUtf8(image->imageName()).contains(text, Qt::CaseInsensitive))
                    found = fModel->indexOfImage(image.get());
        }
    }
    if (!found.isValid()) {
        showNote(tr("No barcode or photo matches \"%1\".").arg(text));
        return;
    }
    fImageSortView->selectionModel()->setCurrentIndex(found, QItemSelectionModel::ClearAndSelect |
                                                                 QItemSelectionModel::Rows);
    fImageSortView->scrollTo(found, QAbstractItemView::PositionAtTop);
}

void ReviewWindow::showContextMenu(const QPoint& globalPosition) {
    QMenu menu(this);
    const bool photos = !selectedImages().isEmpty();
    fMoveTo->setEnabled(photos);
    fMoveUp->setEnabled(photos);
    fMoveDown->setEnabled(photos);
    menu.addAction(fMoveTo);
    menu.addAction(fMoveUp);
    menu.addAction(fMoveDown);
    menu.addSeparator();
    menu.addAction(fAlign);
    menu.addSeparator();
    menu.addAction(fUndo);
    menu.addAction(fRedo);
    menu.exec(globalPosition);
    for (QAction* action : {fMoveTo, fMoveUp, fMoveDown})
        action->setEnabled(true);
}

void ReviewWindow::showNote(const QString& text) {
    fHint->setText(text);
    fHint->setStyleSheet(QStringLiteral("QLabel#hint { color: #8a5a00; font-weight: bold; }"));
    fNoteTimer->start(6000);
}

bool ReviewWindow::confirmDiscard(const QString& name, const QString& title, const QString& text,
                                  const QString& action) {
    QMessageBox box(QMessageBox::Warning, title, title, QMessageBox::NoButton, this);
    box.setObjectName(name);
    box.setInformativeText(text);
    QPushButton* keep = box.addButton(tr("Keep Reviewing"), QMessageBox::RejectRole);
    QPushButton* go = box.addButton(action, QMessageBox::DestructiveRole);
    box.setDefaultButton(keep);
    box.setEscapeButton(keep);
    box.exec();
    return box.clickedButton() == go;
}

ReviewWindow::eLeave ReviewWindow::askBeforeLeaving() {
    ReviewSession* reviewed = session();
    const int moved = int(reviewed->movedPhotos());
    QMessageBox box(QMessageBox::Warning, tr("Leave the review?"), QString(), QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("confirmLeave"));
    if (reviewed->isRematched())
        box.setText(
            moved ? tr("You matched the shoot again with other clocks and moved %n photo(s).", nullptr, moved)
                  : tr("You matched the shoot again with other clocks."));
    else
        box.setText(tr("You moved %n photo(s).", nullptr, moved));
    box.setInformativeText(
        tr("Save the matches as they are shown now, or discard your changes and go on with "
           "the automatic matches."));
    QPushButton* keep = box.addButton(tr("Keep Reviewing"), QMessageBox::RejectRole);
    QPushButton* save = box.addButton(tr("Save Matches"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(reviewed->isRematched() ? tr("Discard Changes")
                                                                 : tr("Discard %n Move(s)", nullptr, moved),
                                         QMessageBox::DestructiveRole);
    box.setDefaultButton(keep);
    box.setEscapeButton(keep);
    box.exec();
    if (box.clickedButton() == save)
        return eLeave_Save;
    if (box.clickedButton() == discard)
        return eLeave_Discard;
    return eLeave_Stay;
}

void ReviewWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    showSelectedImage();
    // A pane grown beyond what the preview was decoded for asks for a larger one.
    if (!fShownPath.isEmpty())
        fLoader->request(fShownPath, PhotoLoader::eKind_Preview, previewBox(), true);
}

void ReviewWindow::growOnce() {
    QRect frame = geometry();
    myPrintfDebug(
        myFormat("imageSortWindow curSize.width=[%2.2f]\ncurSize.height=]%2.2f]\ncurOrigin.x=[%2.2f]\n"
                 "curOrigin.y=[%2.2f]\n",
                 double(frame.width()), double(frame.height()), double(frame.x()), double(frame.y())));
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 100000, 100000);
    int width = std::min(frame.width() + kGrowWidth, available.width());
    int height = std::min(frame.height() + kGrowHeight, available.height());
    // The top-right corner stays; the window stays on the screen.
    int right = frame.x() + frame.width();
    int x = std::max(available.left(), std::min(right - width, available.right() + 1 - width));
    int y = std::max(available.top(), std::min(frame.y(), available.bottom() + 1 - height));
    setGeometry(x, y, width, height);
}

void ReviewWindow::ibOKHit() {
    myPrintfDebug("ibOKHit\n");
    // The confirmation's default button keeps the review open; any other answer, also no answer
    // at all, ends it.
    if (myNSRunAlertPanel(kLocalizedTable, "NSAlertWindow_9005", nullptr, nullptr) == 1)
        return;
    done(eReviewCode_OK);
}

void ReviewWindow::ibCancelHit() {
    myPrintfDebug("ibCancelHit\n");
    ReviewSession* reviewed = session();
    if (reviewed && reviewed->hasChanges() &&
        !confirmDiscard(
            QStringLiteral("confirmCancel"), tr("Use the automatic matches?"),
            reviewed->movedPhotos() > 0
                ? tr("Your %n move(s) are discarded; the matched list keeps the matches found "
                     "automatically.",
                     nullptr, int(reviewed->movedPhotos()))
                : tr("The matches made with other clocks are discarded; the matched list keeps the "
                     "matches found automatically."),
            tr("Use Automatic Matches")))
        return;
    done(eReviewCode_Cancel);
}

void ReviewWindow::ibRevertHit() {
    myPrintfDebug("ibRevertHit\n");
    ReviewSession* reviewed = session();
    if (reviewed && reviewed->hasChanges() &&
        !confirmDiscard(
            QStringLiteral("confirmRevert"), tr("Match again from the files?"),
            tr("Your changes are discarded and the photos are matched again from the list files."),
            tr("Revert")))
        return;
    done(eReviewCode_Revert);
}

void ReviewWindow::ibReturnToVeskx() {
    myPrintfDebug("ibReturnToVeskx\n");
    ReviewSession* reviewed = session();
    if (reviewed && reviewed->hasChanges() &&
        !confirmDiscard(
            QStringLiteral("confirmReturn"), tr("Return to Vesk-X without saving?"),
            tr("The job is cancelled: your changes are discarded, no matches are handed to Vesk-X "
               "and the scanner is not erased."),
            tr("Return to Vesk-X")))
        return;
    done(eReviewCode_ReturnToHost);
}

void ReviewWindow::reject() {
    ReviewSession* reviewed = session();
    if (!reviewed || !reviewed->hasChanges()) {
        done(eReviewCode_Cancel);
        return;
    }
    switch (askBeforeLeaving()) {
    case eLeave_Save:
        done(eReviewCode_OK);
        return;
    case eLeave_Discard:
        done(eReviewCode_Cancel);
        return;
    case eLeave_Stay:
        return;
    }
}
