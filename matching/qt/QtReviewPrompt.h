// The review as a window-modal dialog on the main window, run on the user-interface thread while
// the match task's worker waits. In unattended mode the scripted answer is used instead.
#pragma once

#include "ReviewPrompt.h"

#include <QPointer>
#include <QWidget>

#include <string>

class ReviewWindow;

class QtReviewPrompt : public ReviewPrompt {
  public:
    // The photo names of the tree are relative to workingPathName (ends with "/").
    QtReviewPrompt(QWidget* mainWindow, std::string workingPathName = std::string());
    // The window goes with the prompt (it is deleted on the user-interface thread).
    ~QtReviewPrompt() override;
    QtReviewPrompt(const QtReviewPrompt&) = delete;
    QtReviewPrompt& operator=(const QtReviewPrompt&) = delete;

    // For a prompt kept across jobs: the folder of the next review. Not during a review.
    void setWorkingPathName(const std::string& workingPathName) { fWorkingPathName = workingPathName; }

    void growReviewWindow() override;
    int runReview(BarcodeList* list) override;

    // The review window, created on first use (user-interface thread only).
    ReviewWindow* reviewWindow();

  private:
    QPointer<QWidget> fMainWindow;
    std::string fWorkingPathName;
    QPointer<ReviewWindow> fWindow;
    UnattendedReviewPrompt fUnattended;
};
