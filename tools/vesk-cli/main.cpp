// vesk-cli: runs single steps of a job from a terminal. Messages go to standard error.
#include "CliCommands.h"

#include "MacRoman.h"
#include "MessageLog.h"

#include <getopt.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifndef VESK_VERSION
#define VESK_VERSION ""
#endif

namespace {

struct Command {
    const char* name;
    int (*run)(int, char**);
    const char* usage;
    // The self-tests report through the log: their debug lines are their output.
    bool showsLog;
};

const Command kCommands[] = {
    {"image-list", cliImageList, "image-list FOLDER", false},
    {"match", cliMatch,
     "match BARCODE_FILE IMAGE_LIST OUT [--align auto|last] [--skew SECONDS] [--report FILE] [--two-ids]",
     false},
    {"scanner", cliScanner,
     "scanner [PORT] info|download FOLDER|erase UNIT_ID [--data-file FILE] [--force] [--yes] | scanner ports",
     false},
    {"magstripe", cliMagstripe, "magstripe FILE", false},
    {"selftest", cliSelftest, "selftest [--port-only] [PORT]", true},
};

// The messages meant for the user (the program's message area) go to standard error, one line
// each; the log's debug lines reach the terminal only with --verbose.
class TerminalSink : public MessageSink {
  public:
    void outputError(std::string text) override {
        while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
            text.pop_back();
        for (char& c : text)
            if (c == '\r')
                c = '\n';
        text = macRomanToUtf8(text) + '\n';
        fwrite(text.data(), 1, text.size(), stderr);
    }
};

bool hasVerbose(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--verbose") == 0)
            return true;
    return false;
}

void printCommands(FILE* out) {
    for (const Command& command : kCommands)
        fprintf(out, "  vesk-cli %s\n", command.usage);
}

void printHelp() {
    printf("Usage: vesk-cli [--verbose] COMMAND [ARGUMENTS...]\n"
           "The steps of a VeskBarcode job from a terminal: the photo list, the matching, the\n"
           "scanner (information, download, erase), and the developer tests.\n"
           "\n"
           "Commands:\n");
    printCommands(stdout);
    printf("\n"
           "Options:\n"
           "  --verbose      the log's debug lines (every byte of the protocol) on standard error\n"
           "  -h, --help     show this help and exit\n"
           "  -v, --version  show the version and exit\n"
           "\n"
           "The messages meant for the user go to standard error. Without PORT the scanner command\n"
           "uses the first port that discovery finds; VESK_SERIAL_PORTS (device paths separated by\n"
           "':') adds ports to those found.\n"
           "\n"
           "The scanner's erase is refused unless the data file (--data-file, default\n"
           "BarcodeDataSource.txt in the current folder) holds every scan the scanner holds: the same\n"
           "unit ID as its SN= and as many scans as it has scan lines; --force erases anyway after\n"
           "showing the count. 'vesk-cli scanner --help' says more.\n"
           "\n"
           "Exit status: 0 success, 1 failure (the reason is on standard error), 2 wrong arguments,\n"
           "3 the scanner's erase was refused (nothing was erased).\n");
}

int usage() {
    fprintf(stderr, "usage: vesk-cli [--verbose] COMMAND ...\n");
    printCommands(stderr);
    fprintf(stderr, "Try 'vesk-cli --help' for more information.\n");
    return 2;
}

const struct option kOptions[] = {
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'v'},
    {"verbose", no_argument, nullptr, 'V'},
    {nullptr, 0, nullptr, 0},
};

} // namespace

int main(int argc, char** argv) {
    // Options before the command belong to vesk-cli; the command's own are read by the command.
    opterr = 0;
    int code;
    while ((code = getopt_long(argc, argv, "+hv", kOptions, nullptr)) != -1) {
        switch (code) {
        case 'h':
            printHelp();
            return 0;
        case 'v':
            printf("vesk-cli %s\n", VESK_VERSION);
            return 0;
        case 'V':
            break;
        default:
            fprintf(stderr, "vesk-cli: unknown option \"%s\"\n", argv[optind - 1]);
            return usage();
        }
    }
    if (optind >= argc)
        return usage();
    const char* name = argv[optind];
    static TerminalSink terminal;
    for (const Command& command : kCommands) {
        if (std::strcmp(name, command.name) != 0)
            continue;
        if (!command.showsLog && !hasVerbose(argc, argv)) {
            MessageLog::setSystemLogCopy(false);
            setDefaultMessageSink(&terminal);
        }
        // --verbose belongs to vesk-cli as a whole; only the scanner command reads it itself.
        std::vector<char*> arguments;
        bool scanner = std::strcmp(command.name, "scanner") == 0;
        if (scanner && hasVerbose(optind + 1, argv))
            arguments.push_back(const_cast<char*>("--verbose"));
        for (int i = optind + 1; i < argc; ++i)
            if (std::strcmp(argv[i], "--verbose") != 0 || scanner)
                arguments.push_back(argv[i]);
        arguments.push_back(nullptr);
        return command.run(static_cast<int>(arguments.size()) - 1, arguments.data());
    }
    fprintf(stderr, "vesk-cli: unknown command \"%s\"\n", name);
    return usage();
}
