// A generated shoot with its truth: the scans as the scanner stored them, the photos as the photo
// list orders them, and for every photo the subject it shows. Written as the real list files
// (BarcodeDataSource.txt, BarcodeImageList.txt, optionally BarcodeImageCameras.txt) plus the truth
// (SimulatedTruth.txt), so that the program's own readers match it.
#pragma once

#include "Barcode.h"

#include <string>
#include <vector>

struct SimulatedScan {
    std::string barcode;
    // The scanner's clock, seconds since 1970 UTC.
    long long time = 0;
};

struct SimulatedBody {
    // Make, model and serial number, as the side file of camera bodies names it.
    std::string exifBody;
    // Folder and file prefix of the body's photo names ("card1/DCIM/", "NIKON", "DSC_").
    std::string topFolder;
    std::string dcfSuffix;
    std::string filePrefix;
    // The body's clock: camera time = true time + offset + drift * (true time - drift origin).
    double offset = 0.0;
    double driftPpm = 0.0;
    double driftOrigin = 0.0;
};

struct SimulatedPhoto {
    std::string name;
    // The body's clock, seconds since 1970 UTC, as the photo list gives it.
    long long cameraTime = 0;
    // The moment on the scanner's clock.
    double trueTime = 0.0;
    int body = 0;
    // The barcode of the subject in the photo; empty for a photo of no scanned subject (a test
    // shot of the backdrop, a subject whose card was never scanned or was downloaded before).
    std::string subject;
    // Whether a perfect clock alignment puts the photo on its subject: the last scan before it
    // (scanner clock) is its subject's. False for photos taken after the next subject's card was
    // scanned, and for every photo without a subject.
    bool placeable = false;
};

// The tally of one matched shoot against its truth.
struct ShootScore {
    size_t photos = 0;
    // Photos of a scanned subject, and those placed on it.
    size_t withSubject = 0;
    size_t right = 0;
    // Photos a perfect alignment places right, and those placed right.
    size_t placeable = 0;
    size_t placeableRight = 0;
    // Per photo in list order: placed on a barcode other than its subject's (every photo without
    // a subject counts as misplaced: it sits under some barcode that is not its own).
    std::vector<bool> misplaced;
};

class SimulatedShoot {
  public:
    std::string family;
    std::vector<SimulatedScan> scans;
    std::vector<SimulatedPhoto> photos;
    std::vector<SimulatedBody> bodies;

    // Writes the list files into folder (ending in "/"); with camerasFile also the side file that
    // names each photo's camera body. false when a file cannot be written.
    bool write(const std::string& folder, bool camerasFile) const;

    // The data file's lines as the scanner's download writes them, header included.
    std::string barcodeDataText() const;
    std::string imageListText() const;
    std::string camerasText() const;
    // One line per photo: name, subject barcode (empty for none), 1 or 0 for placeable.
    std::string truthText() const;

    // Compares a match tree with the truth.
    ShootScore score(const BarcodeList& tree) const;
};
