// The match task of the job: finds the barcode data file, matches the photo list to it, writes
// the matched list, lets the user review and edit the match, saves a confirmed edit and says how
// it ended. Runs on a worker thread; the questions it asks (file chooser, review) block it until
// the user answers.
#pragma once

#include "Barcode.h"

#include <memory>
#include <optional>
#include <string>

class ReviewPrompt;
class StatusDisplay;

// How a match task ended.
enum eMatchOutcome {
    eMatchOutcome_Matched,     // matched, and the result the user kept is written
    eMatchOutcome_UserAborted, // the user returned to the host from the review
    eMatchOutcome_Failed,      // no data file, no photo list, or the match found nothing
};

// Runs the whole task on the working folder workingPathName (ends with "/"). status (the status
// line and busy indicator), review (null: the unattended answer) and barcodeList (where the last
// tree shown is kept, the application's barcodeList) may be null.
eMatchOutcome matchBarcodeDataWithPhotos(const std::string& workingPathName, StatusDisplay* status,
                                         ReviewPrompt* review, std::unique_ptr<BarcodeList>* barcodeList);

// The search for the barcode data file: the fixed name, then the name of the preference, then
// (when the preference asks for it) the user's choice. The path found, or none; when none,
// reportedPath is the path named in the message.
std::optional<std::string> findBarcodeDataFile(const std::string& workingPathName, std::string& reportedPath);
