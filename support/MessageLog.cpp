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
#include <fstream>
#include <mutex>

namespace {

// Module switches, fixed for the whole run.
constexpr bool gHasCocoaView = true;
constexpr bool gLogAllMessages = true;
constexpr bool gDoShowDebug = false;

const char kLogFileName[] = "VeskBarcodeLog.txt";

std::mutex gSinkLock;
MessageSink* gDefaultSink = nullptr;

std::ofstream gLogFile;
std::mutex gLogThreadLock;
std::string gLogFilePath;
std::atomic<bool> gSystemLogCopy{true};

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

bool openLogIn(const std::string& folder) {
    std::string path = folder;
    if (path.empty() || path.back() != '/')
        path += "/";
    path += kLogFileName;
    gLogFile.open(path, std::ios::out | std::ios::trunc | std::ios::binary);
    if (!gLogFile.is_open())
        return false;
    gLogFilePath = path;
    return true;
}

// The system-log copy: standard error, decoded from Mac OS Roman, never used as a format.
void writeSystemLog(const std::string& line) {
    std::string text = macRomanToUtf8(line);
    text += '\n';
    fwrite(text.data(), 1, text.size(), stderr);
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
        if (!fallback.empty() && makeFolders(fallback) && openLogIn(fallback))
            notice = "The folder " + first + " is not writable; the log is written to " + gLogFilePath;
        else
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
