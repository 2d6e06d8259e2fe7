// pdxProDevice: the erase of a form, confirmed by reading the system information again.
#include "pdxProDevice.h"

#include "MessageLog.h"
#include "pdxProCommands.h"
#include "pdxRemoteModeSession.h"

#include <cstring>

bool pdxProDevice::DeleteData(const char* expectedUnitID) {
    return DeleteDataNew(expectedUnitID);
}

bool pdxProDevice::DeleteDataNew(const char* expectedUnitID) {
    myPrintfDebug("pdxProDevice::DeleteDataNew\n");
    if (expectedUnitID == nullptr || expectedUnitID[0] == '\0') {
        myPrintf("pdxProDevice::DeleteDataNew => NO Valid BARCODE ID???\n");
        return false;
    }
    pdxRemoteModeSession session(*this);
    if (!session.Enter(kDownloadRemoteModeSeconds))
        return false;
    std::memset(fUnitID, 0, sizeof fUnitID);
    GetSystemInfoCmd();
    if (std::strcmp(fUnitID, expectedUnitID) != 0) {
        myPrintf(myFormat("DeleteDataNew => Found DeviceID[%s] != ExpectedDeviceID[%s]\n", fUnitID,
                          expectedUnitID));
        return false;
    }
    bool result = false;
    // Only a form that reports 00000 records is empty. A count out of range (1,500 scans and
    // more) or a field count of 0 on a form with records still holds scans.
    if (GetSystemInfoCmd()) {
        ReportFormCounts(ePdxFormFileNum_1);
        if (IsFormEmpty(ePdxFormFileNum_1)) {
            myPrintf("DeleteDataNew Before=> There Is NO FORM DATA in this Zebex Unit!!!\n\n");
            result = true;
        }
    } else {
        myPrintf("DeleteDataNew => Unable to GetSystemInfoCmd Before\n");
    }
    if (!result) {
        DeleteDataCmd(ePdxFormFileNum_1);
        if (GetSystemInfoCmd()) {
            ReportFormCounts(ePdxFormFileNum_1);
            if (IsFormEmpty(ePdxFormFileNum_1)) {
                myPrintf("DeleteDataNew Afterwards => There Is NO FORM DATA in this Zebex Unit!!!\n\n");
                result = true;
            } else {
                myPrintf("\n========= !!!  BARCDOE DATA STILL EXISTS  !!! ========\n\n");
            }
        } else {
            myPrintf("DeleteDataNew => Unable to GetSystemInfoCmd Afterwards \n");
        }
    }
    return result;
}

bool pdxProDevice::DeleteDataCmd(ePdxFormFileNum form) {
    myPrintf("pdxProDevice::DeleteDataCmd\n");
    if (form != ePdxFormFileNum_0 && form != ePdxFormFileNum_1) {
        myPrintf(myFormat("pdxProDevice::DeleteDataCmd => Invalid ePdxFormFileNum param = [0x%02x]\n\n",
                          static_cast<unsigned>(form)));
        return false;
    }
    char command[6] = {0};
    std::memcpy(command, kPdxPro_DeletDataCmd, 5);
    command[3] = form == ePdxFormFileNum_1 ? '1' : '0';
    if (!SendBegin05Cmd())
        return false;
    if (SendCommand(command, 5) && !ReadExpectedByte(kPdxPro_ACK))
        myPrintf("WHAT DeleteDataCmd???? => BAD!!!\n");
    return SendEnd06Cmd();
}
