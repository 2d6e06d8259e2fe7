// pdxProDevice: construction, the working folder, remote mode and the connection check.
#include "pdxProDevice.h"

#include "Clock.h"
#include "MessageLog.h"
#include "pdxProCommands.h"
#include "pdxRemoteModeSession.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace {

long commandLength(const char* command) {
    return static_cast<long>(std::strlen(command));
}

} // namespace

const char kBarcodeDataPartialFileName[] = "BarcodeDataSource.txt.part";
const char kBarcodeDataDamagedFileName[] = "BarcodeDataSource.damaged.txt";
const char kBarcodeDataReplacedFilePrefix[] = "BarcodeDataSource.replaced-";
// The longest name kBarcodeDataReplacedFilePrefix leads to: a date, a time and a counter.
constexpr std::size_t kReplacedFileNameLength = sizeof kBarcodeDataReplacedFilePrefix + 24;
const char kUnnamedBarcodeID[] = "177?????";

pdxProDevice::pdxProDevice() : fBarcodeFileMgr(std::make_unique<barcodeDataFileMgr>()) {
    std::memset(fGetSystemInfo, 0, sizeof fGetSystemInfo);
    std::memset(fSystemInfoFormRecord, 0, sizeof fSystemInfoFormRecord);
    std::memset(fModelName, 0, sizeof fModelName);
    std::memset(fUnitID, 0, sizeof fUnitID);
    std::memset(fDateMode, 0, sizeof fDateMode);
    std::memset(fWorkingPath, 0, sizeof fWorkingPath);
}

pdxProDevice::~pdxProDevice() = default;

bool pdxProDevice::SetWorkingPathCString(const char* folder) {
    std::memset(fWorkingPath, 0, sizeof fWorkingPath);
    if (folder == nullptr || folder[0] == '\0')
        return false;
    // The longest name written into the folder must still give a path under 1024 bytes.
    std::size_t longest = std::strlen(kBarcodeDataDamagedFileName);
    longest = std::max(longest, std::strlen(kBarcodeDataPartialFileName));
    longest = std::max(longest, std::strlen(kBarcodeDataFileName));
    longest = std::max(longest, kReplacedFileNameLength);
    if (std::strlen(folder) + longest >= barcodeDataFileMgr::kFormedPathSize) {
        myPrintf(myFormat("pdxProDevice::SetWorkingPathCString => the working folder path is too long "
                          "(%zu bytes; the data file path must stay under %zu): %.80s...\n",
                          std::strlen(folder), barcodeDataFileMgr::kFormedPathSize, folder));
        return false;
    }
    std::strcpy(fWorkingPath, folder);
    return true;
}

bool pdxProDevice::SendCommand(const char* command, long length) {
    DiscardPendingInput();
    long sent = length;
    return SendTheCharacters(command, sent);
}

bool pdxProDevice::SendAndReadReply(const char* command, long length, char* reply, long replyLength) {
    std::memset(reply, 0, static_cast<size_t>(replyLength) + 1);
    if (!SendCommand(command, length))
        return false;
    long expected = replyLength;
    return ReadBackTheCharacters(reply, expected);
}

bool pdxProDevice::ReadExpectedByte(unsigned char expected) {
    char reply[2] = {0};
    long count = 1;
    ReadBackTheCharacters(reply, count);
    return static_cast<unsigned char>(reply[0]) == expected && reply[0] != '\0';
}

bool pdxProDevice::EnterRemoteMode() {
    myPrintfDebug("\n\npdxProDevice::EnterRemoteMode\n");
    if (!SendCommand(kPdxPro_Begin05Cmd, 1)) {
        myPrintf("\n\nUNABLE TO ENTER  REMOTE MODE - PLEASE CHECK CABLE AND DEVICE!!!\n");
        return false;
    }
    if (!ReadExpectedByte(kPdxPro_ACK))
        return false;
    if (!SendCommand(kPdxPro_EnterRemoteMode1Cmd, 1) || !ReadExpectedByte(kPdxPro_BEL))
        return false;
    return SendCommand(kPdxPro_EnterRemoteMode2Cmd, 1) && ReadExpectedByte(kPdxPro_ACK);
}

bool pdxProDevice::EnterRemoteModeLoop2(short seconds) {
    myPrintfDebug("pdxProDevice::EnterRemoteModeLoop2\n");
    SetFileDescriptor(OpenSerialPort());
    bool success = false;
    if (IsPortOpen()) {
        const Deadline deadline(Deadline::ticks(seconds * 60));
        Deadline reopen(Deadline::ticks(kReopenTicks));
        myPrintfDebug(myFormat("Total Wait Time is [%i] seconds\n", seconds));
        while (true) {
            tcdrain(fFileDescriptor);
            if (EnterRemoteMode()) {
                myPrintf("pdxProDevice::EnterRemoteModeLoop2 => Success!!!\n");
                wait(1);
                success = true;
                break;
            }
            if (reopen.expired()) {
                myPrintf("pdxProDevice::EnterRemoteModeLoop2 => Trying Again...\n");
                myPrintfDebug("TickCount() >=\tnextTenSecTicks");
                wait(1);
                CloseSerialPort();
                wait(1);
                SetFileDescriptor(OpenSerialPort());
                reopen.restart();
                if (!IsPortOpen())
                    break;
            } else {
                wait(1);
            }
            if (deadline.expired())
                break;
        }
    }
    if (!IsPortOpen()) {
        myPrintf(myFormat("UNABLE to OpenSerialPort -- fileDescriptor is [%i]", fFileDescriptor));
        // Said plainly: not allowed, in use, or gone.
        myPrintf(OpenFailureSentence());
    }
    if (!success) {
        myPrintf("Unable to Connect In Remote Mode!!!");
        CloseSerialPort();
    }
    return success;
}

bool pdxProDevice::EnterRemoteModeLoop(short seconds) {
    return EnterRemoteModeLoop2(seconds);
}

bool pdxProDevice::QuitRemoteMode() {
    myPrintfDebug("pdxProDevice::QuitRemoteMode\n");
    return SendCommand(kPdxPro_QuitRemoteModeCmd, 1);
}

bool pdxProDevice::SendBegin05Cmd() {
    myPrintfDebug("pdxProDevice::SendBegin05Cmd\n");
    if (!SendCommand(kPdxPro_Begin05Cmd, 1))
        return false;
    if (ReadExpectedByte(kPdxPro_ACK)) {
        myPrintfDebug("pdxProDevice::SendBegin05Cmd ACKED!\n");
        return true;
    }
    myPrintf("pdxProDevice::SendBegin05Cmd did NOT Get ACKED!\n");
    return false;
}

bool pdxProDevice::SendEnd06Cmd() {
    myPrintfDebug("pdxProDevice::SendEnd06Cmd\n");
    return SendCommand(kPdxPro_End06Cmd, 1);
}

bool pdxProDevice::DummyModemCommand() {
    myPrintf("pdxProDevice::DummyModemCommand\n");
    return SendCommand(kPdxPro_DummyModemCommand, commandLength(kPdxPro_DummyModemCommand));
}

bool pdxProDevice::MakeConnection() {
    return MakeConnectionNew();
}

bool pdxProDevice::MakeConnectionNew() {
    myPrintfDebug("pdxProDevice::MakeConnectionNew\n");
    pdxRemoteModeSession session(*this);
    // A scanner not ready within the first loop gets a second one; a port that did not open does
    // not, since waiting changes nothing for a port the user may not use or that is gone.
    if (!session.Enter(kConnectRemoteModeSeconds) &&
        (GetLastOpenError() != 0 || !session.Enter(kConnectRemoteModeSeconds)))
        return false;
    // A failed read must not leave the identity of a scanner met earlier behind.
    std::memset(fModelName, 0, sizeof fModelName);
    std::memset(fUnitID, 0, sizeof fUnitID);
    if (GetSystemInfoCmd())
        return true;
    myPrintf(myFormat("pdxProDevice::MakeConnectionNew => the scanner on %s answered but its "
                      "system information could not be read\n",
                      fBsdPathName));
    return false;
}

bool pdxProDevice::GetDateInfoCmd() {
    myPrintf("pdxProDevice::GetDateInfoCmd\n");
    if (!SendBegin05Cmd())
        return false;
    char reply[501] = {0};
    if (SendAndReadReply(kPdxPro_GetDateInfoCmd, commandLength(kPdxPro_GetDateInfoCmd), reply, 1) &&
        static_cast<unsigned char>(reply[0]) != kPdxPro_ACK)
        myPrintf("WHAT GetDateInfoCmd 1\n");
    std::memset(reply, 0, sizeof reply);
    long expected = 10;
    ReadBackTheCharacters(reply, expected);
    if (static_cast<unsigned char>(reply[0]) == kPdxPro_STX)
        myPrintf(myFormat("Get Date returned: [%.8s]\n", reply + 1));
    else
        myPrintf("WHAT GetDateInfoCmd 2\n");
    return SendEnd06Cmd();
}

bool pdxProDevice::GetTimeInfoCmd() {
    myPrintf("pdxProDevice::GetTimeInfoCmd\n");
    if (!SendBegin05Cmd())
        return false;
    char reply[501] = {0};
    SendAndReadReply(kPdxPro_GetTimeInfoCmd, commandLength(kPdxPro_GetTimeInfoCmd), reply, 11);
    if (static_cast<unsigned char>(reply[0]) == kPdxPro_ACK &&
        static_cast<unsigned char>(reply[1]) == kPdxPro_STX)
        myPrintf(myFormat("GetTime returned: [%.8s]\n", reply + 2));
    else
        myPrintf("WHAT GetDateInfoCmd\n");
    return SendEnd06Cmd();
}

bool pdxProDevice::GetBarCodeSettingCmd() {
    myPrintf("pdxProDevice::GetBarCodeSettingCmd\n");
    if (!SendBegin05Cmd())
        return false;
    char reply[501] = {0};
    if (SendAndReadReply(kPdxPro_GetBarCodeSettingCmd, commandLength(kPdxPro_GetBarCodeSettingCmd), reply,
                         1) &&
        static_cast<unsigned char>(reply[0]) == kPdxPro_ACK)
        myPrintfDebug("GOOD - GOT 0x06\n");
    std::memset(reply, 0, sizeof reply);
    long expected = 36;
    ReadBackTheCharacters(reply, expected);
    if (reply[0] == 34) {
        unsigned char sum = 0;
        pdxProDeviceComputeCheckSum(reinterpret_cast<unsigned char*>(reply + 1), 34, sum);
        myPrintf(myFormat("          The checksum is [0x%02x] = [%i]\n", sum, sum));
        unsigned char withLength = static_cast<unsigned char>(sum + 34);
        myPrintf(myFormat(" The checksum+maxBytes is [0x%02x] = [%i]\n", withLength, withLength));
    } else {
        myPrintf("WHAT GetBarCodeSettingCmd\n");
    }
    return SendEnd06Cmd();
}
