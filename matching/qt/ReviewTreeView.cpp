#include "ReviewTreeView.h"

#include <QContextMenuEvent>
#include <QDragMoveEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTimerEvent>

#include <algorithm>

namespace {

// Pixels per step at the margin's inner side and at the very edge (a step every 25 ms).
const int kSlowestStep = 1;
const int kFastestStep = 18;

} // namespace

ReviewTreeView::ReviewTreeView(QWidget* parent) : QTreeView(parent) {
    setAutoScroll(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
}

int ReviewTreeView::autoScrollMarginPixels() const {
    // Two rows, and never more than a quarter of the list's height.
    const int row = std::max(16, sizeHintForRow(0) > 0 ? sizeHintForRow(0) : fontMetrics().height() + 4);
    return std::max(8, std::min(2 * row, viewport()->height() / 4));
}

int ReviewTreeView::autoScrollStep(const QPoint& position) const {
    const int margin = autoScrollMarginPixels();
    const QRect area = viewport()->rect();
    if (!area.adjusted(-margin, -margin, margin, margin).contains(position))
        return 0;
    const int fromTop = position.y() - area.top();
    const int fromBottom = area.bottom() - position.y();
    int depth = 0;
    int direction = 0;
    if (fromTop < margin) {
        depth = margin - std::max(0, fromTop);
        direction = -1;
    } else if (fromBottom < margin) {
        depth = margin - std::max(0, fromBottom);
        direction = 1;
    } else {
        return 0;
    }
    depth = std::min(depth, margin);
    return direction * (kSlowestStep + (kFastestStep - kSlowestStep) * depth / margin);
}

void ReviewTreeView::followPointer(const QPoint& position, const QMimeData* dragged,
                                   Qt::DropActions actions) {
    fDragPosition = position;
    fDragData = const_cast<QMimeData*>(dragged);
    fDragActions = actions;
    if (autoScrollStep(position) != 0) {
        if (!fScrollTimer.isActive())
            fScrollTimer.start(kAutoScrollIntervalMs, this);
    } else {
        fScrollTimer.stop();
    }
}

void ReviewTreeView::stopAutoScroll() {
    fScrollTimer.stop();
    fDragData = nullptr;
}

void ReviewTreeView::dragEnterEvent(QDragEnterEvent* event) {
    QTreeView::dragEnterEvent(event);
    followPointer(event->position().toPoint(), event->mimeData(), event->possibleActions());
}

void ReviewTreeView::dragMoveEvent(QDragMoveEvent* event) {
    QTreeView::dragMoveEvent(event);
    followPointer(event->position().toPoint(), event->mimeData(), event->possibleActions());
}

void ReviewTreeView::dragLeaveEvent(QDragLeaveEvent* event) {
    stopAutoScroll();
    QTreeView::dragLeaveEvent(event);
}

void ReviewTreeView::dropEvent(QDropEvent* event) {
    stopAutoScroll();
    QTreeView::dropEvent(event);
}

void ReviewTreeView::timerEvent(QTimerEvent* event) {
    if (event->timerId() != fScrollTimer.timerId()) {
        QTreeView::timerEvent(event);
        return;
    }
    const int step = autoScrollStep(fDragPosition);
    QScrollBar* bar = verticalScrollBar();
    const int before = bar->value();
    if (step == 0 || !fDragData) {
        stopAutoScroll();
        return;
    }
    bar->setValue(before + step);
    if (bar->value() == before)
        return;
    // The row under the pointer has changed: the drop indicator follows, as after a move of the
    // pointer.
    QDragMoveEvent move(fDragPosition, fDragActions, fDragData, Qt::LeftButton, Qt::NoModifier);
    QTreeView::dragMoveEvent(&move);
}

void ReviewTreeView::contextMenuEvent(QContextMenuEvent* event) {
    emit contextMenuAt(event->globalPos());
    event->accept();
}
