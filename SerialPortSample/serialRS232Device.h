// One serial port, named by its device path, opened as a raw byte channel at 38400 bit/s.
//
// All terminal and ioctl calls of the program live here; the scanner protocol above it
// (pdxProDevice) is plain byte exchanges: send one command, read back an expected count.
#pragma once

#include <termios.h>

#include <cstddef>
#include <string>

// Pauses of the transport, on the process clock (processClock()), so that tests can run them
// faster than real time. wait(0) and waitInTenths(0) return at once.
void wait(int seconds);
void waitInTenths(int tenths);

// Renders a byte run for the log: printable bytes as they are, ESC as \e, TAB \t, LF \n, CR \r,
// every other byte as a backslash and three decimal digits.
std::string LogString2(const char* bytes, long length);

// Why a port could not be opened, in the terms a photographer can act on.
enum ePortOpenProblem {
    ePortOpenProblem_None = 0,   // it opened
    ePortOpenProblem_NotAllowed, // EACCES, EPERM: the user is not in the dialout group
    ePortOpenProblem_InUse,      // EBUSY: another program holds the port (or another of ours)
    ePortOpenProblem_Gone,       // ENOENT, ENXIO, ENODEV: unplugged, or a link to nothing
    ePortOpenProblem_Other,
};
ePortOpenProblem PortOpenProblemFromErrno(int error);
// The sentence the scanner field, the alert and vesk-cli show for a port that did not open, in the
// user's language (the list "NSArray_ibPortProblem"); empty for error 0. A port in use names its
// holder when it is known ("ModemManager (process 812)").
std::string PortOpenProblemText(const std::string& path, int error,
                                const std::string& holder = std::string());
// The item of "NSArray_ibPortProblem" for a port in use whose holder is known.
constexpr short kPortProblemHolderItem = 4;
// The program that holds the port at path: the holder of its flock (another program of ours),
// else a process with the device open among those this user may see; empty when none is known.
std::string PortHolderText(const std::string& path);
// Logs each byte of a reply on a debug line of its own (index, hex and character).
void LogReturnedBytes(const char* bytes, long total);

class serialRS232Device {
  public:
    static constexpr std::size_t kPathSize = 1024;     // fBsdPathName, terminator included
    static constexpr long kReadBufferSize = 5000;      // most bytes one read-back can expect
    static constexpr long kMaxCommandLength = 255;     // most bytes one send writes
    static constexpr int kReadBackDeadlineTicks = 120; // sixtieths of a second (2 seconds)

    serialRS232Device();
    virtual ~serialRS232Device();

    serialRS232Device(const serialRS232Device&) = delete;
    serialRS232Device& operator=(const serialRS232Device&) = delete;

    // The console self-test of the port (developer use): opens the port and sends the version
    // request five times, reporting everything through the log. Leaves the port open. True when
    // the port opened.
    virtual bool DoDebugTest();
    virtual bool MakeConnection();

    void SetFileDescriptor(short descriptor);
    short GetFileDescriptor();

    // The object's own path buffer (not a copy).
    char* GetBsdPathName();
    // Ignores a null or empty path. A path of 1024 bytes or more is refused with a message
    // (false) and leaves the path as it was.
    bool SetBsdPathName(const char* path);

    // The open descriptor, or -1. A port already open is returned unchanged. Besides the
    // exclusive use of the terminal (TIOCEXCL, which root ignores), the port is locked with flock
    // for as long as it is open, so that two programs of ours never share it, root or not: the
    // second open fails with EBUSY.
    short OpenSerialPort();
    // The system's error number of the last OpenSerialPort that failed; 0 after one that opened.
    int GetLastOpenError() const { return fLastOpenError; }
    // The plain sentence for the last failed open (PortOpenProblemText); empty after a success.
    std::string OpenFailureSentence() const;
    // Restores the attributes found at open and closes; nothing happens on a closed port.
    void CloseSerialPort();
    bool IsPortOpen() const { return fFileDescriptor >= 0; }

    // Writes length bytes (at most 255) in one call; length receives the count written (-1 on
    // error). True only when everything was written.
    bool SendTheCharacters(const char* bytes, long& length);
    // Reads until expected bytes have arrived or 2 seconds have passed. Whatever arrived is
    // copied to destination (which may be null) even on failure. True only when the expected
    // count arrived.
    bool ReadBackTheCharacters(char* destination, long& expected);

    // Waits until written bytes have left, then throws away unread input: the start of every
    // exchange. Never discards output, so the previous exchange's last byte (the end 0x06 of a
    // transaction, ESC) still reaches the scanner.
    bool DiscardPendingInput();

    // Self-test helpers on the open port. InitializeQRWDevice sends one version request "VERS\r"
    // and logs what comes back until one second of silence (at most kVersionReplySize bytes); it
    // always returns false, the reply is not judged. JustReceiveCharacters listens for 2 bytes
    // for one second and logs them; true when both came.
    static constexpr long kVersionReplySize = 255;
    bool InitializeQRWDevice();
    bool JustReceiveCharacters();

  protected:
    char fBsdPathName[kPathSize];
    struct termios fSavedTTYAttrs;
    short fFileDescriptor;
    int fLastOpenError = 0;
    std::string fLastOpenHolder; // who holds the port, after an open refused with EBUSY
};
