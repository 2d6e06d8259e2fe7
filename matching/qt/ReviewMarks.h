// The small marks of the review's rows, drawn once: a doubtful photo, a photo moved by the
// photographer, a barcode without photos, a barcode with far more photos than usual. Drawn from
// shapes alone (no fonts, no icon theme), so that they look the same on every desktop.
#pragma once

#include <QIcon>

class ReviewMarks {
  public:
    enum eMark { eMark_Doubt, eMark_Moved, eMark_Empty, eMark_Crowded, eMarkCount };
    // User-interface thread only.
    static QIcon icon(eMark mark);
    // The mark's colour, for texts that go with it.
    static QColor colour(eMark mark);
};
