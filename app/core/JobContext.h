// What a job step gets to work with: whether a job exists, the working folder and the services
// through which it reaches the host, the window and the application. It carries no job record:
// only the job controller writes that.
#pragma once

#include "HostEvents.h"
#include "StatusDisplay.h"

#include <string>

class ApplicationShell;

class JobContext {
  public:
    // jobExists: a job record exists (false when a step is started by hand before any job).
    JobContext(bool jobExists, std::string workingFolder, HostEvents& hostEvents, StatusDisplay& status,
               ApplicationShell& shell);

    bool hasJob() const { return fJobExists; }
    // The working folder, ending in "/" (empty when none was given). Files of the job are named
    // by appending a bare file name.
    const std::string& workingFolder() const { return fWorkingFolder; }
    // Events to the host: sent without waiting; false when they could not be sent.
    HostEvents& hostEvents() const { return fHostEvents; }
    // Status line, busy indicator and scanner fields; safe from any thread.
    StatusDisplay& status() const { return fStatus; }

    // Brings the program's window to the front.
    void bringToFront();

    // The host has confirmed this job's matches: 'ok01' went out, the host answered with its
    // permission to erase, and nothing was downloaded or matched since. Only then does an erase
    // end the job ('ok02' or 'err2'); otherwise it is the user's own (the Erase Scanner button).
    bool hostConfirmedErase() const { return fHostConfirmedErase; }
    void setHostConfirmedErase(bool confirmed) { fHostConfirmedErase = confirmed; }

  private:
    bool fJobExists;
    std::string fWorkingFolder;
    HostEvents& fHostEvents;
    StatusDisplay& fStatus;
    ApplicationShell& fShell;
    bool fHostConfirmedErase = false;
};
