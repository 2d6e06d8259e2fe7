// Parses, matches and writes 100,000 photo lines against 20,000 scan lines and prints the rate
// and the heap bytes per record. Run: build/bin/bench_matching [ROUNDS]
#include "MatchPhotos.h"
#include "MatchedListFile.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <new>
#include <string>

#include <unistd.h>

namespace {

constexpr int kScans = 20000;
constexpr int kPhotosPerScan = 5;
constexpr int kPhotos = kScans * kPhotosPerScan;

std::atomic<long long> gHeapNow{0};
std::atomic<long long> gHeapPeak{0};

void noteAllocation(long long bytes) {
    long long now = gHeapNow.fetch_add(bytes) + bytes;
    long long peak = gHeapPeak.load();
    while (now > peak && !gHeapPeak.compare_exchange_weak(peak, now)) {
    }
}

std::string stamp(std::time_t when) {
    std::tm fields{};
    gmtime_r(&when, &fields);
    char text[32];
    std::strftime(text, sizeof text, "%m%d%y\t%H%M%S", &fields);
    return text;
}

// A scan every 30 seconds from 1 October 2026 on; five photos 3 to 27 seconds after each.
void writeInputs(const std::string& scansPath, const std::string& photosPath) {
    std::ofstream scans(scansPath, std::ios::binary);
    scans << "CPU=1234\tVers=1.01\tContents=barcodes\tModel=Z-1070\tSN=17700042\tDateFormat=1\t"
             "moreInfo1\tmoreInfo2\tmoreInfo3\tmoreInfo4\n"
             "Scanned BarCode ID\tDate Scanned\tTime Scanned\tresv1_HeaderName_max20\t"
             "resv2_HeaderName_max20\tresv3_HeaderName_max20\n";
    std::ofstream photos(photosPath, std::ios::binary);
    photos << "CPU=1234\tVers=1.00\tContents=ImageList\tBuildDate=101026\tBuildTime=120000\t"
              "HasTitleRecord=True\nOriginalName\tCreationDate\tCreationTime\n";
    const std::time_t start = 1790812800; // 2026-10-01 00:00:00 UTC
    char name[64];
    for (int s = 0; s < kScans; ++s) {
        const std::time_t scanTime = start + 30L * s;
        scans << "STU" << (100000 + s) << '\t' << stamp(scanTime) << '\n';
        for (int p = 0; p < kPhotosPerScan; ++p) {
            const int n = s * kPhotosPerScan + p;
            // One name in fifty carries Mac OS Roman letters ("Élève"), the rest are ASCII.
            if (n % 50 == 0)
                snprintf(name, sizeof name, "Class 4/\x83l\x8Fve_%06d.JPG", n);
            else
                snprintf(name, sizeof name, "Class 4/IMG_%06d.JPG", n);
            photos << name << '\t' << stamp(scanTime + 3 + 6 * p) << '\n';
        }
    }
}

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

} // namespace

void* operator new(std::size_t size) {
    void* block = std::malloc(size + sizeof(std::max_align_t));
    if (!block)
        throw std::bad_alloc();
    *static_cast<std::size_t*>(block) = size;
    noteAllocation(static_cast<long long>(size));
    return static_cast<char*>(block) + sizeof(std::max_align_t);
}

void operator delete(void* pointer) noexcept {
    if (!pointer)
        return;
    void* block = static_cast<char*>(pointer) - sizeof(std::max_align_t);
    gHeapNow.fetch_sub(static_cast<long long>(*static_cast<std::size_t*>(block)));
    std::free(block);
}

void operator delete(void* pointer, std::size_t) noexcept {
    operator delete(pointer);
}

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    char pattern[] = "/tmp/vesk-bench-matching-XXXXXX";
    const char* folderName = mkdtemp(pattern);
    if (!folderName) {
        perror("mkdtemp");
        return 1;
    }
    const std::string folder = std::string(folderName) + "/";
    const std::string scansPath = folder + "BarcodeDataSource.txt";
    const std::string photosPath = folder + "BarcodeImageList.txt";
    const std::string outPath = folder + kMatchedListFileName;
    writeInputs(scansPath, photosPath);

    double bestMatch = 1e9;
    double bestTotal = 1e9;
    long long peakDuringMatch = 0;
    long long retainedByTree = 0;
    for (int round = 0; round < rounds; ++round) {
        const long long before = gHeapNow.load();
        gHeapPeak.store(before);
        const auto t0 = std::chrono::steady_clock::now();
        std::unique_ptr<BarcodeList> list = MatchPhotos(scansPath, photosPath, 2.0f);
        const auto t1 = std::chrono::steady_clock::now();
        if (!list || !writeNSArrayToMatchedListFile(outPath, list.get(), true)) {
            fprintf(stderr, "bench_matching: matching failed\n");
            return 1;
        }
        const auto t2 = std::chrono::steady_clock::now();
        peakDuringMatch = gHeapPeak.load() - before;
        retainedByTree = gHeapNow.load() - before;
        bestMatch = std::min(bestMatch, seconds(t1 - t0));
        bestTotal = std::min(bestTotal, seconds(t2 - t0));
    }
    const double records = kPhotos + kScans;
    printf("bench_matching: %d photo lines, %d scan lines, best of %d rounds\n", kPhotos, kScans, rounds);
    printf("  parse + match:          %.3f s  (%.0f photo lines/s)\n", bestMatch, kPhotos / bestMatch);
    printf("  parse + match + write:  %.3f s  (%.0f photo lines/s)\n", bestTotal, kPhotos / bestTotal);
    printf("  heap peak during match: %lld bytes  (%.1f bytes per record)\n", peakDuringMatch,
           peakDuringMatch / records);
    printf("  heap held by the tree:  %lld bytes  (%.1f bytes per record)\n", retainedByTree,
           retainedByTree / records);
    std::string command = "rm -rf '" + folder + "'";
    return std::system(command.c_str()) == 0 ? 0 : 1;
}
