#include "JobRoad.h"

#include "PhotoFixtures.h"

#include "FileContent.h"

#include <fcntl.h>
#include <functional>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <thread>

using testsupport::fileExists;
using testsupport::PdxSimProcess;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

// The scanner's port as VeskBarcode finds it: a link whose name passes the port name tests.
const char kScannerLink[] = "tty.SLAB_USBtoUART";

bool pollUntil(int seconds, const std::function<bool()>& done) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return done();
}

} // namespace

std::vector<std::string> splitLines(const std::string& text, char separator) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line, separator))
        lines.push_back(line);
    return lines;
}

JobRoad::JobRoad() {
    const char* bin = std::getenv("VESK_BIN");
    if (!bin)
        throw std::runtime_error("VESK_BIN is not set");
    fBin = bin;
    fRoot = fWorkspace.path();
    fFolder = fRoot + "Photos/";
    fLink = fRoot + kScannerLink;
    for (const char* sub : {"Photos", "config/VeskBarcode", "state", "home"})
        fWorkspace.makeFolder(sub);
}

JobRoad::~JobRoad() {
    if (fHostInput >= 0)
        close(fHostInput);
    stopChild(fHost);
    stopScanner();
    if (std::getenv("VESK_E2E_KEEP"))
        fWorkspace.keep();
}

void JobRoad::addPhoto(const std::string& name, const std::string& exifDateTime) {
    writeJpeg(fFolder + name, exifDate(exifDateTime));
}

void JobRoad::writeFolderFile(const std::string& name, const std::string& content) {
    writeFile(fFolder + name, content);
}

void JobRoad::setPreference(const std::string& key, const std::string& value) {
    fPreferences[key] = value;
    std::string text = "[General]\n";
    for (const auto& entry : fPreferences)
        text += entry.first + "=" + entry.second + "\n";
    writeFile(fRoot + "config/VeskBarcode/VeskBarcode.conf", text);
}

std::map<std::string, std::string> JobRoad::childEnvironment(const HostRun* run) const {
    std::map<std::string, std::string> environment = {
        {"XDG_CONFIG_HOME", fRoot + "config"},
        {"XDG_STATE_HOME", fRoot + "state"},
        {"HOME", fRoot + "home"},
        {"QT_QPA_PLATFORM", "offscreen"},
        {"LANGUAGE", "en"},
        {"VESK_UNATTENDED", "1"},
        {"VESK_SERIAL_PORTS", fLink},
    };
    if (run) {
        environment["VESK_ANSWERS"] = run->answers;
        for (const auto& entry : run->environment)
            environment[entry.first] = entry.second;
    }
    return environment;
}

pid_t JobRoad::spawn(const std::vector<std::string>& arguments, const std::string& outPath,
                     const std::string& errPath, int inputFd,
                     const std::map<std::string, std::string>& environment) {
    pid_t pid = fork();
    if (pid != 0)
        return pid;
    // The child: its own standard streams, the workspace's environment, then the program. A
    // test that dies takes its programs with it.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    int in = inputFd >= 0 ? inputFd : open("/dev/null", O_RDONLY);
    int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    for (const auto& entry : environment)
        setenv(entry.first.c_str(), entry.second.c_str(), 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
}

void JobRoad::stopChild(pid_t& pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            pid = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    pid = -1;
}

bool JobRoad::startScanner(const std::vector<std::string>& records, const std::vector<std::string>& options) {
    stopScanner();
    ++fScannerCount;
    std::string scans;
    for (const std::string& record : records)
        scans += record + "\n";
    // Each scanner records its bytes in a file of its own, on the same port.
    fScanner = std::make_unique<PdxSimProcess>(fRoot, kScannerLink,
                                               "scanner" + std::to_string(fScannerCount) + ".log");
    return fScanner->startWithRecords(scans, options);
}

void JobRoad::stopScanner() {
    if (fScanner)
        fScanner->stop();
}

std::string JobRoad::scannerRecord() const {
    return fScanner ? fScanner->logText() : std::string();
}

bool JobRoad::scannerWasSent(const std::string& hexCommand) const {
    for (const std::string& line : splitLines(scannerRecord()))
        if (line.rfind("host ", 0) == 0 && line.find(hexCommand) != std::string::npos)
            return true;
    return false;
}

int JobRoad::scannerRecordCount() {
    std::string base = fRoot + "info" + std::to_string(fScannerCount);
    pid_t pid = spawn({fBin + "/vesk-cli", "scanner", fLink, "info"}, base + ".out", base + ".err", -1,
                      childEnvironment(nullptr));
    int status = 0;
    bool ended = pollUntil(30, [&] { return waitpid(pid, &status, WNOHANG) == pid; });
    if (!ended) {
        stopChild(pid);
        return -1;
    }
    for (const std::string& line : splitLines(readFile(base + ".out")))
        if (line.rfind("form 1: ", 0) == 0)
            return std::atoi(line.c_str() + 8);
    return -1;
}

bool JobRoad::startHost(const HostRun& run) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return false;
    std::vector<std::string> arguments = {fBin + "/vesk-host", "--timeout",
                                          std::to_string(run.timeoutSeconds)};
    arguments.insert(arguments.end(), run.hostOptions.begin(), run.hostOptions.end());
    arguments.push_back("--");
    arguments.push_back(fBin + "/VeskBarcode");
    arguments.push_back(run.folder.empty() ? fFolder : run.folder);
    fcntl(pipeEnds[1], F_SETFD, FD_CLOEXEC);
    fHost = spawn(arguments, fRoot + "host.out", fRoot + "host.err", pipeEnds[0], childEnvironment(&run));
    close(pipeEnds[0]);
    fHostInput = pipeEnds[1];
    return fHost > 0;
}

bool JobRoad::waitForEvent(const std::string& eventID, int seconds) {
    return pollUntil(seconds, [&] {
        for (const std::string& event : events())
            if (event == eventID)
                return true;
        return false;
    });
}

bool JobRoad::waitForMessage(const std::string& text, int seconds) {
    return pollUntil(seconds, [&] { return programMessages().find(text) != std::string::npos; });
}

void JobRoad::tellHost(const std::string& line) {
    std::string text = line + "\n";
    if (fHostInput >= 0 && write(fHostInput, text.data(), text.size()) != ssize_t(text.size()))
        return;
}

bool JobRoad::hostRunning() {
    if (fHost <= 0)
        return false;
    int status = 0;
    if (waitpid(fHost, &status, WNOHANG) != fHost)
        return true;
    fHostStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    fHost = -1;
    return false;
}

pid_t JobRoad::killHostKeepingProgram() {
    if (fHost <= 0)
        return -1;
    // Orphans of this process's children come to this process, so that the program can be
    // waited for and stopped by its process id.
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    std::string children =
        readFile("/proc/" + std::to_string(fHost) + "/task/" + std::to_string(fHost) + "/children");
    pid_t program = static_cast<pid_t>(std::atol(children.c_str()));
    kill(fHost, SIGKILL);
    waitpid(fHost, nullptr, 0);
    fHost = -1;
    return program > 0 ? program : -1;
}

int JobRoad::waitForHostExit(int seconds) {
    if (!pollUntil(seconds, [&] { return !hostRunning(); })) {
        stopChild(fHost);
        return -1;
    }
    return fHostStatus;
}

std::vector<std::string> JobRoad::events() const {
    std::vector<std::string> found;
    for (const std::string& line : splitLines(readFile(fRoot + "host.out")))
        if (line.rfind("event barc ", 0) == 0)
            found.push_back(line.substr(11));
    return found;
}

std::string JobRoad::programMessages() const {
    return readFile(fRoot + "host.err");
}

std::string JobRoad::folderFile(const std::string& name) const {
    return readFile(fFolder + name);
}

bool JobRoad::folderHas(const std::string& name) const {
    return fileExists(fFolder + name);
}
