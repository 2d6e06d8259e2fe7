#include "serialRS232Manager.h"

#include "MessageLog.h"
#include "serialPortEnumerator.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

namespace {

// Every scanner object any search created; they live until the process ends.
std::mutex gDeviceStoreLock;
std::vector<std::unique_ptr<pdxProDevice>>& deviceStore() {
    static std::vector<std::unique_ptr<pdxProDevice>> store;
    return store;
}

pdxProDevice* createDevice() {
    std::lock_guard<std::mutex> guard(gDeviceStoreLock);
    deviceStore().push_back(std::make_unique<pdxProDevice>());
    return deviceStore().back().get();
}

std::string resolvedPath(const std::string& path) {
    char buffer[PATH_MAX] = {0};
    if (realpath(path.c_str(), buffer) == nullptr)
        return std::string();
    return buffer;
}

} // namespace

serialRS232Manager::serialRS232Manager() = default;

const std::vector<pdxProDevice*>& serialRS232Manager::FindScannerPorts() {
    FindModems();
    GetModemPath();
    FindDefaultPortList();
    return fRS232FinalList;
}

std::vector<std::string> serialRS232Manager::NamedPortPaths() {
    std::vector<std::string> paths;
    const char* extra = std::getenv("VESK_SERIAL_PORTS");
    if (extra == nullptr)
        return paths;
    std::string list = extra;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(':', start);
        if (end == std::string::npos)
            end = list.size();
        if (end > start)
            paths.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return paths;
}

int serialRS232Manager::FindSerialDevices(const char* serialStreamType) {
    myPrintfDebug(myFormat("serialRS232Manager::FindSerialDevices => [%s]\n",
                           serialStreamType ? serialStreamType : ""));
    fSerialPortIterator.clear();
    for (const serialPortInfo& info : serialPortEnumerator::SystemPorts()) {
        Port port;
        port.info = info;
        fSerialPortIterator.push_back(port);
    }
    for (const std::string& path : NamedPortPaths()) {
        Port port;
        port.info = serialPortInfo(path);
        port.named = true;
        fSerialPortIterator.push_back(port);
    }
    return 0;
}

int serialRS232Manager::FindModems() {
    return FindSerialDevices("IOSerialStream");
}

void serialRS232Manager::GetModemPath() {
    std::vector<Port> found;
    found.swap(fSerialPortIterator);
    for (const Port& port : found)
        AddPorts({port.info}, port.named);
}

void serialRS232Manager::AddDevicesFromPaths(const std::vector<std::string>& paths) {
    std::vector<serialPortInfo> ports;
    for (const std::string& path : paths)
        ports.emplace_back(path);
    AddPorts(ports, false);
}

void serialRS232Manager::AddPorts(const std::vector<serialPortInfo>& ports, bool named) {
    for (serialPortInfo info : ports) {
        const std::string& path = info.Path();
        if (path.size() >= serialRS232Device::kPathSize) {
            myPrintf(myFormat("Found Device with UNKNOWN BSD path: %.80s... (%zu bytes, too long)\n",
                              path.c_str(), path.size()));
            continue;
        }
        myPrintfDebug(myFormat("Found A Device with BSD path: %s\n", path.c_str()));
        if (named) {
            // A named link to a port the system reported is that port: one entry, under the
            // name given, with the system's details.
            std::string target = resolvedPath(path);
            bool repeated = false;
            for (auto it = fPorts.begin(); it != fPorts.end();) {
                bool same =
                    it->info.Path() == path || (!target.empty() && resolvedPath(it->info.Path()) == target);
                if (same && it->named) {
                    repeated = true;
                    break;
                }
                if (!same) {
                    ++it;
                    continue;
                }
                info.TakeDetailsFrom(it->info);
                fRS232DevicesFound.erase(
                    std::remove(fRS232DevicesFound.begin(), fRS232DevicesFound.end(), it->device),
                    fRS232DevicesFound.end());
                it = fPorts.erase(it);
            }
            if (repeated)
                continue;
        }
        bool suitable = named || info.Kind() != serialPortInfo::eKind_Other;
        Port port;
        port.device = createDevice();
        port.device->SetBsdPathName(path.c_str());
        port.info = info;
        port.named = named;
        fPorts.push_back(port);
        if (!suitable) {
            myPrintfDebug(
                myFormat("\nUNABLE to find suitable service for device found at\n[%s]\n\n", path.c_str()));
            continue;
        }
        myPrintfDebug(myFormat("===>> ADDING to VALID LIST, the BSD path: %s (%s)\n", path.c_str(),
                               info.Description().c_str()));
        fRS232DevicesFound.push_back(port.device);
    }
}

void serialRS232Manager::FindDefaultPortList() {
    myPrintfDebug("serialRS232Manager::FindDefaultPortList\n");
    myPrintfDebug(myFormat("serialRS232Manager::FindDefaultPortList => Total Names = %i\n",
                           static_cast<int>(fRS232DevicesFound.size())));
    fRS232FinalList.clear();
    std::size_t namedCount = 0;
    for (pdxProDevice* device : fRS232DevicesFound) {
        auto port = std::find_if(fPorts.begin(), fPorts.end(),
                                 [device](const Port& candidate) { return candidate.device == device; });
        const char* path = device->GetBsdPathName();
        if (port == fPorts.end()) {
            myPrintf(myFormat("Did NOT Add the UNKNOWN Name to list -> [%s]\n", path));
            continue;
        }
        if (port->named) {
            myPrintfDebug(myFormat("Named in VESK_SERIAL_PORTS, used as given -> [%s]\n", path));
            fRS232FinalList.insert(fRS232FinalList.begin() + static_cast<long>(namedCount), device);
            ++namedCount;
            continue;
        }
        switch (port->info.Kind()) {
        case serialPortInfo::eKind_ScannerAdapter:
            myPrintf(myFormat("INSERTing to TOP of list -> [%s]\n", path));
            fRS232FinalList.insert(fRS232FinalList.begin() + static_cast<long>(namedCount), device);
            continue;
        case serialPortInfo::eKind_Bluetooth:
            myPrintfDebug(myFormat("Appending to end of list -> [%s]\n", path));
            fRS232FinalList.push_back(device);
            continue;
        case serialPortInfo::eKind_Other:
            myPrintf(myFormat("Did NOT Add the UNKNOWN Name to list -> [%s]\n", path));
            continue;
        }
    }
}

std::vector<serialRS232Manager::Port> serialRS232Manager::GetAllPorts() const {
    std::vector<Port> all;
    auto portOf = [this](const pdxProDevice* device) {
        return std::find_if(fPorts.begin(), fPorts.end(),
                            [device](const Port& candidate) { return candidate.device == device; });
    };
    for (pdxProDevice* device : fRS232FinalList) {
        auto port = portOf(device);
        if (port != fPorts.end())
            all.push_back(*port);
    }
    for (const Port& port : fPorts) {
        if (std::find(fRS232FinalList.begin(), fRS232FinalList.end(), port.device) == fRS232FinalList.end())
            all.push_back(port);
    }
    return all;
}

bool serialRS232Manager::IsAdapterPortPath(const char* path) {
    return CheckIfSubStringExists(path, "SLAB_USBtoUART") || CheckIfSubStringExists(path, "Silicon_Labs");
}

bool serialRS232Manager::IsBluetoothPortPath(const char* path) {
    return CheckIfSubStringExists(path, "Bluetooth-PDA-Sync") || CheckIfSubStringExists(path, "rfcomm");
}

bool serialRS232Manager::CheckIfValidRS232DeviceNames(const char* path) {
    return IsAdapterPortPath(path) || IsBluetoothPortPath(path);
}

bool serialRS232Manager::CheckIfSubStringExists(const char* text, const char* part) {
    if (text == nullptr || part == nullptr)
        return false;
    std::string haystack = text;
    std::string needle = part;
    auto lower = [](std::string& s) {
        for (char& c : s)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    };
    lower(haystack);
    lower(needle);
    return haystack.find(needle) != std::string::npos;
}
