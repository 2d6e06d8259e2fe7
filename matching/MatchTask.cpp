#include "MatchTask.h"

#include "AlertPanel.h"
#include "JobFileNames.h"
#include "LocalizedText.h"
#include "MatchedListFile.h"
#include "MessageLog.h"
#include "Preferences.h"
#include "ReviewPrompt.h"
#include "ShootMatch.h"
#include "StatusDisplay.h"

#include <sys/stat.h>

namespace {

const char kImageListFileName[] = "BarcodeImageList.txt";
const size_t kMaxPathBytes = 1000;

// A data file is a regular file: the folder itself (an empty default name) or a folder of the
// same name is not one.
bool isExistingFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void consoleLog(const std::string& text) {
    MessageLog::LogMessage(text);
}

void showStatus(StatusDisplay* status, short index) {
    if (!status)
        return;
    std::optional<std::string> text = myGetNSArrayItem(kLocalizedTable, "NSArray_ibStatus", index);
    status->setStatusText(text ? *text : std::string());
    status->setBusy(true);
}

// Matches with the alignment the preferences choose and says how the clocks were lined up. The
// match stays with the caller (the review matches again from it); its tree goes to tree.
std::unique_ptr<ShootMatch> matchFiles(const std::string& barcodeDataPath, const std::string& imageListPath,
                                       std::unique_ptr<BarcodeList>& tree) {
    tree.reset();
    std::unique_ptr<ShootMatch> shoot = ShootMatch::read(barcodeDataPath, imageListPath);
    if (!shoot || !shoot->matchWithPreferences())
        return nullptr;
    myPrintf("Clocks lined up: " + shoot->summary() + "\n");
    tree = shoot->takeTree();
    return shoot;
}

// The tree the review shows and the matched list is written from; the application keeps it
// after the task when it gave a place for it.
class TreeHolder {
  public:
    explicit TreeHolder(std::unique_ptr<BarcodeList>* shared) : fTree(shared ? shared : &fLocal) {}
    void set(std::unique_ptr<BarcodeList> tree) { *fTree = std::move(tree); }
    std::unique_ptr<BarcodeList> take() { return std::move(*fTree); }
    std::unique_ptr<BarcodeList>& slot() { return *fTree; }
    BarcodeList* get() const { return fTree->get(); }

  private:
    std::unique_ptr<BarcodeList> fLocal;
    std::unique_ptr<BarcodeList>* fTree;
};

} // namespace

std::optional<std::string> findBarcodeDataFile(const std::string& workingPathName,
                                               std::string& reportedPath) {
    std::string path = workingPathName + kBarcodeDataFileName;
    reportedPath = path;
    myPrintfDebug("Checking for the source barcode file:\n" + path);
    if (isExistingFile(path)) {
        consoleLog("Internal Entered Default Barcode FileName DOES Exist at [" + path + "]??");
        return path;
    }
    consoleLog("Internal Default Barcode FileName Does NOT Exist at [" + path + "]??");

    std::optional<std::string> name = GeneralPreferencesController::getDefaultBarcodeDataFileName();
    if (!name || name->empty() || name->size() > kMaxPathBytes) {
        consoleLog("User Entered Default Barcode FileName is NIL or INVALID PREF FILE??");
    } else {
        path = workingPathName + *name;
        reportedPath = path;
        consoleLog("Checking for User Entered Default Barcode Data FileName at [" + path + "]");
        if (isExistingFile(path)) {
            consoleLog("User Entered Default Barcode FileName DOES Exist at [" + path + "]??");
            return path;
        }
        consoleLog("User Entered Default Barcode FileName Does NOT Exist at [" + path + "]??");
    }

    if (GeneralPreferencesController::getDoPromptForMissingBarcodeDataFile() == 0)
        return std::nullopt;
    consoleLog("Will Prompt User to Select a Barcode Data File...");
    consoleLog("Calling op runModalForDirectory to Open Panel...");
    std::optional<std::string> chosen = alertPrompt().chooseFile(
        localizedText("MatchTask", "Please Choose A BarCode DATA File..."), workingPathName);
    if (!chosen) {
        consoleLog("ibLoadPrefFromFile - op runModalForDirectory returned something...");
        return std::nullopt;
    }
    consoleLog("op runModalForDirectory returned NSOKButton with selectedItemPath =[" + *chosen + "]...");
    if (chosen->size() > kMaxPathBytes || !isExistingFile(*chosen)) {
        myPrintf("The chosen barcode data file cannot be read: " + *chosen);
        return std::nullopt;
    }
    consoleLog("barcodeFileNameString as cstring =[" + *chosen + "]...");
    return chosen;
}

eMatchOutcome matchBarcodeDataWithPhotos(const std::string& workingPathName, StatusDisplay* status,
                                         ReviewPrompt* reviewPrompt,
                                         std::unique_ptr<BarcodeList>* barcodeList) {
    UnattendedReviewPrompt unattendedReview;
    ReviewPrompt& review = reviewPrompt ? *reviewPrompt : unattendedReview;
    TreeHolder tree(barcodeList);
    const bool threeIDs = GeneralPreferencesController::getDoOutputThreeBarcodeIDs();
    bool matched = false;
    bool userAborted = false;
    myPrintfDebug("matchBarcodeDataWithPhotos => start\n");
    showStatus(status, 7);

    const std::string imageListPath = workingPathName + kImageListFileName;
    const std::string matchedListPath = workingPathName + kMatchedListFileName;
    std::string reportedPath;
    std::optional<std::string> barcodeDataPath = findBarcodeDataFile(workingPathName, reportedPath);

    auto finish = [&]() {
        if (status) {
            status->setStatusText(std::string());
            status->setBusy(false);
        }
        if (userAborted) {
            myPrintf("\nUser Aborted After Match Process...");
            return eMatchOutcome_UserAborted;
        }
        return matched ? eMatchOutcome_Matched : eMatchOutcome_Failed;
    };

    if (!barcodeDataPath) {
        myPrintf("Missing the source barcode file:\n" + reportedPath);
        withdrawMatchedList(matchedListPath, "this match found no barcode data file");
        return finish();
    }
    showStatus(status, 8);
    myPrintfDebug("Checking for the Barcode Image List file:\n" + imageListPath);
    if (!isExistingFile(imageListPath)) {
        myPrintf("Missing the Photo List file:\n" + imageListPath);
        withdrawMatchedList(matchedListPath, "this match found no photo list");
        return finish();
    }

    myPrintf("Starting the barcode-photo matching process...\n");
    showStatus(status, 9);
    std::unique_ptr<ShootMatch> shoot = matchFiles(*barcodeDataPath, imageListPath, tree.slot());
    matched = tree.get() != nullptr;
    if (matched)
        myPrintf("Succeeded with the barcode-photo matching process...\n\n");
    // A result the host cannot read is no result: the match fails, and nothing is erased.
    if (writeMatchedListFile(matchedListPath, tree.get(), threeIDs) == eMatchedListWrite_Failed && matched) {
        myPrintf("The match FAILED: its result could not be saved as " + matchedListPath +
                 " (see above), so Vesk-X is not asked to confirm and the scanner is not erased\n");
        matched = false;
        return finish();
    }

    if (!GeneralPreferencesController::getDoAllowUserToModifyData())
        return finish();

    review.growReviewWindow();
    int code = eReviewCode_OK;
    while (true) {
        // The review may match again with other clocks: the tree it ends with is the one kept.
        ReviewSession session(tree.take(), shoot.get(), workingPathName);
        code = review.runReview(session);
        tree.set(session.takeTree());
        if (code == eReviewCode_OK || code == eReviewCode_Cancel)
            break;
        if (code == eReviewCode_ReturnToHost) {
            matched = false;
            userAborted = true;
            break;
        }
        // Revert: a fresh match from the files; the edits are dropped. The job's outcome follows
        // the match the user now sees, so a rematch that fails cannot be reported as a success.
        myPrintf("Matching again from the list files...");
        shoot = matchFiles(*barcodeDataPath, imageListPath, tree.slot());
        matched = tree.get() != nullptr;
    }
    myPrintfDebug(myFormat("runModalForWindow returned %i", code));
    if (code == eReviewCode_OK) {
        myPrintf("Saving the MODIFIED List...");
        if (writeMatchedListFile(matchedListPath, tree.get(), threeIDs) == eMatchedListWrite_Failed &&
            matched) {
            myPrintf("The match FAILED: the reviewed result could not be saved as " + matchedListPath +
                     " (see above), so Vesk-X is not asked to confirm and the scanner is not erased\n");
            matched = false;
        }
    }
    return finish();
}
