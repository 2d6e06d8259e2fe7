#include "ReviewMarks.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const int kSide = 16;

QPixmap drawMark(ReviewMarks::eMark mark, int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = side / 16.0;
    const QRectF disc(1 * unit, 1 * unit, 14 * unit, 14 * unit);
    const QColor colour = ReviewMarks::colour(mark);
    painter.setPen(Qt::NoPen);
    switch (mark) {
    case ReviewMarks::eMark_Doubt:
        // "!" on an amber disc.
        painter.setBrush(colour);
        painter.drawEllipse(disc);
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(QRectF(7 * unit, 3.5 * unit, 2 * unit, 6.5 * unit), unit, unit);
        painter.drawEllipse(QRectF(7 * unit, 11 * unit, 2 * unit, 2 * unit));
        break;
    case ReviewMarks::eMark_Moved: {
        // An arrow on a blue disc.
        painter.setBrush(colour);
        painter.drawEllipse(disc);
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(4 * unit, 7 * unit, 5 * unit, 2 * unit));
        QPainterPath head;
        head.moveTo(8 * unit, 4 * unit);
        head.lineTo(12.5 * unit, 8 * unit);
        head.lineTo(8 * unit, 12 * unit);
        head.closeSubpath();
        painter.drawPath(head);
        break;
    }
    case ReviewMarks::eMark_Empty:
        // A hollow grey ring.
        painter.setPen(QPen(colour, 2 * unit));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(disc.adjusted(unit, unit, -unit, -unit));
        break;
    case ReviewMarks::eMark_Crowded:
        // "+" on a red-orange disc.
        painter.setBrush(colour);
        painter.drawEllipse(disc);
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(7 * unit, 4 * unit, 2 * unit, 8 * unit));
        painter.drawRect(QRectF(4 * unit, 7 * unit, 8 * unit, 2 * unit));
        break;
    case ReviewMarks::eMarkCount:
        break;
    }
    return pixmap;
}

} // namespace

QColor ReviewMarks::colour(eMark mark) {
    switch (mark) {
    case eMark_Doubt:
        return QColor(230, 140, 0);
    case eMark_Moved:
        return QColor(40, 110, 200);
    case eMark_Empty:
        return QColor(130, 130, 130);
    case eMark_Crowded:
        return QColor(215, 75, 40);
    case eMarkCount:
        break;
    }
    return QColor(Qt::black);
}

QIcon ReviewMarks::icon(eMark mark) {
    static QIcon icons[eMarkCount];
    if (mark < 0 || mark >= eMarkCount)
        return QIcon();
    if (icons[mark].isNull()) {
        QIcon icon;
        icon.addPixmap(drawMark(mark, kSide));
        icon.addPixmap(drawMark(mark, kSide * 2));
        icons[mark] = icon;
    }
    return icons[mark];
}
