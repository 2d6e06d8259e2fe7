// The serial port on a real pseudo-terminal: line settings, open and close, timed read-backs and
// single-attempt writes. The test holds the master side and plays the scanner by hand.
#include "ScaledClock.h"
#include "serialRS232Device.h"

#include "CaseName.h"
#include "FileContent.h"
#include "PseudoTerminal.h"
#include "RecordingMessageSink.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

using namespace testsupport;

namespace {

class SerialPortTest : public ::testing::Test {
  protected:
    SerialPortTest() : fClock(10.0), fInstall(fClock) { fPort.SetBsdPathName(fTerminal.slavePath().c_str()); }
    ScaledClock fClock;
    ScopedProcessClock fInstall;
    RecordingMessageSink fMessages;
    PseudoTerminal fTerminal;
    serialRS232Device fPort;
};

} // namespace

TEST_F(SerialPortTest, OpenMakesTheLineRawAt38400AndCloseRestoresTheEarlierSettings) {
    int keeper = open(fTerminal.slavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(keeper, 0);
    struct termios before;
    ASSERT_EQ(tcgetattr(keeper, &before), 0);
    before.c_lflag |= ICANON | ECHO;
    cfsetspeed(&before, B9600);
    ASSERT_EQ(tcsetattr(keeper, TCSANOW, &before), 0);

    short descriptor = fPort.OpenSerialPort();
    ASSERT_GT(descriptor, 0);
    struct termios open;
    ASSERT_EQ(tcgetattr(descriptor, &open), 0);
    EXPECT_EQ(open.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(open.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(open.c_cc[VMIN], 0);
    EXPECT_EQ(open.c_cc[VTIME], 10);
    EXPECT_EQ(cfgetispeed(&open), static_cast<speed_t>(B38400));
    EXPECT_EQ(cfgetospeed(&open), static_cast<speed_t>(B38400));
    EXPECT_EQ(fcntl(descriptor, F_GETFL) & O_NONBLOCK, 0);

    fPort.CloseSerialPort();
    EXPECT_FALSE(fPort.IsPortOpen());
    struct termios after;
    ASSERT_EQ(tcgetattr(keeper, &after), 0);
    EXPECT_NE(after.c_lflag & ICANON, 0u);
    EXPECT_EQ(cfgetospeed(&after), static_cast<speed_t>(B9600));
    close(keeper);
}

TEST_F(SerialPortTest, OthersAreShutOutOnlyWhileThePortIsOpen) {
    // Someone else keeps the device open, as pdx-sim does, so the terminal outlives our close.
    int keeper = open(fTerminal.slavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(keeper, 0);
    int exclusive = -1;
    ASSERT_GT(fPort.OpenSerialPort(), 0);
    ASSERT_EQ(ioctl(keeper, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1) << "open asks for exclusive use";
    fPort.CloseSerialPort();
    ASSERT_EQ(ioctl(keeper, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0) << "a normal user's next open would fail with EBUSY";
    close(keeper);
}

TEST_F(SerialPortTest, OpeningAnOpenPortReturnsTheSameDescriptor) {
    short first = fPort.OpenSerialPort();
    ASSERT_GT(first, 0);
    EXPECT_EQ(fPort.OpenSerialPort(), first);
    fPort.CloseSerialPort();
    fPort.CloseSerialPort(); // a closed port: nothing happens
    EXPECT_FALSE(fPort.IsPortOpen());
}

namespace {

struct OpenFailureCase {
    const char* name;
    const char* file; // in the test's folder
    const char* message;
};

void PrintTo(const OpenFailureCase& c, std::ostream* out) {
    *out << c.name;
}

const OpenFailureCase kOpenFailureCases[] = {
    {"missing device", "tty.SLAB_USBtoUART-gone", "Error opening serial port"},
    {"not a terminal", "plain.txt", "Error setting TIOCEXCL on"},
};

class SerialPortOpenTest : public ::testing::TestWithParam<OpenFailureCase> {};

} // namespace

TEST_P(SerialPortOpenTest, FailuresLeaveThePortClosedWithAMessageNamingThePath) {
    const OpenFailureCase& c = GetParam();
    TemporaryFolder folder;
    writeFile(folder.file("plain.txt"), "not a terminal");
    const std::string path = folder.file(c.file);
    RecordingMessageSink messages;
    serialRS232Device port;
    port.SetBsdPathName(path.c_str());
    EXPECT_EQ(port.OpenSerialPort(), -1);
    EXPECT_FALSE(port.IsPortOpen());
    EXPECT_TRUE(messages.contains(std::string(c.message) + " " + path)) << messages.text();
    port.CloseSerialPort();
    EXPECT_EQ(port.OpenSerialPort(), -1) << "a later open tries again";
}

INSTANTIATE_TEST_SUITE_P(Paths, SerialPortOpenTest, ::testing::ValuesIn(kOpenFailureCases), CaseName());

namespace {

struct ProblemCase {
    const char* name;
    int error;
    const char* holder;
    const char* sentence;
};

void PrintTo(const ProblemCase& c, std::ostream* out) {
    *out << c.name;
}

const ProblemCase kProblemCases[] = {
    {"permission denied", EACCES, "",
     "You may not use /dev/ttyUSB0. Add yourself to the dialout group (sudo adduser $USER dialout), then log "
     "out and in."},
    {"not permitted", EPERM, "", "You may not use /dev/ttyUSB0. Add yourself"},
    {"busy", EBUSY, "", "/dev/ttyUSB0 is in use by another program (a modem manager or a serial terminal)."},
    {"busy with a known holder", EBUSY, "ModemManager (process 812)",
     "/dev/ttyUSB0 is in use by another program: ModemManager (process 812)."},
    {"no such file", ENOENT, "", "/dev/ttyUSB0 is gone: is the scanner's cable plugged in?"},
    {"no such device or address", ENXIO, "", "/dev/ttyUSB0 is gone"},
    {"no such device", ENODEV, "", "/dev/ttyUSB0 is gone"},
    {"anything else", EIO, "", "/dev/ttyUSB0 could not be opened: Input/output error."},
    {"opened", 0, "", ""},
};

class PortProblemTest : public ::testing::TestWithParam<ProblemCase> {};

} // namespace

TEST_P(PortProblemTest, EachReasonHasItsSentence) {
    const ProblemCase& c = GetParam();
    std::string sentence = PortOpenProblemText("/dev/ttyUSB0", c.error, c.holder);
    EXPECT_EQ(sentence.rfind(c.sentence, 0), 0u) << sentence;
    if (c.error == 0) {
        EXPECT_TRUE(sentence.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Errors, PortProblemTest, ::testing::ValuesIn(kProblemCases), CaseName());

// The real failures, each with the sentence the user sees.
TEST(SerialPortProblems, ALinkToNothingIsGone) {
    TemporaryFolder folder;
    std::string link = folder.file("ttyUSB0");
    ASSERT_EQ(symlink(folder.file("unplugged").c_str(), link.c_str()), 0);
    serialRS232Device port;
    port.SetBsdPathName(link.c_str());
    EXPECT_EQ(port.OpenSerialPort(), -1);
    EXPECT_EQ(port.GetLastOpenError(), ENOENT);
    EXPECT_EQ(port.OpenFailureSentence(), link + " is gone: is the scanner's cable plugged in?");
}

TEST_F(SerialPortTest, ASecondOpenOfOursIsRefusedNamingTheHolderAndTheCloseGivesThePortBack) {
    ASSERT_GT(fPort.OpenSerialPort(), 0);
    serialRS232Device second;
    second.SetBsdPathName(fTerminal.slavePath().c_str());
    EXPECT_EQ(second.OpenSerialPort(), -1);
    EXPECT_EQ(second.GetLastOpenError(), EBUSY);
    // Root ignores TIOCEXCL, so the lock is what refuses it then; the holder is this very process.
    EXPECT_EQ(second.OpenFailureSentence().rfind(fTerminal.slavePath() + " is in use by another program", 0),
              0u)
        << second.OpenFailureSentence();
    if (geteuid() == 0) {
        EXPECT_NE(second.OpenFailureSentence().find("(process " + std::to_string(getpid()) + ")"),
                  std::string::npos)
            << second.OpenFailureSentence();
    }
    fPort.CloseSerialPort();
    EXPECT_GT(second.OpenSerialPort(), 0) << second.OpenFailureSentence();
    EXPECT_TRUE(second.OpenFailureSentence().empty());
    second.CloseSerialPort();
}

TEST_F(SerialPortTest, APortTheUserMayNotOpenSaysWhatToDo) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root opens any port; scripts/test runs this as a normal user";
    ASSERT_EQ(chmod(fTerminal.slavePath().c_str(), 0), 0);
    EXPECT_EQ(fPort.OpenSerialPort(), -1);
    EXPECT_EQ(fPort.GetLastOpenError(), EACCES);
    EXPECT_EQ(fPort.OpenFailureSentence(), "You may not use " + fTerminal.slavePath() +
                                               ". Add yourself to the dialout group (sudo adduser $USER "
                                               "dialout), then log out and in.");
}

TEST_F(SerialPortTest, APortHeldExclusivelyByAnotherProgramIsInUse) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root ignores exclusive use; scripts/test runs this as a normal user";
    // Another program (here: a descriptor of this test, as a serial terminal would) holds the
    // port with exclusive use.
    int holder = open(fTerminal.slavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(ioctl(holder, TIOCEXCL), 0);
    EXPECT_EQ(fPort.OpenSerialPort(), -1);
    EXPECT_EQ(fPort.GetLastOpenError(), EBUSY);
    EXPECT_EQ(fPort.OpenFailureSentence().rfind(fTerminal.slavePath() + " is in use by another program", 0),
              0u)
        << fPort.OpenFailureSentence();
    ioctl(holder, TIOCNXCL);
    close(holder);
    EXPECT_GT(fPort.OpenSerialPort(), 0) << fPort.OpenFailureSentence();
}

TEST(SerialPortPath, PathsOf1024BytesOrMoreAreRefused) {
    RecordingMessageSink messages;
    serialRS232Device port;
    EXPECT_TRUE(port.SetBsdPathName("/dev/ttyUSB0"));
    std::string longest(1023, 'a');
    EXPECT_TRUE(port.SetBsdPathName(longest.c_str()));
    EXPECT_EQ(std::string(port.GetBsdPathName()), longest);
    std::string tooLong(1024, 'b');
    EXPECT_FALSE(port.SetBsdPathName(tooLong.c_str()));
    EXPECT_EQ(std::string(port.GetBsdPathName()), longest);
    EXPECT_TRUE(messages.contains("shorter than 1024 bytes"));
    EXPECT_FALSE(port.SetBsdPathName(""));
    EXPECT_FALSE(port.SetBsdPathName(nullptr));
    EXPECT_EQ(std::string(port.GetBsdPathName()), longest);
}

namespace {

struct ReadBackCase {
    const char* name;
    std::vector<std::string> pieces; // written by the scanner side, 30 ms apart
    long expected;
    bool nullDestination;
    bool result;
    std::string bytes; // what the destination holds afterwards
};

void PrintTo(const ReadBackCase& c, std::ostream* out) {
    *out << c.name;
}

const ReadBackCase kReadBackCases[] = {
    {"all at once", {"\x06"}, 1, false, true, "\x06"},
    {"split in three pieces", {"AB", "CD", "E"}, 5, false, true, "ABCDE"},
    {"partial: fewer bytes than expected", {"ABC"}, 5, false, false, "ABC"},
    {"nothing at all", {}, 1, false, false, ""},
    {"null destination, complete", {"XY"}, 2, true, true, ""},
    {"null destination, partial", {"X"}, 2, true, false, ""},
};

class ReadBackTest : public SerialPortTest, public ::testing::WithParamInterface<ReadBackCase> {};

} // namespace

TEST_P(ReadBackTest, ReturnsWhatArrivedInTime) {
    const ReadBackCase& c = GetParam();
    ASSERT_GT(fPort.OpenSerialPort(), 0);
    fPort.DiscardPendingInput();
    std::thread scanner([&]() {
        for (const std::string& piece : c.pieces) {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            EXPECT_TRUE(fTerminal.send(piece));
        }
    });
    char destination[16] = {0};
    long expected = c.expected;
    bool result = fPort.ReadBackTheCharacters(c.nullDestination ? nullptr : destination, expected);
    scanner.join();
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(std::string(destination), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadBackTest, ::testing::ValuesIn(kReadBackCases), CaseName());

TEST_F(SerialPortTest, ReadBackNeverTakesMoreThanTheBytesStillMissing) {
    ASSERT_GT(fPort.OpenSerialPort(), 0);
    ASSERT_TRUE(fTerminal.send("ABCDE"));
    char first[8] = {0};
    long three = 3;
    EXPECT_TRUE(fPort.ReadBackTheCharacters(first, three));
    EXPECT_STREQ(first, "ABC");
    char rest[8] = {0};
    long two = 2;
    EXPECT_TRUE(fPort.ReadBackTheCharacters(rest, two));
    EXPECT_STREQ(rest, "DE");
}

TEST_F(SerialPortTest, SendWritesTheBytesOnceAndKeepsTheCount) {
    ASSERT_GT(fPort.OpenSerialPort(), 0);
    long length = 4;
    EXPECT_TRUE(fPort.SendTheCharacters("\x02RX\x03", length));
    EXPECT_EQ(length, 4);
    EXPECT_EQ(fTerminal.received(), "\x02RX\x03");
}

TEST_F(SerialPortTest, ShortWritesReturnFalseAndLeaveTheCountWritten) {
    ASSERT_GT(fPort.OpenSerialPort(), 0);
    std::string many(300, 'A');
    long length = 300;
    EXPECT_FALSE(fPort.SendTheCharacters(many.c_str(), length));
    EXPECT_EQ(length, 255) << "one send writes at most 255 bytes";
    EXPECT_TRUE(fMessages.contains("Did NOT write enough chars = 255 bytes sent"));
    fTerminal.received();

    // The kernel accepts only part of a write once the other side stops reading.
    int descriptor = fPort.GetFileDescriptor();
    ASSERT_EQ(fcntl(descriptor, F_SETFL, O_NONBLOCK), 0);
    std::string chunk(200, 'B');
    // The kernel moves written bytes on to the other side's buffer a moment later, which makes
    // room again: fill until a write after a pause still finds no room.
    for (bool roomAfterPause = true; roomAfterPause;) {
        while (write(descriptor, chunk.data(), chunk.size()) > 0) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        roomAfterPause = write(descriptor, chunk.data(), chunk.size()) > 0;
    }
    std::string block(250, 'C');
    length = 250;
    EXPECT_FALSE(fPort.SendTheCharacters(block.c_str(), length));
    EXPECT_LT(length, 250);
    EXPECT_TRUE(fMessages.contains("Did NOT write enough chars"));
}

TEST_F(SerialPortTest, SendOnAClosedPortFailsWithMinusOne) {
    long length = 1;
    EXPECT_FALSE(fPort.SendTheCharacters("\x05", length));
    EXPECT_EQ(length, -1);
    EXPECT_TRUE(fMessages.contains("GetFileDescriptor Is INVALID"));
    EXPECT_TRUE(fMessages.contains("Error writing to modem"));
}

TEST_F(SerialPortTest, TheStartOfAnExchangeDropsStaleInputButNeverTheBytesJustSent) {
    ASSERT_GT(fPort.OpenSerialPort(), 0);
    ASSERT_TRUE(fTerminal.send("stale"));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(fPort.DiscardPendingInput());
    char reply[8] = {0};
    long one = 1;
    EXPECT_FALSE(fPort.ReadBackTheCharacters(reply, one));
    EXPECT_STREQ(reply, "");
}

TEST_F(SerialPortTest, AByteSentJustBeforeTheNextExchangeStartsIsNeverLost) {
    // On a pseudo-terminal, flushing the output queue also drops what the other side has not
    // read yet; a byte written and flushed at once is lost now and then, so try it many times.
    ASSERT_GT(fPort.OpenSerialPort(), 0);
    int lost = 0;
    for (int i = 0; i < 100; ++i) {
        long length = 1;
        ASSERT_TRUE(fPort.SendTheCharacters("\x06", length));
        ASSERT_TRUE(fPort.DiscardPendingInput());
        if (fTerminal.received(200) != "\x06")
            ++lost;
    }
    EXPECT_EQ(lost, 0) << "the end byte of a transaction must reach the scanner";
}

TEST(Pauses, ZeroReturnsAtOnceAndPausesRunOnTheProcessClock) {
    ScaledClock clock(100.0);
    ScopedProcessClock install(clock);
    auto start = std::chrono::steady_clock::now();
    wait(0);
    waitInTenths(0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(5));
    Clock::TimePoint before = clock.now();
    wait(1);
    waitInTenths(5);
    EXPECT_GE(clock.now() - before, std::chrono::milliseconds(1500));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}
