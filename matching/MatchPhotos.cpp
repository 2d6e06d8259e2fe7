#include "MatchPhotos.h"

#include "MacRoman.h"
#include "MessageLog.h"
#include "Preferences.h"
#include "TimeItem.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
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

// Relative times of the scans. An undated scan takes the time of the next dated scan, so the
// walk reaches it only together with that scan; undated scans after the last dated one come
// after the sync point and are never reached.
std::vector<double> scanRelativeTimes(const std::vector<TimeItem>& scans, TimeItemTime reference) {
    std::vector<double> relative(scans.size());
    double next = std::numeric_limits<double>::infinity();
    for (size_t k = scans.size(); k-- > 0;) {
        if (scans[k].hasTime())
            next = scans[k].ElapsedTime(reference);
        relative[k] = next;
    }
    return relative;
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

std::unique_ptr<Barcode> nodeFor(const TimeItem& scan) {
    return Barcode::barcodeWithValue(scan.data());
}

// The walk: every photo in list order goes to the latest scan reached so far whose relative time
// is strictly below the photo's relative time plus the skew. Every scan passed gets a node.
std::unique_ptr<BarcodeList> walk(const std::vector<TimeItem>& scans, const std::vector<double>& scanRelative,
                                  const std::vector<TimeItem>& photos, TimeItemTime photoReference,
                                  double skew) {
    auto result = std::make_unique<BarcodeList>();
    size_t current = 0;
    result->push_back(nodeFor(scans[current]));
    // Leading undated scans are passed at once; a dated scan follows (the reference exists).
    while (!scans[current].hasTime()) {
        ++current;
        result->push_back(nodeFor(scans[current]));
    }
    for (const TimeItem& photo : photos) {
        if (photo.hasTime()) {
            const double relative = photo.ElapsedTime(photoReference);
            while (current + 1 < scans.size() && relative + skew > scanRelative[current + 1]) {
                ++current;
                result->push_back(nodeFor(scans[current]));
            }
        }
        result->back()->addObject(BarcodeImage::barcodeImageWithValue(macRomanToUtf8(photo.data())));
    }
    return result;
}

} // namespace

std::unique_ptr<BarcodeList> MatchPhotos(const std::string& barcodeDataPath,
                                         const std::string& imageListPath) {
    return MatchPhotos(barcodeDataPath, imageListPath,
                       GeneralPreferencesController::getBarcodeMatchSkewSeconds());
}

std::unique_ptr<BarcodeList> MatchPhotos(const std::string& barcodeDataPath, const std::string& imageListPath,
                                         float skewSeconds) {
    myPrintfDebug("\n\nInside MatchPhotos....\n");
    myPrintfDebug(barcodeDataPath);
    myPrintfDebug("\n\n");
    myPrintfDebug(imageListPath);
    myPrintfDebug("\n\n");

    std::vector<TimeItem> scans = readScans(barcodeDataPath);
    if (scans.empty()) {
        myPrintf("NOT Enough records in the the Source Barcode file:\n");
        myPrintf(barcodeDataPath);
        return nullptr;
    }
    std::vector<TimeItem> photos = readPhotos(imageListPath);
    if (photos.empty()) {
        myPrintf("NOT Enough records in the the Photo List file:\n");
        myPrintf(imageListPath);
        return nullptr;
    }

    std::optional<TimeItemTime> scanReference = referenceTime(scans);
    if (!scanReference) {
        myPrintf("No scan of the barcode data file has a valid date and time:\n");
        myPrintf(barcodeDataPath);
        return nullptr;
    }
    std::optional<TimeItemTime> photoReference = referenceTime(photos);
    if (!photoReference) {
        myPrintf("No photo of the photo list has a valid date and time:\n");
        myPrintf(imageListPath);
        return nullptr;
    }
    reportUndated(scans, photos);
    const std::vector<double> scanRelative = scanRelativeTimes(scans, *scanReference);

    myPrintf(myFormat("2Using skewValue of %2.2f seconds\n", skewSeconds));
    if (!std::isfinite(skewSeconds)) {
        myPrintf("The match skew is not a number of seconds; check the preference "
                 "barcodeMatchSkewSeconds\n");
        return nullptr;
    }
    const double skew = skewSeconds;

    return walk(scans, scanRelative, photos, *photoReference, skew);
}
