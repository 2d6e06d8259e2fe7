// What the job shows outside the message area: the status line, the busy indicator and the
// scanner's fields. The main window implements it (posting to the user-interface thread).
#pragma once

#include <string>
#include <vector>

// The logos of the two kinds of port, as the window's image resources name them.
inline constexpr char kBluetoothLogoImage[] = "BluetoothLogo.tiff";
inline constexpr char kUsbLogoImage[] = "UsbLogo.png";

// One entry of the port chooser: the device path and the line that describes it
// ("/dev/ttyUSB0 — Silicon Labs CP2102 (scanner adapter)").
struct SerialPortChoice {
    std::string path;
    std::string label;
};

class StatusDisplay {
  public:
    virtual ~StatusDisplay() = default;
    virtual void setStatusText(const std::string& text) = 0;
    virtual void setBusy(bool busy) = 0;
    virtual void setScannerFields(const std::string& model, const std::string& serialNumber,
                                  const std::string& portPath) = 0;
    // Shows the port's logo by its image resource name ("BluetoothLogo.tiff", "UsbLogo.png");
    // an empty name shows none.
    virtual void setSerialPortImage(const std::string& imageName) { (void)imageName; }
    // Every serial port, in the order of use, for the user to choose from; currentPath is the one
    // in use (empty: none).
    virtual void setSerialPortChoices(const std::vector<SerialPortChoice>& ports,
                                      const std::string& currentPath) {
        (void)ports;
        (void)currentPath;
    }
};
