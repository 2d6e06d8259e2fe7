#include "serialPortInfo.h"

#include "serialRS232Manager.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace {

// The scanner's adapter: Silicon Labs CP210x.
constexpr char kSiliconLabsVendorID[] = "10c4";
constexpr char kCP210xProductID[] = "ea60";
constexpr char kCP210xDriver[] = "cp210x";
constexpr char kSerialByIdFolder[] = "/dev/serial/by-id/";

std::string property(const std::map<std::string, std::string>& properties, const char* name) {
    auto found = properties.find(name);
    return found == properties.end() ? std::string() : found->second;
}

std::string lowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Trims blanks and makes control characters spaces: USB strings come from the device.
std::string cleaned(const std::string& text) {
    std::string result;
    for (char c : text)
        result += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    size_t first = result.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    size_t last = result.find_last_not_of(' ');
    return result.substr(first, last - first + 1);
}

bool startsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

} // namespace

serialPortInfo::serialPortInfo(std::string path) : fPath(std::move(path)) {}

serialPortInfo serialPortInfo::FromProperties(const std::map<std::string, std::string>& properties) {
    serialPortInfo port(property(properties, kDeviceNode));
    std::istringstream links(property(properties, kDeviceLinks));
    for (std::string link; links >> link;) {
        if (startsWith(link, kSerialByIdFolder)) {
            port.fStablePath = link;
            break;
        }
    }
    port.fVendorID = lowerCase(cleaned(property(properties, kVendorID)));
    port.fProductID = lowerCase(cleaned(property(properties, kProductID)));
    port.fManufacturer = cleaned(property(properties, kVendor));
    port.fProduct = cleaned(property(properties, kProduct));
    port.fSerialNumber = cleaned(property(properties, kSerial));
    port.fDriver = cleaned(property(properties, kDriver));
    port.fAbsentUart = cleaned(property(properties, kUartType)) == "0";
    return port;
}

serialPortInfo::eKind serialPortInfo::Kind() const {
    bool cp210x =
        (fVendorID == kSiliconLabsVendorID && fProductID == kCP210xProductID) || fDriver == kCP210xDriver;
    if (cp210x || serialRS232Manager::IsAdapterPortPath(fPath.c_str()) ||
        serialRS232Manager::IsAdapterPortPath(fStablePath.c_str()))
        return eKind_ScannerAdapter;
    if (serialRS232Manager::IsBluetoothPortPath(fPath.c_str()))
        return eKind_Bluetooth;
    return eKind_Other;
}

std::string serialPortInfo::Description() const {
    std::string name = fManufacturer;
    // Many products repeat their maker ("Silicon Labs CP2102 ..." under "Silicon Labs").
    if (!fProduct.empty() && lowerCase(fProduct).find(lowerCase(fManufacturer)) == 0)
        name = fProduct;
    else if (!fProduct.empty())
        name += (name.empty() ? "" : " ") + fProduct;
    switch (Kind()) {
    case eKind_ScannerAdapter:
        return (name.empty() ? std::string("Silicon Labs CP210x") : name) + " (scanner adapter)";
    case eKind_Bluetooth:
        return "Bluetooth serial port";
    case eKind_Other:
        break;
    }
    if (fVendorID.empty())
        return name.empty() ? std::string("serial port") : name;
    std::string ids = fVendorID + ":" + fProductID;
    return (name.empty() ? std::string("USB serial adapter") : name) + " (USB " + ids + ")";
}

std::string serialPortInfo::Label() const {
    return fPath + " \u2014 " + Description();
}

void serialPortInfo::TakeDetailsFrom(const serialPortInfo& system) {
    std::string path = fPath;
    *this = system;
    fPath = path;
}
