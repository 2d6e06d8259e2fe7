// Simulated shoots: subjects a minute or two apart, each scanned and then photographed 1 to 4
// times between 5 and 40 seconds after the scan; the camera clock runs 17 minutes ahead of the
// scanner's. Each shoot is written as the two list files and matched with each skew; the figure
// is the share of photos that land on their own subject's scan.
//
// Usage: bench_skew_simulation [shoots]   (default 300)
#include "Barcode.h"
#include "BarcodeImage.h"
#include "MatchPhotos.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Photo {
    std::string name;
    std::string subject;
};

std::string stamp(int secondsOfDay) {
    char text[32];
    std::snprintf(text, sizeof text, "050126\t%02d%02d%02d", secondsOfDay / 3600, secondsOfDay / 60 % 60,
                  secondsOfDay % 60);
    return text;
}

// Writes one shoot into folder and returns its photos with their true subjects.
std::vector<Photo> writeShoot(std::mt19937& random, const std::string& folder) {
    std::uniform_int_distribution<int> subjects(20, 60), gap(60, 120), count(1, 4), delay(5, 40);
    std::ofstream scans(folder + "BarcodeDataSource.txt", std::ios::trunc);
    std::ofstream photos(folder + "BarcodeImageList.txt", std::ios::trunc);
    scans << "CPU=PDX-PRO\tsimulated\nScanned BarCode ID\tDate\tTime\n";
    photos << "simulated shoot\nOriginalName\tCreationDate\n";
    const int cameraAhead = 17 * 60;
    std::vector<Photo> list;
    int scanTime = 9 * 3600;
    int n = subjects(random);
    for (int subject = 0; subject < n; ++subject) {
        if (subject > 0)
            scanTime += gap(random);
        char barcode[16];
        std::snprintf(barcode, sizeof barcode, "S%04d", subject);
        scans << barcode << "\t" << stamp(scanTime) << "\n";
        std::vector<int> delays;
        for (int k = count(random); k > 0; --k)
            delays.push_back(delay(random));
        std::sort(delays.begin(), delays.end());
        for (int d : delays) {
            std::string name = "IMG_" + std::to_string(list.size() + 1) + ".JPG";
            photos << name << "\t" << stamp(scanTime + d + cameraAhead) << "\n";
            list.push_back({name, barcode});
        }
    }
    return list;
}

} // namespace

int main(int argc, char** argv) {
    int shoots = argc > 1 ? std::atoi(argv[1]) : 300;
    char pattern[] = "/tmp/vesk-skew-XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    std::string folder = std::string(pattern) + "/";
    std::vector<float> skews;
    for (float skew : {0.0f, 2.0f, 5.0f, 10.0f, 20.0f, 25.0f, 30.0f})
        skews.push_back(skew);
    for (float skew = 31.0f; skew <= 46.0f; skew += 1.0f)
        skews.push_back(skew);
    for (float skew : {50.0f, 60.0f})
        skews.push_back(skew);
    std::vector<long> right(skews.size(), 0);
    long total = 0;
    std::mt19937 random(20260510);
    // The matcher reports every record; the figures are what this program prints.
    std::FILE* quiet = std::freopen("/dev/null", "w", stderr);
    for (int shoot = 0; shoot < shoots; ++shoot) {
        std::vector<Photo> truth = writeShoot(random, folder);
        total += long(truth.size());
        for (size_t s = 0; s < skews.size(); ++s) {
            std::unique_ptr<BarcodeList> tree =
                MatchPhotos(folder + "BarcodeDataSource.txt", folder + "BarcodeImageList.txt", skews[s]);
            if (!tree)
                continue;
            size_t index = 0;
            for (const auto& node : *tree) {
                for (const auto& image : node->images()) {
                    if (index < truth.size() && truth[index].name == image->imageName() &&
                        truth[index].subject == node->barcode())
                        ++right[s];
                    ++index;
                }
            }
        }
    }
    (void)quiet;
    std::printf("%d simulated shoots, %ld photos\n", shoots, total);
    std::printf("skew (s)  photos on their own subject\n");
    for (size_t s = 0; s < skews.size(); ++s)
        std::printf("%8.1f  %6.2f %%\n", double(skews[s]), 100.0 * double(right[s]) / double(total));
    unlink((folder + "BarcodeDataSource.txt").c_str());
    unlink((folder + "BarcodeImageList.txt").c_str());
    rmdir(pattern);
    return 0;
}
