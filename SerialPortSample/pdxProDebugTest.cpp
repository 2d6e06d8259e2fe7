// pdxProDevice: the console self-test of a scanner. The application's workflows never call it;
// vesk-cli selftest does. It walks through a whole session step by step and logs every byte.
#include "pdxProDevice.h"

#include "MessageLog.h"
#include "pdxRemoteModeSession.h"

#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <string>

namespace {

constexpr int kOpenRetries = 10;
constexpr int kRemoteModeAttempts = 5;

std::string currentFolder() {
    char buffer[PATH_MAX + 1] = {0};
    if (!getcwd(buffer, PATH_MAX))
        return ".";
    return buffer;
}

} // namespace

bool pdxProDevice::DoDebugTest() {
    myPrintf("========== pdxProDevice::DoDebugTest ===========");
    const std::string portPath = fBsdPathName;
    pdxRemoteModeSession session(*this);

    SetFileDescriptor(OpenSerialPort());
    for (int attempt = 1; !IsPortOpen() && attempt <= kOpenRetries; ++attempt) {
        myPrintf(myFormat("Issuing inquiry => [%i] of [%i]\n", attempt, kOpenRetries));
        SetFileDescriptor(OpenSerialPort());
    }
    if (!IsPortOpen()) {
        myPrintf(myFormat("UNABLE to OpenSerialPort -- fileDescriptor is [%i]", fFileDescriptor));
        return false;
    }

    for (int attempt = 1; attempt <= kRemoteModeAttempts; ++attempt) {
        if (tcdrain(fFileDescriptor) == -1)
            myPrintf(myFormat("Error waiting for drain - %s(%d).\n", strerror(errno), errno));
        JustReceiveCharacters();
        JustReceiveCharacters();
        if (session.EnterOnce())
            break;
        JustReceiveCharacters();
        if (attempt == kRemoteModeAttempts)
            break;
        CloseSerialPort();
        SetFileDescriptor(OpenSerialPort());
        if (!IsPortOpen()) {
            myPrintf(
                myFormat("FAILED Badly inside OpenSerialPort -- fileDescriptor is [%i]", fFileDescriptor));
            return false;
        }
        myPrintf(myFormat("\nRETRYING to enter Remote Mode with PDX Device [%i] out of [%i]\n", attempt + 1,
                          kRemoteModeAttempts));
    }
    if (!session.IsInRemoteMode()) {
        myPrintf(
            myFormat("\n\nFAILED TO COMMUNICATE WITH PdxPro Z-1070 DEVICE Thru = %s\n", portPath.c_str()));
        return false;
    }

    GetBarCodeSettingCmd();
    // The data file is named by the unit ID: without one (or with one that is no plain file
    // name) nothing is written, so that no BarcodeDataSource.txt of a job is overwritten.
    std::memset(fUnitID, 0, sizeof fUnitID);
    bool haveSystemInfo = GetSystemInfoCmd();
    bool written = false;
    if (!haveSystemInfo || fUnitID[0] == '\0') {
        myPrintf(
            myFormat("pdxProDevice::DoDebugTest => the system information of the scanner on %s could not "
                     "be read; no data file is written\n",
                     portPath.c_str()));
    } else if (std::strchr(fUnitID, '/') != nullptr) {
        myPrintf(myFormat("pdxProDevice::DoDebugTest => the unit ID [%s] cannot name a file; no data file is "
                          "written\n",
                          fUnitID));
    } else {
        fBarcodeFileMgr = std::make_unique<barcodeDataFileMgr>();
        barcodeDataFileMgr& file = *fBarcodeFileMgr;
        file.setBarcodeSN(fUnitID);
        file.formFileName(fUnitID);
        file.setBarcodeModel(fModelName);
        file.setBarcodeDateMode(fDateMode);
        if (file.fileName()[0] != '\0')
            file.createOutputFileWithHeader();
        if (!file.is_open()) {
            myPrintf("UNABLE to create the output barcode file!!!");
        } else {
            bool clean = GetUploadDataFromPDXCmd(ePdxFormFileNum_1);
            GetDateInfoCmd();
            GetTimeInfoCmd();
            file.close();
            written = clean && !file.fail();
            std::string path = currentFolder() + "/" + file.fileName();
            if (written)
                myPrintf(myFormat("pdxProDevice::DoDebugTest => wrote %s\n", path.c_str()));
            else
                myPrintf(
                    myFormat("pdxProDevice::DoDebugTest => the transfer was not clean; %s is incomplete\n",
                             path.c_str()));
        }
    }
    if (fBarcodeFileMgr->is_open())
        fBarcodeFileMgr->close();
    return written;
}
