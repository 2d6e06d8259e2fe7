// Remote mode against the real pdx-sim on a pseudo-terminal: the three-step handshake, the retry
// loop with its reopening, the connection check.
#include "ScaledClock.h"
#include "pdxProDevice.h"
#include "pdxRemoteModeSession.h"

#include "CaseName.h"
#include "PdxSimProcess.h"
#include "RecordingMessageSink.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

using namespace testsupport;

namespace {

class RemoteModeTest : public ::testing::Test {
  protected:
    explicit RemoteModeTest(double factor = 10.0) : fClock(factor), fInstall(fClock), fSim(fFolder.path()) {}
    void startSim(const std::vector<std::string>& options) {
        ASSERT_TRUE(fSim.start(options));
        fDevice.SetBsdPathName(fSim.link().c_str());
    }
    TemporaryFolder fFolder;
    ScaledClock fClock;
    ScopedProcessClock fInstall;
    RecordingMessageSink fMessages;
    PdxSimProcess fSim;
    pdxProDevice fDevice;
};

struct HandshakeCase {
    const char* name;
    const char* fault;
    bool result;
    std::string hostBytes;
};

void PrintTo(const HandshakeCase& c, std::ostream* out) {
    *out << c.name;
}

const HandshakeCase kHandshakeCases[] = {
    {"wrong answer to 0x05", "handshake-enq", false, "\x05"},
    {"wrong answer to U: no T follows", "handshake-u", false, "\x05U"},
    {"wrong answer to T", "handshake-t", false, "\x05UT"},
    {"all three answered", nullptr, true, "\x05UT"},
};

class HandshakeTest : public ::testing::TestWithParam<HandshakeCase> {};

} // namespace

TEST_P(HandshakeTest, FailsAtEachStepWithoutSendingTheNextByte) {
    const HandshakeCase& c = GetParam();
    TemporaryFolder folder;
    PdxSimProcess sim(folder.path());
    std::vector<std::string> options;
    if (c.fault)
        options = {"--fault", c.fault};
    ASSERT_TRUE(sim.start(options));
    pdxProDevice device;
    device.SetBsdPathName(sim.link().c_str());
    ASSERT_GT(device.OpenSerialPort(), 0);
    EXPECT_EQ(device.EnterRemoteMode(), c.result);
    device.CloseSerialPort();
    sim.stop();
    EXPECT_EQ(sim.hostBytes(), c.hostBytes);
}

INSTANTIATE_TEST_SUITE_P(Steps, HandshakeTest, ::testing::ValuesIn(kHandshakeCases), CaseName());

TEST_F(RemoteModeTest, APortThatCannotBeOpenedFailsAtOnce) {
    fDevice.SetBsdPathName(fFolder.file("tty.SLAB_USBtoUART").c_str());
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(fDevice.EnterRemoteModeLoop2(120));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_TRUE(fMessages.contains("UNABLE to OpenSerialPort -- fileDescriptor is [-1]"));
    EXPECT_TRUE(fMessages.contains("Unable to Connect In Remote Mode!!!"));
    EXPECT_FALSE(fDevice.IsPortOpen());
}

TEST_F(RemoteModeTest, AScannerReadyAfterTwentySecondsIsReachedInTheSameLoopAfterOneReopen) {
    // Ten times faster: the scanner's 2 real seconds are 20 seconds of the program's clock.
    startSim({"--ready-after", "2"});
    EXPECT_TRUE(fDevice.EnterRemoteModeLoop2(120));
    EXPECT_TRUE(fDevice.IsPortOpen()) << "success leaves the port open in remote mode";
    EXPECT_EQ(fMessages.count("EnterRemoteModeLoop2 => Trying Again..."), 1) << fMessages.text();
    EXPECT_EQ(fMessages.count("Unable to Connect In Remote Mode!!!"), 0);
    fDevice.QuitRemoteMode();
    fDevice.CloseSerialPort();
}

TEST_F(RemoteModeTest, TheConnectionCheckReadsModelAndUnitIDAndLeavesRemoteMode) {
    startSim({"--unit-id", "AB123456", "--model", "Z-1070"});
    EXPECT_TRUE(fDevice.MakeConnection());
    EXPECT_STREQ(fDevice.fModelName, "Z-1070");
    EXPECT_STREQ(fDevice.fUnitID, "AB123456");
    EXPECT_FALSE(fDevice.IsPortOpen());
    fSim.stop();
    std::string host = fSim.hostBytes();
    EXPECT_EQ(host.substr(0, 3), "\x05UT");
    EXPECT_NE(host.find("\x02RX\x03"), std::string::npos);
    EXPECT_EQ(host.back(), '\x1B') << "the check ends by leaving remote mode";
}

namespace {
class SilentScannerTest : public RemoteModeTest {
  protected:
    SilentScannerTest() : RemoteModeTest(100.0) {}
};
} // namespace

TEST_F(SilentScannerTest, AFailedConnectionCheckRunsASecondFullLoop) {
    startSim({"--fault", "handshake-enq"});
    Clock::TimePoint start = fClock.now();
    EXPECT_FALSE(fDevice.MakeConnection());
    EXPECT_GE(fClock.now() - start, std::chrono::seconds(240));
    EXPECT_EQ(fMessages.count("Unable to Connect In Remote Mode!!!"), 2);
    EXPECT_FALSE(fDevice.IsPortOpen());
}

TEST_F(RemoteModeTest, TheConsoleReadsReportDateTimeAndBarcodeSettings) {
    startSim({});
    ASSERT_TRUE(fDevice.EnterRemoteModeLoop2(30));
    EXPECT_TRUE(fDevice.GetDateInfoCmd());
    EXPECT_TRUE(fDevice.GetTimeInfoCmd());
    EXPECT_TRUE(fDevice.GetBarCodeSettingCmd());
    fDevice.QuitRemoteMode();
    fDevice.CloseSerialPort();
    EXPECT_TRUE(fMessages.contains("Get Date returned: [12/10/26]"));
    EXPECT_TRUE(fMessages.contains("GetTime returned: [10:20:30]"));
    EXPECT_TRUE(fMessages.contains("The checksum is ["));
    EXPECT_FALSE(fMessages.contains("WHAT"));
}

TEST_F(RemoteModeTest, ASessionHoldsRemoteModeAcrossExchangesAndLeavesItOnce) {
    startSim({});
    {
        pdxRemoteModeSession session(fDevice);
        ASSERT_TRUE(session.Enter(30));
        EXPECT_TRUE(session.IsInRemoteMode());
        EXPECT_TRUE(fDevice.GetSystemInfoCmd());
        EXPECT_TRUE(fDevice.GetDateInfoCmd());
        EXPECT_TRUE(fDevice.GetTimeInfoCmd());
        session.Leave();
        EXPECT_FALSE(session.IsInRemoteMode());
        EXPECT_FALSE(fDevice.IsPortOpen());
    }
    fSim.stop();
    const std::string host = fSim.hostBytes();
    EXPECT_EQ(std::count(host.begin(), host.end(), '\x1B'), 1) << "ESC once: the destructor adds none";
    EXPECT_EQ(host.back(), '\x1B');
}

TEST_F(RemoteModeTest, AnEarlyReturnInsideASessionStillLeavesRemoteModeAndClosesThePort) {
    startSim({});
    auto readAndGiveUp = [this] {
        pdxRemoteModeSession session(fDevice);
        if (!session.Enter(30))
            return false;
        fDevice.GetSystemInfoCmd();
        return false;
    };
    EXPECT_FALSE(readAndGiveUp());
    EXPECT_FALSE(fDevice.IsPortOpen());
    fSim.stop();
    const std::string host = fSim.hostBytes();
    EXPECT_EQ(host.substr(0, 3), "\x05UT");
    EXPECT_EQ(host.back(), '\x1B');
}

TEST_F(RemoteModeTest, ASessionThatNeverReachedRemoteModeSendsNoEscape) {
    startSim({"--fault", "handshake-t"});
    {
        pdxRemoteModeSession session(fDevice);
        EXPECT_FALSE(session.Enter(3));
        EXPECT_FALSE(session.IsInRemoteMode());
    }
    EXPECT_FALSE(fDevice.IsPortOpen());
    fSim.stop();
    const std::string host = fSim.hostBytes();
    EXPECT_EQ(host.substr(0, 3), "\x05UT");
    EXPECT_EQ(host.find('\x1B'), std::string::npos) << "a scanner not in remote mode gets no ESC";
}
