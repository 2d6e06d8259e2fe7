// Builds BarcodeImageList.txt: every photo of a working folder and its subfolders with the moment
// it was taken, oldest first.
//
// File format (8-bit text, Mac OS Roman names, fields separated by one TAB, lines end in LF):
//   CPU=1234 Vers=1.00 Contents=ImageList BuildDate=MMDDYY BuildTime=HHMMSS HasTitleRecord=True
//   OriginalName CreationDate CreationTime
//   <relative path> MMDDYY HHMMSS        one line per photo, ascending capture time
// A photo without any date is written with 000000 000000 and listed after every dated photo.
#pragma once

#include "FileDateAccess.h"

#include <cstddef>
#include <ctime>
#include <string>

class StatusDisplay;

extern const char kBarcodeImageListFileName[]; // "BarcodeImageList.txt"

// What one build found, for callers that report a summary.
struct ImageListSummary {
    size_t photosListed = 0;    // lines written after the two header lines
    size_t undatedPhotos = 0;   // listed with 000000 000000
    size_t renamedPhotos = 0;   // listed under an escaped or shortened name
    size_t damagedPhotos = 0;   // files that start like a photo but do not read; not listed
    size_t unopenableFiles = 0; // files that could not be opened; not listed
    size_t skippedFiles = 0;    // files that are not photos (including the damaged and unopenable)
    size_t unreadableFolders = 0;
};

class ImageListBuilder {
  public:
    // status (may be null) receives the status-line texts. fileDates (may be null: the real file
    // system) supplies the dates of photos without a camera date. threadCount 0: one reader per
    // processor core.
    explicit ImageListBuilder(StatusDisplay* status = nullptr, const FileDateAccess* fileDates = nullptr,
                              unsigned threadCount = 0);

    // Lists the photos of folderPath (which ends in "/"; one is added if missing) into
    // folderPath + "BarcodeImageList.txt", replacing an older list. True when the list was
    // written completely; on failure no partial list is left behind and the reason has been
    // reported through myPrintf.
    bool veskBuildBarcodeFileList2(const std::string& folderPath);

    const ImageListSummary& summary() const { return fSummary; }

  private:
    StatusDisplay* fStatus;
    const FileDateAccess* fFileDates;
    unsigned fThreadCount;
    ImageListSummary fSummary;
};

// The builder with the real file system and one reader per core.
bool veskBuildBarcodeFileList2(const std::string& workingFolderPath, StatusDisplay* status = nullptr);

// The list's first line for a build started at start (local time).
std::string formatImageListHeader(std::time_t start);
