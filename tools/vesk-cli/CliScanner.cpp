// vesk-cli scanner [PORT] info|download FOLDER|erase UNIT_ID [--data-file FILE] [--force] [--yes]
//                  [--verbose]
// vesk-cli scanner ports
//
// Runs the scanner steps of a job from a terminal: the connection check, the download of the
// stored scans into FOLDER/BarcodeDataSource.txt, and the erase of a named scanner, which is
// refused unless the data file holds every scan the scanner holds (or --force). Without PORT the
// first port that discovery finds is used (VESK_SERIAL_PORTS adds ports); a PORT given is used as
// given, whatever its name. A port that does not open says why (not allowed, in use, gone).
// "ports" lists every serial port with what it is, in the order of use.
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

// Exit statuses of vesk-cli scanner.
enum {
    eScannerStatus_Done = 0,
    eScannerStatus_Failed = 1,
    eScannerStatus_Usage = 2,
    eScannerStatus_EraseRefused = 3,
};

const char kScannerUsage[] =
    "usage: vesk-cli scanner [PORT] info|download FOLDER|erase UNIT_ID [--data-file FILE] [--force]\n"
    "                        [--yes] [--verbose]\n"
    "       vesk-cli scanner ports\n";

const char kScannerHelp[] =
    "\n"
    "  info             the scanner's model, unit ID, date mode and form 1's counts\n"
    "  download FOLDER  the stored scans into FOLDER/BarcodeDataSource.txt (only a whole,\n"
    "                   checked transfer replaces that file)\n"
    "  erase UNIT_ID    erases the scanner UNIT_ID, but only when the data file holds every scan\n"
    "                   it holds: the scanner's unit ID equals the file's SN= and it holds as many\n"
    "                   scans as the file has scan lines (checked in the erase's own connection,\n"
    "                   right before the erase command; a scanner without a unit ID, 177?????,\n"
    "                   by the count alone); then checks that the scanner is empty\n"
    "  --data-file FILE the data file the erase checks against (default: BarcodeDataSource.txt in\n"
    "                   the current folder)\n"
    "  --force          erase even so: shows how many scans the scanner holds and erases exactly\n"
    "                   those (refused if the scanner changed meanwhile)\n"
    "  --yes            do not ask before erasing\n"
    "  ports            every serial port with what it is, the scanner's candidates first\n"
    "\n"
    "Exit status: 0 done (after an erase: the scanner is empty), 1 failure (no scanner answered, the\n"
    "download or the erase failed, the erase could not be confirmed, or the question was not\n"
    "answered yes), 2 wrong arguments, 3 the erase was refused: the data file does not hold every\n"
    "scan of the scanner (or the scanner is not UNIT_ID), nothing was erased.\n";

int scannerUsage() {
    fputs(kScannerUsage, stderr);
    return eScannerStatus_Usage;
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
        return eScannerStatus_Failed;
    }
    for (const serialRS232Manager::Port& port : ports)
        printf("%s%s\n", port.info.Label().c_str(), port.named ? " (named in VESK_SERIAL_PORTS)" : "");
    return eScannerStatus_Done;
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

struct EraseOptions {
    std::string unitID;
    std::string dataFile = kBarcodeDataFileName;
    bool force = false;
    bool confirmed = false;
};

bool askYes(const std::string& question) {
    fprintf(gUserErrors, "%s Type yes: ", question.c_str());
    std::string answer;
    if (std::getline(std::cin, answer) && answer == "yes")
        return true;
    fprintf(gUserErrors, "vesk-cli: nothing was erased\n");
    return false;
}

int eraseStatus(const pdxEraseResult& erase, const EraseOptions& options) {
    switch (erase.outcome) {
    case ePdxEraseOutcome_Erased:
    case ePdxEraseOutcome_NothingToErase:
        printf("scanner %s is empty\n", options.unitID.c_str());
        return eScannerStatus_Done;
    case ePdxEraseOutcome_Refused:
        // Both sides in the one line the user reads, whatever the log level.
        fprintf(
            gUserErrors,
            "vesk-cli: nothing was erased. %s Download the scans first (vesk-cli scanner download FOLDER), "
            "name the file that holds them with --data-file, or erase them anyway with --force.\n",
            erase.check.explain().c_str());
        return eScannerStatus_EraseRefused;
    case ePdxEraseOutcome_NotConfirmed:
        fprintf(gUserErrors,
                "vesk-cli: the erase was sent but could not be confirmed; check the scanner before "
                "scanning again\n");
        return eScannerStatus_Failed;
    case ePdxEraseOutcome_DataRemains:
    case ePdxEraseOutcome_NoScanner:
    case ePdxEraseOutcome_NoUnitID:
        break;
    }
    fprintf(gUserErrors,
            "vesk-cli: the erase failed or could not be confirmed; the scanner may still hold its scans\n");
    return eScannerStatus_Failed;
}

int runErase(pdxProDevice& device, const EraseOptions& options) {
    if (options.unitID.empty()) {
        fprintf(gUserErrors, "vesk-cli: erase needs the scanner's UNIT_ID (see \"vesk-cli scanner info\")\n");
        return eScannerStatus_Usage;
    }
    if (!options.force) {
        if (!options.confirmed &&
            !askYes("Erase every scan stored in scanner " + options.unitID + " on " +
                    device.GetBsdPathName() + "? It is done only when " + options.dataFile +
                    " holds every one of them, and cannot be undone."))
            return eScannerStatus_Failed;
        if (!openPort(device))
            return eScannerStatus_Failed;
        return eraseStatus(
            device.DeleteDataNew(options.unitID.c_str(), pdxEraseGuard::ForDataFile(options.dataFile)),
            options);
    }

    // --force: the scanner's count first, then the erase of exactly those scans.
    if (!connect(device))
        return eScannerStatus_Failed;
    const std::string unitID = device.fUnitID;
    const long scans = device.fSystemInfoFormRecord[1].ReportedCountOfRecords;
    pdxEraseCheck check = pdxEraseGuard::ForDataFile(options.dataFile).Check(unitID, scans, options.unitID);
    fprintf(gUserErrors, "scanner %s on %s holds %ld scans. %s\n", unitID.c_str(), device.GetBsdPathName(),
            scans, check.explain().c_str());
    if (unitID != options.unitID) {
        fprintf(gUserErrors, "vesk-cli: nothing was erased: the scanner is %s, not %s\n", unitID.c_str(),
                options.unitID.c_str());
        return eScannerStatus_EraseRefused;
    }
    if (!options.confirmed &&
        !askYes(myFormat("Erase these %ld scans anyway? This cannot be undone.", scans)))
        return eScannerStatus_Failed;
    return eraseStatus(device.DeleteDataNew(options.unitID.c_str(), pdxEraseGuard::OnPurpose(unitID, scans)),
                       options);
}

} // namespace

int cliScanner(int argc, char** argv) {
    std::vector<std::string> words;
    bool verbose = false, dataFileGiven = false;
    EraseOptions erase;
    for (int i = 0; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            fputs(kScannerUsage, stdout);
            fputs(kScannerHelp, stdout);
            return eScannerStatus_Done;
        }
        if (arg == "--yes") {
            erase.confirmed = true;
        } else if (arg == "--force") {
            erase.force = true;
        } else if (arg == "--verbose") {
            verbose = true;
        } else if (arg == "--data-file" || arg.rfind("--data-file=", 0) == 0) {
            if (arg == "--data-file" && i + 1 >= argc) {
                fprintf(stderr, "vesk-cli: --data-file needs a FILE\n");
                return scannerUsage();
            }
            erase.dataFile = arg == "--data-file" ? argv[++i] : arg.substr(std::strlen("--data-file="));
            dataFileGiven = true;
        } else if (arg.rfind("--", 0) == 0) {
            fprintf(stderr, "vesk-cli: unknown option \"%s\"\n", arg.c_str());
            return scannerUsage();
        } else {
            words.push_back(arg);
        }
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
    if (verb != "erase" && (erase.force || dataFileGiven)) {
        fprintf(stderr, "vesk-cli: --force and --data-file belong to erase\n");
        return scannerUsage();
    }
    if (erase.dataFile.empty()) {
        fprintf(stderr, "vesk-cli: --data-file needs a FILE\n");
        return scannerUsage();
    }
    erase.unitID = argument;

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
            status = runErase(*device, erase);
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
