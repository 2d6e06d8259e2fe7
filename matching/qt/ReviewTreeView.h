// The review's list of barcodes and photos. Its own scrolling while a photo is dragged: Qt's
// autoscroll speeds up the longer the pointer rests near an edge, by whole rows, so in a long list
// the target flies past; here the speed depends only on how close the pointer is to the edge (a
// row or two a second at the margin's inner side, some thirty at the very edge), smoothly by
// pixels, and stops as soon as the pointer leaves the margin.
#pragma once

#include <QBasicTimer>
#include <QPoint>
#include <QPointer>
#include <QTreeView>

class QMimeData;

class ReviewTreeView : public QTreeView {
    Q_OBJECT
  public:
    explicit ReviewTreeView(QWidget* parent = nullptr);

    // Pixels to scroll per step of the drag's autoscroll with the pointer at position (viewport
    // coordinates): negative up, positive down, 0 outside the margins.
    int autoScrollStep(const QPoint& position) const;
    // The autoscroll margin and the interval of its steps.
    int autoScrollMarginPixels() const;
    static constexpr int kAutoScrollIntervalMs = 25;
    bool isAutoScrolling() const { return fScrollTimer.isActive(); }

  signals:
    // A right click (or the menu key) on the list.
    void contextMenuAt(const QPoint& globalPosition);

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void followPointer(const QPoint& position, const QMimeData* dragged, Qt::DropActions actions);
    void stopAutoScroll();

    QBasicTimer fScrollTimer;
    QPoint fDragPosition;
    QPointer<QMimeData> fDragData;
    Qt::DropActions fDragActions;
};
