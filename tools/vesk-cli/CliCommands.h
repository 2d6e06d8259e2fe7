// The subcommands of vesk-cli. Each takes the arguments after its name and returns the exit status.
#pragma once

int cliImageList(int argc, char** argv); // image-list FOLDER
int cliMatch(int argc, char** argv);     // match BARCODE_FILE IMAGE_LIST OUT --skew SECONDS [--two-ids]
int cliScanner(int argc, char** argv);   // scanner [PORT] info|download FOLDER|erase UNIT_ID [--yes]
int cliMagstripe(int argc, char** argv); // magstripe FILE
int cliSelftest(int argc, char** argv);  // selftest [--port-only] [PORT]
