// What the system tells about one serial port: its device path and, for a USB adapter, the USB
// vendor and product IDs, maker, product and serial number. Built from a table of properties
// (udev's, or the same names read from /sys), so that the rules below work on plain data.
//
// The rules: which port is the scanner's USB adapter (Silicon Labs CP210x, 10c4:ea60, whatever the
// port is called), which is a Bluetooth serial port (/dev/rfcommN), and the one line that
// describes a port in the port chooser and in "vesk-cli scanner ports".
#pragma once

#include <map>
#include <string>

class serialPortInfo {
  public:
    enum eKind {
        eKind_ScannerAdapter, // the scanner's USB-to-serial adapter
        eKind_Bluetooth,      // a Bluetooth serial port
        eKind_Other,          // any other serial port (listed, never chosen by itself)
    };

    // Property names, as udev names them; the /sys reader fills the same ones.
    static constexpr const char* kDeviceNode = "DEVNAME";        // "/dev/ttyUSB0"
    static constexpr const char* kDeviceLinks = "DEVLINKS";      // space-separated other names
    static constexpr const char* kVendorID = "ID_VENDOR_ID";     // "10c4"
    static constexpr const char* kProductID = "ID_MODEL_ID";     // "ea60"
    static constexpr const char* kVendor = "ID_VENDOR";          // maker as the device says it
    static constexpr const char* kProduct = "ID_MODEL";          // product as the device says it
    static constexpr const char* kSerial = "ID_SERIAL_SHORT";    // the device's serial number
    static constexpr const char* kDriver = "ID_USB_DRIVER";      // "cp210x", "ftdi_sio"
    static constexpr const char* kUartType = "SERIAL_UART_TYPE"; // built-in ports: /sys type, 0 none

    // Only the path (a port named in VESK_SERIAL_PORTS or on the command line, or found by name).
    explicit serialPortInfo(std::string path = std::string());
    // A port from its properties; the path is the device node. A property table without a device
    // node gives a port with an empty path.
    static serialPortInfo FromProperties(const std::map<std::string, std::string>& properties);

    const std::string& Path() const { return fPath; }
    // Another name of the same port that survives unplugging (/dev/serial/by-id/...); may be empty.
    const std::string& StablePath() const { return fStablePath; }
    const std::string& VendorID() const { return fVendorID; }
    const std::string& ProductID() const { return fProductID; }
    const std::string& Manufacturer() const { return fManufacturer; }
    const std::string& Product() const { return fProduct; }
    const std::string& SerialNumber() const { return fSerialNumber; }
    const std::string& Driver() const { return fDriver; }

    // A built-in UART whose chip the kernel did not find (the eight-odd ttyS ports a PC reports
    // whether they exist or not).
    bool IsAbsentUart() const { return fAbsentUart; }

    // By what the device is when the system said it; by the path's name otherwise (a port from a
    // name alone, such as the macOS names or a link in VESK_SERIAL_PORTS).
    eKind Kind() const;
    // "Silicon Labs CP2102 USB to UART Bridge Controller (scanner adapter)", "Bluetooth serial
    // port", "serial port"; the path is not part of it.
    std::string Description() const;
    // "/dev/ttyUSB0 — Silicon Labs ... (scanner adapter)".
    std::string Label() const;

    // Takes the system's details for a port known only by its path (a named link that leads to a
    // port the system reported), keeping the path as named.
    void TakeDetailsFrom(const serialPortInfo& system);

  private:
    std::string fPath;
    std::string fStablePath;
    std::string fVendorID;
    std::string fProductID;
    std::string fManufacturer;
    std::string fProduct;
    std::string fSerialNumber;
    std::string fDriver;
    bool fAbsentUart = false;
};
