// Test doubles around the job controller: a host-event recorder, a shell recorder and scripted
// operations that report which operation ran and can hold a worker until released.
#pragma once

#include "ApplicationShell.h"
#include "HostEvents.h"
#include "JobOperations.h"
#include "MyApplicationDelegate.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

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

// Operations that record their names; each may be given an action, and may be held until
// release() so that a test can see a worker running.
class ScriptedOperations : public JobOperations {
  public:
    void buildTheImageList(JobContext& context) override { run("buildTheImageList", context); }
    void prepareForConnection(JobContext& context) override { run("prepareForConnection", context); }
    void makeConnection(JobContext& context) override { run("makeConnection", context); }
    void downloadData(JobContext& context) override { run("downloadData", context); }
    void matchBarcodeDataWithPhotos(JobContext& context) override {
        run("matchBarcodeDataWithPhotos", context);
    }
    void deleteData(JobContext& context) override { run("deleteData", context); }

    std::map<std::string, std::function<void(JobContext&)>> actions;
    void hold();
    void release();
    std::vector<std::string> calls();
    // Waits until count operations have started (false after 5 s).
    bool waitForCalls(size_t count);

  private:
    void run(const std::string& name, JobContext& context);
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
