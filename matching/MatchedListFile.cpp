#include "MatchedListFile.h"

#include "MessageLog.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

const char kMatchedListFileName[] = "BarcodeMatchedList.txt";

namespace {

constexpr size_t kWriteBufferSize = 1 << 16;

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
    std::ofstream file(path, std::ios::out | std::ios::trunc | std::ios::binary);
    if (!file.is_open()) {
        myPrintf(myFormat("Unable to create the matched list file [%s]: %s\n", path.c_str(),
                          std::strerror(errno != 0 ? errno : EACCES)));
        return false;
    }
    if (list == nullptr || list->empty())
        return false;

    std::string out;
    out.reserve(kWriteBufferSize + 1024);
    std::string previous;
    std::string current;
    const size_t count = list->size();
    for (size_t i = 0; i < count; ++i) {
        previous = current;
        current = barcodeText((*list)[i].get());
        const std::string next = i + 1 < count ? barcodeText((*list)[i + 1].get()) : std::string();
        if (!(*list)[i])
            continue;
        for (const auto& image : (*list)[i]->images()) {
            appendLine(out, image->imageName(), current, previous, next, threeIDs);
            if (out.size() < kWriteBufferSize)
                continue;
            file.write(out.data(), static_cast<std::streamsize>(out.size()));
            out.clear();
        }
    }
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    file.close();
    if (file.fail()) {
        myPrintf(myFormat("Writing the matched list file [%s] failed: %s\n", path.c_str(),
                          std::strerror(errno != 0 ? errno : EIO)));
        return false;
    }
    return true;
}
