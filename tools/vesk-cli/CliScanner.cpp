#include "CliCommands.h"

#include <cstdio>

int cliScanner(int, char**) {
    fprintf(stderr, "vesk-cli: this command is not available yet\n");
    return 2;
}
