#include "ReviewWindow.h"

#include "AlertPanel.h"
#include "BarcodeImage.h"
#include "MessageLog.h"
#include "PhotoPreview.h"
#include "ReviewModel.h"
#include "ReviewPrompt.h"

#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

const int kGrowWidth = 550;
const int kGrowHeight = 330;

} // namespace

ReviewWindow::ReviewWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("imageSortWindow"));
    setWindowTitle(QStringLiteral("Review the matches"));
    setWindowModality(Qt::WindowModal);

    fModel = new ReviewModel(this);
    fImageSortView = new QTreeView;
    fImageSortView->setObjectName(QStringLiteral("imageSortView"));
    fImageSortView->setModel(fModel);
    fImageSortView->setHeaderHidden(true);
    fImageSortView->setUniformRowHeights(true);
    fImageSortView->setSelectionMode(QAbstractItemView::SingleSelection);
    fImageSortView->setDragEnabled(true);
    fImageSortView->setAcceptDrops(true);
    fImageSortView->setDropIndicatorShown(true);
    fImageSortView->setDragDropMode(QAbstractItemView::DragDrop);
    fImageSortView->setDefaultDropAction(Qt::MoveAction);
    connect(fImageSortView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { outlineViewSelectionDidChange(); });
    connect(fModel, &ReviewModel::imageMoved, this, [this](const QModelIndex& moved) {
        fImageSortView->expand(moved.parent());
        fImageSortView->selectionModel()->setCurrentIndex(moved, QItemSelectionModel::ClearAndSelect);
        fImageSortView->scrollTo(moved);
    });

    fPreview = new QLabel;
    fPreview->setObjectName(QStringLiteral("preview"));
    fPreview->setAlignment(Qt::AlignCenter);
    fPreview->setMinimumSize(160, 120);
    fPreview->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    fPreview->setStyleSheet(QStringLiteral("QLabel#preview { background: #202020; color: #c0c0c0; }"));
    fPreview->setText(QStringLiteral("Select a photo to see it here"));
    fPreviewName = new QLabel;
    fPreviewName->setObjectName(QStringLiteral("previewName"));
    fPreviewName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* previewPane = new QWidget;
    auto* previewLayout = new QVBoxLayout(previewPane);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    previewLayout->addWidget(fPreview, 1);
    previewLayout->addWidget(fPreviewName);

    auto* splitter = new QSplitter;
    splitter->addWidget(fImageSortView);
    splitter->addWidget(previewPane);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);

    auto* hint =
        new QLabel(QStringLiteral("Each barcode lists the photos matched to it. Drag a photo onto the "
                                  "barcode it belongs to; it becomes that barcode's last photo."));
    hint->setWordWrap(true);

    // Return to Vesk-X and Revert on the left, away from Cancel and OK.
    auto* returnToHost = new QPushButton(QStringLiteral("Return to Vesk-X"));
    returnToHost->setObjectName(QStringLiteral("ibReturnToVeskx"));
    returnToHost->setToolTip(
        QStringLiteral("Cancel the job and go back to Vesk-X; the scanner is not erased."));
    auto* revert = new QPushButton(QStringLiteral("Revert"));
    revert->setObjectName(QStringLiteral("ibRevertHit"));
    revert->setToolTip(QStringLiteral("Forget the moves and match again from the files."));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setObjectName(QStringLiteral("ibCancelHit"));
    cancel->setToolTip(QStringLiteral("Keep the automatic match and go on."));
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("ibOKHit"));
    ok->setToolTip(QStringLiteral("Save the matches as shown and go on."));
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
    layout->addWidget(hint);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);
    resize(470, 340);
}

void ReviewWindow::setBarcodeList(BarcodeList* list) {
    setSelectedImage(std::nullopt);
    fModel->setBarcodeList(list);
    // expandAll is one pass over the model, where expanding row by row relayouts each time.
    fImageSortView->expandAll();
    if (list)
        myPrintfDebug(myFormat("imageSortView expanded %zu barcodes", list->size()));
}

void ReviewWindow::outlineViewSelectionDidChange() {
    QModelIndexList selected = fImageSortView->selectionModel()->selectedIndexes();
    BarcodeImage* image = selected.isEmpty() ? nullptr : fModel->imageAt(selected.first());
    if (!image) {
        setSelectedImage(std::nullopt);
        return;
    }
    setSelectedImage(fWorkingPathName + image->imageName());
    QString name = QString::fromStdString(image->imageName());
    QString barcode = image->parent() ? QString::fromStdString(image->parent()->barcode()) : QString();
    fPreviewName->setText(fSelectedImage.isNull()
                              ? QStringLiteral("%1 (cannot be shown)  -  barcode %2").arg(name, barcode)
                              : QStringLiteral("%1  -  barcode %2").arg(name, barcode));
}

// Loads only the selected photo, so that a tree of thousands of photos opens at once.
void ReviewWindow::setSelectedImage(const std::optional<std::string>& path) {
    fSelectedImage = QImage();
    fPreviewName->clear();
    if (path) {
        QString file = QFile::decodeName(path->c_str());
        fSelectedImage = loadPhotoPreview(file);
        fPreviewName->setText(fSelectedImage.isNull() ? QStringLiteral("%1 (cannot be shown)").arg(file)
                                                      : file);
    }
    showPreview();
    emit selectedImageChanged();
}

void ReviewWindow::showPreview() {
    if (fSelectedImage.isNull()) {
        fPreview->setPixmap(QPixmap());
        fPreview->setText(QStringLiteral("Select a photo to see it here"));
        return;
    }
    QSize area = fPreview->size();
    fPreview->setPixmap(
        QPixmap::fromImage(fSelectedImage.scaled(area, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void ReviewWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    showPreview();
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
    done(eReviewCode_Cancel);
}

void ReviewWindow::ibRevertHit() {
    myPrintfDebug("ibRevertHit\n");
    done(eReviewCode_Revert);
}

void ReviewWindow::ibReturnToVeskx() {
    myPrintfDebug("ibReturnToVeskx\n");
    done(eReviewCode_ReturnToHost);
}
