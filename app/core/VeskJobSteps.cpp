#include "VeskJobSteps.h"

#include "ImageListBuilder.h"
#include "LocalizedText.h"
#include "MatchTask.h"
#include "MessageLog.h"
#include "ReviewPrompt.h"
#include "StatusDisplay.h"

#include <algorithm>

namespace {

// What the match tree the user kept holds: its photos, its doubtful photos and its barcodes
// without a photo.
MatchedFigures figuresOf(const BarcodeList* list) {
    MatchedFigures figures;
    if (!list)
        return figures;
    figures.scans = list->size();
    for (const std::unique_ptr<Barcode>& barcode : *list) {
        if (barcode->images().empty())
            ++figures.scansWithoutPhotos;
        for (const std::unique_ptr<BarcodeImage>& image : barcode->images()) {
            ++figures.photos;
            if (image->isDoubtful())
                ++figures.doubtfulPhotos;
        }
    }
    return figures;
}

} // namespace

VeskJobSteps::VeskJobSteps(ReviewPrompt* review, JobProgress* progress)
    : fReview(review), fProgress(progress) {
    fScanner.setProgress(progress);
}

void VeskJobSteps::report(eJobStep step, eStepState state, eStepProblem problem) {
    if (fProgress)
        fProgress->setStepState(step, state, problem);
}

VeskJobSteps::~VeskJobSteps() = default;

NextTask VeskJobSteps::buildTheImageList(JobContext& context) {
    context.bringToFront();
    context.status().setBusy(true);
    context.status().setStatusText(
        localizedText("VeskJobSteps", "Validating Images for The Barcode Process..."));
    // The builder reports its own failures; the job goes on to the download either way, and the
    // match later refuses a photo list that is not there.
    report(eJobStep_Photos, eStepState::Running);
    ImageListBuilder builder(&context.status());
    JobProgress* progress = fProgress;
    if (progress)
        builder.setProgress([progress](size_t done, size_t total) {
            progress->setStepProgress(eJobStep_Photos, done, total);
        });
    bool built = builder.veskBuildBarcodeFileList2(context.workingFolder());
    if (built && fProgress)
        fProgress->photosListed(builder.summary().photosListed, builder.summary().undatedPhotos);
    report(eJobStep_Photos, built ? eStepState::Done : eStepState::Failed, eStepProblem::PhotoListNotWritten);
    if (!built)
        myPrintf("The photo list BarcodeImageList.txt could not be written: the match will fail and the "
                 "scanner will not be erased\n");
    context.status().setStatusText(std::string());
    context.status().setBusy(false);
    context.bringToFront();
    if (context.hasJob())
        myPrintfDebug("doBuildTheImageListInAThread SUCCEEDED!!!\n");
    return eVeskBarcodeTask_PrepareForConnection;
}

NextTask VeskJobSteps::prepareForConnection(JobContext& context) {
    NextTask next = fScanner.prepareForConnection(context);
    if (next == eVeskBarcodeTask_MatchBarcodeDataWithPhotos) {
        // The scans are already in the folder (or testing mode): no scanner this time.
        report(eJobStep_Scanner, eStepState::Skipped);
        report(eJobStep_Download, eStepState::Skipped);
    } else if (next == eVeskBarcodeTask_UserCancel) {
        report(eJobStep_Scanner, eStepState::Failed, eStepProblem::Cancelled);
    }
    return next;
}

NextTask VeskJobSteps::makeConnection(JobContext& context) {
    report(eJobStep_Scanner, eStepState::Running);
    NextTask next = fScanner.makeConnection(context);
    if (next == eVeskBarcodeTask_DownloadBarcodeData) {
        if (fProgress)
            fProgress->scannerFound(fScanner.barCodeID(), fScanner.scansOnScanner());
        report(eJobStep_Scanner, eStepState::Done);
    } else if (next == eVeskBarcodeTask_UserCancel) {
        report(eJobStep_Scanner, eStepState::Failed, eStepProblem::Cancelled);
    } else {
        report(eJobStep_Scanner, eStepState::Failed,
               fScanner.currentPortPath().empty() ? eStepProblem::NoSerialPort
                                                  : eStepProblem::NoScannerAnswer);
    }
    return next;
}

NextTask VeskJobSteps::downloadData(JobContext& context) {
    report(eJobStep_Download, eStepState::Running);
    NextTask next = fScanner.downloadData(context);
    if (next == eVeskBarcodeTask_MatchBarcodeDataWithPhotos) {
        if (fProgress)
            fProgress->scansDownloaded(size_t(std::max(0L, fScanner.scansOnScanner())));
        report(eJobStep_Download, eStepState::Done);
    } else if (next == eVeskBarcodeTask_UserCancel) {
        report(eJobStep_Download, eStepState::Failed, eStepProblem::Cancelled);
    } else {
        report(eJobStep_Download, eStepState::Failed,
               fScanner.barCodeID() == kUnknownBarcodeID ? eStepProblem::NotConnected
                                                         : eStepProblem::DownloadFailed);
    }
    return next;
}

StepResult VeskJobSteps::deleteData(JobContext& context) {
    report(eJobStep_Erase, eStepState::Running);
    StepResult result = fScanner.deleteData(context);
    if (fScanner.testingMode())
        report(eJobStep_Erase, eStepState::Skipped);
    else
        report(eJobStep_Erase, result.terminateProgram ? eStepState::Done : eStepState::Failed,
               eStepProblem::NotErased);
    return result;
}

void VeskJobSteps::rescanSerialPort(JobContext& context) {
    fScanner.rescanSerialPort(context);
}

void VeskJobSteps::chooseSerialPort(JobContext& context, const std::string& path) {
    fScanner.chooseSerialPort(context, path);
}

NextTask VeskJobSteps::matchBarcodeDataWithPhotos(JobContext& context) {
    report(eJobStep_Match, eStepState::Running);
    eMatchOutcome outcome =
        ::matchBarcodeDataWithPhotos(context.workingFolder(), &context.status(), fReview, &fBarcodeList);
    switch (outcome) {
    case eMatchOutcome_Matched:
        if (fProgress)
            fProgress->photosMatched(figuresOf(fBarcodeList.get()));
        report(eJobStep_Match, eStepState::Done);
        // Next the job asks Vesk-X to confirm and waits for its answer.
        report(eJobStep_HostConfirm, eStepState::Running);
        return eVeskBarcodeTask_TellVeskToConfirm;
    case eMatchOutcome_UserAborted:
        report(eJobStep_Match, eStepState::Failed, eStepProblem::ReturnedToHost);
        return eVeskBarcodeTask_UserCancel;
    case eMatchOutcome_Failed:
        break;
    }
    report(eJobStep_Match, eStepState::Failed, eStepProblem::MatchFailed);
    return eVeskBarcodeTask_SendErrorToVeskMatchFailed;
}
