#include "CliCommands.h"

#include <cstdio>

int cliMagstripe(int, char**) {
    fprintf(stderr, "vesk-cli: this command is not available yet\n");
    return 2;
}

int cliSelftest(int, char**) {
    fprintf(stderr, "vesk-cli: this command is not available yet\n");
    return 2;
}
