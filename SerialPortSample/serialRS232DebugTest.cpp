// serialRS232Device: the console self-test of a port and its two raw-port helpers. The
// application's workflows never call these; vesk-cli selftest does.
#include "serialRS232Device.h"

#include "Clock.h"
#include "MessageLog.h"

#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

const char kVersionRequest[] = "VERS\r";
constexpr long kVersionRequestLength = 5;
constexpr long kVersionReplyExpected = 5;
constexpr int kVersionRequestCount = 5;
constexpr long kListenExpected = 2;
constexpr int kListenTicks = 60; // one second

} // namespace

bool serialRS232Device::DoDebugTest() {
    myPrintf(myFormat("\n\nStarting Test with Serial Device Name = %s\n", fBsdPathName));
    SetFileDescriptor(OpenSerialPort());
    if (!IsPortOpen()) {
        myPrintf(myFormat("UNABLE to OpenSerialPort -- fileDescriptor is [%i]", fFileDescriptor));
        return false;
    }
    for (int i = 0; i < kVersionRequestCount; ++i)
        InitializeQRWDevice();
    return true;
}

bool serialRS232Device::InitializeQRWDevice() {
    int descriptor = GetFileDescriptor();
    if (tcflush(descriptor, TCIOFLUSH) == -1)
        myPrintf("unable to tcflush ( filedescriptor, TCIOFLUSH )\n");
    myPrintf(myFormat("Try #%d\n", 1));
    myPrintf(myFormat("Cmd Length is %i bytes\n", static_cast<int>(kVersionRequestLength)));
    ssize_t written = write(descriptor, kVersionRequest, kVersionRequestLength);
    if (written == -1) {
        myPrintf(myFormat("Error writing to modem - %s(%d).\n", strerror(errno), errno));
        return false;
    }
    if (written < kVersionRequestLength) {
        myPrintf(myFormat("Did NOT write enough chars = %i bytes sent\n", static_cast<int>(written)));
    } else {
        myPrintfDebug(myFormat("Wrote %ld bytes = [\"%s\"]\n", static_cast<long>(written),
                               LogString2(kVersionRequest, written).c_str()));
        myPrintf(
            myFormat("Waiting for Response string of %i bytes\n", static_cast<int>(kVersionReplyExpected)));
    }

    // Reads until one second of silence; a port that never falls silent stops once the reply
    // buffer is full.
    char reply[kVersionReplySize + 1] = {0};
    long total = 0;
    while (true) {
        long room = kVersionReplySize - total;
        if (room <= 0) {
            myPrintf(myFormat("The reply filled its %ld bytes; the rest is not read\n", kVersionReplySize));
            break;
        }
        ssize_t count =
            read(descriptor, reply + total, static_cast<size_t>(std::min(kVersionReplyExpected, room)));
        if (count == -1 && errno == EINTR)
            continue;
        if (count == -1) {
            myPrintf(myFormat("Error reading from QRW - %s(%d).\n", strerror(errno), errno));
            break;
        }
        if (count == 0) {
            if (total == 0)
                myPrintfDebug("Nothing read.\n");
            break;
        }
        bool hadExpected = total >= kVersionReplyExpected;
        total += count;
        myPrintf(myFormat("Read back %i numBytes of %i totalExpectedbytes\n", static_cast<int>(total),
                          static_cast<int>(kVersionReplyExpected)));
        if (!hadExpected && total >= kVersionReplyExpected)
            myPrintf(myFormat("Read back EXPECTED bytes of %i bytes\n", static_cast<int>(total)));
    }
    myPrintf(myFormat("Read BACK Data \"%s\"\n", LogString2(reply, total).c_str()));
    return false;
}

bool serialRS232Device::JustReceiveCharacters() {
    myPrintf("\nserialRS232Device::JustReceiveCharacters => xxxxxxx\n");
    int descriptor = GetFileDescriptor();
    char received[kListenExpected + 1] = {0};
    long total = 0;
    const Deadline deadline(Deadline::ticks(kListenTicks));
    while (total < kListenExpected) {
        ssize_t count = read(descriptor, received + total, static_cast<size_t>(kListenExpected - total));
        if (count == -1 && errno == EINTR)
            continue;
        if (count == -1) {
            myPrintf(myFormat("Error reading from QRW - %s(%d).\n", strerror(errno), errno));
            break;
        }
        if (count > 0) {
            total += count;
            myPrintf("serialRS232Device::JustReceiveCharacters => numBytes > 0\n");
            myPrintf(myFormat("\n\nBlock Read of %i numBytes ==  %i of %i totalExpectedbytes\n\n",
                              static_cast<int>(count), static_cast<int>(total),
                              static_cast<int>(kListenExpected)));
            continue;
        }
        if (deadline.expired()) {
            myPrintf("serialRS232Device::ReadBackTheCharacters => TIMED OUT!\n");
            break;
        }
    }
    if (total > 0) {
        myPrintf(myFormat("Read back EXPECTED bytes of %i bytes\n", static_cast<int>(total)));
        LogReturnedBytes(received, total);
    } else {
        myPrintf("Nothing read.\n");
    }
    return total == kListenExpected;
}
