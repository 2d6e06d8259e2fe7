// The serial ports through which a scanner can be reached, one pdxProDevice per port, ordered for
// use: the ports named in VESK_SERIAL_PORTS first, as given; then the scanner's adapter ports
// (the last found first); then Bluetooth ports in the order found. Other serial ports are kept
// aside for the port chooser and never chosen by themselves.
//
// A port is the scanner's adapter or a Bluetooth port by what the system says it is (USB IDs,
// driver, /dev/rfcommN; see serialPortInfo), or by its name when only a name is known.
//
// One search: construct, FindScannerPorts (which runs FindModems, GetModemPath and
// FindDefaultPortList), then take the front of the list it returns when the list is not empty.
// The scanner objects live until the process ends, also after the manager that found them is
// deleted.
#pragma once

#include "pdxProDevice.h"
#include "serialPortInfo.h"

#include <string>
#include <vector>

class serialRS232Manager {
  public:
    // One port found, with what the system told about it.
    struct Port {
        pdxProDevice* device = nullptr;
        serialPortInfo info;
        bool named = false; // named in VESK_SERIAL_PORTS (or by the caller): used as given
    };

    serialRS232Manager();

    // The whole search: FindModems, GetModemPath, FindDefaultPortList. Returns the final list.
    const std::vector<pdxProDevice*>& FindScannerPorts();

    // Enumerates the system's serial ports (serialPortEnumerator), then adds the colon-separated
    // device paths of VESK_SERIAL_PORTS. Always 0.
    int FindSerialDevices(const char* serialStreamType);
    int FindModems();
    // Creates a scanner object for every port the search found.
    void GetModemPath();
    // The same for ports known by their paths alone, in the order given, told apart by name.
    void AddDevicesFromPaths(const std::vector<std::string>& paths);
    // The same for ports with the system's details; named ports are used as given, whatever they
    // are. A named path that leads to a port already added takes that port's place and details.
    void AddPorts(const std::vector<serialPortInfo>& ports, bool named);
    void FindDefaultPortList();

    const std::vector<pdxProDevice*>& GetCFArrayOfRS32DevicesFound() const { return fRS232DevicesFound; }
    const std::vector<pdxProDevice*>& GetCFArrayOfRS32FinalList() const { return fRS232FinalList; }
    // Every port found, for a chooser: the final list in its order, then the other serial ports.
    std::vector<Port> GetAllPorts() const;

    // The device paths of VESK_SERIAL_PORTS, in order, empty entries left out.
    static std::vector<std::string> NamedPortPaths();

    // The USB-serial adapter by name: "SLAB_USBtoUART", or "Silicon_Labs" as Linux names it under
    // /dev/serial/by-id. Case-insensitive, anywhere in the path.
    static bool IsAdapterPortPath(const char* path);
    // The Bluetooth serial port by name: "Bluetooth-PDA-Sync", or "rfcomm" as Linux names it. The
    // one rule for which port is Bluetooth: the order of the final list, and the logo and wording
    // the application shows for the chosen port.
    static bool IsBluetoothPortPath(const char* path);
    static bool CheckIfValidRS232DeviceNames(const char* path);
    // False when either is null; otherwise whether part occurs in text, ignoring case.
    static bool CheckIfSubStringExists(const char* text, const char* part);

  private:
    std::vector<Port> fSerialPortIterator; // what the last FindSerialDevices found
    std::vector<Port> fPorts;              // every port added, in the order found
    std::vector<pdxProDevice*> fRS232DevicesFound;
    std::vector<pdxProDevice*> fRS232FinalList;
};
