// Matching speed and memory: the list files parsed, the clocks lined up, the photos matched and the
// matched list written, for 100,000 photo lines against 20,000 scan lines and for a typical day of
// 2,000 photos and 500 scans, with the automatic alignment and with the last-record alignment.
// Prints the best time of several rounds (wall clock and processor time, which a busy machine
// disturbs less) and the heap bytes per record.
//
// Run: build/bin/bench_matching [ROUNDS]
#include "MatchedListFile.h"
#include "MessageLog.h"
#include "ShootMatch.h"

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

// A scan every 20 to 40 seconds from 1 October 2026 on, photos 3 to 15 seconds after each and 1 to
// 6 seconds apart, on a camera clock 13 minutes 3 seconds behind the scanner.
void writeInputs(const std::string& scansPath, const std::string& photosPath, int scanCount,
                 int photosPerScan) {
    std::ofstream scans(scansPath, std::ios::binary);
    scans << "CPU=1234\tVers=1.01\tContents=barcodes\tModel=Z-1070\tSN=17700042\tDateFormat=1\t"
             "moreInfo1\tmoreInfo2\tmoreInfo3\tmoreInfo4\n"
             "Scanned BarCode ID\tDate Scanned\tTime Scanned\tresv1_HeaderName_max20\t"
             "resv2_HeaderName_max20\tresv3_HeaderName_max20\n";
    std::ofstream photos(photosPath, std::ios::binary);
    photos << "CPU=1234\tVers=1.00\tContents=ImageList\tBuildDate=101026\tBuildTime=120000\t"
              "HasTitleRecord=True\nOriginalName\tCreationDate\tCreationTime\n";
    std::time_t scanTime = 1790812800; // 2026-10-01 00:00:00 UTC
    const std::time_t cameraBehind = 13 * 60 + 3;
    unsigned seed = 12345;
    auto next = [&](int low, int high) {
        seed = seed * 1103515245u + 12345u;
        return low + int((seed >> 8) % unsigned(high - low + 1));
    };
    char name[64];
    int n = 0;
    for (int s = 0; s < scanCount; ++s) {
        scanTime += next(20, 40);
        scans << "STU" << (100000 + s) << '\t' << stamp(scanTime) << '\n';
        std::time_t photoTime = scanTime + next(3, 15);
        for (int p = 0; p < photosPerScan; ++p, ++n) {
            // One name in fifty carries Mac OS Roman letters ("Élève"), the rest are ASCII.
            if (n % 50 == 0)
                snprintf(name, sizeof name, "Class 4/\x83l\x8Fve_%06d.JPG", n);
            else
                snprintf(name, sizeof name, "Class 4/IMG_%06d.JPG", n);
            photos << name << '\t' << stamp(photoTime - cameraBehind) << '\n';
            photoTime += next(1, 3);
        }
    }
}

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + 1e-9 * double(now.tv_nsec);
}

struct Figures {
    double best = 1e9;
    double bestCpu = 1e9;
    long long peak = 0;
    long long retained = 0;
    std::string summary;
};

// Parse, align, match and write, best of rounds.
Figures run(const std::string& folder, bool automatic, int rounds) {
    const std::string scansPath = folder + "BarcodeDataSource.txt";
    const std::string photosPath = folder + "BarcodeImageList.txt";
    const std::string outPath = folder + kMatchedListFileName;
    Figures figures;
    for (int round = 0; round < rounds; ++round) {
        const long long before = gHeapNow.load();
        gHeapPeak.store(before);
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = cpuSeconds();
        std::unique_ptr<ShootMatch> shoot = ShootMatch::read(scansPath, photosPath);
        if (!shoot) {
            fprintf(stderr, "bench_matching: the lists could not be read\n");
            std::exit(1);
        }
        bool matched = true;
        if (automatic)
            shoot->matchAutomatically();
        else
            matched = shoot->matchLastRecord(2.0f);
        std::unique_ptr<BarcodeList> tree = shoot->takeTree();
        if (!matched || !writeNSArrayToMatchedListFile(outPath, tree.get(), true)) {
            fprintf(stderr, "bench_matching: matching failed\n");
            std::exit(1);
        }
        const auto end = std::chrono::steady_clock::now();
        figures.bestCpu = std::min(figures.bestCpu, cpuSeconds() - cpuStart);
        figures.summary = shoot->summary();
        shoot.reset();
        figures.peak = gHeapPeak.load() - before;
        figures.retained = gHeapNow.load() - before;
        figures.best = std::min(figures.best, seconds(end - start));
    }
    return figures;
}

void report(const char* title, int scans, int photos, const Figures& figures) {
    const double records = double(scans + photos);
    printf("  %-24s %6.3f s (processor %.3f s, %.0f photo lines/s); heap peak %.1f MB (%.0f bytes per "
           "record), tree %.0f bytes per record\n",
           title, figures.best, figures.bestCpu, photos / figures.bestCpu, double(figures.peak) / 1e6,
           double(figures.peak) / records, double(figures.retained) / records);
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
    // The log's lines are not the figures (and writing them would be timed).
    MessageLog::setSystemLogCopy(false);
    char pattern[] = "/tmp/vesk-bench-matching-XXXXXX";
    const char* folderName = mkdtemp(pattern);
    if (!folderName) {
        perror("mkdtemp");
        return 1;
    }
    const std::string folder = std::string(folderName) + "/";
    struct Size {
        const char* name;
        int scans;
        int photosPerScan;
    };
    for (const Size& size : {Size{"100,000 photos", 20000, 5}, Size{"a day of 2,000 photos", 500, 4}}) {
        writeInputs(folder + "BarcodeDataSource.txt", folder + "BarcodeImageList.txt", size.scans,
                    size.photosPerScan);
        const int photos = size.scans * size.photosPerScan;
        printf(
            "bench_matching: %s (%d photo lines, %d scan lines), parse + align + match + write, best of %d "
            "rounds, one core\n",
            size.name, photos, size.scans, rounds);
        const Figures automatic = run(folder, true, rounds);
        report("automatic alignment:", size.scans, photos, automatic);
        const Figures last = run(folder, false, rounds);
        report("last-record alignment:", size.scans, photos, last);
        printf("  estimate: %s\n", automatic.summary.c_str());
    }
    std::string command = "rm -rf '" + folder + "'";
    return std::system(command.c_str()) == 0 ? 0 : 1;
}
