// vesk-cli magstripe FILE
//   Filters one magnetic-stripe capture into admFilteredData.csv in the current directory.
// vesk-cli selftest [--port-only] [PORT]
//   The console self-test of a serial port (--port-only) or of a scanner on it.
//
// Both report every step through the message log, whose lines reach standard error.
#include "CliCommands.h"

#include "ConsolePrompt.h"
#include "MagStripeTestReader.h"
#include "pdxProDevice.h"
#include "serialRS232Manager.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const char kMagstripeUsage[] = "usage: vesk-cli magstripe FILE\n";
const char kSelftestUsage[] = "usage: vesk-cli selftest [--port-only] [PORT]\n";

// The named port, else the first one that discovery finds (VESK_SERIAL_PORTS adds ports).
std::string choosePortPath(const std::string& named) {
    if (!named.empty())
        return named;
    serialRS232Manager manager;
    const std::vector<pdxProDevice*>& ports = manager.FindScannerPorts();
    if (ports.empty())
        return std::string();
    return ports.front()->GetBsdPathName();
}

} // namespace

int cliMagstripe(int argc, char** argv) {
    if (argc != 1 || std::strncmp(argv[0], "--", 2) == 0) {
        fprintf(stderr, "vesk-cli magstripe: expected one capture FILE\n%s", kMagstripeUsage);
        return 2;
    }
    short code = ReadTestMagStripeData(argv[0]);
    if (code == eMagStripeResult_SourceUnreadable || code == eMagStripeResult_SourceTooLarge ||
        code == eMagStripeResult_OutputNotWritten) {
        fprintf(stderr, "vesk-cli magstripe: %s: %s; %s is not written\n", argv[0], magStripeResultText(code),
                kMagStripeOutputFileName);
        return 1;
    }
    printf("%s: result %d (%s), written to %s\n", argv[0], code, magStripeResultText(code),
           kMagStripeOutputFileName);
    return code == eMagStripeResult_Success ? 0 : 1;
}

int cliSelftest(int argc, char** argv) {
    bool portOnly = false;
    std::string named;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--port-only") == 0) {
            portOnly = true;
            continue;
        }
        if (std::strncmp(argv[i], "--", 2) == 0 || !named.empty()) {
            fprintf(stderr, "vesk-cli selftest: unexpected argument \"%s\"\n%s", argv[i], kSelftestUsage);
            return 2;
        }
        named = argv[i];
    }
    std::string port = choosePortPath(named);
    if (port.empty()) {
        fprintf(stderr, "vesk-cli selftest: no serial port found; name a PORT or list ports in "
                        "VESK_SERIAL_PORTS\n");
        return 1;
    }

    std::unique_ptr<serialRS232Device> device;
    std::string question;
    if (portOnly) {
        device = std::make_unique<serialRS232Device>();
        question = "Send the version request \"VERS\" five times on " + port + " and log the replies? (y/n) ";
    } else {
        device = std::make_unique<pdxProDevice>();
        question =
            "Run the scanner self-test on " + port +
            "? It puts the scanner in remote mode and copies form 1 into <unit ID>BarcodeDataSource.txt "
            "in the current folder; the scanner keeps its scans. (y/n) ";
    }
    if (!device->SetBsdPathName(port.c_str())) {
        fprintf(stderr, "vesk-cli selftest: the port path %s is not usable\n", port.c_str());
        return 1;
    }
    if (!doPromptToContinue(question.c_str())) {
        fprintf(stderr, "vesk-cli selftest: nothing was run\n");
        return 1;
    }
    bool passed = device->DoDebugTest();
    device->CloseSerialPort();
    if (!passed) {
        fprintf(stderr, "vesk-cli selftest: the %s self-test on %s did not pass; the log above says why\n",
                portOnly ? "port" : "scanner", port.c_str());
        return 1;
    }
    printf("the %s self-test on %s ran to its end\n", portOnly ? "port" : "scanner", port.c_str());
    return 0;
}
