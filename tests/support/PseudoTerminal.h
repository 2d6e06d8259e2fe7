// A pseudo-terminal pair opened by a test. Its slave stands for a serial port; the test holds the
// master side and plays the scanner by hand: it sends bytes and reads what the port wrote.
#pragma once

#include <string>

namespace testsupport {

class PseudoTerminal {
  public:
    // With keepSlaveOpen the test keeps a slave descriptor of its own, so that the port's close
    // never hangs the line up (pdx-sim keeps its slave open the same way).
    explicit PseudoTerminal(bool keepSlaveOpen = false);
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool ok() const { return fMaster >= 0 && !fSlavePath.empty() && (!fKeepSlaveOpen || fSlaveKeeper >= 0); }
    int master() const { return fMaster; }
    const std::string& slavePath() const { return fSlavePath; }

    // Writes bytes to the port's side whole; false when they could not all be written.
    bool send(const std::string& bytes);
    // What the port wrote, waiting at most timeoutMs for the first byte and ending at the first
    // short silence after it.
    std::string received(int timeoutMs = 500);
    // Everything the port wrote since the terminal was opened, read until want has arrived or
    // timeoutMs pass without a byte.
    std::string readUntil(const std::string& want, int timeoutMs);

  private:
    bool fKeepSlaveOpen;
    int fMaster = -1;
    int fSlaveKeeper = -1;
    std::string fSlavePath;
    std::string fReceived;
};

} // namespace testsupport
