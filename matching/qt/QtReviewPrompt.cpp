#include "QtReviewPrompt.h"

#include "MessageLog.h"
#include "ReviewWindow.h"
#include "UiThread.h"
#include "Unattended.h"

QtReviewPrompt::QtReviewPrompt(QWidget* mainWindow) : fMainWindow(mainWindow) {}

QtReviewPrompt::~QtReviewPrompt() {
    if (fWindow)
        fWindow->deleteLater();
}

ReviewWindow* QtReviewPrompt::reviewWindow() {
    if (!fWindow) {
        fWindow = new ReviewWindow(fMainWindow.data());
    }
    return fWindow;
}

void QtReviewPrompt::growReviewWindow() {
    if (isUnattended())
        return;
    runOnUiThread([this] { reviewWindow()->growOnce(); });
}

int QtReviewPrompt::runReview(ReviewSession& session) {
    if (isUnattended())
        return fUnattended.runReview(session);
    int code = eReviewCode_Cancel;
    bool ran = runOnUiThread([&] {
        ReviewWindow* window = reviewWindow();
        window->setSession(&session);
        code = window->exec();
        window->close();
        // The session belongs to the match task, which may replace its tree now.
        window->setSession(nullptr);
    });
    if (!ran)
        myPrintf("The review window could not be shown (no application); the automatic match is kept");
    return code;
}
