#include "VeskJobOperations.h"

#include "ImageListBuilder.h"
#include "MatchTask.h"
#include "MessageLog.h"
#include "QtReviewPrompt.h"
#include "StatusDisplay.h"

VeskJobOperations::VeskJobOperations(QWidget* mainWindow) : fMainWindow(mainWindow) {}

VeskJobOperations::~VeskJobOperations() = default;

void VeskJobOperations::buildTheImageList(JobContext& context) {
    context.bringToFront();
    context.status().setBusy(true);
    context.status().setStatusText("Validating Images for The Barcode Process...");
    if (jobCheckList* job = context.job())
        job->curTask = eVeskBarcodeTask_BuildTheImageList;
    // The builder reports its own failures; the job goes on to the download either way, and the
    // match later refuses a photo list that is not there.
    bool built = veskBuildBarcodeFileList2(context.workingFolder(), &context.status());
    if (!built)
        myPrintf("The photo list BarcodeImageList.txt could not be written: the match will fail and the "
                 "scanner will not be erased\n");
    context.status().setStatusText(std::string());
    context.status().setBusy(false);
    context.bringToFront();
    if (jobCheckList* job = context.job()) {
        job->nextTask = eVeskBarcodeTask_PrepareForConnection;
        myPrintfDebug("doBuildTheImageListInAThread SUCCEEDED!!!\n");
    }
}

void VeskJobOperations::prepareForConnection(JobContext& context) {
    fScanner.prepareForConnection(context);
}

void VeskJobOperations::makeConnection(JobContext& context) {
    fScanner.makeConnection(context);
}

void VeskJobOperations::downloadData(JobContext& context) {
    fScanner.downloadData(context);
}

void VeskJobOperations::deleteData(JobContext& context) {
    fScanner.deleteData(context);
}

void VeskJobOperations::rescanSerialPort(JobContext& context) {
    fScanner.rescanSerialPort(context);
}

void VeskJobOperations::matchBarcodeDataWithPhotos(JobContext& context) {
    // One review window for the program, kept across matches.
    if (!fReview)
        fReview.reset(new QtReviewPrompt(fMainWindow));
    fReview->setWorkingPathName(context.workingFolder());
    MatchTaskContext task;
    task.workingPathName = context.workingFolder();
    task.job = context.job();
    task.status = &context.status();
    task.review = fReview.get();
    task.barcodeList = &fBarcodeList;
    ::matchBarcodeDataWithPhotos(task);
}
