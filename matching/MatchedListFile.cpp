#include "MatchedListFile.h"

#include "MessageLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

const char kMatchedListFileName[] = "BarcodeMatchedList.txt";
const char kMatchedListEarlierFileName[] = "BarcodeMatchedList.earlier.txt";

namespace {

constexpr size_t kWriteBufferSize = 1 << 16;
const char kPartSuffix[] = ".part";

// The file being written beside the matched list: every write checked, flushed to the disk at
// the end, removed unless finished.
class PartFile {
  public:
    explicit PartFile(const std::string& path) : fPath(path) {
        fDescriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        fCreated = fDescriptor >= 0;
        if (!fCreated)
            fError = errno;
    }
    ~PartFile() {
        if (fDescriptor >= 0)
            close(fDescriptor);
        if (fCreated && !fFinished)
            std::remove(fPath.c_str());
    }
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    bool isOpen() const { return fDescriptor >= 0; }
    bool healthy() const { return fError == 0; }
    int error() const { return fError != 0 ? fError : EIO; }

    void write(const std::string& bytes) {
        size_t done = 0;
        while (fError == 0 && done < bytes.size()) {
            ssize_t written = ::write(fDescriptor, bytes.data() + done, bytes.size() - done);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                fError = written < 0 ? errno : ENOSPC;
                return;
            }
            done += static_cast<size_t>(written);
        }
    }
    // Flushes and closes; true when every byte reached the disk.
    bool finish() {
        if (fError == 0 && fsync(fDescriptor) != 0)
            fError = errno;
        if (close(fDescriptor) != 0 && fError == 0)
            fError = errno;
        fDescriptor = -1;
        fFinished = fError == 0;
        return fFinished;
    }

  private:
    std::string fPath;
    int fDescriptor = -1;
    int fError = 0;
    bool fCreated = false;
    bool fFinished = false;
};

void appendLine(std::string& out, const std::string& imageName, const std::string& current,
                const std::string& previous, const std::string& next, bool threeIDs) {
    out += imageName;
    out += '\t';
    out += current;
    out += '\t';
    if (threeIDs) {
        out += previous;
        out += '\t';
        out += next;
    } else {
        out += '\t';
    }
    out += '\r';
}

const std::string& barcodeText(const Barcode* node) {
    static const std::string kNone;
    return node ? node->barcode() : kNone;
}

} // namespace

bool writeNSArrayToMatchedListFile(std::string path, const BarcodeList* list, bool threeIDs) {
    return writeMatchedListFile(path, list, threeIDs) == eMatchedListWrite_Written;
}

eMatchedListWrite writeMatchedListFile(const std::string& path, const BarcodeList* list, bool threeIDs) {
    const std::string partPath = path + kPartSuffix;
    PartFile part(partPath);
    if (!part.isOpen()) {
        myPrintf(myFormat("Unable to create the matched list file [%s]: %s\n", partPath.c_str(),
                          std::strerror(part.error())));
        withdrawMatchedList(path, "the new one could not be written");
        return eMatchedListWrite_Failed;
    }
    const bool empty = list == nullptr || list->empty();
    std::string out;
    out.reserve(kWriteBufferSize + 1024);
    std::string previous;
    std::string current;
    const size_t count = empty ? 0 : list->size();
    for (size_t i = 0; i < count && part.healthy(); ++i) {
        previous = current;
        current = barcodeText((*list)[i].get());
        const std::string next = i + 1 < count ? barcodeText((*list)[i + 1].get()) : std::string();
        if (!(*list)[i])
            continue;
        for (const auto& image : (*list)[i]->images()) {
            appendLine(out, image->imageName(), current, previous, next, threeIDs);
            if (out.size() < kWriteBufferSize)
                continue;
            part.write(out);
            out.clear();
        }
    }
    part.write(out);
    if (!part.finish()) {
        myPrintf(myFormat("Writing the matched list file [%s] failed: %s\n", partPath.c_str(),
                          std::strerror(part.error())));
        withdrawMatchedList(path, "the new one could not be written");
        return eMatchedListWrite_Failed;
    }
    if (std::rename(partPath.c_str(), path.c_str()) != 0) {
        const int error = errno;
        myPrintf(myFormat("The matched list could not be put in place as [%s]: %s\n", path.c_str(),
                          std::strerror(error)));
        std::remove(partPath.c_str());
        withdrawMatchedList(path, "the new one could not be put in its place");
        return eMatchedListWrite_Failed;
    }
    return empty ? eMatchedListWrite_EmptyList : eMatchedListWrite_Written;
}

bool withdrawMatchedList(const std::string& path, const std::string& why) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0)
        return true;
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string earlier = folder + kMatchedListEarlierFileName;
    if (std::rename(path.c_str(), earlier.c_str()) == 0) {
        myPrintf(
            myFormat("The matched list already in the folder is not this job's result (%s): it is kept as "
                     "[%s]\n",
                     why.c_str(), earlier.c_str()));
        return true;
    }
    const int renameError = errno;
    if (S_ISREG(info.st_mode) && truncate(path.c_str(), 0) == 0) {
        myPrintf(
            myFormat("The matched list already in the folder is not this job's result (%s), and the folder "
                     "allows no renaming (%s): [%s] was emptied\n",
                     why.c_str(), std::strerror(renameError), path.c_str()));
        return true;
    }
    myPrintf(
        myFormat("WARNING: [%s] is NOT this job's result (%s), and it can be neither moved aside (%s) nor "
                 "emptied: Vesk-X must not import it\n",
                 path.c_str(), why.c_str(), std::strerror(renameError)));
    return false;
}
