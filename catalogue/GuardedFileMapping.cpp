#include "GuardedFileMapping.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <mutex>

namespace {

// The mapping of this thread, read by the signal handler (plain values only: no constructors run
// for them).
thread_local unsigned char* tMappingStart = nullptr;
thread_local size_t tMappingLength = 0;
thread_local bool tMappingCutShort = false;

struct sigaction gPreviousBusAction;

void onBusError(int signal, siginfo_t* info, void* context) {
    unsigned char* address = static_cast<unsigned char*>(info->si_addr);
    unsigned char* start = tMappingStart;
    if (start && address >= start && address < start + tMappingLength) {
        const uintptr_t pageSize = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
        unsigned char* page =
            reinterpret_cast<unsigned char*>(reinterpret_cast<uintptr_t>(address) & ~(pageSize - 1));
        size_t rest = static_cast<size_t>(start + tMappingLength - page);
        void* zeros = mmap(page, rest, PROT_READ, MAP_PRIVATE | MAP_FIXED | MAP_ANONYMOUS, -1, 0);
        if (zeros != MAP_FAILED) {
            tMappingCutShort = true;
            return; // the faulting read is retried and now reads zeros
        }
    }
    // Not ours: whoever handled SIGBUS before, else the default action when the read is retried.
    if ((gPreviousBusAction.sa_flags & SA_SIGINFO) && gPreviousBusAction.sa_sigaction) {
        gPreviousBusAction.sa_sigaction(signal, info, context);
        return;
    }
    if (gPreviousBusAction.sa_handler != SIG_DFL && gPreviousBusAction.sa_handler != SIG_IGN &&
        gPreviousBusAction.sa_handler != nullptr) {
        gPreviousBusAction.sa_handler(signal);
        return;
    }
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    sigaction(SIGBUS, &defaultAction, nullptr);
}

void installBusErrorHandler() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        sigaction(SIGBUS, &action, &gPreviousBusAction);
    });
}

} // namespace

GuardedFileMapping::GuardedFileMapping(int fd, size_t length, size_t prefetchLength) {
    if (length == 0)
        return;
    installBusErrorHandler();
    void* mapped = mmap(nullptr, length, PROT_READ, MAP_PRIVATE, fd, 0);
    if (mapped == MAP_FAILED)
        return;
    // The kernel would otherwise read up to its whole read-ahead window (often megabytes) around
    // every first touch, although the metadata sits in the first few dozen kilobytes.
    madvise(mapped, length, MADV_RANDOM);
    if (prefetchLength > 0)
        readahead(fd, 0, prefetchLength < length ? prefetchLength : length);
    fData = static_cast<const unsigned char*>(mapped);
    fLength = length;
    tMappingStart = static_cast<unsigned char*>(mapped);
    tMappingLength = length;
    tMappingCutShort = false;
}

GuardedFileMapping::~GuardedFileMapping() {
    if (!fData)
        return;
    tMappingStart = nullptr;
    tMappingLength = 0;
    munmap(const_cast<unsigned char*>(fData), fLength);
}

bool GuardedFileMapping::wasCutShort() const {
    return fData && tMappingCutShort;
}
