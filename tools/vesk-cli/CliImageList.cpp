// vesk-cli image-list FOLDER [--threads N]: writes FOLDER/BarcodeImageList.txt exactly as the job
// does, with BarcodeImageCameras.txt beside it. Messages go to standard error. Exit status 0 when
// the list was written (even if some subfolders or files could not be read: they are named in the
// messages and counted in the summary), 1 when it was not, 2 for wrong arguments.
#include "CliCommands.h"

#include "ImageListBuilder.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int cliImageList(int argc, char** argv) {
    std::string folder;
    unsigned threads = 0;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--threads") == 0 && i + 1 < argc) {
            threads = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
            continue;
        }
        if (!folder.empty() || argv[i][0] == '-') {
            fprintf(stderr, "usage: vesk-cli image-list FOLDER [--threads N]\n");
            return 2;
        }
        folder = argv[i];
    }
    if (folder.empty()) {
        fprintf(stderr, "usage: vesk-cli image-list FOLDER [--threads N]\n");
        return 2;
    }
    struct stat attributes {};
    if (stat(folder.c_str(), &attributes) != 0 || !S_ISDIR(attributes.st_mode)) {
        fprintf(stderr, "vesk-cli: \"%s\" is not a folder\n", folder.c_str());
        return 1;
    }
    if (folder.back() != '/')
        folder += '/';
    ImageListBuilder builder(nullptr, nullptr, threads);
    if (!builder.veskBuildBarcodeFileList2(folder))
        return 1;
    const ImageListSummary& summary = builder.summary();
    fprintf(stderr,
            "vesk-cli: %zu photos listed in %s%s (%zu without any date, %zu under a changed name, "
            "%zu damaged, %zu not openable, %zu other files skipped; %zu unreadable folders, "
            "%zu looping links, %zu dangling links, %zu links to folders not followed, "
            "%zu pipes, sockets or devices); %zu photos with their camera body in %s\n",
            summary.photosListed, folder.c_str(), kBarcodeImageListFileName, summary.undatedPhotos,
            summary.renamedPhotos, summary.damagedPhotos, summary.unopenableFiles,
            summary.skippedFiles - summary.damagedPhotos - summary.unopenableFiles, summary.unreadableFolders,
            summary.loopingLinks, summary.danglingLinks, summary.linkedFolders, summary.otherEntries,
            summary.camerasListed, kBarcodeImageCamerasFileName);
    return 0;
}
