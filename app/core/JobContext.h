// What a job operation gets to work with: the job record, the working folder and the services
// through which it reaches the host, the window and the application.
#pragma once

#include "HostEvents.h"
#include "JobCheckList.h"
#include "StatusDisplay.h"

#include <atomic>
#include <string>

class ApplicationShell;

class JobContext {
  public:
    JobContext(jobCheckList* job, std::string workingFolder, HostEvents& hostEvents, StatusDisplay& status,
               ApplicationShell& shell);
    JobContext(const JobContext& other);

    // The job record; null while no job exists.
    jobCheckList* job() const { return fJob; }
    // The working folder, ending in "/" (empty when none was given). Files of the job are named
    // by appending a bare file name.
    const std::string& workingFolder() const { return fWorkingFolder; }
    // Events to the host: sent without waiting; false when they could not be sent.
    HostEvents& hostEvents() const { return fHostEvents; }
    // Status line, busy indicator and scanner fields; safe from any thread.
    StatusDisplay& status() const { return fStatus; }

    // Brings the program's window to the front.
    void bringToFront();
    // Asks for the orderly end of the program once the operation has returned.
    void terminateWhenDone() { fTerminateRequested = true; }
    bool terminateRequested() const { return fTerminateRequested; }
    ApplicationShell& shell() const { return fShell; }

  private:
    jobCheckList* fJob;
    std::string fWorkingFolder;
    HostEvents& fHostEvents;
    StatusDisplay& fStatus;
    ApplicationShell& fShell;
    std::atomic<bool> fTerminateRequested{false};
};
