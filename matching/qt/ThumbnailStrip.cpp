#include "ThumbnailStrip.h"

#include "PhotoLoader.h"

#include <QPainter>
#include <QPixmap>
#include <QScrollBar>

namespace {

const int kSpacing = 6;

// A blank frame of the thumbnail's size, for a thumbnail on its way or one that cannot be shown.
QPixmap blankFrame(int side, bool failed) {
    QPixmap pixmap(side, side * 2 / 3);
    pixmap.fill(QColor(60, 60, 60));
    QPainter painter(&pixmap);
    painter.setPen(QPen(QColor(110, 110, 110), 1));
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    if (failed) {
        painter.setPen(QPen(QColor(200, 80, 60), 2));
        painter.drawLine(pixmap.rect().topLeft(), pixmap.rect().bottomRight());
        painter.drawLine(pixmap.rect().bottomLeft(), pixmap.rect().topRight());
    }
    return pixmap;
}

// A neighbour's thumbnail, dimmed: it is there for comparison.
QPixmap dimmed(const QPixmap& pixmap) {
    QPixmap result(pixmap.size());
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setOpacity(0.45);
    painter.drawPixmap(0, 0, pixmap);
    return result;
}

} // namespace

ThumbnailStrip::ThumbnailStrip(PhotoLoader* loader, QWidget* parent) : QListWidget(parent), fLoader(loader) {
    setObjectName(QStringLiteral("thumbnailStrip"));
    setViewMode(QListView::IconMode);
    setFlow(QListView::LeftToRight);
    setWrapping(false);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::NoFocus);
    setUniformItemSizes(true);
    // The grid alone spaces the thumbnails: a spacing on top of it takes its room from the
    // label, which was cut in half.
    const int side = fLoader->thumbnailSize();
    setIconSize(QSize(side, side));
    setGridSize(QSize(side + 2 * kSpacing, side + fontMetrics().height() * 2 + kSpacing));
    setFixedHeight(gridSize().height() + horizontalScrollBar()->sizeHint().height() + 2 * frameWidth() + 4);
    connect(fLoader, &PhotoLoader::imageReady, this, &ThumbnailStrip::onImageReady);
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int at = row(item);
        if (at >= 0 && at < fEntries.size())
            emit imageChosen(fEntries[at].image);
    });
}

void ThumbnailStrip::clearEntries() {
    fEntries.clear();
    clear();
}

void ThumbnailStrip::setEntries(const QList<Entry>& entries, const BarcodeImage* current) {
    bool same = entries.size() == fEntries.size();
    for (int i = 0; same && i < entries.size(); ++i)
        same = entries[i].image == fEntries[i].image && entries[i].label == fEntries[i].label &&
               entries[i].neighbour == fEntries[i].neighbour;
    if (!same) {
        fEntries = entries;
        clear();
        for (int i = 0; i < fEntries.size(); ++i) {
            auto* item = new QListWidgetItem(fEntries[i].label);
            item->setToolTip(fEntries[i].toolTip);
            item->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
            // The whole cell, so that the label under a thumbnail of any shape is never cut.
            item->setSizeHint(gridSize());
            if (fEntries[i].neighbour)
                item->setForeground(QColor(128, 128, 128));
            addItem(item);
            showThumbnail(i);
        }
    }
    // Asked for now, the first ones first (an urgent request goes to the front of the queue); the
    // loader ignores those it has or is decoding.
    for (int i = int(fEntries.size()) - 1; i >= 0; --i)
        if (fLoader->image(fEntries[i].path, PhotoLoader::eKind_Thumbnail).isNull())
            fLoader->request(fEntries[i].path, PhotoLoader::eKind_Thumbnail, QSize(), true);
    setCurrentImage(current);
}

void ThumbnailStrip::setCurrentImage(const BarcodeImage* current) {
    for (int i = 0; i < fEntries.size(); ++i) {
        if (fEntries[i].image != current)
            continue;
        setCurrentRow(i);
        scrollToItem(item(i), QAbstractItemView::PositionAtCenter);
        return;
    }
    clearSelection();
}

void ThumbnailStrip::showThumbnail(int at) {
    QListWidgetItem* shown = item(at);
    if (!shown)
        return;
    const Entry& entry = fEntries[at];
    const QImage image = fLoader->image(entry.path, PhotoLoader::eKind_Thumbnail);
    QPixmap pixmap = image.isNull() ? blankFrame(fLoader->thumbnailSize(),
                                                 fLoader->failed(entry.path, PhotoLoader::eKind_Thumbnail))
                                    : QPixmap::fromImage(image);
    shown->setIcon(QIcon(entry.neighbour ? dimmed(pixmap) : pixmap));
    shown->setData(Qt::UserRole, !image.isNull());
}

int ThumbnailStrip::thumbnailsShown() const {
    int shown = 0;
    for (int i = 0; i < count(); ++i)
        shown += item(i)->data(Qt::UserRole).toBool() ? 1 : 0;
    return shown;
}

void ThumbnailStrip::onImageReady(const QString& path, int kind) {
    if (kind != PhotoLoader::eKind_Thumbnail)
        return;
    for (int i = 0; i < fEntries.size(); ++i)
        if (fEntries[i].path == path)
            showThumbnail(i);
}
