#include "RecordingHostEvents.h"

namespace testsupport {

bool RecordingHostEvents::sendEvent(FourCharCode signature, FourCharCode eventClass, FourCharCode eventID) {
    std::lock_guard<std::mutex> guard(fLock);
    fEvents.push_back(fourCharCodeText(signature) + " " + fourCharCodeText(eventClass) + " " +
                      fourCharCodeText(eventID));
    return !fFailing;
}

std::vector<std::string> RecordingHostEvents::events() const {
    std::lock_guard<std::mutex> guard(fLock);
    return fEvents;
}

int RecordingHostEvents::count(const std::string& eventID) const {
    int found = 0;
    for (const std::string& event : events()) {
        if (event.size() >= eventID.size() &&
            event.compare(event.size() - eventID.size(), eventID.size(), eventID) == 0)
            ++found;
    }
    return found;
}

void RecordingHostEvents::setFailing(bool failing) {
    std::lock_guard<std::mutex> guard(fLock);
    fFailing = failing;
}

} // namespace testsupport
