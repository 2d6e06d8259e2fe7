// Test doubles around the job controller: a host-event recorder, a shell recorder and scripted
// job steps that report which step ran and can hold a worker until released.
#pragma once

#include "ApplicationShell.h"
#include "HostEvents.h"
#include "JobSteps.h"
#include "MyApplicationDelegate.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

// Task codes print by their names in test failures ("eVeskBarcodeTask_DownloadBarcodeData (8)").
void PrintTo(eVeskBarcodeTask task, std::ostream* out);

class RecordingHostEvents : public HostEvents {
  public:
    bool sendEvent(FourCharCode signature, FourCharCode eventClass, FourCharCode eventID) override;
    // "QRWz barc ok01" per event, in order.
    std::vector<std::string> events();
    int count(const char* eventID);

  private:
    std::mutex fLock;
    std::vector<std::string> fEvents;
};

class RecordingShell : public ApplicationShell {
  public:
    void requestTerminate() override { ++terminateRequests; }
    void bringToFront() override {}
    void startSequencerTimer() override { timerStarted = true; }
    bool installHostEventHandlers() override { return true; }
    void playSound(const std::string& name) override { sounds.push_back(name); }
    std::atomic<int> terminateRequests{0};
    bool timerStarted = false;
    std::vector<std::string> sounds;
};

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
    // Waits until count operations have started (false after 5 s).
    bool waitForCalls(size_t count);

  private:
    StepResult run(const std::string& name, JobContext& context);
    std::mutex fLock;
    std::condition_variable fChanged;
    bool fHeld = false;
    std::vector<std::string> fCalls;
};

// A temporary folder removed at the end of the test.
class TemporaryFolder {
  public:
    TemporaryFolder();
    ~TemporaryFolder();
    const std::string& path() const { return fPath; }
    std::string make(const std::string& name) const; // creates a subfolder, returns its path

  private:
    std::string fPath;
};

// Waits until no worker holds the guard (false after 5 s).
bool waitForNoWorker();
std::string readFile(const std::string& path);
size_t countOccurrences(const std::string& text, const std::string& part);
