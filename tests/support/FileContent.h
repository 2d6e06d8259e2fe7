// Whole files read and written as bytes, for tests. A failure prints one line naming the file on
// standard error; the test's own comparison then shows what is missing.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

// The file's bytes; empty when it cannot be read.
std::string readFile(const std::string& path);
// The file's lines split at "\n" (a "\r" stays part of its line), without an empty line after a
// final "\n".
std::vector<std::string> readLines(const std::string& path);
// Replaces the file with bytes; false when it cannot be written whole.
bool writeFile(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);

// A BarcodeDataSource.txt as the download writes it, written out by hand (not by the program's
// own writer): the header of the scanner serialNumber, then scans ("AAA1\t050426\t100000\n...").
std::string savedScans(const std::string& serialNumber, const std::string& scans);

} // namespace testsupport
