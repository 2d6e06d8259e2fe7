#include "PdxSimProcess.h"

#include "FileContent.h"

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace testsupport {

namespace {

// The first line the child writes on the pipe, or what came before it closed or time ran out.
std::string firstLine(int input, std::chrono::seconds timeout) {
    std::string line;
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        struct pollfd poller = {input, POLLIN, 0};
        if (poll(&poller, 1, 100) <= 0)
            continue;
        char buffer[256];
        ssize_t count = read(input, buffer, sizeof buffer);
        if (count <= 0)
            break;
        line.append(buffer, static_cast<size_t>(count));
    }
    return line;
}

} // namespace

PdxSimProcess::PdxSimProcess(const std::string& folder, const std::string& linkName,
                             const std::string& recordName)
    : fFolder(folder), fLink(folder + linkName), fRecord(folder + recordName) {}

PdxSimProcess::~PdxSimProcess() {
    stop();
}

bool PdxSimProcess::start(const std::vector<std::string>& options) {
    stop();
    const char* bin = std::getenv("VESK_BIN");
    std::vector<std::string> arguments = {std::string(bin ? bin : ".") + "/pdx-sim", "--link", fLink, "--log",
                                          fRecord};
    arguments.insert(arguments.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(&argument[0]);
    argv.push_back(nullptr);
    int out[2];
    if (pipe(out) != 0)
        return false;
    fPid = fork();
    if (fPid == 0) {
        // A test that dies must not leave its scanner running.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    if (fPid < 0) {
        close(out[0]);
        return false;
    }
    std::string line = firstLine(out[0], std::chrono::seconds(10));
    close(out[0]);
    if (line.find("pdx-sim: ready") != std::string::npos)
        return true;
    std::fprintf(stderr, "pdx-sim on %s did not start (%s)\n", fLink.c_str(),
                 line.empty() ? "no answer" : line.c_str());
    stop();
    return false;
}

bool PdxSimProcess::startWithRecords(const std::string& records, const std::vector<std::string>& options) {
    // Beside the byte record: "pdx-sim.log" has its scans in "pdx-sim.records".
    size_t dot = fRecord.rfind('.');
    if (dot != std::string::npos && dot < fRecord.rfind('/'))
        dot = std::string::npos;
    std::string recordsPath = fRecord.substr(0, dot) + ".records";
    if (!writeFile(recordsPath, records))
        return false;
    std::vector<std::string> all = {"--records", recordsPath};
    all.insert(all.end(), options.begin(), options.end());
    return start(all);
}

void PdxSimProcess::stop() {
    if (fPid <= 0)
        return;
    kill(fPid, SIGTERM);
    for (int i = 0; i < 2500; ++i) {
        if (waitpid(fPid, nullptr, WNOHANG) == fPid) {
            fPid = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    kill(fPid, SIGKILL);
    waitpid(fPid, nullptr, 0);
    fPid = -1;
}

std::string PdxSimProcess::logText() const {
    return readFile(fRecord);
}

std::string PdxSimProcess::hostBytes() const {
    return bytesInPdxSimRecord(logText(), "host");
}

std::string PdxSimProcess::scannerBytes() const {
    return bytesInPdxSimRecord(logText(), "scanner");
}

std::string bytesInPdxSimRecord(const std::string& record, const std::string& side) {
    std::istringstream lines(record);
    std::string line, bytes;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string first, hex;
        words >> first;
        if (first != side)
            continue;
        while (words >> hex)
            bytes += static_cast<char>(std::strtol(hex.c_str(), nullptr, 16));
    }
    return bytes;
}

} // namespace testsupport
