// Port discovery: the name tests and the order of the final list, from tables of paths, and the
// ports that VESK_SERIAL_PORTS adds to what the system reports.
#include "serialRS232Manager.h"

#include "CaseName.h"
#include "FileContent.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace testsupport;

namespace {

std::vector<std::string> finalPaths(const std::vector<std::string>& found) {
    serialRS232Manager manager;
    manager.AddDevicesFromPaths(found);
    manager.FindDefaultPortList();
    std::vector<std::string> paths;
    for (pdxProDevice* device : manager.GetCFArrayOfRS32FinalList())
        paths.push_back(device->GetBsdPathName());
    return paths;
}

struct PortNameCase {
    const char* path;
    bool valid;
    bool bluetooth;
};

void PrintTo(const PortNameCase& c, std::ostream* out) {
    *out << c.path;
}

const PortNameCase kPortNameCases[] = {
    {"/dev/cu.SLAB_USBtoUART", true, false},
    {"/dev/cu.slab_usbtouart", true, false},
    {"/dev/serial/by-id/usb-Silicon_Labs_CP2102_USB_to_UART_Bridge_Controller_0001-if00-port0", true, false},
    {"/dev/cu.Bluetooth-PDA-Sync", true, true},
    {"/dev/rfcomm0", true, true},
    {"/dev/RFCOMM1", true, true},
    {"/dev/cu.ZEBEX", false, false},
    {"/dev/cu.KeySerial1", false, false},
    {"/dev/cu.usbserial", false, false},
    {"/dev/ttyUSB0", false, false},
    {"/dev/ttyS0", false, false},
    {"/dev/cu.Bluetooth-Modem", false, false},
};

class PortNamesTest : public ::testing::TestWithParam<PortNameCase> {};

} // namespace

TEST_P(PortNamesTest, OnlyTheAdapterAndTheBluetoothSerialPortPass) {
    const PortNameCase& c = GetParam();
    EXPECT_EQ(serialRS232Manager::CheckIfValidRS232DeviceNames(c.path), c.valid);
    EXPECT_EQ(serialRS232Manager::IsBluetoothPortPath(c.path), c.bluetooth);
}

INSTANTIATE_TEST_SUITE_P(Paths, PortNamesTest, ::testing::ValuesIn(kPortNameCases),
                         [](const ::testing::TestParamInfo<PortNameCase>& info) {
                             return caseName(info.param.path);
                         });

TEST(PortNames, TheNameTestRefusesNullTexts) {
    EXPECT_FALSE(serialRS232Manager::CheckIfSubStringExists(nullptr, "SLAB"));
    EXPECT_FALSE(serialRS232Manager::CheckIfSubStringExists("/dev/cu.SLAB_USBtoUART", nullptr));
}

namespace {

struct PortOrderCase {
    const char* name;
    std::vector<std::string> found;
    std::vector<std::string> ordered;
};

void PrintTo(const PortOrderCase& c, std::ostream* out) {
    *out << c.name;
}

const PortOrderCase kPortOrderCases[] = {
    {"two adapters A, B give B, A",
     {"/dev/A.SLAB_USBtoUART", "/dev/B.SLAB_USBtoUART"},
     {"/dev/B.SLAB_USBtoUART", "/dev/A.SLAB_USBtoUART"}},
    {"Bluetooth found first still comes after the adapter",
     {"/dev/cu.Bluetooth-PDA-Sync", "/dev/cu.SLAB_USBtoUART"},
     {"/dev/cu.SLAB_USBtoUART", "/dev/cu.Bluetooth-PDA-Sync"}},
    {"Bluetooth ports keep their order", {"/dev/rfcomm0", "/dev/rfcomm1"}, {"/dev/rfcomm0", "/dev/rfcomm1"}},
    {"Linux names mixed",
     {"/dev/rfcomm0", "/dev/serial/by-id/usb-Silicon_Labs_CP2102-if00-port0", "/dev/ttyS0",
      "/tmp/sim/tty.SLAB_USBtoUART"},
     {"/tmp/sim/tty.SLAB_USBtoUART", "/dev/serial/by-id/usb-Silicon_Labs_CP2102-if00-port0", "/dev/rfcomm0"}},
    {"nothing suitable", {"/dev/cu.ZEBEX", "/dev/cu.usbserial", "/dev/ttyUSB0"}, {}},
    {"nothing found", {}, {}},
    {"a path of 1024 bytes or more is left out",
     {"/tmp/" + std::string(1010, 'a') + "/tty.SLAB_USBtoUART", "/dev/rfcomm0"},
     {"/dev/rfcomm0"}},
};

class PortOrderTest : public ::testing::TestWithParam<PortOrderCase> {};

} // namespace

TEST_P(PortOrderTest, AdaptersFirstLastFoundFirstThenBluetoothInOrder) {
    EXPECT_EQ(finalPaths(GetParam().found), GetParam().ordered);
}

INSTANTIATE_TEST_SUITE_P(Lists, PortOrderTest, ::testing::ValuesIn(kPortOrderCases), CaseName());

TEST(PortOrder, ScannerObjectsOutliveTheManagerThatFoundThem) {
    pdxProDevice* device = nullptr;
    {
        serialRS232Manager manager;
        manager.AddDevicesFromPaths({"/dev/cu.SLAB_USBtoUART"});
        manager.FindDefaultPortList();
        ASSERT_EQ(manager.GetCFArrayOfRS32FinalList().size(), 1u);
        device = manager.GetCFArrayOfRS32FinalList().front();
    }
    EXPECT_STREQ(device->GetBsdPathName(), "/dev/cu.SLAB_USBtoUART");
}

TEST(PortDiscovery, PortsFromTheEnvironmentJoinWhatTheSystemReports) {
    setenv("VESK_SERIAL_PORTS", "/tmp/one/tty.SLAB_USBtoUART::/tmp/two/cu.KeySerial1:/dev/rfcomm7", 1);
    serialRS232Manager manager;
    manager.FindScannerPorts();
    unsetenv("VESK_SERIAL_PORTS");
    std::vector<std::string> paths;
    for (pdxProDevice* device : manager.GetCFArrayOfRS32FinalList())
        paths.push_back(device->GetBsdPathName());
    ASSERT_FALSE(paths.empty());
    EXPECT_EQ(paths.front(), "/tmp/one/tty.SLAB_USBtoUART") << "the last adapter found comes first";
    EXPECT_EQ(paths.back(), "/dev/rfcomm7");
    for (const std::string& path : paths)
        EXPECT_EQ(path.find("KeySerial1"), std::string::npos) << "names that fail the tests stay out";
}

TEST(PortDiscovery, SystemPathsAreDeviceFiles) {
    for (const std::string& path : serialRS232Manager::EnumerateSystemSerialPaths()) {
        EXPECT_EQ(path.compare(0, 5, "/dev/"), 0) << path;
        EXPECT_TRUE(fileExists(path)) << path;
    }
}
