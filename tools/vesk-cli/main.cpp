// vesk-cli: runs single steps of a job from a terminal. Messages go to standard error.
#include "CliCommands.h"

#include <cstdio>
#include <cstring>

namespace {

struct Command {
    const char* name;
    int (*run)(int, char**);
    const char* usage;
};

const Command kCommands[] = {
    {"image-list", cliImageList, "image-list FOLDER"},
    {"match", cliMatch, "match BARCODE_FILE IMAGE_LIST OUT --skew SECONDS [--two-ids]"},
    {"scanner", cliScanner, "scanner [PORT] info|download FOLDER|erase UNIT_ID [--yes]"},
    {"magstripe", cliMagstripe, "magstripe FILE"},
    {"selftest", cliSelftest, "selftest [--port-only] [PORT]"},
};

int usage() {
    fprintf(stderr, "usage: vesk-cli COMMAND ...\n");
    for (const Command& command : kCommands)
        fprintf(stderr, "  vesk-cli %s\n", command.usage);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return usage();
    for (const Command& command : kCommands) {
        if (std::strcmp(argv[1], command.name) == 0)
            return command.run(argc - 2, argv + 2);
    }
    fprintf(stderr, "vesk-cli: unknown command \"%s\"\n", argv[1]);
    return usage();
}
