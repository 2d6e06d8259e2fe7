#include "ReviewPrompt.h"

#include "MessageLog.h"
#include "Unattended.h"

#include <cstdlib>

int UnattendedReviewPrompt::runReview(ReviewSession& session) {
    const BarcodeList* list = session.tree();
    int code = eReviewCode_Cancel;
    std::optional<std::string> answer = unattendedAnswer("review");
    if (answer) {
        char* end = nullptr;
        long value = std::strtol(answer->c_str(), &end, 10);
        if (end != answer->c_str() && *end == '\0')
            code = int(value);
        else
            myPrintf("Unattended: the review answer \"" + *answer + "\" is not a code; Cancel is used");
    }
    myPrintfDebug(myFormat("Unattended: review of %zu barcodes answered %d%s",
                           list ? list->size() : size_t(0), code, answer ? "" : " (default)"));
    return code;
}
