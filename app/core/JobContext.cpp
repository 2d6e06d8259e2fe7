#include "JobContext.h"

#include "ApplicationShell.h"

JobContext::JobContext(jobCheckList* job, std::string workingFolder, HostEvents& hostEvents,
                       StatusDisplay& status, ApplicationShell& shell)
    : fJob(job), fWorkingFolder(std::move(workingFolder)), fHostEvents(hostEvents), fStatus(status),
      fShell(shell) {}

JobContext::JobContext(const JobContext& other)
    : fJob(other.fJob), fWorkingFolder(other.fWorkingFolder), fHostEvents(other.fHostEvents),
      fStatus(other.fStatus), fShell(other.fShell), fTerminateRequested(other.fTerminateRequested.load()) {}

void JobContext::bringToFront() {
    fShell.bringToFront();
}
