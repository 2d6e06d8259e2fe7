#include "ImageListBuilder.h"

#include "ListName.h"
#include "MacRoman.h"
#include "MessageLog.h"
#include "PhotoCaptureTime.h"
#include "PhotoMetadataReader.h"
#include "StatusDisplay.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <thread>
#include <vector>

const char kBarcodeImageListFileName[] = "BarcodeImageList.txt";

namespace {

// The list is written here first and renamed over the real name once complete, so that a
// failed build never leaves a partial list for the matching step.
const char kPartialListFileName[] = ".BarcodeImageList.txt.partial";

const char kTitleRecord[] = "OriginalName\tCreationDate\tCreationTime\n";

// The status line changes at most this often: thousands of texts a second help nobody.
constexpr std::chrono::milliseconds kStatusInterval(100);

struct FolderEntry {
    std::string relativePath; // file-system bytes, "/" between folders
    PhotoMetadata metadata;
    std::optional<CaptureTime> time;
    ListName name;
};

// Every file below folder (full path ending in "/"), depth first. Linked folders are not entered,
// so that a link back up cannot make the walk endless; linked files count as files.
class FolderWalk {
  public:
    FolderWalk(std::vector<FolderEntry>& entries, ImageListSummary& summary)
        : fEntries(entries), fSummary(summary) {}

    void walk(const std::string& folder, const std::string& relative) {
        DIR* directory = opendir(folder.c_str());
        if (!directory) {
            reportUnreadable(folder, errno);
            return;
        }
        std::vector<std::string> subfolders;
        errno = 0;
        while (struct dirent* item = readdir(directory)) {
            const char* name = item->d_name;
            if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
                continue;
            if (relative.empty() && std::strcmp(name, kPartialListFileName) == 0)
                continue;
            unsigned char type = item->d_type;
            if (type == DT_LNK || type == DT_UNKNOWN)
                type = typeFollowingLinks(dirfd(directory), name, item->d_type == DT_LNK);
            if (type == DT_DIR)
                subfolders.push_back(name);
            else if (type == DT_REG)
                fEntries.push_back(FolderEntry{relative + name, {}, std::nullopt, {}});
        }
        closedir(directory);
        for (const std::string& subfolder : subfolders)
            walk(folder + subfolder + "/", relative + subfolder + "/");
    }

  private:
    // DT_REG or DT_DIR for what name leads to; a link to a folder counts as neither.
    static unsigned char typeFollowingLinks(int folder, const char* name, bool isLink) {
        struct stat attributes {};
        if (fstatat(folder, name, &attributes, 0) != 0)
            return DT_UNKNOWN;
        if (S_ISREG(attributes.st_mode))
            return DT_REG;
        if (S_ISDIR(attributes.st_mode) && !isLink)
            return DT_DIR;
        return DT_UNKNOWN;
    }

    void reportUnreadable(const std::string& folder, int error) {
        ++fSummary.unreadableFolders;
        myPrintf(myFormat("The folder \"%s\" cannot be read (%s); photos in it are not listed.",
                          messageTextForPath(folder).c_str(), std::strerror(error)));
    }

    std::vector<FolderEntry>& fEntries;
    ImageListSummary& fSummary;
};

// Shows "Validating File: ..." now and then, from whichever reader gets there first.
class ValidationStatus {
  public:
    explicit ValidationStatus(StatusDisplay* status) : fStatus(status) {}

    void show(const FolderEntry& entry) {
        if (!fStatus)
            return;
        int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::steady_clock::now().time_since_epoch())
                          .count();
        int64_t last = fLastShown.load();
        if (last != kNever && now - last < kStatusInterval.count())
            return;
        if (!fLastShown.compare_exchange_strong(last, now))
            return;
        const std::string& path = entry.relativePath;
        fStatus->setStatusText("Validating File: " +
                               (isValidUtf8(path) ? path : macRomanToUtf8(messageTextForPath(path))));
    }

  private:
    static constexpr int64_t kNever = INT64_MIN;
    StatusDisplay* fStatus;
    std::atomic<int64_t> fLastShown{kNever};
};

// Reads each photo's metadata once; the capture time and the list name come from that one read.
void datePhoto(FolderEntry& entry, const std::string& folder, const FileDateAccess& fileDates) {
    const std::string fullPath = folder + entry.relativePath;
    entry.metadata = readPhotoMetadata(fullPath);
    if (!entry.metadata.isImage)
        return;
    entry.time = captureTimeFromMetadata(entry.metadata);
    if (!entry.time)
        entry.time = captureTimeFromFileDates(fullPath, true, fileDates);
    entry.name = makeListName(entry.relativePath);
}

void dateAllPhotos(std::vector<FolderEntry>& entries, const std::string& folder,
                   const FileDateAccess& fileDates, StatusDisplay* status, unsigned threadCount) {
    initialisePhotoMetadataReading();
    ValidationStatus validation(status);
    std::atomic<size_t> next{0};
    auto reader = [&] {
        for (size_t i = next++; i < entries.size(); i = next++) {
            validation.show(entries[i]);
            datePhoto(entries[i], folder, fileDates);
        }
    };
    unsigned threads = threadCount ? threadCount : std::max(1u, std::thread::hardware_concurrency());
    threads = std::min<unsigned>({threads, 16u, static_cast<unsigned>(entries.size() / 8 + 1)});
    std::vector<std::thread> helpers;
    for (unsigned i = 1; i < threads; ++i)
        helpers.emplace_back(reader);
    reader();
    for (std::thread& helper : helpers)
        helper.join();
}

// Dated photos by capture time (then sub-second, then name, so that a burst keeps its order);
// photos without any date after all of them, by name, where they cannot upset the matching.
bool isListedBefore(const FolderEntry* a, const FolderEntry* b) {
    if (a->time.has_value() != b->time.has_value())
        return a->time.has_value();
    if (a->time) {
        int order = compareCaptureTimes(*a->time, *b->time);
        if (order != 0)
            return order < 0;
    }
    return a->relativePath < b->relativePath;
}

void reportSkippedFiles(const std::vector<FolderEntry>& entries, ImageListSummary& summary) {
    for (const FolderEntry& entry : entries) {
        if (entry.metadata.isImage)
            continue;
        ++summary.skippedFiles;
        std::string name = messageTextForPath(entry.relativePath);
        myPrintfDebug(name + "\n\tSKIPPING (" + entry.metadata.formatOrProblem + ")\n");
        if (entry.metadata.isUnopenable) {
            ++summary.unopenableFiles;
            myPrintf("The file \"" + name + "\" " + entry.metadata.formatOrProblem +
                     "; if it is a photo, it is not listed.");
            continue;
        }
        if (!entry.metadata.isDamaged)
            continue;
        ++summary.damagedPhotos;
        myPrintf("The file \"" + name + "\" starts like a photo but cannot be read (" +
                 entry.metadata.formatOrProblem + "); it is not listed.");
    }
}

// One record (DoOutputImageFileInfoToBarcodeImageList); the capture time is the one read
// during the walk.
std::string photoRecord(const FolderEntry& entry, ImageListSummary& summary) {
    myPrintfDebug(entry.name.text + "\n\tADDING\n");
    if (!entry.name.problem.empty()) {
        ++summary.renamedPhotos;
        myPrintf("The photo listed as \"" + entry.name.text + "\": " + entry.name.problem +
                 ". Rename the file to keep its name in the results.");
    }
    std::string record = entry.name.text + "\t";
    if (entry.time) {
        record += formatListDateAndTime(*entry.time);
    } else {
        ++summary.undatedPhotos;
        myPrintf("ERRORRRRRRRR - Unable to get photo's creation date!!!!!!\n");
        myPrintf("\t" + entry.name.text);
        record += "000000\t000000";
    }
    ++summary.photosListed;
    return record + "\n";
}

std::string formatBuildDateAndTime(std::time_t start) {
    std::tm local{};
    localtime_r(&start, &local);
    char text[80] = {0};
    std::strftime(text, sizeof text, "BuildDate=%m%d%y\tBuildTime=%H%M%S", &local);
    return text;
}

bool writeAll(FILE* file, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), file) == text.size();
}

void reportWriteFailure(const std::string& path, int error) {
    myPrintf(myFormat("veskBuildBarcodeFileList2 => PROBLEM with writing %s (%s); no image list "
                      "is left in the folder.",
                      messageTextForPath(path).c_str(), std::strerror(error)));
}

// Writes the records, makes them durable and puts the list in place; on any failure removes both
// the partial list and an older one, which would otherwise be matched as this folder's photos.
bool writeListFile(FILE* output, const std::string& header, const std::vector<const FolderEntry*>& photos,
                   const std::string& partialPath, const std::string& listPath, ImageListSummary& summary) {
    bool written = writeAll(output, header + "\n") && writeAll(output, kTitleRecord);
    for (const FolderEntry* photo : photos)
        written = written && writeAll(output, photoRecord(*photo, summary));
    int error = errno;
    if (std::fflush(output) != 0 || fsync(fileno(output)) != 0) {
        written = false;
        error = errno;
    }
    if (std::fclose(output) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && std::rename(partialPath.c_str(), listPath.c_str()) != 0) {
        written = false;
        error = errno;
    }
    if (written)
        return true;
    std::remove(partialPath.c_str());
    std::remove(listPath.c_str());
    reportWriteFailure(listPath, error);
    return false;
}

} // namespace

std::string formatImageListHeader(std::time_t start) {
    return std::string("CPU=1234\tVers=1.00\tContents=ImageList\t") + formatBuildDateAndTime(start) +
           "\tHasTitleRecord=True";
}

ImageListBuilder::ImageListBuilder(StatusDisplay* status, const FileDateAccess* fileDates,
                                   unsigned threadCount)
    : fStatus(status), fFileDates(fileDates), fThreadCount(threadCount) {}

bool ImageListBuilder::veskBuildBarcodeFileList2(const std::string& folderPath) {
    fSummary = ImageListSummary();
    myPrintf("Building the BarcodeImageList.txt Data...");
    myPrintfDebug("veskBuildBarcodeFileList2 => Start...\n");
    if (folderPath.empty()) {
        myPrintfDebug("veskBuildBarcodeFileList2 => Passed NIL path...\n");
        return false;
    }
    const std::string folder = folderPath.back() == '/' ? folderPath : folderPath + "/";
    tzset();
    const std::time_t start = std::time(nullptr);
    const std::string header = formatImageListHeader(start);
    myPrintf(formatBuildDateAndTime(start));
    myPrintf("\n\n");

    const std::string listPath = folder + kBarcodeImageListFileName;
    const std::string partialPath = folder + kPartialListFileName;
    FILE* output = std::fopen(partialPath.c_str(), "wb");
    if (!output) {
        myPrintf("veskBuildBarcodeFileList2 => PROBLEM with creating outputFile");
        myPrintf(messageTextForPath(listPath));
        return false;
    }

    std::vector<FolderEntry> entries;
    FolderWalk(entries, fSummary).walk(folder, std::string());
    SystemFileDateAccess systemFileDates;
    dateAllPhotos(entries, folder, fFileDates ? *fFileDates : systemFileDates, fStatus, fThreadCount);
    reportSkippedFiles(entries, fSummary);

    if (fStatus)
        fStatus->setStatusText("Sorting the Image File List...");
    std::vector<const FolderEntry*> photos;
    for (const FolderEntry& entry : entries)
        if (entry.metadata.isImage)
            photos.push_back(&entry);
    std::sort(photos.begin(), photos.end(), isListedBefore);

    return writeListFile(output, header, photos, partialPath, listPath, fSummary);
}

bool veskBuildBarcodeFileList2(const std::string& workingFolderPath, StatusDisplay* status) {
    ImageListBuilder builder(status);
    return builder.veskBuildBarcodeFileList2(workingFolderPath);
}
