// The serial ports the system has: every tty that stands for hardware (a device behind it) or a
// Bluetooth serial link (rfcomm), without the consoles, the pseudo-terminals and the built-in
// UARTs whose chip is absent. Through libudev where the build has it; from /sys and /dev alone
// otherwise, or when udev cannot be reached. Both fill the same property table per port, which
// serialPortInfo::FromProperties reads.
#pragma once

#include "serialPortInfo.h"

#include <optional>
#include <string>
#include <vector>

class serialPortEnumerator {
  public:
    // The ports, ordered by their device names. udev first, /sys when udev gives no answer.
    static std::vector<serialPortInfo> SystemPorts();

    // The same from the files alone: sysRoot/class/tty, the device folders it leads to, the
    // device nodes under devRoot and the links of devRoot/serial/by-id. Tests pass a tree of
    // their own.
    static std::vector<serialPortInfo> PortsFromSysfs(const std::string& sysRoot = "/sys",
                                                      const std::string& devRoot = "/dev");

    // Through libudev; none when the build has no libudev or udev cannot enumerate.
    static std::optional<std::vector<serialPortInfo>> PortsFromUdev();
};
