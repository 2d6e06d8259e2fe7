// pdx-sim: a Zebex PDx Pro scanner in remote mode, on a pseudo-terminal, for tests, the demo and
// anyone without a scanner. See usage() for the command line.
#include "PdxSimulator.h"

#include <getopt.h>
#include <signal.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#ifndef VESK_VERSION
#define VESK_VERSION ""
#endif

namespace {

volatile bool gStop = false;

void onSignal(int) {
    gStop = true;
}

const char kUsage[] =
    "Usage: pdx-sim [OPTIONS]\n"
    "A Zebex PDx Pro scanner in remote mode on a pseudo-terminal, behind a link named like the\n"
    "USB adapter's port, for tests, the demo and anyone without a scanner. It prints\n"
    "'pdx-sim: ready LINK -> DEVICE (N records)' once it serves, and ends on SIGTERM or SIGINT.\n"
    "\n"
    "Options:\n"
    "  --link PATH            link to the pseudo-terminal (default /tmp/pdx-sim/tty.SLAB_USBtoUART)\n"
    "  --records FILE         one scan a line: barcode TAB date TAB time [TAB more fields]\n"
    "  --unit-id ID           unit ID, 8 characters at most (default 10700001)\n"
    "  --unit-ids ID,ID,...   the unit ID of the first, second, ... remote-mode connection (the\n"
    "                         last one stays): another scanner from one connection to the next\n"
    "  --no-unit-id           the scanner reports none (eight 0xFF bytes)\n"
    "  --model TEXT           model text (default Z-1070)\n"
    "  --date-mode C          date-format setting, one character (default 1)\n"
    "  --no-date-mode         the scanner reports none (0xFF)\n"
    "  --fields N             fields per record (default: the most of any record, else 3)\n"
    "  --report-records DIGITS, --report-fields DIGITS\n"
    "                         counts sent in the system information instead of the real ones\n"
    "                         (the upload's header block keeps the real ones)\n"
    "  --late-records FILE    scans made after the download: added once the program leaves\n"
    "                         remote mode after a completed upload\n"
    "  --pace instant|reply|byte  replies at once, after their wire time (default), or byte by byte\n"
    "  --baud N               line speed for the pacing (default 38400)\n"
    "  --ready-after SECONDS  ignore everything until then\n"
    "  --log FILE             record every byte both ways (lines \"host ..\", \"scanner ..\" in hex)\n"
    "                         and what happened (\"event connection 1 unit 10700001\", \"event\n"
    "                         erase form 1 holding 3 records\", \"event late scans 2, now 5\")\n"
    "  --fault KIND           handshake-enq, handshake-u, handshake-t, erase-keeps-data,\n"
    "                         bad-frame-end, extra-block (one more block instead of the upload's\n"
    "                         final acknowledgement), mute-after-erase@N (no answer to the first N\n"
    "                         system information requests after an erase), or bad-checksum@N,\n"
    "                         drop-reply@N, bad-length@N, disconnect@N for upload block N (0 the\n"
    "                         header, 1.. the fields)\n"
    "  -h, --help             show this help and exit\n"
    "  -v, --version          show the version and exit\n"
    "\n"
    "Exit status: 0 after a stop signal, 1 when the records file or the pseudo-terminal fails,\n"
    "2 for wrong arguments.\n";

int usageError(const char* message, const char* value) {
    if (message)
        fprintf(stderr, "pdx-sim: %s%s%s%s\n", message, value ? " \"" : "", value ? value : "",
                value ? "\"" : "");
    fprintf(stderr, "Try 'pdx-sim --help' for more information.\n");
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
    else if (fault == "extra-block")
        options.extraBlock = true;
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
        else if (kind == "mute-after-erase")
            options.muteAfterErase = block;
        else
            return false;
    }
    return true;
}

enum eOption {
    eOption_Link = 256,
    eOption_Records,
    eOption_UnitID,
    eOption_UnitIDs,
    eOption_NoUnitID,
    eOption_Model,
    eOption_DateMode,
    eOption_NoDateMode,
    eOption_Fields,
    eOption_ReportRecords,
    eOption_ReportFields,
    eOption_LateRecords,
    eOption_Pace,
    eOption_Baud,
    eOption_ReadyAfter,
    eOption_Log,
    eOption_Fault,
};

const struct option kOptions[] = {
    {"link", required_argument, nullptr, eOption_Link},
    {"records", required_argument, nullptr, eOption_Records},
    {"unit-id", required_argument, nullptr, eOption_UnitID},
    {"unit-ids", required_argument, nullptr, eOption_UnitIDs},
    {"no-unit-id", no_argument, nullptr, eOption_NoUnitID},
    {"model", required_argument, nullptr, eOption_Model},
    {"date-mode", required_argument, nullptr, eOption_DateMode},
    {"no-date-mode", no_argument, nullptr, eOption_NoDateMode},
    {"fields", required_argument, nullptr, eOption_Fields},
    {"report-records", required_argument, nullptr, eOption_ReportRecords},
    {"report-fields", required_argument, nullptr, eOption_ReportFields},
    {"late-records", required_argument, nullptr, eOption_LateRecords},
    {"pace", required_argument, nullptr, eOption_Pace},
    {"baud", required_argument, nullptr, eOption_Baud},
    {"ready-after", required_argument, nullptr, eOption_ReadyAfter},
    {"log", required_argument, nullptr, eOption_Log},
    {"fault", required_argument, nullptr, eOption_Fault},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'v'},
    {nullptr, 0, nullptr, 0},
};

// A whole number in [low, high] from text, or false.
bool parseNumber(const char* text, long low, long high, long& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && value >= low && value <= high;
}

} // namespace

int main(int argc, char** argv) {
    PdxSimOptions options;
    options.linkPath = "/tmp/pdx-sim/tty.SLAB_USBtoUART";
    opterr = 0;
    int code;
    while ((code = getopt_long(argc, argv, ":hv", kOptions, nullptr)) != -1) {
        long number = 0;
        switch (code) {
        case 'h':
            fputs(kUsage, stdout);
            return 0;
        case 'v':
            printf("pdx-sim %s\n", VESK_VERSION);
            return 0;
        case eOption_Link:
            options.linkPath = optarg;
            break;
        case eOption_Records:
            if (!readPdxSimRecords(optarg, options.records)) {
                fprintf(stderr, "pdx-sim: cannot read the records file %s - %s\n", optarg, strerror(errno));
                return 1;
            }
            break;
        case eOption_UnitID:
            options.unitID = optarg;
            break;
        case eOption_UnitIDs: {
            std::string list = optarg;
            size_t start = 0;
            while (start <= list.size()) {
                size_t comma = list.find(',', start);
                std::string id =
                    list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
                if (id.empty())
                    return usageError("--unit-ids takes unit IDs separated by commas, not", optarg);
                options.unitIDs.push_back(id);
                if (comma == std::string::npos)
                    break;
                start = comma + 1;
            }
            break;
        }
        case eOption_NoUnitID:
            options.noUnitID = true;
            break;
        case eOption_Model:
            options.model = optarg;
            break;
        case eOption_DateMode:
            if (std::strlen(optarg) != 1)
                return usageError("--date-mode takes one character, not", optarg);
            options.dateMode = static_cast<unsigned char>(optarg[0]);
            break;
        case eOption_NoDateMode:
            options.dateMode = -1;
            break;
        case eOption_Fields:
            if (!parseNumber(optarg, 1, 99, number))
                return usageError("--fields takes a number from 1 to 99, not", optarg);
            options.fieldsPerRecord = int(number);
            break;
        case eOption_ReportRecords:
            options.reportRecords = optarg;
            break;
        case eOption_ReportFields:
            options.reportFields = optarg;
            break;
        case eOption_LateRecords:
            if (!readPdxSimRecords(optarg, options.lateRecords)) {
                fprintf(stderr, "pdx-sim: cannot read the records file %s - %s\n", optarg, strerror(errno));
                return 1;
            }
            break;
        case eOption_Pace:
            if (std::strcmp(optarg, "instant") == 0)
                options.pace = PdxSimPace::Instant;
            else if (std::strcmp(optarg, "reply") == 0)
                options.pace = PdxSimPace::Reply;
            else if (std::strcmp(optarg, "byte") == 0)
                options.pace = PdxSimPace::Byte;
            else
                return usageError("--pace takes instant, reply or byte, not", optarg);
            break;
        case eOption_Baud:
            if (!parseNumber(optarg, 1, 4000000, number))
                return usageError("--baud takes a line speed in bit/s, not", optarg);
            options.baud = number;
            break;
        case eOption_ReadyAfter: {
            char* end = nullptr;
            options.readyAfterSeconds = std::strtod(optarg, &end);
            if (end == optarg || *end != '\0' || !(options.readyAfterSeconds >= 0))
                return usageError("--ready-after takes seconds, not", optarg);
            break;
        }
        case eOption_Log:
            options.logPath = optarg;
            break;
        case eOption_Fault:
            if (!parseFault(optarg, options))
                return usageError("unknown fault", optarg);
            break;
        case ':':
            return usageError("this option needs a value:", argv[optind - 1]);
        default:
            return usageError("unknown option", argv[optind - 1]);
        }
    }
    if (optind < argc)
        return usageError("unexpected argument", argv[optind]);
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
