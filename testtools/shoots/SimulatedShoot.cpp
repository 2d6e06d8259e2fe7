#include "SimulatedShoot.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <unordered_map>

namespace {

// MMDDYY TAB hhmmss, as both list files write a moment.
std::string stamp(long long seconds) {
    std::time_t when = std::time_t(seconds);
    std::tm fields{};
    gmtime_r(&when, &fields);
    char text[32];
    std::strftime(text, sizeof text, "%m%d%y\t%H%M%S", &fields);
    return text;
}

bool writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    return !out.fail();
}

} // namespace

std::string SimulatedShoot::barcodeDataText() const {
    std::string text = "CPU=1234\tVers=1.01\tContents=barcodes\tModel=Z-1070\tSN=17700042\tDateFormat=1\t"
                       "moreInfo1\tmoreInfo2\tmoreInfo3\tmoreInfo4\n"
                       "Scanned BarCode ID\tDate Scanned\tTime Scanned\tresv1_HeaderName_max20\t"
                       "resv2_HeaderName_max20\tresv3_HeaderName_max20\n";
    for (const SimulatedScan& scan : scans)
        text += scan.barcode + "\t" + stamp(scan.time) + "\n";
    return text;
}

std::string SimulatedShoot::imageListText() const {
    std::string text = "CPU=1234\tVers=1.00\tContents=ImageList\tBuildDate=010127\tBuildTime=120000\t"
                       "HasTitleRecord=True\nOriginalName\tCreationDate\tCreationTime\n";
    for (const SimulatedPhoto& photo : photos)
        text += photo.name + "\t" + stamp(photo.cameraTime) + "\n";
    return text;
}

std::string SimulatedShoot::camerasText() const {
    std::string text = "CPU=1234\tVers=1.00\tContents=ImageCameras\n";
    for (const SimulatedPhoto& photo : photos)
        text += photo.name + "\t" + bodies[size_t(photo.body)].exifBody + "\n";
    return text;
}

std::string SimulatedShoot::truthText() const {
    std::string text;
    for (const SimulatedPhoto& photo : photos)
        text += photo.name + "\t" + photo.subject + "\t" + (photo.placeable ? "1" : "0") + "\n";
    return text;
}

bool SimulatedShoot::write(const std::string& folder, bool camerasFile) const {
    bool written = writeFile(folder + "BarcodeDataSource.txt", barcodeDataText()) &&
                   writeFile(folder + "BarcodeImageList.txt", imageListText()) &&
                   writeFile(folder + "SimulatedTruth.txt", truthText());
    if (camerasFile)
        return written && writeFile(folder + "BarcodeImageCameras.txt", camerasText());
    std::remove((folder + "BarcodeImageCameras.txt").c_str());
    return written;
}

ShootScore SimulatedShoot::score(const BarcodeList& tree) const {
    std::unordered_map<std::string, const std::string*> placedOn;
    for (const auto& node : tree)
        for (const auto& image : node->images())
            placedOn[image->imageName()] = &node->barcode();
    ShootScore score;
    score.photos = photos.size();
    score.misplaced.assign(photos.size(), true);
    for (size_t i = 0; i < photos.size(); ++i) {
        const SimulatedPhoto& photo = photos[i];
        auto found = placedOn.find(photo.name);
        const bool right =
            !photo.subject.empty() && found != placedOn.end() && *found->second == photo.subject;
        score.misplaced[i] = !right;
        if (!photo.subject.empty()) {
            ++score.withSubject;
            score.right += right ? 1 : 0;
        }
        if (photo.placeable) {
            ++score.placeable;
            score.placeableRight += right ? 1 : 0;
        }
    }
    return score;
}
