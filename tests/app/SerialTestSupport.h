// Shared pieces of the serial tests: a temporary folder, a message catcher, and the real
// pdx-sim program on a pseudo-terminal.
#pragma once

#include "MessageLog.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with its files at the end.
class TempFolder {
  public:
    TempFolder() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && base[0] ? base : "/tmp") + "/vesk-serial-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (mkdtemp(buffer.data()))
            fPath = buffer.data();
    }
    ~TempFolder() {
        if (!fPath.empty())
            std::system(("rm -rf '" + fPath + "'").c_str());
    }
    // The folder path ending in "/".
    std::string path() const { return fPath + "/"; }
    std::string file(const std::string& name) const { return path() + name; }

  private:
    std::string fPath;
};

inline std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

inline bool fileExists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

inline void writeFile(const std::string& path, const std::string& content) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << content;
}

// Collects what reaches the message area.
class CapturedMessages : public MessageSink {
  public:
    CapturedMessages() { setDefaultMessageSink(this); }
    ~CapturedMessages() override { setDefaultMessageSink(nullptr); }
    void outputError(std::string text) override {
        std::lock_guard<std::mutex> guard(fLock);
        fText += text;
        fText += '\n';
    }
    bool contains(const std::string& part) {
        std::lock_guard<std::mutex> guard(fLock);
        return fText.find(part) != std::string::npos;
    }
    int count(const std::string& part) {
        std::lock_guard<std::mutex> guard(fLock);
        int found = 0;
        for (size_t at = fText.find(part); at != std::string::npos; at = fText.find(part, at + 1))
            ++found;
        return found;
    }
    std::string text() {
        std::lock_guard<std::mutex> guard(fLock);
        return fText;
    }

  private:
    std::mutex fLock;
    std::string fText;
};

// The pdx-sim program serving a link named like the adapter's port in folder.
class PdxSimProcess {
  public:
    explicit PdxSimProcess(const std::string& folder, const std::string& linkName = "tty.SLAB_USBtoUART")
        : fLink(folder + linkName), fLog(folder + "pdx-sim.log") {}
    ~PdxSimProcess() { stop(); }

    // Starts pdx-sim with the link, the byte log and the given options; true once it serves.
    bool start(const std::vector<std::string>& options) {
        const char* bin = std::getenv("VESK_BIN");
        std::string program = std::string(bin ? bin : ".") + "/pdx-sim";
        std::vector<std::string> args = {program, "--link", fLink, "--log", fLog};
        args.insert(args.end(), options.begin(), options.end());
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
            std::vector<char*> argv;
            for (std::string& arg : args)
                argv.push_back(&arg[0]);
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(out[1]);
        std::string line;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
            struct pollfd poller = {out[0], POLLIN, 0};
            if (poll(&poller, 1, 100) <= 0)
                continue;
            char buffer[256];
            ssize_t count = read(out[0], buffer, sizeof buffer);
            if (count <= 0)
                break;
            line.append(buffer, static_cast<size_t>(count));
        }
        close(out[0]);
        return line.find("pdx-sim: ready") != std::string::npos;
    }

    void stop() {
        if (fPid <= 0)
            return;
        kill(fPid, SIGTERM);
        int status = 0;
        waitpid(fPid, &status, 0);
        fPid = -1;
    }

    const std::string& link() const { return fLink; }
    std::string logText() const { return readFile(fLog); }

    // Every byte the host sent, in order.
    std::string hostBytes() const { return bytesOf("host"); }
    std::string scannerBytes() const { return bytesOf("scanner"); }

  private:
    std::string bytesOf(const std::string& who) const {
        std::istringstream lines(logText());
        std::string line, bytes;
        while (std::getline(lines, line)) {
            std::istringstream words(line);
            std::string first, hex;
            words >> first;
            if (first != who)
                continue;
            while (words >> hex)
                bytes += static_cast<char>(std::strtol(hex.c_str(), nullptr, 16));
        }
        return bytes;
    }

    std::string fLink;
    std::string fLog;
    pid_t fPid = -1;
};
