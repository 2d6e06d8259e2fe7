// vesk-cli magstripe FILE
//   Filters one magnetic-stripe capture into admFilteredData.csv in the current directory.
// vesk-cli selftest [--port-only] [PORT]
//   The console self-test of a serial port (--port-only) or of a scanner on it.
//
// Both report every step through the message log, whose lines reach standard error.
#include "CliCommands.h"

#include "MagStripeTestReader.h"

#include <cstdio>
#include <cstring>

namespace {

const char kMagstripeUsage[] = "usage: vesk-cli magstripe FILE\n";

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

int cliSelftest(int, char**) {
    fprintf(stderr, "vesk-cli: this command is not available yet\n");
    return 2;
}
