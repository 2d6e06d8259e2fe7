// Port discovery: the name tests and the order of the final list, from tables of paths, and the
// ports that VESK_SERIAL_PORTS adds to what the system reports.
#include "serialPortEnumerator.h"
#include "serialRS232Manager.h"

#include "CaseName.h"
#include "FileContent.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
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
                         [](const ::testing::TestParamInfo<PortNameCase>& row) {
                             return caseName(row.param.path);
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

TEST(PortDiscovery, PortsFromTheEnvironmentComeFirstAsGivenWhateverTheirNames) {
    setenv("VESK_SERIAL_PORTS", "/tmp/one/tty.SLAB_USBtoUART::/tmp/two/cu.KeySerial1:/dev/rfcomm7", 1);
    serialRS232Manager manager;
    manager.FindScannerPorts();
    unsetenv("VESK_SERIAL_PORTS");
    std::vector<std::string> paths;
    for (pdxProDevice* device : manager.GetCFArrayOfRS32FinalList())
        paths.push_back(device->GetBsdPathName());
    ASSERT_GE(paths.size(), 3u);
    EXPECT_EQ(
        std::vector<std::string>(paths.begin(), paths.begin() + 3),
        (std::vector<std::string>{"/tmp/one/tty.SLAB_USBtoUART", "/tmp/two/cu.KeySerial1", "/dev/rfcomm7"}));
}

TEST(PortDiscovery, APortNamedTwiceIsListedOnce) {
    setenv("VESK_SERIAL_PORTS", "/tmp/x/ttyUSB0:/tmp/x/ttyUSB0", 1);
    serialRS232Manager manager;
    manager.FindScannerPorts();
    unsetenv("VESK_SERIAL_PORTS");
    int count = 0;
    for (const serialRS232Manager::Port& port : manager.GetAllPorts())
        count += port.info.Path() == "/tmp/x/ttyUSB0" ? 1 : 0;
    EXPECT_EQ(count, 1);
}

// A link named in VESK_SERIAL_PORTS that leads to a port the system reported is that port: one
// entry under the name given, first in the list, with the system's description.
TEST(PortDiscovery, ANamedLinkToAReportedPortTakesItsPlaceAndDetails) {
    TemporaryFolder folder;
    folder.write("ttyUSB3", "");
    std::string device = folder.file("ttyUSB3");
    std::string link = folder.file("scanner");
    ASSERT_EQ(symlink(device.c_str(), link.c_str()), 0);
    serialRS232Manager manager;
    manager.AddPorts({serialPortInfo::FromProperties({{serialPortInfo::kDeviceNode, device},
                                                      {serialPortInfo::kVendorID, "10c4"},
                                                      {serialPortInfo::kProductID, "ea60"},
                                                      {serialPortInfo::kVendor, "Silicon Labs"},
                                                      {serialPortInfo::kProduct, "CP2102 USB to UART"}}),
                      serialPortInfo("/dev/rfcomm0")},
                     false);
    manager.AddPorts({serialPortInfo(link)}, true);
    manager.FindDefaultPortList();
    std::vector<serialRS232Manager::Port> ports = manager.GetAllPorts();
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0].info.Path(), link);
    EXPECT_TRUE(ports[0].named);
    EXPECT_EQ(ports[0].info.Description(), "Silicon Labs CP2102 USB to UART (scanner adapter)");
    EXPECT_EQ(ports[1].info.Path(), "/dev/rfcomm0");
}

// The adapter is known by what it is: a CP210x comes first whatever the port is called, and a
// serial port of another kind is listed for the chooser but never chosen by itself.
TEST(PortDiscovery, TheAdapterIsKnownByItsIDsAndOtherPortsAreOnlyListed) {
    serialRS232Manager manager;
    manager.AddPorts({serialPortInfo::FromProperties({{serialPortInfo::kDeviceNode, "/dev/ttyUSB1"},
                                                      {serialPortInfo::kVendorID, "0403"},
                                                      {serialPortInfo::kProductID, "6001"}}),
                      serialPortInfo("/dev/rfcomm0"),
                      serialPortInfo::FromProperties({{serialPortInfo::kDeviceNode, "/dev/ttyUSB0"},
                                                      {serialPortInfo::kVendorID, "10C4"},
                                                      {serialPortInfo::kProductID, "EA60"}}),
                      serialPortInfo::FromProperties(
                          {{serialPortInfo::kDeviceNode, "/dev/ttyS0"}, {serialPortInfo::kUartType, "4"}})},
                     false);
    manager.FindDefaultPortList();
    std::vector<std::string> final;
    for (pdxProDevice* device : manager.GetCFArrayOfRS32FinalList())
        final.push_back(device->GetBsdPathName());
    EXPECT_EQ(final, (std::vector<std::string>{"/dev/ttyUSB0", "/dev/rfcomm0"}));
    std::vector<std::string> labels;
    for (const serialRS232Manager::Port& port : manager.GetAllPorts())
        labels.push_back(port.info.Label());
    EXPECT_EQ(labels, (std::vector<std::string>{"/dev/ttyUSB0 \u2014 Silicon Labs CP210x (scanner adapter)",
                                                "/dev/rfcomm0 \u2014 Bluetooth serial port",
                                                "/dev/ttyUSB1 \u2014 USB serial adapter (USB 0403:6001)",
                                                "/dev/ttyS0 \u2014 serial port"}));
}

namespace {

struct PortInfoCase {
    const char* name;
    std::map<std::string, std::string> properties;
    serialPortInfo::eKind kind;
    const char* description;
    bool absent;
};

void PrintTo(const PortInfoCase& c, std::ostream* out) {
    *out << c.name;
}

const PortInfoCase kPortInfoCases[] = {
    {"cp2102_by_ids",
     {{"DEVNAME", "/dev/ttyUSB0"},
      {"ID_VENDOR_ID", "10c4"},
      {"ID_MODEL_ID", "ea60"},
      {"ID_VENDOR", "Silicon Labs"},
      {"ID_MODEL", "CP2102 USB to UART Bridge Controller"},
      {"ID_SERIAL_SHORT", "0001"},
      {"ID_USB_DRIVER", "cp210x"}},
     serialPortInfo::eKind_ScannerAdapter,
     "Silicon Labs CP2102 USB to UART Bridge Controller (scanner adapter)",
     false},
    {"maker_string_differs",
     {{"DEVNAME", "/dev/ttyUSB2"}, {"ID_VENDOR_ID", "10c4"}, {"ID_MODEL_ID", "ea60"}, {"ID_VENDOR", "ACME"}},
     serialPortInfo::eKind_ScannerAdapter,
     "ACME (scanner adapter)",
     false},
    {"product_repeats_maker",
     {{"DEVNAME", "/dev/ttyUSB0"},
      {"ID_VENDOR_ID", "10c4"},
      {"ID_MODEL_ID", "ea60"},
      {"ID_VENDOR", "Silicon Labs"},
      {"ID_MODEL", "Silicon Labs CP2104"}},
     serialPortInfo::eKind_ScannerAdapter,
     "Silicon Labs CP2104 (scanner adapter)",
     false},
    {"another_cp210x_by_driver",
     {{"DEVNAME", "/dev/ttyUSB0"},
      {"ID_VENDOR_ID", "10c4"},
      {"ID_MODEL_ID", "ea70"},
      {"ID_USB_DRIVER", "cp210x"}},
     serialPortInfo::eKind_ScannerAdapter,
     "Silicon Labs CP210x (scanner adapter)",
     false},
    {"adapter_by_stable_name",
     {{"DEVNAME", "/dev/ttyUSB0"},
      {"DEVLINKS", "/dev/serial/by-path/pci-0:1 /dev/serial/by-id/usb-Silicon_Labs_CP2102-if00-port0"}},
     serialPortInfo::eKind_ScannerAdapter,
     "Silicon Labs CP210x (scanner adapter)",
     false},
    {"ftdi_adapter",
     {{"DEVNAME", "/dev/ttyUSB1"},
      {"ID_VENDOR_ID", "0403"},
      {"ID_MODEL_ID", "6001"},
      {"ID_VENDOR", "FTDI"},
      {"ID_MODEL", "FT232R USB UART"}},
     serialPortInfo::eKind_Other,
     "FTDI FT232R USB UART (USB 0403:6001)",
     false},
    {"bluetooth_link",
     {{"DEVNAME", "/dev/rfcomm0"}},
     serialPortInfo::eKind_Bluetooth,
     "Bluetooth serial port",
     false},
    {"builtin_uart",
     {{"DEVNAME", "/dev/ttyS0"}, {"SERIAL_UART_TYPE", "4"}},
     serialPortInfo::eKind_Other,
     "serial port",
     false},
    {"absent_builtin_uart",
     {{"DEVNAME", "/dev/ttyS5"}, {"SERIAL_UART_TYPE", "0"}},
     serialPortInfo::eKind_Other,
     "serial port",
     true},
    {"control_characters_in_strings",
     {{"DEVNAME", "/dev/ttyACM0"},
      {"ID_VENDOR_ID", "2341"},
      {"ID_MODEL_ID", "0043"},
      {"ID_VENDOR", " Ard\nuino "}},
     serialPortInfo::eKind_Other,
     "Ard uino (USB 2341:0043)",
     false},
};

class PortInfoTest : public ::testing::TestWithParam<PortInfoCase> {};

} // namespace

TEST_P(PortInfoTest, WhatThePropertiesSayThePortIs) {
    const PortInfoCase& c = GetParam();
    serialPortInfo port = serialPortInfo::FromProperties(c.properties);
    EXPECT_EQ(port.Path(), c.properties.at("DEVNAME"));
    EXPECT_EQ(port.Kind(), c.kind);
    EXPECT_EQ(port.Description(), c.description);
    EXPECT_EQ(port.IsAbsentUart(), c.absent);
}

INSTANTIATE_TEST_SUITE_P(Properties, PortInfoTest, ::testing::ValuesIn(kPortInfoCases), CaseName());

namespace {

// A /sys and /dev of a machine with a CP2102 on USB, a Bluetooth link, a real and an absent
// built-in UART, a virtual console and a pseudo-terminal, in a temporary folder.
class FakeSystem {
  public:
    FakeSystem() {
        std::string usb = "devices/pci0000:00/0000:00:14.0/usb1/1-2";
        fFolder.write("sys/" + usb + "/idVendor", "10c4\n");
        fFolder.write("sys/" + usb + "/idProduct", "ea60\n");
        fFolder.write("sys/" + usb + "/manufacturer", "Silicon Labs\n");
        fFolder.write("sys/" + usb + "/product", "CP2102 USB to UART Bridge Controller\n");
        fFolder.write("sys/" + usb + "/serial", "0001\n");
        std::string port = usb + "/1-2:1.0/ttyUSB0";
        fFolder.write("sys/" + port + "/uevent", "");
        fFolder.write("sys/bus/usb-serial/drivers/cp210x/uevent", "");
        link("../../../../../../../bus/usb-serial/drivers/cp210x", "sys/" + port + "/driver");
        tty("ttyUSB0", port);
        fFolder.write("sys/devices/pnp0/00:00/uevent", "");
        tty("ttyS0", "devices/pnp0/00:00");
        fFolder.write("sys/class/tty/ttyS0/type", "4\n");
        tty("ttyS1", "devices/pnp0/00:00");
        fFolder.write("sys/class/tty/ttyS1/type", "0\n");
        tty("rfcomm0", "");
        tty("tty1", "");
        tty("ptmx", "");
        link("../../ttyUSB0",
             "dev/serial/by-id/usb-Silicon_Labs_CP2102_USB_to_UART_Bridge_Controller_0001-if00-port0");
    }
    std::string sys() { return fFolder.file("sys"); }
    std::string dev() { return fFolder.file("dev"); }

  private:
    // sys/class/tty/NAME with its device link to sys/DEVICE (none when empty), and dev/NAME.
    void tty(const std::string& name, const std::string& device) {
        fFolder.write("sys/class/tty/" + name + "/dev", "1:1\n");
        fFolder.write("dev/" + name, "");
        if (!device.empty())
            link("../../../" + device, "sys/class/tty/" + name + "/device");
    }
    void link(const std::string& target, const std::string& name) {
        ASSERT_EQ(symlink(target.c_str(), fFolder.file(name).c_str()), 0) << name;
    }
    TemporaryFolder fFolder;
};

} // namespace

TEST(PortDiscovery, FromSysfsAloneEveryRealSerialPortWithItsDetails) {
    FakeSystem system;
    std::vector<serialPortInfo> ports = serialPortEnumerator::PortsFromSysfs(system.sys(), system.dev());
    std::vector<std::string> labels;
    for (const serialPortInfo& port : ports)
        labels.push_back(port.Label());
    EXPECT_EQ(
        labels,
        (std::vector<std::string>{
            "/dev/rfcomm0 \u2014 Bluetooth serial port", "/dev/ttyS0 \u2014 serial port",
            "/dev/ttyUSB0 \u2014 Silicon Labs CP2102 USB to UART Bridge Controller (scanner adapter)"}));
    ASSERT_EQ(ports.size(), 3u);
    EXPECT_EQ(ports[2].StablePath(),
              "/dev/serial/by-id/usb-Silicon_Labs_CP2102_USB_to_UART_Bridge_Controller_0001-if00-port0");
    EXPECT_EQ(ports[2].SerialNumber(), "0001");
    EXPECT_EQ(ports[2].Driver(), "cp210x");
}

// On this machine: whatever the system has, through udev or /sys, is a device file with a path.
TEST(PortDiscovery, SystemPortsAreDeviceFiles) {
    for (const serialPortInfo& port : serialPortEnumerator::SystemPorts()) {
        EXPECT_EQ(port.Path().compare(0, 5, "/dev/"), 0) << port.Path();
        EXPECT_TRUE(fileExists(port.Path())) << port.Path();
        EXPECT_FALSE(port.IsAbsentUart()) << port.Path();
    }
}
