#include "serialRS232Device.h"

#include "AlertPanel.h"
#include "Clock.h"
#include "MessageLog.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

constexpr speed_t kLineSpeed = B38400;

// Asks the serial driver to hand over received bytes at once instead of after its usual
// latency. Drivers without the request (a pseudo-terminal, a Bluetooth link) are not an error.
void requestLowLatency(int descriptor, const char* path) {
    struct serial_struct serial;
    if (ioctl(descriptor, TIOCGSERIAL, &serial) == -1) {
        myPrintfDebug(
            myFormat("The driver of %s has no low-latency mode - %s(%d).\n", path, strerror(errno), errno));
        return;
    }
    serial.flags |= ASYNC_LOW_LATENCY;
    if (ioctl(descriptor, TIOCSSERIAL, &serial) == -1)
        myPrintfDebug(myFormat("Error setting read latency %s - %s(%d).\n", path, strerror(errno), errno));
}

void reportReadBack(const char* bytes, long total) {
    myPrintfDebug(myFormat("Read back EXPECTED bytes of %i bytes\n", static_cast<int>(total)));
    LogReturnedBytes(bytes, total);
}

} // namespace

void LogReturnedBytes(const char* bytes, long total) {
    for (long i = 0; i < total; ++i) {
        unsigned char byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80)
            myPrintfDebug(
                myFormat("Returning Back char[%03i]= [0x%02x] = ['%c']\n", static_cast<int>(i), byte, byte));
        else
            myPrintfDebug(
                myFormat("Returning Back char[%03i]= [0x%02x] = [\\%i']\n", static_cast<int>(i), byte, byte));
    }
}

void wait(int seconds) {
    if (seconds <= 0)
        return;
    processClock().sleepFor(std::chrono::seconds(seconds));
}

void waitInTenths(int tenths) {
    if (tenths <= 0)
        return;
    processClock().sleepFor(std::chrono::milliseconds(100) * tenths);
}

ePortOpenProblem PortOpenProblemFromErrno(int error) {
    switch (error) {
    case 0:
        return ePortOpenProblem_None;
    case EACCES:
    case EPERM:
        return ePortOpenProblem_NotAllowed;
    case EBUSY:
        return ePortOpenProblem_InUse;
    case ENOENT:
    case ENXIO:
    case ENODEV:
        return ePortOpenProblem_Gone;
    default:
        return ePortOpenProblem_Other;
    }
}

std::string PortOpenProblemText(const std::string& path, int error, const std::string& holder) {
    ePortOpenProblem problem = PortOpenProblemFromErrno(error);
    if (problem == ePortOpenProblem_None)
        return std::string();
    // The list's items follow the enumeration, from NotAllowed on; the last one names the holder.
    short index = static_cast<short>(problem - ePortOpenProblem_NotAllowed);
    if (problem == ePortOpenProblem_InUse && !holder.empty())
        index = kPortProblemHolderItem;
    std::string format =
        myGetNSArrayItem(kLocalizedTable, "NSArray_ibPortProblem", index).value_or("<Could NOT Find String>");
    const char* second = index == kPortProblemHolderItem ? holder.c_str() : strerror(error);
    return formatLocalizedText(format, path.c_str(), second);
}

namespace {

std::string processName(long pid) {
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

// The process that holds an flock on the file (dev, inode), from /proc/locks; 0 when none.
long flockHolder(dev_t device, ino_t inode) {
    std::ifstream locks("/proc/locks");
    std::string line;
    while (std::getline(locks, line)) {
        // "1: FLOCK  ADVISORY  WRITE 4711 00:05:87 0 EOF"; waiters carry a "->" and hold nothing.
        std::istringstream fields(line);
        std::string id, kind, advisory, mode, where;
        long pid = 0;
        if (!(fields >> id >> kind) || kind == "->" || kind != "FLOCK")
            continue;
        if (!(fields >> advisory >> mode >> pid >> where))
            continue;
        unsigned major = 0, minor = 0;
        unsigned long long number = 0;
        if (std::sscanf(where.c_str(), "%x:%x:%llu", &major, &minor, &number) != 3)
            continue;
        if (major == major(device) && minor == minor(device) && number == inode)
            return pid;
    }
    return 0;
}

// A process with the character device open, among those whose descriptors this user may read
// (their own; every one for root); 0 when none is seen.
long openerOf(dev_t rdev) {
    long found = 0;
    DIR* processes = opendir("/proc");
    if (processes == nullptr)
        return 0;
    while (dirent* entry = readdir(processes)) {
        char* end = nullptr;
        long pid = std::strtol(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0' || pid == static_cast<long>(getpid()))
            continue;
        std::string folder = std::string("/proc/") + entry->d_name + "/fd";
        DIR* descriptors = opendir(folder.c_str());
        if (descriptors == nullptr)
            continue;
        while (dirent* fd = readdir(descriptors)) {
            struct stat info;
            if (fd->d_name[0] == '.' || stat((folder + "/" + fd->d_name).c_str(), &info) != 0)
                continue;
            if (S_ISCHR(info.st_mode) && info.st_rdev == rdev) {
                found = pid;
                break;
            }
        }
        closedir(descriptors);
        if (found != 0)
            break;
    }
    closedir(processes);
    return found;
}

} // namespace

std::string PortHolderText(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return std::string();
    long pid = flockHolder(info.st_dev, info.st_ino);
    if (pid == 0 && S_ISCHR(info.st_mode))
        pid = openerOf(info.st_rdev);
    if (pid == 0)
        return std::string();
    std::string name = processName(pid);
    if (name.empty())
        return myFormat("process %ld", pid);
    return myFormat("%s (process %ld)", name.c_str(), pid);
}

std::string LogString2(const char* bytes, long length) {
    std::string text;
    for (long i = 0; bytes && i < length; ++i) {
        unsigned char byte = static_cast<unsigned char>(bytes[i]);
        switch (byte) {
        case 0x1B:
            text += "\\e";
            continue;
        case '\t':
            text += "\\t";
            continue;
        case '\n':
            text += "\\n";
            continue;
        case '\r':
            text += "\\r";
            continue;
        default:
            break;
        }
        if (byte >= 0x20 && byte < 0x7F) {
            text += static_cast<char>(byte);
            continue;
        }
        text += myFormat("\\%03u", byte);
    }
    return text;
}

serialRS232Device::serialRS232Device() : fFileDescriptor(-1) {
    SetFileDescriptor(-1);
    std::memset(fBsdPathName, 0, sizeof fBsdPathName);
    std::memset(&fSavedTTYAttrs, 0, sizeof fSavedTTYAttrs);
    myPrintfDebug("serialRS232Device::serialRS232Device");
}

serialRS232Device::~serialRS232Device() {
    CloseSerialPort();
}

bool serialRS232Device::MakeConnection() {
    myPrintf("\nserialRS232Device::MakeConnection => Should NEVER Be Here!!!\n");
    return false;
}

void serialRS232Device::SetFileDescriptor(short descriptor) {
    fFileDescriptor = descriptor;
    myPrintfDebug(myFormat("serialRS232Device::SetFileDescriptor => [%i]\n", descriptor));
}

short serialRS232Device::GetFileDescriptor() {
    if (fFileDescriptor > 0) {
        myPrintfDebug(myFormat("serialRS232Device::GetFileDescriptor => [%i]", fFileDescriptor));
        return fFileDescriptor;
    }
    myPrintf(myFormat("serialRS232Device::GetFileDescriptor Is INVALID => [%i] ?????????????????????\n",
                      fFileDescriptor));
    return fFileDescriptor;
}

char* serialRS232Device::GetBsdPathName() {
    return fBsdPathName;
}

bool serialRS232Device::SetBsdPathName(const char* path) {
    if (path == nullptr || path[0] == '\0')
        return false;
    if (std::strlen(path) >= kPathSize) {
        myPrintf(myFormat("serialRS232Device::SetBsdPathName => a device path must be shorter than %zu "
                          "bytes; refused: %.80s...\n",
                          kPathSize, path));
        return false;
    }
    std::memset(fBsdPathName, 0, sizeof fBsdPathName);
    std::strcpy(fBsdPathName, path);
    return true;
}

short serialRS232Device::OpenSerialPort() {
    if (fFileDescriptor > 0)
        return fFileDescriptor;
    myPrintfDebug(myFormat("OpenSerialPort at: [%s]\n", fBsdPathName));

    int descriptor = open(fBsdPathName, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (descriptor == -1) {
        fLastOpenError = errno;
        fLastOpenHolder = errno == EBUSY ? PortHolderText(fBsdPathName) : std::string();
        myPrintf(myFormat("Error opening serial port %s - %s(%d).\n", fBsdPathName, strerror(errno), errno));
        SetFileDescriptor(-1);
        return -1;
    }
    // Root opens a port despite another holder's TIOCEXCL; the lock keeps two programs of ours
    // apart whoever runs them. Nothing has been changed on the port yet, so a refused lock only
    // closes (the holder's exclusive use stays as it is).
    if (flock(descriptor, LOCK_EX | LOCK_NB) == -1) {
        int error = errno == EWOULDBLOCK ? EBUSY : errno;
        fLastOpenError = error;
        fLastOpenHolder = error == EBUSY ? PortHolderText(fBsdPathName) : std::string();
        myPrintf(myFormat("Serial port %s is locked by another program - %s(%d).\n", fBsdPathName,
                          strerror(error), error));
        close(descriptor);
        SetFileDescriptor(-1);
        return -1;
    }
    auto fail = [&](const char* format) {
        int error = errno;
        fLastOpenError = error;
        myPrintf(myFormat(format, fBsdPathName, strerror(error), error));
        ioctl(descriptor, TIOCNXCL);
        close(descriptor);
        SetFileDescriptor(-1);
        return static_cast<short>(-1);
    };
    if (ioctl(descriptor, TIOCEXCL) == -1)
        return fail("Error setting TIOCEXCL on %s - %s(%d).\n");
    if (tcdrain(descriptor) == -1)
        myPrintf(myFormat("Error waiting for drain - %s(%d).\n", strerror(errno), errno));
    if (fcntl(descriptor, F_SETFL, 0) == -1)
        return fail("Error clearing O_NONBLOCK %s - %s(%d).\n");
    if (tcgetattr(descriptor, &fSavedTTYAttrs) == -1)
        return fail("Error getting tty attributes %s - %s(%d).\n");

    struct termios options = fSavedTTYAttrs;
    cfmakeraw(&options);
    options.c_cflag |= CS8;
    options.c_cc[VMIN] = 0;
    options.c_cc[VTIME] = 10;
    cfsetspeed(&options, kLineSpeed);
    if (tcsetattr(descriptor, TCSANOW, &options) == -1)
        return fail("Error setting tty attributes %s - %s(%d).\n");
    // Only stale input is thrown away: on a pseudo-terminal, flushing output also discards what
    // the other side has not read yet, such as the ESC that ended the previous session.
    if (tcflush(descriptor, TCIFLUSH) == -1)
        return fail("unable to tcflush ( filedescriptor, TCIFLUSH ) %s - %s(%d)\n");
    requestLowLatency(descriptor, fBsdPathName);
    fLastOpenError = 0;
    SetFileDescriptor(static_cast<short>(descriptor));
    return fFileDescriptor;
}

std::string serialRS232Device::OpenFailureSentence() const {
    return PortOpenProblemText(fBsdPathName, fLastOpenError, fLastOpenHolder);
}

void serialRS232Device::CloseSerialPort() {
    if (fFileDescriptor == -1)
        return;
    myPrintfDebug("\n\nserialRS232Device::CloseSerialPort\n");
    // A line that is gone (the adapter pulled out, the far end of a pseudo-terminal closed)
    // fails each of these with EIO or ENXIO: that says nothing the user can act on, so it goes to
    // the log only.
    auto report = [this](const char* what) {
        const int error = errno;
        const std::string line =
            myFormat("Error %s on %s - %s(%d).\n", what, fBsdPathName, strerror(error), error);
        if (error == EIO || error == ENXIO || error == ENODEV)
            myPrintfDebug(line);
        else
            myPrintf(line);
    };
    if (tcdrain(fFileDescriptor) == -1)
        report("waiting for drain");
    if (tcsetattr(fFileDescriptor, TCSANOW, &fSavedTTYAttrs) == -1)
        report("resetting tty attributes");
    // Exclusive use ends with the close. The kernel clears it only when the last holder of the
    // device closes it, so without this a port that someone else keeps open (a pseudo-terminal's
    // other side, a modem manager) would refuse every later open by a normal user, this
    // program's next exchange included.
    if (ioctl(fFileDescriptor, TIOCNXCL) == -1)
        report("clearing TIOCEXCL");
    close(fFileDescriptor);
    SetFileDescriptor(-1);
    myPrintfDebug("serialRS232Device::CloseSerialPort => Closed...\n");
}

bool serialRS232Device::SendTheCharacters(const char* bytes, long& length) {
    int descriptor = GetFileDescriptor();
    long asked = length;
    char buffer[kMaxCommandLength] = {0};
    long count = asked < 0 ? 0 : (asked > kMaxCommandLength ? kMaxCommandLength : asked);
    if (bytes != nullptr)
        std::memcpy(buffer, bytes, static_cast<size_t>(count));
    ssize_t written = write(descriptor, buffer, static_cast<size_t>(count));
    if (written == -1)
        myPrintf(myFormat("Error writing to modem - %s(%d).\n", strerror(errno), errno));
    else
        myPrintfDebug(myFormat("Wrote %ld bytes = [\"%s\"]\n\v", static_cast<long>(written),
                               LogString2(buffer, written).c_str()));
    if (written < asked)
        myPrintf(myFormat("Did NOT write enough chars = %i bytes sent\n", static_cast<int>(written)));
    length = static_cast<long>(written);
    return written == asked;
}

bool serialRS232Device::ReadBackTheCharacters(char* destination, long& expected) {
    int descriptor = GetFileDescriptor();
    if (expected > kReadBufferSize) {
        myPrintf(myFormat("serialRS232Device::ReadBackTheCharacters => %ld bytes asked, at most %ld\n",
                          expected, kReadBufferSize));
        return false;
    }
    char collected[kReadBufferSize] = {0};
    long total = 0;
    bool success = expected <= 0;
    const Deadline deadline(Deadline::ticks(kReadBackDeadlineTicks));
    while (!success) {
        ssize_t count = read(descriptor, collected + total, static_cast<size_t>(expected - total));
        if (count == -1 && errno == EINTR)
            continue;
        if (count == -1) {
            myPrintf(myFormat("Error reading from IOPort - %s(%d).\n", strerror(errno), errno));
            break;
        }
        total += count;
        if (total >= expected) {
            success = true;
            break;
        }
        if (deadline.expired()) {
            myPrintf("serialRS232Device::ReadBackTheCharacters => TIMED OUT!\n");
            break;
        }
        waitInTenths(1);
    }
    if (total > 0) {
        if (destination != nullptr)
            std::memcpy(destination, collected, static_cast<size_t>(total));
        reportReadBack(collected, total);
    } else {
        myPrintfDebug("Nothing read.\n");
    }
    return success;
}

bool serialRS232Device::DiscardPendingInput() {
    if (fFileDescriptor < 0)
        return false;
    tcdrain(fFileDescriptor);
    if (tcflush(fFileDescriptor, TCIFLUSH) == -1) {
        myPrintf("unable to tcflush ( filedescriptor, TCIFLUSH )\n");
        return false;
    }
    return true;
}
