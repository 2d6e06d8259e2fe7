// vesk-cli scanner [PORT] info|download FOLDER|erase UNIT_ID [--yes] [--verbose]
// vesk-cli scanner ports
//
// Runs the scanner steps of a job from a terminal: the connection check, the download of the
// stored scans into FOLDER/BarcodeDataSource.txt, and the erase of a named scanner. Without
// PORT the first port that discovery finds is used (VESK_SERIAL_PORTS adds ports); a PORT given
// is used as given, whatever its name. A port that does not open says why (not allowed, in use,
// gone). "ports" lists every serial port with what it is, in the order of use.
#include "CliCommands.h"

#include "MacRoman.h"
#include "MessageLog.h"
#include "pdxProDevice.h"
#include "serialRS232Manager.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

// Where the user's messages go: standard error as it was before the log's copy was silenced.
FILE* gUserErrors = stderr;

// The messages meant for the message area go to standard error; the debug lines of the log
// only with --verbose.
class StderrSink : public MessageSink {
  public:
    explicit StderrSink(int descriptor) : fDescriptor(descriptor) {}
    void outputError(std::string text) override {
        while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
            text.pop_back();
        text = macRomanToUtf8(text) + '\n';
        if (write(fDescriptor, text.data(), text.size()) < 0)
            return;
    }

  private:
    int fDescriptor;
};

int scannerUsage() {
    fprintf(stderr, "usage: vesk-cli scanner [PORT] info|download FOLDER|erase UNIT_ID [--yes] [--verbose]\n"
                    "       vesk-cli scanner ports\n");
    return 2;
}

bool isVerb(const std::string& word) {
    return word == "info" || word == "download" || word == "erase" || word == "ports";
}

// Every serial port, one line each: the scanner's candidates first, in the order of use.
int runPorts() {
    serialRS232Manager manager;
    manager.FindScannerPorts();
    std::vector<serialRS232Manager::Port> ports = manager.GetAllPorts();
    if (ports.empty()) {
        fprintf(gUserErrors, "vesk-cli: no serial port found\n");
        return 1;
    }
    for (const serialRS232Manager::Port& port : ports)
        printf("%s%s\n", port.info.Label().c_str(), port.named ? " (named in VESK_SERIAL_PORTS)" : "");
    return 0;
}

// Opens the port ahead of the scanner's own steps (which keep it open); false after saying why
// it did not open.
bool openPort(pdxProDevice& device) {
    if (device.OpenSerialPort() >= 0)
        return true;
    fprintf(gUserErrors, "vesk-cli: %s\n", device.OpenFailureSentence().c_str());
    return false;
}

pdxProDevice* choosePort(const std::string& port, std::unique_ptr<pdxProDevice>& named) {
    if (!port.empty()) {
        named = std::make_unique<pdxProDevice>();
        if (!named->SetBsdPathName(port.c_str()))
            return nullptr;
        return named.get();
    }
    serialRS232Manager manager;
    const std::vector<pdxProDevice*>& ports = manager.FindScannerPorts();
    if (ports.empty()) {
        fprintf(gUserErrors,
                "vesk-cli: no scanner port found; name a PORT or list ports in VESK_SERIAL_PORTS\n");
        return nullptr;
    }
    return ports.front();
}

void printIdentity(pdxProDevice& device) {
    const pdxProDevice::pdxSystemInfoFormRecord& form = device.fSystemInfoFormRecord[1];
    printf("port: %s\n", device.GetBsdPathName());
    printf("model: %s\n", device.fModelName);
    printf("unit ID: %s\n", device.fUnitID);
    printf("date mode: %s\n", device.fDateMode);
    printf("form 1: %ld records of %ld fields\n", form.ReportedCountOfRecords,
           form.ReportedCountOfFieldsPerRecord);
}

bool connect(pdxProDevice& device) {
    if (!openPort(device))
        return false;
    if (device.MakeConnection())
        return true;
    fprintf(gUserErrors, "vesk-cli: no scanner answered on %s\n", device.GetBsdPathName());
    return false;
}

int runInfo(pdxProDevice& device) {
    if (!connect(device))
        return 1;
    printIdentity(device);
    return 0;
}

int runDownload(pdxProDevice& device, std::string folder) {
    if (folder.empty() || access(folder.c_str(), W_OK) != 0) {
        fprintf(gUserErrors, "vesk-cli: %s is not a writable folder\n", folder.c_str());
        return 1;
    }
    if (folder.back() != '/')
        folder += '/';
    if (!device.SetWorkingPathCString(folder.c_str()))
        return 1;
    if (!connect(device))
        return 1;
    std::string unitID = device.fUnitID;
    printIdentity(device);
    if (!device.DownloadDataFromDevice(unitID.c_str())) {
        fprintf(gUserErrors,
                "vesk-cli: the download failed; %s%s is unchanged and the scans are still on the scanner\n",
                folder.c_str(), kBarcodeDataFileName);
        return 1;
    }
    printf("downloaded %i scans into %s%s\n", device.fSystemInfoFormRecord[1].CountOfRecords, folder.c_str(),
           kBarcodeDataFileName);
    return 0;
}

int runErase(pdxProDevice& device, const std::string& unitID, bool confirmed) {
    if (unitID.empty()) {
        fprintf(gUserErrors, "vesk-cli: erase needs the scanner's UNIT_ID (see \"vesk-cli scanner info\")\n");
        return 2;
    }
    if (!confirmed) {
        fprintf(gUserErrors, "Erase every scan stored in scanner %s on %s? This cannot be undone. Type yes: ",
                unitID.c_str(), device.GetBsdPathName());
        std::string answer;
        if (!std::getline(std::cin, answer) || answer != "yes") {
            fprintf(gUserErrors, "vesk-cli: nothing was erased\n");
            return 1;
        }
    }
    if (!openPort(device))
        return 1;
    if (!device.DeleteData(unitID.c_str())) {
        fprintf(
            gUserErrors,
            "vesk-cli: the erase failed or could not be confirmed; the scanner may still hold its scans\n");
        return 1;
    }
    printf("scanner %s is empty\n", unitID.c_str());
    return 0;
}

} // namespace

int cliScanner(int argc, char** argv) {
    std::vector<std::string> words;
    bool confirmed = false, verbose = false;
    for (int i = 0; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--yes")
            confirmed = true;
        else if (arg == "--verbose")
            verbose = true;
        else
            words.push_back(arg);
    }
    std::string port;
    if (!words.empty() && !isVerb(words[0])) {
        port = words[0];
        words.erase(words.begin());
    }
    if (words.empty() || !isVerb(words[0]))
        return scannerUsage();
    const std::string verb = words[0];
    const std::string argument = words.size() > 1 ? words[1] : std::string();
    bool alone = verb == "info" || verb == "ports";
    if ((!alone && words.size() != 2) || (alone && words.size() != 1) || (verb == "ports" && !port.empty()))
        return scannerUsage();

    // The log's copy of every line goes to standard error; keep it for --verbose only.
    int messages = dup(STDERR_FILENO);
    if (!verbose) {
        int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDERR_FILENO);
            close(null);
        }
    }
    StderrSink sink(messages);
    setDefaultMessageSink(&sink);
    FILE* userErrors = fdopen(dup(messages), "w");
    if (userErrors) {
        setvbuf(userErrors, nullptr, _IONBF, 0);
        gUserErrors = userErrors;
    }

    std::unique_ptr<pdxProDevice> named;
    int status = 1;
    if (verb == "ports")
        status = runPorts();
    else if (pdxProDevice* device = choosePort(port, named)) {
        if (verb == "info")
            status = runInfo(*device);
        else if (verb == "download")
            status = runDownload(*device, argument);
        else
            status = runErase(*device, argument, confirmed);
    }
    fflush(stdout);
    setDefaultMessageSink(nullptr);
    if (userErrors) {
        gUserErrors = stderr;
        fclose(userErrors);
    }
    close(messages);
    return status;
}
