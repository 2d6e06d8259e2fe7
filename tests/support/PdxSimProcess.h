// The real pdx-sim program as the scanner of a test: it serves a pseudo-terminal through a link
// in the test's folder and records every byte both ways in a file there ("host 05 ..",
// "scanner 06 .."). The test process is its parent and stops it by its process id at the end;
// a test that dies takes it along.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace testsupport {

class PdxSimProcess {
  public:
    // The link folder + linkName (folder ends in "/"), the byte record folder + recordName.
    explicit PdxSimProcess(const std::string& folder, const std::string& linkName = "tty.SLAB_USBtoUART",
                           const std::string& recordName = "pdx-sim.log");
    ~PdxSimProcess();
    PdxSimProcess(const PdxSimProcess&) = delete;
    PdxSimProcess& operator=(const PdxSimProcess&) = delete;

    // Starts pdx-sim (from $VESK_BIN) with the link, the record and these options ("--fault",
    // "bad-checksum@2", ...); true once it said it serves. A scanner already running is stopped first.
    bool start(const std::vector<std::string>& options = {});
    // The same with these scans ("1111\t121026\t101500\n..."), written to a records file beside
    // the byte record ("pdx-sim.records").
    bool startWithRecords(const std::string& records, const std::vector<std::string>& options = {});
    // Stops the scanner (SIGTERM, SIGKILL after 5 s); the link and the record stay.
    void stop();

    // The path a port opens.
    const std::string& link() const { return fLink; }
    const std::string& recordPath() const { return fRecord; }
    // The record as pdx-sim wrote it.
    std::string logText() const;
    // Every byte the host sent, in order, and every byte the scanner answered.
    std::string hostBytes() const;
    std::string scannerBytes() const;

  private:
    std::string fFolder;
    std::string fLink;
    std::string fRecord;
    pid_t fPid = -1;
};

// The bytes of one side ("host" or "scanner") in a pdx-sim record, in order.
std::string bytesInPdxSimRecord(const std::string& record, const std::string& side);

} // namespace testsupport
