// vesk-cli image-list: the same builder from a terminal.
#include "PhotoFixtures.h"

#include "FileContent.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

using namespace testsupport;

namespace {

struct CliRun {
    int status = -1;
    std::string errors;
};

CliRun runCli(const std::string& arguments) {
    const char* bin = std::getenv("VESK_BIN");
    std::string command =
        std::string(bin ? bin : ".") + "/vesk-cli image-list " + arguments + " 2>&1 >/dev/null";
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.errors.append(buffer, got);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(CliImageList, WritesTheListAndReportsOnStandardError) {
    TemporaryFolder folder;
    writeJpeg(folder.file("IMG_2.JPG"), exifDate("2008:07:25 14:04:00"));
    writeJpeg(folder.file("day 1/IMG_1.JPG"), exifDate("2008:07:25 14:03:59"));
    std::string path = folder.path();
    path.pop_back(); // without the final "/", as a user types it
    CliRun run = runCli("'" + path + "'");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.errors.find("Building the BarcodeImageList.txt Data..."), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("2 photos listed"), std::string::npos) << run.errors;
    std::vector<std::string> lines = readLines(folder.path() + "BarcodeImageList.txt");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], "day 1/IMG_1.JPG\t072508\t140359");
    EXPECT_EQ(lines[3], "IMG_2.JPG\t072508\t140400");
}

// The list was written: 0, whatever could not be read on the way (it is named and counted).
TEST(CliImageList, ExitsZeroWhenTheListWasWrittenDespiteBrokenEntries) {
    TemporaryFolder folder;
    writeJpeg(folder.file("IMG_1.JPG"), exifDate("2008:07:25 14:03:59"));
    ASSERT_EQ(symlink("gone.jpg", (folder.path() + "dangling.jpg").c_str()), 0);
    writeJpeg(folder.file("Locked/IMG_2.JPG"), exifDate("2008:07:25 14:04:00"));
    chmod((folder.path() + "Locked").c_str(), 0);
    CliRun run = runCli("'" + folder.path() + "'");
    chmod((folder.path() + "Locked").c_str(), 0755);
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.errors.find("1 dangling links"), std::string::npos) << run.errors;
    if (geteuid() != 0) {
        EXPECT_NE(run.errors.find("1 unreadable folders"), std::string::npos) << run.errors;
    }
}

TEST(CliImageList, RefusesWhatIsNotAFolder) {
    TemporaryFolder folder;
    ASSERT_TRUE(writeFile(folder.file("file.txt"), "x"));
    EXPECT_EQ(runCli("'" + folder.path() + "file.txt'").status, 1);
    EXPECT_EQ(runCli("'" + folder.path() + "missing'").status, 1);
    EXPECT_EQ(runCli("").status, 2);
}

} // namespace
