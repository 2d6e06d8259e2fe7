#include "ImageListBuilder.h"

#include "ListName.h"
#include "LocalizedText.h"
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
#include <unordered_map>
#include <vector>

namespace {

// The list is written here first and renamed over the real name once complete, so that a
// failed build never leaves a partial list for the matching step.
const char kPartialListFileName[] = ".BarcodeImageList.txt.partial";
const char kPartialCamerasFileName[] = ".BarcodeImageCameras.txt.partial";
const char kCamerasHeader[] = "CPU=1234\tVers=1.00\tContents=ImageCameras\n";

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
// so that a link back up cannot make the walk endless; linked files count as files. Links that
// loop or lead nowhere, and links to folders, are named to the user: every entry is accounted for.
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
        while (struct dirent* item = readdir(directory)) {
            const char* name = item->d_name;
            if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
                continue;
            if (relative.empty() && isOwnTemporaryFile(name))
                continue;
            unsigned char type = item->d_type;
            if (type == DT_UNKNOWN)
                type = typeOf(dirfd(directory), name);
            if (type == DT_LNK)
                type = typeOfLinkTarget(dirfd(directory), name, relative + name);
            if (type == DT_DIR)
                subfolders.push_back(name);
            else if (type == DT_REG)
                fEntries.push_back(FolderEntry{relative + name, {}, std::nullopt, {}});
            else if (type != DT_UNKNOWN)
                countOtherEntry(relative + name);
        }
        closedir(directory);
        for (const std::string& subfolder : subfolders)
            walk(folder + subfolder + "/", relative + subfolder + "/");
    }

  private:
    static bool isOwnTemporaryFile(const char* name) {
        return std::strcmp(name, kPartialListFileName) == 0 ||
               std::strcmp(name, kPartialCamerasFileName) == 0;
    }

    // The entry's own type, for file systems whose folders do not say (a link stays a link).
    static unsigned char typeOf(int folder, const char* name) {
        struct stat attributes {};
        if (fstatat(folder, name, &attributes, AT_SYMLINK_NOFOLLOW) != 0)
            return DT_UNKNOWN;
        if (S_ISLNK(attributes.st_mode))
            return DT_LNK;
        if (S_ISDIR(attributes.st_mode))
            return DT_DIR;
        return S_ISREG(attributes.st_mode) ? DT_REG : DT_FIFO;
    }

    // DT_REG for a link to a file (it is read through the link); anything else is reported here
    // and yields DT_UNKNOWN.
    unsigned char typeOfLinkTarget(int folder, const char* name, const std::string& relativePath) {
        struct stat attributes {};
        if (fstatat(folder, name, &attributes, 0) != 0) {
            reportBrokenLink(relativePath, errno);
            return DT_UNKNOWN;
        }
        if (S_ISREG(attributes.st_mode))
            return DT_REG;
        if (S_ISDIR(attributes.st_mode)) {
            ++fSummary.linkedFolders;
            myPrintf("The link \"" + messageTextForPath(relativePath) +
                     "\" leads to a folder, which is not followed; photos in it are not listed.");
            return DT_UNKNOWN;
        }
        countOtherEntry(relativePath);
        return DT_UNKNOWN;
    }

    void reportBrokenLink(const std::string& relativePath, int error) {
        const std::string name = messageTextForPath(relativePath);
        if (error == ELOOP) {
            ++fSummary.loopingLinks;
            myPrintf("The link \"" + name + "\" leads round in a circle (" + std::strerror(error) +
                     "); it is not listed.");
            return;
        }
        if (error == ENOENT || error == ENOTDIR) {
            ++fSummary.danglingLinks;
            myPrintf("The link \"" + name + "\" leads to a file that is not there; it is not listed.");
            return;
        }
        ++fSummary.unopenableFiles;
        ++fSummary.skippedFiles;
        myPrintf("The link \"" + name + "\" cannot be followed (" + std::strerror(error) +
                 "); if it leads to a photo, it is not listed.");
    }

    void countOtherEntry(const std::string& relativePath) {
        ++fSummary.otherEntries;
        myPrintfDebug(messageTextForPath(relativePath) + "\n\tSKIPPING (not a regular file)\n");
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
    ValidationStatus(StatusDisplay* status, const ImageListBuilder::Progress& progress, size_t total)
        : fStatus(status), fProgress(progress), fTotal(total) {}

    void show(const FolderEntry& entry, size_t done) {
        if (!fStatus && !fProgress)
            return;
        int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::steady_clock::now().time_since_epoch())
                          .count();
        int64_t last = fLastShown.load();
        if (last != kNever && now - last < kStatusInterval.count())
            return;
        if (!fLastShown.compare_exchange_strong(last, now))
            return;
        if (fProgress)
            fProgress(done, fTotal);
        if (!fStatus)
            return;
        const std::string& path = entry.relativePath;
        fStatus->setStatusText("Validating File: " +
                               (isValidUtf8(path) ? path : macRomanToUtf8(messageTextForPath(path))));
    }

  private:
    static constexpr int64_t kNever = INT64_MIN;
    StatusDisplay* fStatus;
    const ImageListBuilder::Progress& fProgress;
    size_t fTotal;
    std::atomic<int64_t> fLastShown{kNever};
};

// Reads each photo once: the validity test, the capture time, the file dates and the camera body
// come from that one open. testFileDates (null but in tests) stands in for the file's own dates.
void datePhoto(FolderEntry& entry, const std::string& folder, const FileDateAccess* testFileDates) {
    const std::string fullPath = folder + entry.relativePath;
    entry.metadata = readPhotoMetadata(fullPath);
    if (!entry.metadata.isImage)
        return;
    entry.time = captureTimeFromMetadata(entry.metadata);
    if (!entry.time) {
        static const SystemFileDateAccess systemFileDates;
        entry.time = testFileDates
                         ? captureTimeFromFileDates(fullPath, true, *testFileDates)
                         : captureTimeFromDates(fullPath, true, entry.metadata.fileDates, systemFileDates);
    }
    entry.name = makeListName(entry.relativePath);
}

void dateAllPhotos(std::vector<FolderEntry>& entries, const std::string& folder,
                   const FileDateAccess* testFileDates, StatusDisplay* status, unsigned threadCount,
                   const ImageListBuilder::Progress& progress) {
    initialisePhotoMetadataReading();
    ValidationStatus validation(status, progress, entries.size());
    std::atomic<size_t> next{0};
    auto reader = [&] {
        for (size_t i = next++; i < entries.size(); i = next++) {
            validation.show(entries[i], i);
            datePhoto(entries[i], folder, testFileDates);
        }
    };
    unsigned threads = threadCount ? threadCount : kDefaultReaderThreads;
    threads = std::min<unsigned>({threads, 64u, static_cast<unsigned>(entries.size() / 8 + 1)});
    std::vector<std::thread> helpers;
    for (unsigned i = 1; i < threads; ++i)
        helpers.emplace_back(reader);
    reader();
    for (std::thread& helper : helpers)
        helper.join();
    if (progress)
        progress(entries.size(), entries.size());
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

// Two photos under one listed name would be matched as one; only names shortened to fit the
// list can meet, since escaping keeps every other name apart.
void reportSharedNames(const std::vector<const FolderEntry*>& photos) {
    std::unordered_map<std::string, const FolderEntry*> seen;
    for (const FolderEntry* photo : photos) {
        auto inserted = seen.emplace(photo->name.text, photo);
        if (inserted.second)
            continue;
        myPrintf("Two photos are listed under the one name \"" + photo->name.text + "\": \"" +
                 messageTextForPath(inserted.first->second->relativePath) + "\" and \"" +
                 messageTextForPath(photo->relativePath) +
                 "\". Shorten their folder names so that they keep their own.");
    }
}

// Writes text to a file durably: false with errno set on any failure.
bool writeDurably(FILE* output, const std::string& text) {
    bool written = writeAll(output, text);
    int error = errno;
    if (std::fflush(output) != 0 || fsync(fileno(output)) != 0) {
        written = false;
        error = errno;
    }
    if (std::fclose(output) != 0 && written) {
        written = false;
        error = errno;
    }
    errno = error;
    return written;
}

// BarcodeImageCameras.txt: the camera body of each listed photo that records one. Its failure is
// reported and leaves no camera file (an older one would describe other photos).
void writeCamerasFile(const std::string& folder, const std::vector<const FolderEntry*>& photos,
                      ImageListSummary& summary) {
    const std::string path = folder + kBarcodeImageCamerasFileName;
    const std::string partialPath = folder + kPartialCamerasFileName;
    std::string text = kCamerasHeader;
    size_t lines = 0;
    for (const FolderEntry* photo : photos) {
        const PhotoMetadata& metadata = photo->metadata;
        std::string body =
            formatCameraBody(metadata.cameraMake, metadata.cameraModel, metadata.cameraSerialNumber);
        if (body.empty())
            continue;
        text += photo->name.text + "\t" + body + "\n";
        ++lines;
    }
    FILE* output = std::fopen(partialPath.c_str(), "wb");
    bool written =
        output && writeDurably(output, text) && std::rename(partialPath.c_str(), path.c_str()) == 0;
    if (written) {
        summary.camerasListed = lines;
        return;
    }
    const int error = errno;
    std::remove(partialPath.c_str());
    std::remove(path.c_str());
    myPrintf(myFormat("The camera list %s cannot be written (%s); photos of two camera bodies cannot be "
                      "told apart.",
                      messageTextForPath(path).c_str(), std::strerror(error)));
}

// Writes the records, makes them durable and puts the list in place (the camera file just before
// it, so that a list never appears beside the camera file of an older build); on any failure
// removes the partial list, an older one (which would otherwise be matched as this folder's
// photos) and the camera file.
bool writeListFile(FILE* output, const std::string& header, const std::vector<const FolderEntry*>& photos,
                   const std::string& folder, ImageListSummary& summary) {
    const std::string listPath = folder + kBarcodeImageListFileName;
    const std::string partialPath = folder + kPartialListFileName;
    std::string text = header + "\n" + kTitleRecord;
    for (const FolderEntry* photo : photos)
        text += photoRecord(*photo, summary);
    bool written = writeDurably(output, text);
    if (written)
        writeCamerasFile(folder, photos, summary);
    if (written && std::rename(partialPath.c_str(), listPath.c_str()) != 0)
        written = false;
    if (written)
        return true;
    const int error = errno;
    std::remove(partialPath.c_str());
    std::remove(listPath.c_str());
    std::remove((folder + kBarcodeImageCamerasFileName).c_str());
    reportWriteFailure(listPath, error);
    return false;
}

} // namespace

std::string formatCameraBody(const std::string& make, const std::string& model,
                             const std::string& serialNumber) {
    std::string body;
    for (const std::string* part : {&make, &model, &serialNumber}) {
        std::string text = *part;
        for (char& c : text) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                c = ' ';
        }
        size_t first = text.find_first_not_of(' ');
        if (first == std::string::npos)
            continue;
        text = text.substr(first, text.find_last_not_of(' ') - first + 1);
        body += (body.empty() ? "" : " ") + text;
    }
    return body;
}

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
    dateAllPhotos(entries, folder, fFileDates, fStatus, fThreadCount, fProgress);
    reportSkippedFiles(entries, fSummary);

    if (fStatus)
        fStatus->setStatusText(localizedText("ImageListBuilder", "Sorting the Image File List..."));
    std::vector<const FolderEntry*> photos;
    for (const FolderEntry& entry : entries)
        if (entry.metadata.isImage)
            photos.push_back(&entry);
    std::sort(photos.begin(), photos.end(), isListedBefore);
    reportSharedNames(photos);

    return writeListFile(output, header, photos, folder, fSummary);
}

bool veskBuildBarcodeFileList2(const std::string& workingFolderPath, StatusDisplay* status) {
    ImageListBuilder builder(status);
    return builder.veskBuildBarcodeFileList2(workingFolderPath);
}
