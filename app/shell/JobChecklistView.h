// The job checklist at the top of the main window: one line per step of the job with a mark for
// its state, its figures ("333 photos listed (2 without a date)"), its progress while it runs
// ("file 120 of 333", "scan 40 of 81, about 1 min left") and, when it failed, what to do next.
#pragma once

#include "JobChecklistModel.h"

#include <QGroupBox>

#include <array>

class QLabel;

class JobChecklistView : public QGroupBox {
    Q_OBJECT

  public:
    explicit JobChecklistView(QWidget* parent = nullptr);

    // Shows the state of the job (user-interface thread).
    void showSnapshot(const ChecklistSnapshot& snapshot);

    // The sentence of one line, as shown (without its mark).
    static QString lineText(const ChecklistSnapshot& snapshot, eJobStep step);
    // How the job ended, in one sentence, for the notification at its end ("333 photos matched
    // to 81 scans; scanner erased").
    static QString outcomeText(const ChecklistSnapshot& snapshot);

  private:
    std::array<QLabel*, eJobStep_Count> fLines{};
};
