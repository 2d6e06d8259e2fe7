// Diagnostic output: the message area and the log file VeskBarcodeLog.txt.
//
// Every module reports through myPrintf (message area and log) and myPrintfDebug (log only).
// Texts are finished messages, never formats: a percent sign is written as it stands. A message
// with figures is built with myFormat and passed as it is: myPrintf(myFormat("%d scans", count)).
#pragma once

#include <string>

// The receiver of message-area output. The application controller implements it; tests install
// their own. outputError may be called from any thread.
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void outputError(std::string text) = 0;
};

// The default receiver of message-area output (the application controller). Null: output that
// would reach the message area is dropped, the log still receives it.
void setDefaultMessageSink(MessageSink* sink);
MessageSink* defaultMessageSink();

void myPrintf(const char* text);
void myPrintf(const std::string& text);
void myPrintfDebug(const char* text);
void myPrintfDebug(const std::string& text);
void myPrintfInternal(const char* text, bool toView, bool toLog);

// Reports text followed by "\r" to target (null: the default sink) and logs it with one bullet.
void SetErrorMessage(MessageSink* target, std::string text);
void logMessageToCocoaView(MessageSink* target, std::string text, bool appendReturn);

// Reports "Current <system> Version is: %i.%i.%i" to target; -1 when the system reports none.
short GetRunningOSVersion(MessageSink* target, long& response);

namespace MessageLog {
// Opens a fresh VeskBarcodeLog.txt beside the executable, or in the state folder
// ($XDG_STATE_HOME/VeskBarcode, default ~/.local/state/VeskBarcode) when that folder is not
// writable (as for an installed copy). The logs of the five runs before are kept in the same
// folder as VeskBarcodeLog.txt.1 (the last run's) to VeskBarcodeLog.txt.5. Only when no log can
// be created at all is the message area told. A non-empty folder argument replaces the
// executable's folder (tests).
void InitLog(const std::string& folder = std::string());
void CloseLog();
void LogMessage(std::string line);
// Writes text to the system log only (standard error), decoded from Mac OS Roman, never as a format.
void SystemLog(const std::string& text);
// The path of the open log file; empty when no log file could be opened.
std::string logFilePath();
// Whether every log line is also copied to standard error (on by default). Command-line tools
// turn it off so that only the messages meant for the user reach the terminal.
void setSystemLogCopy(bool on);
} // namespace MessageLog

// Formats like snprintf into a std::string, for callers that build a message before myPrintf.
std::string myFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
