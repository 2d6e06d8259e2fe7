#include "TaskName.h"

namespace testsupport {

std::string taskName(int32_t task) {
    // Switching on the enumeration makes -Wswitch name a code added later without a name here.
    switch (static_cast<eVeskBarcodeTask>(task)) {
    case eVeskBarcodeTask_None:
        return "eVeskBarcodeTask_None";
    case eVeskBarcodeTask_StartJob:
        return "eVeskBarcodeTask_StartJob";
    case eVeskBarcodeTask_UserCancel:
        return "eVeskBarcodeTask_UserCancel";
    case eVeskBarcodeTask_Reserved3:
        return "eVeskBarcodeTask_Reserved3";
    case eVeskBarcodeTask_SetWorkingFolder:
        return "eVeskBarcodeTask_SetWorkingFolder";
    case eVeskBarcodeTask_BuildTheImageList:
        return "eVeskBarcodeTask_BuildTheImageList";
    case eVeskBarcodeTask_PrepareForConnection:
        return "eVeskBarcodeTask_PrepareForConnection";
    case eVeskBarcodeTask_ConnectToBarcodeDevice:
        return "eVeskBarcodeTask_ConnectToBarcodeDevice";
    case eVeskBarcodeTask_DownloadBarcodeData:
        return "eVeskBarcodeTask_DownloadBarcodeData";
    case eVeskBarcodeTask_MatchBarcodeDataWithPhotos:
        return "eVeskBarcodeTask_MatchBarcodeDataWithPhotos";
    case eVeskBarcodeTask_TellVeskToConfirm:
        return "eVeskBarcodeTask_TellVeskToConfirm";
    case eVeskBarcodeTask_WaitForVeskToConfirm:
        return "eVeskBarcodeTask_WaitForVeskToConfirm";
    case eVeskBarcodeTask_DeleteData:
        return "eVeskBarcodeTask_DeleteData";
    case eVeskBarcodeTask_JobEnded:
        return "eVeskBarcodeTask_JobEnded";
    case eVeskBarcodeTask_SendErrorToVeskBadSourceFolder:
        return "eVeskBarcodeTask_SendErrorToVeskBadSourceFolder";
    case eVeskBarcodeTask_SendErrorToVeskMatchFailed:
        return "eVeskBarcodeTask_SendErrorToVeskMatchFailed";
    case eVeskBarcodeTask_SendErrorToVeskEraseFailed:
        return "eVeskBarcodeTask_SendErrorToVeskEraseFailed";
    }
    return "task " + std::to_string(task);
}

} // namespace testsupport

void PrintTo(eVeskBarcodeTask task, std::ostream* out) {
    *out << testsupport::taskName(task);
}
