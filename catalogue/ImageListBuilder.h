// Builds BarcodeImageList.txt: every photo of a working folder and its subfolders with the moment
// it was taken, oldest first.
//
// File format (8-bit text, Mac OS Roman names, fields separated by one TAB, lines end in LF):
//   CPU=1234 Vers=1.00 Contents=ImageList BuildDate=MMDDYY BuildTime=HHMMSS HasTitleRecord=True
//   OriginalName CreationDate CreationTime
//   <relative path> MMDDYY HHMMSS        one line per photo, ascending capture time
// A photo without any date is written with 000000 000000 and listed after every dated photo.
//
// Beside it, from the same read of each photo, BarcodeImageCameras.txt names the camera body of
// every photo that records one (8-bit text, fields separated by one TAB, lines end in LF):
//   CPU=1234 Vers=1.00 Contents=ImageCameras
//   <name exactly as in BarcodeImageList.txt> <Make Model Serial>     in the list's order
// The body is Exif.Image.Make, Exif.Image.Model and the body serial number joined by single spaces
// (absent parts left out), trimmed, tabs and line breaks turned into spaces. Photos without any of
// the three have no line. Both files are written under a temporary name and renamed into place.
#pragma once

#include "FileDateAccess.h"
#include "JobFileNames.h" // kBarcodeImageListFileName, kBarcodeImageCamerasFileName

#include <cstddef>
#include <ctime>
#include <functional>
#include <string>

class StatusDisplay;

// What one build found, for callers that report a summary.
struct ImageListSummary {
    size_t photosListed = 0;    // lines written after the two header lines
    size_t undatedPhotos = 0;   // listed with 000000 000000
    size_t renamedPhotos = 0;   // listed under an escaped or shortened name
    size_t damagedPhotos = 0;   // files that start like a photo but do not read; not listed
    size_t unopenableFiles = 0; // files that could not be opened; not listed
    size_t skippedFiles = 0;    // files that are not photos (including the damaged and unopenable)
    size_t unreadableFolders = 0;
    size_t loopingLinks = 0;  // symbolic links that lead round in a circle; named, not listed
    size_t danglingLinks = 0; // symbolic links whose target is missing; named, not listed
    size_t linkedFolders = 0; // symbolic links to folders, which are not followed; named
    size_t otherEntries = 0;  // pipes, sockets and devices; not listed
    size_t camerasListed = 0; // lines written to BarcodeImageCameras.txt after its header
};

class ImageListBuilder {
  public:
    // status (may be null) receives the status-line texts. fileDates (may be null: the real file
    // system, read from the same open as the metadata) supplies the dates of photos without a
    // camera date. threadCount 0: the default number of readers (kDefaultReaderThreads).
    explicit ImageListBuilder(StatusDisplay* status = nullptr, const FileDateAccess* fileDates = nullptr,
                              unsigned threadCount = 0);

    // Lists the photos of folderPath (which ends in "/"; one is added if missing) into
    // folderPath + "BarcodeImageList.txt", replacing an older list. True when the list was
    // written completely (unreadable subfolders, damaged files and broken links are reported and do
    // not make it fail); on failure no partial list is left behind and the reason has been
    // reported through myPrintf. BarcodeImageCameras.txt is written beside it; a failure to write
    // that file is reported and does not make the build fail.
    bool veskBuildBarcodeFileList2(const std::string& folderPath);

    const ImageListSummary& summary() const { return fSummary; }

    // Told now and then while the files are read (files started so far, files found), and once
    // at the end with both equal. Called from the reader threads.
    using Progress = std::function<void(size_t done, size_t total)>;
    void setProgress(Progress progress) { fProgress = std::move(progress); }

  private:
    StatusDisplay* fStatus;
    const FileDateAccess* fFileDates;
    unsigned fThreadCount;
    ImageListSummary fSummary;
    Progress fProgress;
};

// Readers working at once. The disk's queue, not the processor, limits a cold listing: with
// several requests in flight the disk serves them together, so there are more readers than cores.
constexpr unsigned kDefaultReaderThreads = 8;

// The builder with the real file system and the default readers.
bool veskBuildBarcodeFileList2(const std::string& workingFolderPath, StatusDisplay* status = nullptr);

// The list's first line for a build started at start (local time).
std::string formatImageListHeader(std::time_t start);

// The BODY field of BarcodeImageCameras.txt for a photo's camera fields; empty when all three are.
std::string formatCameraBody(const std::string& make, const std::string& model,
                             const std::string& serialNumber);
