// A mapped photo that is cut short while it is read: zeros and a note, never a crash.
#include "GuardedFileMapping.h"
#include "PhotoFixtures.h"

#include "FileContent.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

using namespace testsupport;

namespace {

constexpr size_t kPage = 4096;

int openWithBytes(const std::string& path, size_t length) {
    EXPECT_TRUE(writeFile(path, std::string(length, 'x')));
    return open(path.c_str(), O_RDWR);
}

TEST(GuardedFileMapping, AFileCutShortWhileReadReadsAsZerosAndSaysSo) {
    TemporaryFolder folder;
    int fd = openWithBytes(folder.file("photo.jpg"), 4 * kPage);
    ASSERT_GE(fd, 0);
    GuardedFileMapping mapping(fd, 4 * kPage, kPage);
    ASSERT_NE(mapping.data(), nullptr);
    EXPECT_EQ(mapping.data()[10], 'x');
    EXPECT_FALSE(mapping.wasCutShort());
    ASSERT_EQ(ftruncate(fd, kPage), 0);
    EXPECT_EQ(mapping.data()[3 * kPage + 5], 0); // past the new end: SIGBUS without the guard
    EXPECT_EQ(mapping.data()[2 * kPage], 0);
    EXPECT_TRUE(mapping.wasCutShort());
    EXPECT_EQ(mapping.data()[10], 'x');
    close(fd);
}

TEST(GuardedFileMapping, AnEmptyFileHasNoBytes) {
    TemporaryFolder folder;
    int fd = openWithBytes(folder.file("empty.jpg"), 0);
    GuardedFileMapping mapping(fd, 0, kPage);
    EXPECT_EQ(mapping.data(), nullptr);
    EXPECT_FALSE(mapping.wasCutShort());
    close(fd);
}

// The guard covers its own mappings only: any other bus error still ends the program as before.
TEST(GuardedFileMappingDeathTest, ABusErrorElsewhereStillEndsTheProgram) {
    TemporaryFolder folder;
    const std::string path = folder.file("other.bin");
    {
        int fd = openWithBytes(folder.file("photo.jpg"), kPage);
        GuardedFileMapping installsTheHandler(fd, kPage, 0);
        close(fd);
    }
    EXPECT_EXIT(
        {
            int fd = openWithBytes(path, 2 * kPage);
            auto* bytes =
                static_cast<volatile unsigned char*>(mmap(nullptr, 2 * kPage, PROT_READ, MAP_SHARED, fd, 0));
            if (ftruncate(fd, 0) != 0)
                _exit(3);
            unsigned char byte = bytes[kPage + 1];
            _exit(byte == 0 ? 4 : 5);
        },
        ::testing::KilledBySignal(SIGBUS), "");
}

} // namespace
