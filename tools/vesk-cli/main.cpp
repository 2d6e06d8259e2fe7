// vesk-cli: runs single steps of a job from a terminal. Messages go to standard error.
#include "CliCommands.h"

#include "MacRoman.h"
#include "MessageLog.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

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
    {"scanner", cliScanner, "scanner [PORT] info|download FOLDER|erase UNIT_ID [--yes]", false},
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

int usage() {
    fprintf(stderr, "usage: vesk-cli COMMAND ... [--verbose]\n");
    for (const Command& command : kCommands)
        fprintf(stderr, "  vesk-cli %s\n", command.usage);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return usage();
    static TerminalSink terminal;
    for (const Command& command : kCommands) {
        if (std::strcmp(argv[1], command.name) != 0)
            continue;
        if (!command.showsLog && !hasVerbose(argc, argv)) {
            MessageLog::setSystemLogCopy(false);
            setDefaultMessageSink(&terminal);
        }
        // --verbose belongs to vesk-cli as a whole; only the scanner command reads it itself.
        std::vector<char*> arguments;
        for (int i = 2; i < argc; ++i)
            if (std::strcmp(argv[i], "--verbose") != 0 || std::strcmp(command.name, "scanner") == 0)
                arguments.push_back(argv[i]);
        arguments.push_back(nullptr);
        return command.run(static_cast<int>(arguments.size()) - 1, arguments.data());
    }
    fprintf(stderr, "vesk-cli: unknown command \"%s\"\n", argv[1]);
    return usage();
}
