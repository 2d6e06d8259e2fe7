// pdxProDevice: the erase of form 1, checked right before the command and confirmed by reading
// the system information again.
#include "pdxProDevice.h"

#include "MessageLog.h"
#include "pdxProCommands.h"
#include "pdxRemoteModeSession.h"

#include <cstring>

namespace {

// The verification read after an erase command: tries, with a pause of the protocol between them.
constexpr int kEraseVerificationTries = 3;

} // namespace

bool pdxProDevice::DeleteData(const char* expectedUnitID) {
    const std::string dataFile =
        fWorkingPath[0] == '\0' ? std::string() : std::string(fWorkingPath) + kBarcodeDataFileName;
    return DeleteDataNew(expectedUnitID, pdxEraseGuard::ForDataFile(dataFile)).scannerIsEmpty();
}

pdxEraseResult pdxProDevice::DeleteDataNew(const char* expectedUnitID, const pdxEraseGuard& guard) {
    myPrintfDebug("pdxProDevice::DeleteDataNew\n");
    pdxEraseResult result;
    if (expectedUnitID == nullptr || expectedUnitID[0] == '\0') {
        myPrintf("pdxProDevice::DeleteDataNew => NO Valid BARCODE ID???\n");
        result.outcome = ePdxEraseOutcome_NoUnitID;
        return result;
    }
    // One connection from the check to the confirmation: nothing can be scanned in between, and
    // no other scanner can take this one's place.
    pdxRemoteModeSession session(*this);
    if (!session.Enter(kDownloadRemoteModeSeconds))
        return result;
    std::memset(fUnitID, 0, sizeof fUnitID);
    if (!GetSystemInfoCmd()) {
        myPrintf(
            myFormat("DeleteDataNew => the system information of the scanner on %s could not be read, so "
                     "nothing shows what it holds: nothing was erased\n",
                     fBsdPathName));
        return result;
    }
    ReportFormCounts(ePdxFormFileNum_1);
    result.check =
        guard.Check(fUnitID, fSystemInfoFormRecord[ePdxFormFileNum_1].ReportedCountOfRecords, expectedUnitID);
    if (result.check.verdict == ePdxEraseVerdict_NotExpectedScanner)
        myPrintf(myFormat("DeleteDataNew => Found DeviceID[%s] != ExpectedDeviceID[%s]\n", fUnitID,
                          expectedUnitID));
    if (result.check.scannerIsEmpty()) {
        myPrintf("DeleteDataNew Before=> There Is NO FORM DATA in this Zebex Unit!!!\n\n");
        result.outcome = ePdxEraseOutcome_NothingToErase;
        return result;
    }
    if (!result.check.allowsErase()) {
        myPrintf("DeleteDataNew => NOTHING WAS ERASED: " + result.check.explain() + "\n");
        result.outcome = ePdxEraseOutcome_Refused;
        return result;
    }
    myPrintfDebug("DeleteDataNew => " + result.check.explain() + "\n");

    result.eraseCommandSent = DeleteDataCmd(ePdxFormFileNum_1);
    for (int attempt = 1; attempt <= kEraseVerificationTries; ++attempt) {
        if (attempt > 1)
            wait(1);
        if (!GetSystemInfoCmd()) {
            myPrintf(myFormat("DeleteDataNew => Unable to GetSystemInfoCmd Afterwards (try %i of %i)\n",
                              attempt, kEraseVerificationTries));
            continue;
        }
        ReportFormCounts(ePdxFormFileNum_1);
        if (IsFormEmpty(ePdxFormFileNum_1)) {
            myPrintf("DeleteDataNew Afterwards => There Is NO FORM DATA in this Zebex Unit!!!\n\n");
            result.outcome = ePdxEraseOutcome_Erased;
            return result;
        }
        myPrintf("\n========= !!!  BARCDOE DATA STILL EXISTS  !!! ========\n\n");
        result.outcome = ePdxEraseOutcome_DataRemains;
        return result;
    }
    myPrintf(myFormat("DeleteDataNew => scanner %s: the erase was sent but could not be confirmed; check the "
                      "scanner before scanning again\n",
                      result.check.scannerUnitID.c_str()));
    result.outcome = ePdxEraseOutcome_NotConfirmed;
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
    const bool sent = SendCommand(command, 5);
    if (sent && !ReadExpectedByte(kPdxPro_ACK))
        myPrintf("WHAT DeleteDataCmd???? => BAD!!!\n");
    SendEnd06Cmd();
    return sent;
}
