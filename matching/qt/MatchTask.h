// The match task of the job (task 9): finds the barcode data file, matches the photo list to it,
// writes the matched list, lets the user review and edit the match, saves a confirmed edit and
// names the job's next task. Runs on a worker thread; the questions it asks (file chooser,
// review) block it until the user answers.
#pragma once

#include "Barcode.h"
#include "JobCheckList.h"

#include <memory>
#include <optional>
#include <string>

class ReviewPrompt;
class StatusDisplay;

struct MatchTaskContext {
    // The job's working folder; ends with "/".
    std::string workingPathName;
    // The job record; null when the task is started by hand (no task field is written then).
    jobCheckList* job = nullptr;
    // Status line and busy indicator; may be null.
    StatusDisplay* status = nullptr;
    // The review; null reviews with the unattended answer.
    ReviewPrompt* review = nullptr;
    // Where the last tree shown is kept (the application's barcodeList); may be null.
    std::unique_ptr<BarcodeList>* barcodeList = nullptr;
};

// Runs the whole task and returns the next task: eVeskBarcodeTask_TellVeskToConfirm (10) after
// a match, eVeskBarcodeTask_UserCancel (2) when the user returned to the host from the review,
// eVeskBarcodeTask_SendErrorToVeskMatchFailed (15) when no file was found or the match failed.
// With a job, curTask becomes 9 once matching starts and nextTask the result. The caller holds
// the worker guard (tryAcquireRunningThread before the thread starts, releaseRunningThread
// after this returns).
eVeskBarcodeTask matchBarcodeDataWithPhotos(MatchTaskContext& context);

// The search for the barcode data file: the fixed name, then the name of the preference, then
// (when the preference asks for it) the user's choice. The path found, or none; when none,
// reportedPath is the path named in the message.
std::optional<std::string> findBarcodeDataFile(const std::string& workingPathName, std::string& reportedPath);
