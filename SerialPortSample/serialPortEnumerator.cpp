#include "serialPortEnumerator.h"

#include "MessageLog.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#ifdef VESK_HAVE_LIBUDEV
#include <libudev.h>
#endif

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <map>

namespace {

using Properties = std::map<std::string, std::string>;

std::vector<std::string> sortedEntries(const std::string& folder) {
    std::vector<std::string> names;
    DIR* directory = opendir(folder.c_str());
    if (directory == nullptr)
        return names;
    while (dirent* entry = readdir(directory)) {
        if (entry->d_name[0] != '.')
            names.push_back(entry->d_name);
    }
    closedir(directory);
    std::sort(names.begin(), names.end());
    return names;
}

std::string resolvedPath(const std::string& path) {
    char buffer[PATH_MAX] = {0};
    if (realpath(path.c_str(), buffer) == nullptr)
        return std::string();
    return buffer;
}

bool exists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

// The first line of a sysfs attribute file; empty when there is none.
std::string attribute(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

std::string baseName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isBluetoothLinkName(const std::string& name) {
    return name.compare(0, 6, "rfcomm") == 0;
}

// The stable links of devRoot/serial/by-id, by the device node they lead to.
std::map<std::string, std::string> serialByIdLinks(const std::string& devRoot) {
    std::map<std::string, std::string> links;
    std::string folder = devRoot + "/serial/by-id";
    for (const std::string& name : sortedEntries(folder)) {
        std::string target = resolvedPath(folder + "/" + name);
        if (!target.empty() && links.count(target) == 0)
            links[target] = "/dev/serial/by-id/" + name;
    }
    return links;
}

// The USB device folder above a tty's device folder: the first that holds idVendor.
std::string usbDeviceFolder(const std::string& deviceFolder, const std::string& sysRoot) {
    std::string folder = deviceFolder;
    const std::string top = resolvedPath(sysRoot);
    while (!folder.empty() && folder != top && folder != "/") {
        if (exists(folder + "/idVendor"))
            return folder;
        folder = folder.substr(0, folder.find_last_of('/'));
    }
    return std::string();
}

void addUsbAttributes(Properties& properties, const std::string& usbFolder) {
    properties[serialPortInfo::kVendorID] = attribute(usbFolder + "/idVendor");
    properties[serialPortInfo::kProductID] = attribute(usbFolder + "/idProduct");
    properties[serialPortInfo::kVendor] = attribute(usbFolder + "/manufacturer");
    properties[serialPortInfo::kProduct] = attribute(usbFolder + "/product");
    properties[serialPortInfo::kSerial] = attribute(usbFolder + "/serial");
}

// The device node as a program opens it: under /dev, whatever devRoot the files came from.
std::string systemNode(const std::string& name) {
    return "/dev/" + name;
}

} // namespace

std::vector<serialPortInfo> serialPortEnumerator::SystemPorts() {
    std::optional<std::vector<serialPortInfo>> fromUdev = PortsFromUdev();
    if (fromUdev)
        return *fromUdev;
    myPrintfDebug("serialPortEnumerator: udev is not available; the serial ports are read from /sys\n");
    return PortsFromSysfs();
}

std::vector<serialPortInfo> serialPortEnumerator::PortsFromSysfs(const std::string& sysRoot,
                                                                 const std::string& devRoot) {
    std::vector<serialPortInfo> ports;
    const std::map<std::string, std::string> stableLinks = serialByIdLinks(devRoot);
    const std::string classFolder = sysRoot + "/class/tty";
    for (const std::string& name : sortedEntries(classFolder)) {
        const std::string ttyFolder = classFolder + "/" + name;
        const bool hardware = exists(ttyFolder + "/device");
        if (!hardware && !isBluetoothLinkName(name))
            continue;
        const std::string node = devRoot + "/" + name;
        if (!exists(node))
            continue;
        Properties properties;
        properties[serialPortInfo::kDeviceNode] = systemNode(name);
        auto link = stableLinks.find(resolvedPath(node));
        if (link != stableLinks.end())
            properties[serialPortInfo::kDeviceLinks] = link->second;
        if (exists(ttyFolder + "/type"))
            properties[serialPortInfo::kUartType] = attribute(ttyFolder + "/type");
        if (hardware) {
            const std::string deviceFolder = resolvedPath(ttyFolder + "/device");
            properties[serialPortInfo::kDriver] = baseName(resolvedPath(deviceFolder + "/driver"));
            std::string usbFolder = usbDeviceFolder(deviceFolder, sysRoot);
            if (!usbFolder.empty())
                addUsbAttributes(properties, usbFolder);
        }
        serialPortInfo port = serialPortInfo::FromProperties(properties);
        if (!port.IsAbsentUart())
            ports.push_back(port);
    }
    return ports;
}

#ifdef VESK_HAVE_LIBUDEV

namespace {

std::string text(const char* value) {
    return value ? std::string(value) : std::string();
}

// One tty device as udev knows it, in the property names serialPortInfo reads; none for a tty
// that is not a serial port.
std::optional<Properties> udevProperties(udev_device* tty,
                                         const std::map<std::string, std::string>& stableLinks) {
    std::string name = text(udev_device_get_sysname(tty));
    std::string node = text(udev_device_get_devnode(tty));
    // The same test as the files': a device behind the tty, or a Bluetooth link.
    bool hardware = exists(text(udev_device_get_syspath(tty)) + "/device");
    if (node.empty() || (!hardware && !isBluetoothLinkName(name)))
        return std::nullopt;
    udev_device* parent = hardware ? udev_device_get_parent(tty) : nullptr;
    Properties properties;
    properties[serialPortInfo::kDeviceNode] = node;
    std::string links = text(udev_device_get_property_value(tty, "DEVLINKS"));
    if (links.empty()) {
        // Without udev's database (a container) the links are found on the disk.
        auto link = stableLinks.find(node);
        if (link != stableLinks.end())
            links = link->second;
    }
    properties[serialPortInfo::kDeviceLinks] = links;
    properties[serialPortInfo::kUartType] = text(udev_device_get_sysattr_value(tty, "type"));
    if (parent)
        properties[serialPortInfo::kDriver] = text(udev_device_get_driver(parent));
    udev_device* usb = udev_device_get_parent_with_subsystem_devtype(tty, "usb", "usb_device");
    if (usb) {
        properties[serialPortInfo::kVendorID] = text(udev_device_get_sysattr_value(usb, "idVendor"));
        properties[serialPortInfo::kProductID] = text(udev_device_get_sysattr_value(usb, "idProduct"));
        properties[serialPortInfo::kVendor] = text(udev_device_get_sysattr_value(usb, "manufacturer"));
        properties[serialPortInfo::kProduct] = text(udev_device_get_sysattr_value(usb, "product"));
        properties[serialPortInfo::kSerial] = text(udev_device_get_sysattr_value(usb, "serial"));
        if (properties[serialPortInfo::kVendor].empty())
            properties[serialPortInfo::kVendor] =
                text(udev_device_get_property_value(tty, "ID_VENDOR_FROM_DATABASE"));
    }
    return properties;
}

} // namespace

std::optional<std::vector<serialPortInfo>> serialPortEnumerator::PortsFromUdev() {
    udev* context = udev_new();
    if (!context)
        return std::nullopt;
    udev_enumerate* enumeration = udev_enumerate_new(context);
    if (!enumeration || udev_enumerate_add_match_subsystem(enumeration, "tty") < 0 ||
        udev_enumerate_scan_devices(enumeration) < 0) {
        if (enumeration)
            udev_enumerate_unref(enumeration);
        udev_unref(context);
        return std::nullopt;
    }
    const std::map<std::string, std::string> stableLinks = serialByIdLinks("/dev");
    std::vector<serialPortInfo> ports;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumeration)) {
        udev_device* tty = udev_device_new_from_syspath(context, udev_list_entry_get_name(entry));
        if (!tty)
            continue;
        std::optional<Properties> properties = udevProperties(tty, stableLinks);
        udev_device_unref(tty);
        if (!properties)
            continue;
        serialPortInfo port = serialPortInfo::FromProperties(*properties);
        if (!port.IsAbsentUart())
            ports.push_back(port);
    }
    udev_enumerate_unref(enumeration);
    udev_unref(context);
    std::sort(ports.begin(), ports.end(),
              [](const serialPortInfo& a, const serialPortInfo& b) { return a.Path() < b.Path(); });
    return ports;
}

#else

std::optional<std::vector<serialPortInfo>> serialPortEnumerator::PortsFromUdev() {
    return std::nullopt;
}

#endif
