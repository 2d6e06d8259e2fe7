#include "PseudoTerminal.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdlib>

namespace testsupport {

namespace {

// Silence after a byte that ends a read of received().
constexpr int kQuietMs = 20;

} // namespace

PseudoTerminal::PseudoTerminal(bool keepSlaveOpen) : fKeepSlaveOpen(keepSlaveOpen) {
    fMaster = posix_openpt(O_RDWR | O_NOCTTY);
    if (fMaster < 0 || grantpt(fMaster) != 0 || unlockpt(fMaster) != 0)
        return;
    char name[PATH_MAX] = {0};
    if (ptsname_r(fMaster, name, sizeof name) != 0)
        return;
    fSlavePath = name;
    if (keepSlaveOpen)
        fSlaveKeeper = open(name, O_RDWR | O_NOCTTY);
}

PseudoTerminal::~PseudoTerminal() {
    if (fSlaveKeeper >= 0)
        close(fSlaveKeeper);
    if (fMaster >= 0)
        close(fMaster);
}

bool PseudoTerminal::send(const std::string& bytes) {
    return write(fMaster, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

std::string PseudoTerminal::received(int timeoutMs) {
    std::string bytes;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        struct pollfd poller = {fMaster, POLLIN, 0};
        if (poll(&poller, 1, kQuietMs) <= 0) {
            if (!bytes.empty())
                break;
            continue;
        }
        char buffer[512];
        const ssize_t count = read(fMaster, buffer, sizeof buffer);
        if (count <= 0)
            break;
        bytes.append(buffer, static_cast<size_t>(count));
    }
    return bytes;
}

std::string PseudoTerminal::readUntil(const std::string& want, int timeoutMs) {
    while (fReceived.find(want) == std::string::npos) {
        struct pollfd poller = {fMaster, POLLIN, 0};
        if (poll(&poller, 1, timeoutMs) <= 0)
            break;
        char buffer[256];
        const ssize_t count = read(fMaster, buffer, sizeof buffer);
        if (count <= 0)
            break;
        fReceived.append(buffer, static_cast<size_t>(count));
    }
    return fReceived;
}

} // namespace testsupport
