#include "CliCommands.h"

#include <cstdio>

int cliMatch(int, char**) {
    fprintf(stderr, "vesk-cli: this command is not available yet\n");
    return 2;
}
