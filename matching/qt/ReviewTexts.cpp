#include "ReviewTexts.h"

#include "PhotoDoubt.h"

#include <QDateTime>
#include <QLocale>
#include <QStringList>

#include <cmath>

namespace {

// List times carry no zone: they are read as UTC so that they show as written.
QDateTime listTime(double seconds) {
    return QDateTime::fromSecsSinceEpoch(qint64(std::floor(seconds)), Qt::UTC);
}

bool sameClock(const BodyClock& a, const BodyClock& b) {
    return std::fabs(a.offset - b.offset) < 0.5 && std::fabs(a.driftPpm - b.driftPpm) < 0.5;
}

} // namespace

QString ReviewTexts::timeOfDay(double seconds) {
    return listTime(seconds).toString(QStringLiteral("HH:mm:ss"));
}

QString ReviewTexts::dateAndTime(double seconds) {
    return QLocale().toString(listTime(seconds), QLocale::ShortFormat) + QLatin1Char(' ') +
           listTime(seconds).toString(QStringLiteral("HH:mm:ss"));
}

QString ReviewTexts::duration(double seconds) {
    const long long total = std::llround(std::fabs(seconds));
    const int days = int(total / 86400);
    const int hours = int(total / 3600 % 24);
    const int minutes = int(total / 60 % 60);
    const int rest = int(total % 60);
    QStringList parts;
    if (days)
        parts << tr("%n day(s)", "a length of time", days);
    if (hours)
        parts << tr("%1 h", "hours").arg(hours);
    if (minutes)
        parts << tr("%1 min", "minutes").arg(minutes);
    if (rest || parts.isEmpty())
        parts << tr("%1 s", "seconds").arg(rest);
    return parts.join(QLatin1Char(' '));
}

QString ReviewTexts::afterScan(double seconds) {
    const QString sign = seconds < -0.5 ? QStringLiteral("\u2212") : QStringLiteral("+");
    return sign + duration(seconds);
}

QString ReviewTexts::clocks(const ClockAlignment& alignment) {
    if (alignment.bodies.empty())
        return tr("no dated photo");
    auto describe = [](const BodyClock& body) {
        QString text;
        if (std::fabs(body.offset) < 0.5)
            text = tr("in step with the scanner");
        else if (body.offset > 0)
            text = tr("%1 behind the scanner").arg(duration(body.offset));
        else
            text = tr("%1 ahead of the scanner").arg(duration(body.offset));
        const long drift = std::lround(body.driftPpm);
        if (drift != 0)
            text += tr(", drift %1 ppm").arg(QString::asprintf("%+ld", drift));
        return text;
    };
    bool oneClock = true;
    for (const BodyClock& body : alignment.bodies)
        oneClock = oneClock && sameClock(body, alignment.bodies.front());
    if (oneClock)
        return tr("camera %1").arg(describe(alignment.bodies.front()));
    QStringList parts;
    for (const BodyClock& body : alignment.bodies)
        parts << tr("camera %1 %2").arg(QString::fromStdString(body.label), describe(body));
    return parts.join(QStringLiteral("; "));
}

QString ReviewTexts::estimate(const ClockEstimate& estimate) {
    QString text;
    if (estimate.method == eAlignment_LastRecord)
        text = tr("last scan and last photo taken as simultaneous, skew %1: ")
                   .arg(duration(estimate.skewSeconds));
    else if (estimate.method == eAlignment_Manual)
        text = tr("clocks set by hand: ");
    text += clocks(estimate.alignment);
    text += QStringLiteral("; ") +
            tr("%1 of %n scan(s) fit", nullptr, int(estimate.scansTotal)).arg(estimate.scansFitting);
    return text;
}

QString ReviewTexts::uncertainty(const ClockEstimate& estimate) {
    if (!estimate.uncertain)
        return QString();
    const QString fits =
        tr("%1 of %n scan(s) fit", nullptr, int(estimate.scansTotal)).arg(estimate.scansFitting);
    switch (estimate.uncertaintyReason) {
    case eUncertainty_FewScans:
        return tr("only %n scan(s)", nullptr, int(estimate.scansTotal));
    case eUncertainty_CloseRival: {
        if (!estimate.runnerUp || estimate.runnerUp->bodies.empty() || estimate.alignment.bodies.empty())
            return fits;
        const double shift =
            estimate.runnerUp->bodies.front().offset - estimate.alignment.bodies.front().offset;
        return shift > 0 ? tr("%1, but the camera %2 further behind the scanner fits almost as well")
                               .arg(fits, duration(shift))
                         : tr("%1, but the camera %2 further ahead of the scanner fits almost as well")
                               .arg(fits, duration(shift));
    }
    case eUncertainty_LastRecordOff:
        return tr("the last scan and the last photo do not line the clocks up: %1, the automatic "
                  "alignment fits %2")
            .arg(fits)
            .arg(estimate.runnerUpFitting);
    case eUncertainty_FewFit:
    case eUncertainty_None:
        break;
    }
    return fits;
}

QString ReviewTexts::doubtReasons(uint32_t doubts) {
    QStringList reasons;
    if (doubts & ePhotoDoubt_BeforeFirstScan)
        reasons << tr("Taken before the first scan: a test shot, or a subject whose card was scanned "
                      "later or not at all.");
    if (doubts & ePhotoDoubt_NearScanBoundary)
        reasons << tr("Taken within a second of a scan: it may belong to the barcode before or after.");
    if (doubts & ePhotoDoubt_AfterLongPause)
        reasons << tr("Taken after a long pause inside its barcode's photos: test shots, a subject "
                      "photographed without a scan, or a long last session.");
    if (doubts & ePhotoDoubt_OtherAlignmentDiffers)
        reasons << tr("The other way of lining up the clocks puts it under another barcode.");
    if (doubts & ePhotoDoubt_NoCaptureTime)
        reasons << tr("It has no capture time, so it stays with the photo listed before it.");
    if (doubts & ePhotoDoubt_JustAfterScanThenPause)
        reasons << tr("Taken seconds after the scan and followed by a long pause: it may belong to the "
                      "barcode before (the card scanned before the last photo of the subject before).");
    return reasons.join(QLatin1Char('\n'));
}

QString ReviewTexts::summary(const ReviewFigures& figures) {
    QString text = tr("%n photo(s)", nullptr, int(figures.photos)) + QStringLiteral(", ") +
                   tr("%n barcode(s)", nullptr, int(figures.barcodes));
    if (figures.uncertain)
        text += QStringLiteral("; ") + tr("all unconfirmed");
    else if (figures.doubtful == 0)
        text += QStringLiteral("; ") + tr("no doubtful photo");
    else
        text += QStringLiteral("; ") + tr("%n doubtful", "photos", int(figures.doubtful));
    if (figures.emptyBarcodes)
        text +=
            QStringLiteral("; ") + tr("%n barcode(s) without photos", nullptr, int(figures.emptyBarcodes));
    if (figures.crowdedBarcodes)
        text += QStringLiteral("; ") +
                tr("%n barcode(s) with far more photos than usual", nullptr, int(figures.crowdedBarcodes));
    if (figures.scansWithoutBarcode)
        text += QStringLiteral("; ") +
                tr("%n scan(s) after the last photo", nullptr, int(figures.scansWithoutBarcode));
    return text;
}
