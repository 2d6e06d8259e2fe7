#include "JobContext.h"

#include "ApplicationShell.h"

JobContext::JobContext(bool jobExists, std::string workingFolder, HostEvents& hostEvents,
                       StatusDisplay& status, ApplicationShell& shell)
    : fJobExists(jobExists), fWorkingFolder(std::move(workingFolder)), fHostEvents(hostEvents),
      fStatus(status), fShell(shell) {}

void JobContext::bringToFront() {
    fShell.bringToFront();
}
