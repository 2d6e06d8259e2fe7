#include "CliCommands.h"

#include <cstdio>

int cliImageList(int, char**) {
    fprintf(stderr, "vesk-cli: this command is not available yet\n");
    return 2;
}
