#include "VeskJobSteps.h"

#include "ImageListBuilder.h"
#include "LocalizedText.h"
#include "MatchTask.h"
#include "MessageLog.h"
#include "ReviewPrompt.h"
#include "StatusDisplay.h"

VeskJobSteps::VeskJobSteps(ReviewPrompt* review) : fReview(review) {}

VeskJobSteps::~VeskJobSteps() = default;

NextTask VeskJobSteps::buildTheImageList(JobContext& context) {
    context.bringToFront();
    context.status().setBusy(true);
    context.status().setStatusText(
        localizedText("VeskJobSteps", "Validating Images for The Barcode Process..."));
    // The builder reports its own failures; the job goes on to the download either way, and the
    // match later refuses a photo list that is not there.
    bool built = veskBuildBarcodeFileList2(context.workingFolder(), &context.status());
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
    return fScanner.prepareForConnection(context);
}

NextTask VeskJobSteps::makeConnection(JobContext& context) {
    return fScanner.makeConnection(context);
}

NextTask VeskJobSteps::downloadData(JobContext& context) {
    return fScanner.downloadData(context);
}

StepResult VeskJobSteps::deleteData(JobContext& context) {
    return fScanner.deleteData(context);
}

void VeskJobSteps::rescanSerialPort(JobContext& context) {
    fScanner.rescanSerialPort(context);
}

NextTask VeskJobSteps::matchBarcodeDataWithPhotos(JobContext& context) {
    eMatchOutcome outcome =
        ::matchBarcodeDataWithPhotos(context.workingFolder(), &context.status(), fReview, &fBarcodeList);
    switch (outcome) {
    case eMatchOutcome_Matched:
        return eVeskBarcodeTask_TellVeskToConfirm;
    case eMatchOutcome_UserAborted:
        return eVeskBarcodeTask_UserCancel;
    case eMatchOutcome_Failed:
        break;
    }
    return eVeskBarcodeTask_SendErrorToVeskMatchFailed;
}
