// One job of the real programs, end to end: a temporary workspace with a photo folder, a private
// preference store and state folder, pdx-sim as the scanner on a pseudo-terminal, and vesk-host
// launching VeskBarcode unattended on the folder. The test process is the parent of every program
// it starts and stops each of them by its process id.
#pragma once

#include "PdxSimProcess.h"
#include "TemporaryFolder.h"

#include <sys/types.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

struct HostRun {
    std::string answers;                            // VESK_ANSWERS
    std::vector<std::string> hostOptions;           // before "--", e.g. "--no-erase"
    std::map<std::string, std::string> environment; // more variables for both programs
    int timeoutSeconds = 60;                        // vesk-host --timeout
    std::string folder;                             // empty: the workspace's photo folder
};

class JobRoad {
  public:
    JobRoad();
    ~JobRoad();
    JobRoad(const JobRoad&) = delete;
    JobRoad& operator=(const JobRoad&) = delete;

    // The photo folder, ending in "/".
    const std::string& folder() const { return fFolder; }
    const std::string& root() const { return fRoot; }
    // The scanner's port as VeskBarcode finds it (a link whose name passes the port name tests).
    const std::string& scannerPort() const { return fLink; }

    // A real JPEG with its EXIF capture time ("2026:05:04 10:05:10").
    void addPhoto(const std::string& name, const std::string& exifDateTime);
    void writeFolderFile(const std::string& name, const std::string& content);
    // A user preference in the workspace's own store.
    void setPreference(const std::string& key, const std::string& value);

    // pdx-sim with these scans ("AAA1\t050426\t100000") and further options; waits until it is
    // ready. A scanner already running is stopped first.
    bool startScanner(const std::vector<std::string>& records, const std::vector<std::string>& options = {});
    void stopScanner();
    // Every byte exchanged with the current (or last) scanner, in pdx-sim's record.
    std::string scannerRecord() const;
    // True when the host side sent this command line (hex, as recorded: "02 43 45 31 03").
    bool scannerWasSent(const std::string& hexCommand) const;
    // The number of scans the running scanner holds in form 1, asked through vesk-cli; -1 when it
    // did not answer.
    int scannerRecordCount();

    // Starts vesk-host -- VeskBarcode FOLDER.
    bool startHost(const HostRun& run);
    // Waits until the host printed this event ("ok01"); false after seconds.
    bool waitForEvent(const std::string& eventID, int seconds);
    // Waits until VeskBarcode's messages hold text; false after seconds.
    bool waitForMessage(const std::string& text, int seconds);
    // A line for vesk-host's standard input ("eras", "quit"), sent to VeskBarcode as the host.
    void tellHost(const std::string& line);
    // vesk-host's exit status, or -1 when it had to be killed after seconds.
    int waitForHostExit(int seconds);
    bool hostRunning();
    // The host dies at once (SIGKILL), as a crashed Vesk-X does; the program it started stays,
    // a child of this test (which is made a subreaper for it), and is returned (-1 when none).
    pid_t killHostKeepingProgram();

    // The events the host received, in order ("ok01", "ok02", "qend").
    std::vector<std::string> events() const;
    // VeskBarcode's messages (the copy of its log on standard error).
    std::string programMessages() const;
    // A file of the photo folder; empty when it is not there.
    std::string folderFile(const std::string& name) const;
    bool folderHas(const std::string& name) const;

  private:
    pid_t spawn(const std::vector<std::string>& arguments, const std::string& outPath,
                const std::string& errPath, int inputFd,
                const std::map<std::string, std::string>& environment);
    void stopChild(pid_t& pid);
    std::map<std::string, std::string> childEnvironment(const HostRun* run) const;

    testsupport::TemporaryFolder fWorkspace{"e2e"};
    std::string fRoot;
    std::string fFolder;
    std::string fLink;
    std::string fBin;
    std::unique_ptr<testsupport::PdxSimProcess> fScanner;
    int fScannerCount = 0;
    pid_t fHost = -1;
    int fHostInput = -1;
    int fHostStatus = -1;
    std::map<std::string, std::string> fPreferences;
};

// Lines of text split at "\n" (a trailing empty line dropped).
std::vector<std::string> splitLines(const std::string& text, char separator = '\n');
