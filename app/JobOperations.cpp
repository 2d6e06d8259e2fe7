#include "JobOperations.h"

#include "MessageLog.h"

namespace {

// An operation that this build does not carry yet: it says so and leaves the job resting.
void notAvailableYet(const char* operation) {
    myPrintf(myFormat("%s is not available yet\n", operation));
}

} // namespace

void JobOperations::buildTheImageList(JobContext&) {
    notAvailableYet("doBuildTheImageListInAThread");
}

void JobOperations::prepareForConnection(JobContext&) {
    notAvailableYet("doPrepareForConnectionInAThread");
}

void JobOperations::makeConnection(JobContext&) {
    notAvailableYet("pdxMakeConnection");
}

void JobOperations::downloadData(JobContext&) {
    notAvailableYet("pdxDownloadData");
}

void JobOperations::matchBarcodeDataWithPhotos(JobContext&) {
    notAvailableYet("matchBarcodeDataWithPhotos");
}

void JobOperations::deleteData(JobContext&) {
    notAvailableYet("pdxDeleteData");
}

void JobOperations::autoLocateAndDownload(JobContext& context) {
    myPrintf("doAutoLocateAndDownload => SHOULD NOT BE HERE");
    makeConnection(context);
    downloadData(context);
}

void JobOperations::rescanSerialPort(JobContext&) {
    myPrintfDebug("rebuildRS232Manager is not available yet\n");
}
