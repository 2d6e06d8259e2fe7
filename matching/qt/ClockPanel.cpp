#include "ClockPanel.h"

#include "ReviewTexts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

namespace {

// A day either way: enough for a camera clock set to the wrong day, within a spin box's reach.
const int kLargestShift = 86400;

} // namespace

ClockPanel::ClockPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("clockPanel"));
    setFrameShape(QFrame::StyledPanel);
    fText = new QLabel;
    fText->setObjectName(QStringLiteral("clockText"));
    fText->setWordWrap(true);
    fText->setTextFormat(Qt::RichText);
    fOffsetLabel = new QLabel(tr("Shift the camera clock:"));
    fOffset = new QSpinBox;
    fOffset->setObjectName(QStringLiteral("clockOffset"));
    fOffset->setRange(-kLargestShift, kLargestShift);
    fOffset->setSuffix(tr(" s", "seconds"));
    fOffset->setAccelerated(true);
    fOffset->setKeyboardTracking(false);
    fOffset->setToolTip(tr("Seconds added to every camera time. The shoot is matched again as the "
                           "value changes; Undo puts the earlier match back."));
    fOffsetLabel->setBuddy(fOffset);
    fAlign = new QPushButton(tr("Align on a photo..."));
    fAlign->setObjectName(QStringLiteral("alignFromPhoto"));
    fAlign->setAutoDefault(false);
    fAlign->setToolTip(tr("Pick the barcode that the selected photo shows: the clocks are lined up so "
                          "that it sits under it, and the shoot is matched again."));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->addWidget(fText, 1);
    layout->addWidget(fOffsetLabel);
    layout->addWidget(fOffset);
    layout->addWidget(fAlign);
    connect(fOffset, &QSpinBox::valueChanged, this, [this](int seconds) { emit offsetChanged(seconds); });
    connect(fAlign, &QPushButton::clicked, this, [this] { emit alignFromPhotoRequested(); });
}

void ClockPanel::showEstimate(const ClockEstimate* estimate, bool canRematch) {
    fUncertain = estimate && estimate->uncertain;
    fOffset->setEnabled(canRematch);
    fAlign->setEnabled(canRematch);
    fOffsetLabel->setEnabled(canRematch);
    if (!estimate) {
        fText->setText(tr("No clocks to line up: the shoot could not be matched."));
        setStyleSheet(QString());
        return;
    }
    const QString clocks = ReviewTexts::estimate(*estimate).toHtmlEscaped();
    if (!fUncertain) {
        fText->setText(tr("Clocks: %1").arg(clocks));
        setStyleSheet(QString());
        return;
    }
    fText->setText(tr("<b>The clocks could not be lined up with confidence: %1.</b> Check every "
                      "photo, or shift the camera clock until the photos sit under their subjects.")
                       .arg(ReviewTexts::uncertainty(*estimate).toHtmlEscaped()) +
                   QStringLiteral("<br/><small>") + clocks + QStringLiteral("</small>"));
    setStyleSheet(QStringLiteral("QFrame#clockPanel { background: #fff1c2; border: 1px solid #e0a000; }"
                                 "QFrame#clockPanel QLabel { color: #3a2c00; }"));
}

int ClockPanel::offsetSeconds() const {
    return fOffset->value();
}

void ClockPanel::resetOffset() {
    QSignalBlocker quiet(fOffset);
    fOffset->setValue(0);
}
