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
    explicit QtReviewPrompt(QWidget* mainWindow);
    // The window goes with the prompt (it is deleted on the user-interface thread).
    ~QtReviewPrompt() override;
    QtReviewPrompt(const QtReviewPrompt&) = delete;
    QtReviewPrompt& operator=(const QtReviewPrompt&) = delete;

    void growReviewWindow() override;
    int runReview(ReviewSession& session) override;

    // The review window, created on first use (user-interface thread only).
    ReviewWindow* reviewWindow();

  private:
    QPointer<QWidget> fMainWindow;
    QPointer<ReviewWindow> fWindow;
    UnattendedReviewPrompt fUnattended;
};
