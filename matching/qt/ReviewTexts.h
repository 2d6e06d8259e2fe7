// The review's words for what matching found, in the user's language: times and lengths of time,
// the clocks, the doubt marks, the uncertain warning and the summary line. Matching itself gives
// these in English for the log (describeEstimate, describePhotoDoubts); the review says them
// through tr() so that they are translated with the rest of the window.
#pragma once

#include "ClockEstimate.h"
#include "ReviewSession.h"

#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <optional>

class ReviewTexts {
    Q_DECLARE_TR_FUNCTIONS(ReviewTexts)

  public:
    // "09:31:07": a time of day of seconds since 1970 as the list files give them.
    static QString timeOfDay(double seconds);
    // "Tue 12 May 2026 09:31:07"
    static QString dateAndTime(double seconds);
    // "13 min 3 s", "2 h 5 min", "3 days 4 h", "0 s".
    static QString duration(double seconds);
    // "+8 s", "-12 s", "+2 min 5 s": how long after its barcode's scan a photo was taken.
    static QString afterScan(double seconds);
    // "camera 13 min 3 s behind the scanner, drift +40 ppm", each body named when they differ.
    static QString clocks(const ClockAlignment& alignment);
    // "camera 13 min 3 s behind the scanner; 78 of 80 scans fit", with how the clocks were set.
    static QString estimate(const ClockEstimate& estimate);
    // Why the estimate is uncertain: "41 of 80 scans fit"; empty when it is not.
    static QString uncertainty(const ClockEstimate& estimate);
    // The doubt marks' reasons, one per line.
    static QString doubtReasons(uint32_t doubts);
    // "333 photos, 80 barcodes; 3 doubtful; 2 barcodes without photos"
    static QString summary(const ReviewFigures& figures);
};
