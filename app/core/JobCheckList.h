// The job record and its task codes. One record per process, owned by the application controller.
#pragma once

#include <atomic>
#include <cstdint>

enum eVeskBarcodeTask : int32_t {
    eVeskBarcodeTask_None = 0,
    eVeskBarcodeTask_StartJob = 1,
    eVeskBarcodeTask_UserCancel = 2,
    eVeskBarcodeTask_Reserved3 = 3,
    eVeskBarcodeTask_SetWorkingFolder = 4,
    eVeskBarcodeTask_BuildTheImageList = 5,
    eVeskBarcodeTask_PrepareForConnection = 6,
    eVeskBarcodeTask_ConnectToBarcodeDevice = 7,
    eVeskBarcodeTask_DownloadBarcodeData = 8,
    eVeskBarcodeTask_MatchBarcodeDataWithPhotos = 9,
    eVeskBarcodeTask_TellVeskToConfirm = 10,
    eVeskBarcodeTask_WaitForVeskToConfirm = 11,
    eVeskBarcodeTask_DeleteData = 12,
    eVeskBarcodeTask_JobEnded = 13,
    eVeskBarcodeTask_SendErrorToVeskBadSourceFolder = 14,
    eVeskBarcodeTask_SendErrorToVeskMatchFailed = 15,
    eVeskBarcodeTask_SendErrorToVeskEraseFailed = 16,
};

// Only the job controller writes curTask and nextTask: on the user-interface thread, and at the
// end of a worker (nextTask, right before the worker guard is released). Other threads may read
// them, so both are atomics.
struct jobCheckList {
    bool jobCreated = false;
    bool workingFolderAccepted = false;
    bool unusedFlag3 = false;
    bool unusedFlag4 = false;
    bool unusedFlag5 = false;
    bool unusedFlag6 = false;
    bool unusedFlag7 = false;
    std::atomic<int32_t> curTask{0};
    std::atomic<int32_t> nextTask{0};
};
