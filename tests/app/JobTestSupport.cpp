#include "JobTestSupport.h"

#include "RunningThread.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

void PrintTo(eVeskBarcodeTask task, std::ostream* out) {
    static const char* const kNames[] = {"None",
                                         "StartJob",
                                         "UserCancel",
                                         "Reserved3",
                                         "SetWorkingFolder",
                                         "BuildTheImageList",
                                         "PrepareForConnection",
                                         "ConnectToBarcodeDevice",
                                         "DownloadBarcodeData",
                                         "MatchBarcodeDataWithPhotos",
                                         "TellVeskToConfirm",
                                         "WaitForVeskToConfirm",
                                         "DeleteData",
                                         "JobEnded",
                                         "SendErrorToVeskBadSourceFolder",
                                         "SendErrorToVeskMatchFailed",
                                         "SendErrorToVeskEraseFailed"};
    int32_t value = task;
    if (value >= 0 && value < int32_t(sizeof kNames / sizeof kNames[0]))
        *out << "eVeskBarcodeTask_" << kNames[value] << " (" << value << ")";
    else
        *out << "unknown task (" << value << ")";
}

bool RecordingHostEvents::sendEvent(FourCharCode signature, FourCharCode eventClass, FourCharCode eventID) {
    std::lock_guard<std::mutex> guard(fLock);
    fEvents.push_back(fourCharCodeText(signature) + " " + fourCharCodeText(eventClass) + " " +
                      fourCharCodeText(eventID));
    return true;
}

std::vector<std::string> RecordingHostEvents::events() {
    std::lock_guard<std::mutex> guard(fLock);
    return fEvents;
}

int RecordingHostEvents::count(const char* eventID) {
    int found = 0;
    for (const std::string& event : events())
        found += event.compare(event.size() - 4, 4, eventID) == 0 ? 1 : 0;
    return found;
}

void ScriptedSteps::hold() {
    std::lock_guard<std::mutex> guard(fLock);
    fHeld = true;
}

void ScriptedSteps::release() {
    std::lock_guard<std::mutex> guard(fLock);
    fHeld = false;
    fChanged.notify_all();
}

std::vector<std::string> ScriptedSteps::calls() {
    std::lock_guard<std::mutex> guard(fLock);
    return fCalls;
}

bool ScriptedSteps::waitForCalls(size_t count) {
    std::unique_lock<std::mutex> lock(fLock);
    return fChanged.wait_for(lock, std::chrono::seconds(5), [&] { return fCalls.size() >= count; });
}

StepResult ScriptedSteps::run(const std::string& name, JobContext& context) {
    std::function<StepResult(JobContext&)> action;
    {
        std::unique_lock<std::mutex> lock(fLock);
        fCalls.push_back(name);
        fChanged.notify_all();
        fChanged.wait(lock, [&] { return !fHeld; });
        auto found = actions.find(name);
        if (found != actions.end())
            action = found->second;
    }
    if (action)
        return action(context);
    return StepResult();
}

TemporaryFolder::TemporaryFolder() {
    char pattern[] = "/tmp/vesk-app-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    fPath = made ? made : "/tmp";
}

TemporaryFolder::~TemporaryFolder() {
    std::string command = "rm -rf '" + fPath + "'";
    if (std::system(command.c_str()) != 0)
        return;
}

std::string TemporaryFolder::make(const std::string& name) const {
    std::string path = fPath + "/" + name;
    mkdir(path.c_str(), 0700);
    return path;
}

bool waitForNoWorker() {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (isRunningThread()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

size_t countOccurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}
