#include "MessageLog.h"

#include "MacRoman.h"

#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>

namespace {

// Module switches, fixed for the whole run.
constexpr bool gHasCocoaView = true;
constexpr bool gLogAllMessages = true;
constexpr bool gDoShowDebug = false;

const char kLogFileName[] = "VeskBarcodeLog.txt";
// How many logs of earlier runs are kept beside the current one (VeskBarcodeLog.txt.1 ... .5).
constexpr int kKeptLogs = 5;

std::mutex gSinkLock;
MessageSink* gDefaultSink = nullptr;

std::ofstream gLogFile;
std::mutex gLogThreadLock;
std::string gLogFilePath;
std::atomic<bool> gSystemLogCopy{true};

// The system-log copy: standard error, decoded from Mac OS Roman, never used as a format.
void writeSystemLog(const std::string& line) {
    std::string text = macRomanToUtf8(line);
    text += '\n';
    fwrite(text.data(), 1, text.size(), stderr);
}

std::string executableFolder() {
    char buffer[PATH_MAX + 1] = {0};
    ssize_t length = readlink("/proc/self/exe", buffer, PATH_MAX);
    if (length <= 0)
        return ".";
    std::string path(buffer, static_cast<size_t>(length));
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

bool makeFolders(const std::string& path) {
    std::string partial;
    for (size_t i = 0; i < path.size(); ++i) {
        partial += path[i];
        if (path[i] != '/' && i + 1 != path.size())
            continue;
        if (partial == "/")
            continue;
        if (mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

std::string stateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/')
        return std::string(state) + "/VeskBarcode";
    const char* home = std::getenv("HOME");
    if (!home || !home[0])
        return std::string();
    return std::string(home) + "/.local/state/VeskBarcode";
}

std::string logPathIn(const std::string& folder) {
    std::string path = folder;
    if (path.empty() || path.back() != '/')
        path += "/";
    return path + kLogFileName;
}

// Moves the logs of earlier runs one place down (.4 to .5, ..., the last run's to .1); the
// oldest beyond five goes.
void keepEarlierLogs(const std::string& path) {
    for (int older = kKeptLogs; older >= 1; --older) {
        std::string from = older == 1 ? path : path + "." + std::to_string(older - 1);
        std::string to = path + "." + std::to_string(older);
        if (rename(from.c_str(), to.c_str()) != 0 && errno != ENOENT)
            writeSystemLog("Could not keep the earlier log " + from + " as " + to + ": " +
                           std::strerror(errno));
    }
}

// Opens a fresh log in folder when the folder may be written (so the earlier logs can move).
bool openLogIn(const std::string& folder) {
    std::string path = logPathIn(folder);
    if (access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) != 0)
        return false;
    keepEarlierLogs(path);
    gLogFile.open(path, std::ios::out | std::ios::trunc | std::ios::binary);
    if (!gLogFile.is_open())
        return false;
    gLogFilePath = path;
    return true;
}

} // namespace

void setDefaultMessageSink(MessageSink* sink) {
    std::lock_guard<std::mutex> guard(gSinkLock);
    gDefaultSink = sink;
}

MessageSink* defaultMessageSink() {
    std::lock_guard<std::mutex> guard(gSinkLock);
    return gDefaultSink;
}

void logMessageToCocoaView(MessageSink* target, std::string text, bool appendReturn) {
    if (!target)
        target = defaultMessageSink();
    if (!target)
        return;
    if (appendReturn)
        text += "\r";
    target->outputError(std::move(text));
}

void myPrintfInternal(const char* text, bool toView, bool toLog) {
    std::string s = text ? text : "";
    if (gHasCocoaView && s.size() >= 2 && (s.back() == '\r' || s.back() == '\n'))
        s.pop_back();
    if (toView)
        logMessageToCocoaView(nullptr, s, true);
    if (toLog && gLogAllMessages)
        MessageLog::LogMessage(std::string("\xA5\xA5 ") + s);
}

void myPrintf(const char* text) {
    myPrintfInternal(text, true, true);
}

void myPrintf(const std::string& text) {
    myPrintfInternal(text.c_str(), true, true);
}

void myPrintfDebug(const char* text) {
    myPrintfInternal(text, gDoShowDebug, true);
}

void myPrintfDebug(const std::string& text) {
    myPrintfInternal(text.c_str(), gDoShowDebug, true);
}

void SetErrorMessage(MessageSink* target, std::string text) {
    logMessageToCocoaView(target, text, true);
    MessageLog::LogMessage(std::string("\xA5 ") + text + "\r");
}

short GetRunningOSVersion(MessageSink* target, long& response) {
    struct utsname name;
    if (uname(&name) != 0)
        return -1;
    int major = 0, minor = 0, patch = 0;
    if (sscanf(name.release, "%d.%d.%d", &major, &minor, &patch) < 1)
        return -1;
    response = major * 10000L + minor * 100L + patch;
    SetErrorMessage(target, myFormat("Current %s Version is: %i.%i.%i", name.sysname, major, minor, patch));
    return 0;
}

namespace MessageLog {

void InitLog(const std::string& folder) {
    std::string notice;
    {
        std::lock_guard<std::mutex> guard(gLogThreadLock);
        if (gLogFile.is_open())
            gLogFile.close();
        gLogFilePath.clear();
        std::string first = folder.empty() ? executableFolder() : folder;
        if (openLogIn(first))
            return;
        std::string fallback = stateFolder();
        // An installed program's folder is not the user's to write: the state folder is the
        // normal place then, and no reason to trouble the message area.
        if (!fallback.empty() && makeFolders(fallback) && openLogIn(fallback))
            return;
        notice = "No log file could be created (tried " + first + " and " + fallback +
                 "); messages reach this window and standard error only.";
    }
    // Said outside the lock: the receiver may log in turn.
    logMessageToCocoaView(nullptr, notice, true);
    writeSystemLog(notice);
}

void CloseLog() {
    std::lock_guard<std::mutex> guard(gLogThreadLock);
    if (gLogFile.is_open())
        gLogFile.close();
}

void LogMessage(std::string line) {
    {
        std::lock_guard<std::mutex> guard(gLogThreadLock);
        if (gLogFile.is_open()) {
            gLogFile << line << '\n';
            gLogFile.flush();
        }
    }
    if (gSystemLogCopy.load())
        writeSystemLog(line);
}

void setSystemLogCopy(bool on) {
    gSystemLogCopy.store(on);
}

void SystemLog(const std::string& text) {
    writeSystemLog(text);
}

std::string logFilePath() {
    std::lock_guard<std::mutex> guard(gLogThreadLock);
    return gLogFilePath;
}

} // namespace MessageLog

std::string myFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int needed = vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string result;
    if (needed > 0) {
        result.resize(static_cast<size_t>(needed) + 1);
        vsnprintf(&result[0], result.size(), format, args);
        result.resize(static_cast<size_t>(needed));
    }
    va_end(args);
    return result;
}
