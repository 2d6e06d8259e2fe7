// The band above the review's list that says how the camera and scanner clocks were lined up
// ("camera 13 min 3 s behind the scanner; 78 of 80 scans fit"), warns when they could not be lined
// up with confidence, and lets the photographer set them: shift the camera clock by some seconds
// (the shoot is matched again at once, so the list shows the result as the value changes) or line
// them up on a photo whose subject is known.
#pragma once

#include "ClockEstimate.h"

#include <QFrame>

class QLabel;
class QPushButton;
class QSpinBox;

class ClockPanel : public QFrame {
    Q_OBJECT
  public:
    explicit ClockPanel(QWidget* parent = nullptr);

    // Shows the clocks of the current match (null: none, the panel says so and offers nothing).
    void showEstimate(const ClockEstimate* estimate, bool canRematch);
    // The shift chosen, in seconds, from the clocks the shifting started from.
    int offsetSeconds() const;
    // Back to no shift, without telling anyone (the clocks shown are the new starting point).
    void resetOffset();
    bool isUncertain() const { return fUncertain; }
    QLabel* textLabel() const { return fText; }
    QSpinBox* offsetControl() const { return fOffset; }
    QPushButton* alignButton() const { return fAlign; }

  signals:
    void offsetChanged(int seconds);
    void alignFromPhotoRequested();

  private:
    QLabel* fText = nullptr;
    QLabel* fOffsetLabel = nullptr;
    QSpinBox* fOffset = nullptr;
    QPushButton* fAlign = nullptr;
    bool fUncertain = false;
};
