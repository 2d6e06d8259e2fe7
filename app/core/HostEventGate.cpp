#include "HostEventGate.h"

#include "MessageLog.h"

bool HostEventGate::sendEvent(FourCharCode signature, FourCharCode eventClass, FourCharCode eventID) {
    std::lock_guard<std::mutex> guard(fLock);
    std::string event = fourCharCodeText(eventClass) + " " + fourCharCodeText(eventID);
    if (fQuitEndSent.load()) {
        myPrintfDebug("Host event " + event + " dropped: 'qend' was already sent\n");
        return false;
    }
    if (eventID == kVeskBarcodeEventID_EraseSuccess && !fSuccessSent) {
        myPrintf("Host event " + event +
                 " NOT sent: Vesk-X was never told that the matches are saved ('ok01')\n");
        return false;
    }
    if (eventID == kVeskBarcodeEventID_Success)
        fSuccessSent = true;
    if (eventID == kVeskBarcodeEventID_QuitEnd)
        fQuitEndSent.store(true);
    if (!fTransport) {
        myPrintfDebug("Host event " + event + " not sent: no event service\n");
        return false;
    }
    return fTransport->sendEvent(signature, eventClass, eventID);
}
