// The serial ports through which a scanner can be reached, one pdxProDevice per suitable port,
// ordered for use: adapter ports first (the last found first), then Bluetooth ports in order.
//
// One search: construct, FindScannerPorts (which runs FindModems, GetModemPath and
// FindDefaultPortList), then take the front of the list it returns when the list is not empty.
// The scanner objects live until the process ends, also after the manager that found them is
// deleted.
#pragma once

#include "pdxProDevice.h"

#include <string>
#include <vector>

class serialRS232Manager {
  public:
    serialRS232Manager();

    // The whole search: FindModems, GetModemPath, FindDefaultPortList. Returns the final list.
    const std::vector<pdxProDevice*>& FindScannerPorts();

    // Enumerates the system's serial devices (/dev/serial/by-id and /sys/class/tty), then adds
    // the colon-separated device paths of VESK_SERIAL_PORTS. Always 0.
    int FindSerialDevices(const char* serialStreamType);
    int FindModems();
    // Creates a scanner object for each path found that passes the name tests.
    void GetModemPath();
    // The same for a given list of paths, in the order given (what GetModemPath uses).
    void AddDevicesFromPaths(const std::vector<std::string>& paths);
    void FindDefaultPortList();

    const std::vector<pdxProDevice*>& GetCFArrayOfRS32DevicesFound() const { return fRS232DevicesFound; }
    const std::vector<pdxProDevice*>& GetCFArrayOfRS32FinalList() const { return fRS232FinalList; }

    // The USB-serial adapter: "SLAB_USBtoUART", or "Silicon_Labs" as Linux names it under
    // /dev/serial/by-id. Case-insensitive, anywhere in the path.
    static bool IsAdapterPortPath(const char* path);
    // The Bluetooth serial port: "Bluetooth-PDA-Sync", or "rfcomm" as Linux names it. The one
    // rule for which port is Bluetooth: the order of the final list, and the logo and wording
    // the application shows for the chosen port.
    static bool IsBluetoothPortPath(const char* path);
    static bool CheckIfValidRS232DeviceNames(const char* path);
    // False when either is null; otherwise whether part occurs in text, ignoring case.
    static bool CheckIfSubStringExists(const char* text, const char* part);

    // The device paths that the system's enumeration reports (without VESK_SERIAL_PORTS).
    static std::vector<std::string> EnumerateSystemSerialPaths();

  private:
    std::vector<std::string> fSerialPortIterator;
    std::vector<pdxProDevice*> fRS232DevicesFound;
    std::vector<pdxProDevice*> fRS232FinalList;
};
