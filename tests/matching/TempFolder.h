// A temporary folder for one test, removed with everything in it at the end.
#pragma once

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/vesk-matching-XXXXXX";
        const char* made = mkdtemp(pattern);
        fPath = made ? std::string(made) + "/" : std::string();
    }
    ~TempFolder() {
        if (fPath.empty())
            return;
        std::string command = "rm -rf '" + fPath + "'";
        if (std::system(command.c_str()) != 0)
            return;
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, ending in "/".
    const std::string& path() const { return fPath; }

    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream out(fPath + name, std::ios::binary | std::ios::trunc);
        out << bytes;
        return fPath + name;
    }

    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::string fPath;
};
