#include "ShootLists.h"

#include "JobFileNames.h"
#include "MessageLog.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

namespace {

// Lines of 5 bytes or fewer (empty lines included) hold no record.
constexpr size_t kShortestRecordLine = 6;
constexpr size_t kReadBufferSize = 1 << 16;

// A list file opened for reading as bytes, with a larger buffer than the default.
class ListFile {
  public:
    explicit ListFile(const std::string& path) : fBuffer(kReadBufferSize) {
        fStream.rdbuf()->pubsetbuf(fBuffer.data(), static_cast<std::streamsize>(fBuffer.size()));
        fStream.open(path, std::ios::in | std::ios::binary);
        fOpenError = fStream.is_open() ? 0 : errno;
    }
    bool isOpen() const { return fStream.is_open(); }
    int openError() const { return fOpenError; }
    // The next line without its LF; false at the end of the file.
    bool readLine(std::string& line) { return static_cast<bool>(std::getline(fStream, line)); }
    bool failedWhileReading() const { return fStream.bad(); }

  private:
    std::vector<char> fBuffer;
    std::ifstream fStream;
    int fOpenError = 0;
};

void reportUnopened(const char* what, const std::string& path, int error) {
    myPrintf(myFormat("Unable to open the %s [%s]: %s\n", what, path.c_str(),
                      std::strerror(error != 0 ? error : ENOENT)));
}

// The scans, header lines skipped wherever they stand, repeated scans reduced: a run of scans of
// one barcode counts once at its first scan, but a run that ends the file keeps its last scan too.
std::vector<TimeItem> readScans(const std::string& path) {
    std::vector<TimeItem> scans;
    ListFile file(path);
    if (!file.isOpen()) {
        reportUnopened("barcode data file", path, file.openError());
        return scans;
    }
    myPrintfDebug("barcodeFile.is_open\n");
    std::string remembered;
    std::optional<TimeItem> heldBack;
    std::string line;
    size_t linesRead = 0;
    while (file.readLine(line)) {
        ++linesRead;
        if (line.size() < kShortestRecordLine || isValidHeaderRecord(line))
            continue;
        TimeItem scan(line);
        if (scan.data() == remembered) {
            heldBack.emplace(std::move(scan));
            continue;
        }
        remembered = scan.data();
        heldBack.reset();
        scans.push_back(std::move(scan));
    }
    if (heldBack)
        scans.push_back(std::move(*heldBack));
    if (file.failedWhileReading())
        myPrintf(
            myFormat("Reading the barcode data file [%s] failed after %zu lines\n", path.c_str(), linesRead));
    myPrintfDebug(myFormat("barcode loop: %zu lines read, %zu scans kept\n", linesRead, scans.size()));
    return scans;
}

// The photos in file order, after the header line and the title line.
std::vector<TimeItem> readPhotos(const std::string& path) {
    std::vector<TimeItem> photos;
    ListFile file(path);
    if (!file.isOpen()) {
        reportUnopened("photo list", path, file.openError());
        return photos;
    }
    myPrintfDebug("filelistFile.is_open\n");
    // The first two lines are the header and the title line. A list written without them must
    // not lose its first two photos, so a dated photo line there is kept.
    std::string line;
    for (int header = 0; header < 2 && file.readLine(line); ++header) {
        if (line.size() < kShortestRecordLine || isValidHeaderRecord(line))
            continue;
        TimeItem photo(line);
        if (!photo.hasTime())
            continue;
        myPrintf(myFormat("The photo list [%s] has a photo where its header belongs; it is kept: %s\n",
                          path.c_str(), line.c_str()));
        photos.push_back(std::move(photo));
    }
    myPrintfDebug("LookingForRecords:\n");
    size_t linesRead = 0;
    while (file.readLine(line)) {
        ++linesRead;
        if (line.size() < kShortestRecordLine)
            continue;
        photos.emplace_back(line);
    }
    if (file.failedWhileReading())
        myPrintf(myFormat("Reading the photo list [%s] failed after %zu lines\n", path.c_str(), linesRead));
    myPrintfDebug(
        myFormat("filelistFile loop: %zu lines read, foundFotoList %zu records\n", linesRead, photos.size()));
    return photos;
}

// The time of the list's last record that has one.
std::optional<TimeItemTime> referenceTime(const std::vector<TimeItem>& records) {
    for (auto record = records.rbegin(); record != records.rend(); ++record) {
        if (record->hasTime())
            return record->Time();
    }
    return std::nullopt;
}

size_t countUndated(const std::vector<TimeItem>& records) {
    size_t undated = 0;
    for (const TimeItem& record : records)
        undated += record.hasTime() ? 0 : 1;
    return undated;
}

void reportUndated(const std::vector<TimeItem>& scans, const std::vector<TimeItem>& photos) {
    size_t lastDated = scans.size();
    while (lastDated > 0 && !scans[lastDated - 1].hasTime())
        --lastDated;
    const size_t trailingScans = scans.size() - lastDated;
    const size_t undatedScans = countUndated(scans) - trailingScans;
    const size_t undatedPhotos = countUndated(photos);
    if (undatedScans > 0)
        myPrintf(myFormat("%zu scans have no valid date and time; they receive no photos (the "
                          "photos go to the dated scan before them)\n",
                          undatedScans));
    if (trailingScans > 0)
        myPrintf(myFormat("%zu scans after the last dated scan have no valid date and time; they "
                          "are left out of the match\n",
                          trailingScans));
    if (undatedPhotos > 0)
        myPrintf(myFormat("%zu photos have no valid date and time; each stays with the barcode of "
                          "the photo before it\n",
                          undatedPhotos));
}

} // namespace

std::optional<double> ShootLists::secondsOf(const TimeItem& record) {
    if (!record.hasTime())
        return std::nullopt;
    return double(record.Time()->time_since_epoch().count());
}

std::unique_ptr<ShootLists> ShootLists::read(const std::string& barcodeDataPath,
                                             const std::string& imageListPath) {
    myPrintfDebug("\n\nInside MatchPhotos....\n");
    myPrintfDebug(barcodeDataPath);
    myPrintfDebug("\n\n");
    myPrintfDebug(imageListPath);
    myPrintfDebug("\n\n");

    auto lists = std::unique_ptr<ShootLists>(new ShootLists());
    lists->fScans = readScans(barcodeDataPath);
    if (lists->fScans.empty()) {
        myPrintf("NOT Enough records in the the Source Barcode file:\n");
        myPrintf(barcodeDataPath);
        return nullptr;
    }
    lists->fPhotos = readPhotos(imageListPath);
    if (lists->fPhotos.empty()) {
        myPrintf("NOT Enough records in the the Photo List file:\n");
        myPrintf(imageListPath);
        return nullptr;
    }

    std::optional<TimeItemTime> scanReference = referenceTime(lists->fScans);
    if (!scanReference) {
        myPrintf("No scan of the barcode data file has a valid date and time:\n");
        myPrintf(barcodeDataPath);
        return nullptr;
    }
    std::optional<TimeItemTime> photoReference = referenceTime(lists->fPhotos);
    if (!photoReference) {
        myPrintf("No photo of the photo list has a valid date and time:\n");
        myPrintf(imageListPath);
        return nullptr;
    }
    lists->fScanReference = *scanReference;
    lists->fPhotoReference = *photoReference;
    reportUndated(lists->fScans, lists->fPhotos);

    std::vector<std::string> names;
    names.reserve(lists->fPhotos.size());
    for (const TimeItem& photo : lists->fPhotos)
        names.push_back(photo.data());
    const size_t slash = imageListPath.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : imageListPath.substr(0, slash + 1);
    lists->fBodies = CameraBodies::identify(names, folder + kBarcodeImageCamerasFileName);
    return lists;
}
