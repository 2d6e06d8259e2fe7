// Scripted job steps for tests of the job controller: they report which step ran, return what a
// test tells them to, and can hold a worker until released. (The host, shell, folders and files
// come from the test-support library.)
#pragma once

#include "JobSteps.h"
#include "MyApplicationDelegate.h"

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

// Steps that record their names; each may be given an action whose result the step returns
// (without one the step names no successor), and may be held until release() so that a test can
// see a worker running.
class ScriptedSteps : public JobSteps {
  public:
    NextTask buildTheImageList(JobContext& context) override {
        return run("buildTheImageList", context).next;
    }
    NextTask prepareForConnection(JobContext& context) override {
        return run("prepareForConnection", context).next;
    }
    NextTask makeConnection(JobContext& context) override { return run("makeConnection", context).next; }
    NextTask downloadData(JobContext& context) override { return run("downloadData", context).next; }
    NextTask matchBarcodeDataWithPhotos(JobContext& context) override {
        return run("matchBarcodeDataWithPhotos", context).next;
    }
    StepResult deleteData(JobContext& context) override { return run("deleteData", context); }
    void rescanSerialPort(JobContext&) override {}

    std::map<std::string, std::function<StepResult(JobContext&)>> actions;
    void hold();
    void release();
    std::vector<std::string> calls();
    // Waits until count steps have started (false after 5 s).
    bool waitForCalls(size_t count);

  private:
    StepResult run(const std::string& name, JobContext& context);
    std::mutex fLock;
    std::condition_variable fChanged;
    bool fHeld = false;
    std::vector<std::string> fCalls;
};

// Waits until no worker holds the guard (false after 5 s).
bool waitForNoWorker();
// How often part occurs in text (occurrences that do not overlap).
size_t countOccurrences(const std::string& text, const std::string& part);
