#include "JobTestSupport.h"

#include "RunningThread.h"

#include <chrono>
#include <thread>

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

bool waitForNoWorker() {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (isRunningThread()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

size_t countOccurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}
