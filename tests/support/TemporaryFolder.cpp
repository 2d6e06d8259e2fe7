#include "TemporaryFolder.h"

#include "FileContent.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace testsupport {

namespace {

std::string temporaryBase() {
    const char* base = std::getenv("TMPDIR");
    if (base == nullptr || base[0] == '\0')
        return "/tmp";
    return base;
}

// Gives the owner full rights on every folder below path, so that a test that took them away
// (to show what a user without them sees) does not leave its folder behind.
void makeRemovable(const std::filesystem::path& folder) {
    chmod(folder.c_str(), S_IRWXU);
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (entry->is_directory(error) && !entry->is_symlink(error))
            makeRemovable(entry->path());
    }
}

} // namespace

TemporaryFolder::TemporaryFolder(const std::string& label) {
    std::string pattern = temporaryBase() + "/vesk-" + label + "-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder " + pattern + " - " + std::strerror(errno));
    fPath = std::string(buffer.data()) + "/";
}

TemporaryFolder::~TemporaryFolder() {
    const char* keepAll = std::getenv("VESK_KEEP_TEST_FOLDERS");
    if (fKept || (keepAll != nullptr && keepAll[0] != '\0' && keepAll[0] != '0')) {
        std::fprintf(stderr, "kept the test folder %s\n", fPath.c_str());
        return;
    }
    std::error_code error;
    std::filesystem::remove_all(fPath, error);
    if (!error)
        return;
    makeRemovable(fPath);
    error.clear();
    std::filesystem::remove_all(fPath, error);
    if (error)
        std::fprintf(stderr, "cannot remove the test folder %s - %s\n", fPath.c_str(),
                     error.message().c_str());
}

std::string TemporaryFolder::file(const std::string& relative) const {
    std::string full = fPath + relative;
    // The folders above the entry named: "sub/name" makes "sub", "missing/" makes nothing.
    std::string entry = full;
    while (entry.size() > 1 && entry.back() == '/')
        entry.pop_back();
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(entry).parent_path(), ignored);
    return full;
}

std::string TemporaryFolder::makeFolder(const std::string& relative) const {
    std::string full = fPath + relative;
    while (full.size() > 1 && full.back() == '/')
        full.pop_back();
    std::error_code error;
    std::filesystem::create_directories(full, error);
    if (error)
        std::fprintf(stderr, "cannot make the folder %s - %s\n", full.c_str(), error.message().c_str());
    return full;
}

std::string TemporaryFolder::write(const std::string& relative, const std::string& bytes) const {
    std::string full = file(relative);
    writeFile(full, bytes);
    return full;
}

} // namespace testsupport
