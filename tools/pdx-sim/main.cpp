// pdx-sim: a Zebex PDx Pro scanner in remote mode, on a pseudo-terminal, for tests, the demo and
// anyone without a scanner. See usage() for the command line.
#include "PdxSimulator.h"

#include <signal.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

volatile bool gStop = false;

void onSignal(int) {
    gStop = true;
}

int usage() {
    fprintf(
        stderr,
        "usage: pdx-sim [options]\n"
        "  --link PATH            link to the pseudo-terminal (default /tmp/pdx-sim/tty.SLAB_USBtoUART)\n"
        "  --records FILE         one scan a line: barcode TAB date TAB time [TAB more fields]\n"
        "  --unit-id ID           unit ID, 8 characters at most (default 10700001)\n"
        "  --no-unit-id           the scanner reports none (eight 0xFF bytes)\n"
        "  --model TEXT           model text (default Z-1070)\n"
        "  --date-mode C          date-format setting, one character (default 1)\n"
        "  --no-date-mode         the scanner reports none (0xFF)\n"
        "  --fields N             fields per record (default: the most of any record, else 3)\n"
        "  --report-records DIGITS, --report-fields DIGITS\n"
        "                         counts sent in the system information instead of the real ones\n"
        "  --pace instant|reply|byte  replies at once, after their wire time (default), or byte by byte\n"
        "  --baud N               line speed for the pacing (default 38400)\n"
        "  --ready-after SECONDS  ignore everything until then\n"
        "  --log FILE             record every byte both ways (lines \"host ..\", \"scanner ..\" in hex)\n"
        "  --fault KIND           handshake-enq, handshake-u, handshake-t, erase-keeps-data,\n"
        "                         bad-frame-end, or bad-checksum@N, drop-reply@N, bad-length@N,\n"
        "                         disconnect@N for upload block N (0 the header, 1.. the fields)\n");
    return 2;
}

bool parseFault(const std::string& fault, PdxSimOptions& options) {
    if (fault == "handshake-enq")
        options.handshakeFault = 1;
    else if (fault == "handshake-u")
        options.handshakeFault = 2;
    else if (fault == "handshake-t")
        options.handshakeFault = 3;
    else if (fault == "erase-keeps-data")
        options.eraseKeepsData = true;
    else if (fault == "bad-frame-end")
        options.badSystemInfoEnd = true;
    else {
        size_t at = fault.find('@');
        if (at == std::string::npos)
            return false;
        std::string kind = fault.substr(0, at);
        char* end = nullptr;
        long block = std::strtol(fault.c_str() + at + 1, &end, 10);
        if (*end != '\0' || block < 0)
            return false;
        if (kind == "bad-checksum")
            options.badChecksumBlock = block;
        else if (kind == "drop-reply")
            options.dropReplyBlock = block;
        else if (kind == "bad-length")
            options.badLengthBlock = block;
        else if (kind == "disconnect")
            options.disconnectBlock = block;
        else
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    PdxSimOptions options;
    options.linkPath = "/tmp/pdx-sim/tty.SLAB_USBtoUART";
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        const char* v = nullptr;
        if (arg == "--no-unit-id") {
            options.noUnitID = true;
            continue;
        }
        if (arg == "--no-date-mode") {
            options.dateMode = -1;
            continue;
        }
        if (arg == "--help" || arg == "-h")
            return usage();
        if (!(v = value())) {
            fprintf(stderr, "pdx-sim: %s needs a value\n", arg.c_str());
            return usage();
        }
        if (arg == "--link")
            options.linkPath = v;
        else if (arg == "--records") {
            if (!readPdxSimRecords(v, options.records)) {
                fprintf(stderr, "pdx-sim: cannot read the records file %s - %s\n", v, strerror(errno));
                return 1;
            }
        } else if (arg == "--unit-id")
            options.unitID = v;
        else if (arg == "--model")
            options.model = v;
        else if (arg == "--date-mode")
            options.dateMode = static_cast<unsigned char>(v[0]);
        else if (arg == "--fields")
            options.fieldsPerRecord = std::atoi(v);
        else if (arg == "--report-records")
            options.reportRecords = v;
        else if (arg == "--report-fields")
            options.reportFields = v;
        else if (arg == "--pace") {
            std::string pace = v;
            if (pace == "instant")
                options.pace = PdxSimPace::Instant;
            else if (pace == "reply")
                options.pace = PdxSimPace::Reply;
            else if (pace == "byte")
                options.pace = PdxSimPace::Byte;
            else
                return usage();
        } else if (arg == "--baud")
            options.baud = std::atol(v);
        else if (arg == "--ready-after")
            options.readyAfterSeconds = std::atof(v);
        else if (arg == "--log")
            options.logPath = v;
        else if (arg == "--fault") {
            if (!parseFault(v, options)) {
                fprintf(stderr, "pdx-sim: unknown fault \"%s\"\n", v);
                return usage();
            }
        } else {
            fprintf(stderr, "pdx-sim: unknown option \"%s\"\n", arg.c_str());
            return usage();
        }
    }
    if (options.baud <= 0)
        return usage();
    std::string folder = options.linkPath.substr(0, options.linkPath.rfind('/'));
    if (!folder.empty() && folder != options.linkPath)
        mkdir(folder.c_str(), 0755);

    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = onSignal;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);

    PdxSimulator simulator(options);
    if (!simulator.start())
        return 1;
    printf("pdx-sim: ready %s -> %s (%zu records)\n", options.linkPath.c_str(), simulator.slavePath().c_str(),
           options.records.size());
    fflush(stdout);
    simulator.serve(gStop);
    return 0;
}
