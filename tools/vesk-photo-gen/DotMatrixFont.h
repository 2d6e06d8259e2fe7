// Text drawn as filled squares of a 5x7 dot-matrix font, so that a picture gets its label on a
// machine without a single font installed (a minimal Debian has none, and Qt then draws no text).
#pragma once

#include <QColor>
#include <QPainter>
#include <QString>

class DotMatrixFont {
  public:
    // Width and height in pixels of text drawn with dots of dotSize pixels.
    static int textWidth(const QString& text, int dotSize);
    static int textHeight(int dotSize);
    // Draws text (digits, letters, space and - : . /; lower case as upper case, anything else as
    // a box) with its top left corner at x, y.
    static void drawText(QPainter& painter, int x, int y, const QString& text, int dotSize,
                         const QColor& colour);
};
