#include "FileContent.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace testsupport {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream content(readFile(path));
    std::string line;
    while (std::getline(content, line))
        lines.push_back(line);
    return lines;
}

bool writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (out.good())
        return true;
    std::fprintf(stderr, "cannot write the test file %s - %s\n", path.c_str(), std::strerror(errno));
    return false;
}

bool fileExists(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0;
}

std::string savedScans(const std::string& serialNumber, const std::string& scans) {
    return "CPU=1234\tVers=1.01\tContents=barcodes\tModel=Z-1070\tSN=" + serialNumber +
           "\tDateFormat=1\tmoreInfo1\tmoreInfo2\tmoreInfo3\tmoreInfo4\n"
           "Scanned BarCode ID\tDate Scanned\tTime Scanned\tresv1_HeaderName_max20\tresv2_HeaderName_max20\t"
           "resv3_HeaderName_max20\n" +
           scans;
}

} // namespace testsupport
