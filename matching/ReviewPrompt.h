// How the match task shows the review of a match tree and learns how it ended. The window
// implementation runs it on the user-interface thread while the task's worker waits; the
// unattended one answers from VESK_ANSWERS ("review=CODE").
#pragma once

#include "ReviewSession.h"

// Codes that end a review.
enum eReviewCode {
    eReviewCode_Cancel = 0,       // leave; the matched list keeps the automatic match
    eReviewCode_OK = 1,           // leave; save the edited tree
    eReviewCode_Revert = 2,       // match again and review again
    eReviewCode_ReturnToHost = 3, // leave; the job is cancelled
};

class ReviewPrompt {
  public:
    virtual ~ReviewPrompt() = default;
    // Once per match task run, before the first review: makes the review window larger.
    virtual void growReviewWindow() = 0;
    // Shows the session's tree (none: an empty review), lets the user edit it in place (moves,
    // and matches done again with other clocks, which replace the session's tree), and returns the
    // code that ended the review. Nothing else touches the session meanwhile.
    virtual int runReview(ReviewSession& session) = 0;
};

// Answers every review with the code of VESK_ANSWERS' "review" entry, else Cancel (0), without
// showing anything.
class UnattendedReviewPrompt : public ReviewPrompt {
  public:
    void growReviewWindow() override {}
    int runReview(ReviewSession& session) override;
};
