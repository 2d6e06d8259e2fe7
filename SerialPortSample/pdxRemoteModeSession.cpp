#include "pdxRemoteModeSession.h"

#include "pdxProDevice.h"

pdxRemoteModeSession::pdxRemoteModeSession(pdxProDevice& device) : fDevice(device) {}

pdxRemoteModeSession::~pdxRemoteModeSession() {
    Leave();
}

bool pdxRemoteModeSession::Enter(short seconds) {
    if (fInRemoteMode)
        return true;
    fInRemoteMode = fDevice.EnterRemoteModeLoop(seconds);
    return fInRemoteMode;
}

bool pdxRemoteModeSession::EnterOnce() {
    if (fInRemoteMode)
        return true;
    fInRemoteMode = fDevice.EnterRemoteMode();
    return fInRemoteMode;
}

void pdxRemoteModeSession::Leave() {
    if (fInRemoteMode)
        fDevice.QuitRemoteMode();
    fInRemoteMode = false;
    fDevice.CloseSerialPort();
}
