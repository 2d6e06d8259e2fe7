#include "serialRS232Manager.h"

#include "MessageLog.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <set>

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

std::vector<std::string> sortedEntries(const char* folder) {
    std::vector<std::string> names;
    DIR* directory = opendir(folder);
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

// A tty of /sys/class/tty that stands for hardware (it has a device link) or a Bluetooth
// serial link (rfcomm), as opposed to the consoles and pseudo-terminals.
bool isSerialHardware(const std::string& name) {
    if (name.compare(0, 6, "rfcomm") == 0)
        return true;
    std::string link = "/sys/class/tty/" + name + "/device";
    struct stat info;
    return lstat(link.c_str(), &info) == 0;
}

} // namespace

serialRS232Manager::serialRS232Manager() = default;

const std::vector<pdxProDevice*>& serialRS232Manager::FindScannerPorts() {
    FindModems();
    GetModemPath();
    FindDefaultPortList();
    return fRS232FinalList;
}

std::vector<std::string> serialRS232Manager::EnumerateSystemSerialPaths() {
    std::vector<std::string> paths;
    std::set<std::string> covered;
    // The stable names first: they carry the adapter's maker and model.
    for (const std::string& name : sortedEntries("/dev/serial/by-id")) {
        std::string path = "/dev/serial/by-id/" + name;
        std::string target = resolvedPath(path);
        if (target.empty())
            continue;
        paths.push_back(path);
        covered.insert(target);
    }
    for (const std::string& name : sortedEntries("/sys/class/tty")) {
        if (!isSerialHardware(name))
            continue;
        std::string path = "/dev/" + name;
        if (covered.count(path) != 0 || access(path.c_str(), F_OK) != 0)
            continue;
        paths.push_back(path);
    }
    return paths;
}

int serialRS232Manager::FindSerialDevices(const char* serialStreamType) {
    myPrintfDebug(myFormat("serialRS232Manager::FindSerialDevices => [%s]\n",
                           serialStreamType ? serialStreamType : ""));
    fSerialPortIterator = EnumerateSystemSerialPaths();
    const char* extra = std::getenv("VESK_SERIAL_PORTS");
    if (extra == nullptr)
        return 0;
    std::string list = extra;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(':', start);
        if (end == std::string::npos)
            end = list.size();
        if (end > start)
            fSerialPortIterator.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return 0;
}

int serialRS232Manager::FindModems() {
    return FindSerialDevices("IOSerialStream");
}

void serialRS232Manager::GetModemPath() {
    std::vector<std::string> paths;
    paths.swap(fSerialPortIterator);
    AddDevicesFromPaths(paths);
}

void serialRS232Manager::AddDevicesFromPaths(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        if (path.size() >= serialRS232Device::kPathSize) {
            myPrintf(myFormat("Found Device with UNKNOWN BSD path: %.80s... (%zu bytes, too long)\n",
                              path.c_str(), path.size()));
            continue;
        }
        myPrintfDebug(myFormat("Found A Device with BSD path: %s\n", path.c_str()));
        myPrintfDebug(myFormat("===>> ADDING to VALID LIST, the BSD path: %s\n", path.c_str()));
        if (!CheckIfValidRS232DeviceNames(path.c_str())) {
            myPrintfDebug(
                myFormat("\nUNABLE to find suitable service for device found at\n[%s]\n\n", path.c_str()));
            continue;
        }
        pdxProDevice* device = createDevice();
        device->SetBsdPathName(path.c_str());
        fRS232DevicesFound.push_back(device);
    }
}

void serialRS232Manager::FindDefaultPortList() {
    myPrintfDebug("serialRS232Manager::FindDefaultPortList\n");
    myPrintfDebug(myFormat("serialRS232Manager::FindDefaultPortList => Total Names = %i\n",
                           static_cast<int>(fRS232DevicesFound.size())));
    fRS232FinalList.clear();
    for (pdxProDevice* device : fRS232DevicesFound) {
        const char* path = device->GetBsdPathName();
        if (IsAdapterPortPath(path)) {
            myPrintf(myFormat("INSERTing to TOP of list -> [%s]\n", path));
            fRS232FinalList.insert(fRS232FinalList.begin(), device);
            continue;
        }
        if (IsBluetoothPortPath(path)) {
            myPrintfDebug(myFormat("Appending to end of list -> [%s]\n", path));
            fRS232FinalList.push_back(device);
            continue;
        }
        myPrintf(myFormat("Did NOT Add the UNKNOWN Name to list -> [%s]\n", path));
    }
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
