// A shoot matched: both lists read once, the clocks lined up, every photo assigned to a scan, and
// what a review needs to show and check the result.
//
// The clocks are lined up either automatically (ClockEstimator.h: the offset of each camera body
// and a drift, found from the two lists alone) or on the last records with the skew preference
// (the last scan and the last photo count as simultaneous). Then the walk assigns the photos in
// order of aligned time: a photo goes to the latest scan reached so far whose time is strictly
// earlier than the photo's aligned time (the skew is part of the last-record alignment and is 0
// otherwise). Every scan up to the one that receives the last photo gets a node, empty or not;
// later scans get none. Aligned times carry half a second after an automatic alignment, so no
// photo ties with a scan.
//
// The tree carries, per barcode, its scan index and time and, per photo, its capture and aligned
// time, its body and its doubt marks (PhotoDoubt.h); the match keeps the clock estimate, the scans
// that received no photo and the lists, so that a review can match again with another offset (an
// offset control's live preview) or with the offset that puts a chosen photo on a chosen barcode.
//
// Typical use:
//     std::unique_ptr<ShootMatch> shoot = ShootMatch::read(dataPath, listPath);
//     if (shoot && shoot->matchWithPreferences()) { myPrintf(shoot->summary()); tree = shoot->takeTree(); }
// and in a review:
//     shoot->matchWith(shoot->estimate().alignment.shifted(+30.0));       // preview an offset
//     if (auto clocks = shoot->alignmentPlacing(leaf->photoIndex(), node->scanIndex()))
//         shoot->matchWith(*clocks);                                       // "this photo is this subject"
#pragma once

#include "Barcode.h"
#include "ClockEstimate.h"
#include "ClockEstimator.h"
#include "ShootLists.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A scan that received no photo.
struct UnmatchedScan {
    // Its position in the scan list (Barcode::scanIndex) and its barcode text.
    size_t scanIndex = 0;
    std::string barcode;
    // Its time on the scanner's clock, seconds since 1970; none when undated.
    std::optional<double> scanTime;
    // True when it has a node (an empty barcode in the tree, between two that hold photos);
    // false when it comes after the scan that receives the last photo and the walk gives it none.
    bool hasNode = false;
};

class ShootMatch {
  public:
    // Reads both lists (ShootLists::read, with its messages); null when they cannot be matched.
    static std::unique_ptr<ShootMatch> read(const std::string& barcodeDataPath,
                                            const std::string& imageListPath);

    // Matches by the preferences: doUseLastBarcodeAsSyncData false (the factory value) lines the
    // clocks up automatically, true on the last records with barcodeMatchSkewSeconds. false, with
    // a message and no tree, when the skew is not a number.
    bool matchWithPreferences();
    void matchAutomatically();
    // The last-record alignment exactly as the program always matched ("2Using skewValue ...").
    bool matchLastRecord(float skewSeconds);
    // An alignment given by hand (an offset control, or alignmentPlacing).
    void matchWith(const ClockAlignment& alignment);

    // The last match's clocks and evidence; its tree (null before a match, or after takeTree).
    const ClockEstimate& estimate() const { return fEstimate; }
    BarcodeList* tree() const { return fTree.get(); }
    std::unique_ptr<BarcodeList> takeTree() { return std::move(fTree); }
    // Scans that received no photo, in scan order: empty barcodes and scans without a node.
    const std::vector<UnmatchedScan>& scansWithoutPhotos() const { return fUnmatched; }
    size_t doubtfulPhotos() const { return fDoubtful; }
    // "camera 13 min 3 s behind the scanner, drift +40 ppm; 78 of 80 scans fit; 3 photos doubtful"
    std::string summary() const;
    // The summary, the scans without photos and every doubtful photo with its reasons, one per
    // line (TAB between a name and its reasons), for a report file.
    std::string reportText() const;
    // Writes reportText to path; false (with a message naming the file) when it cannot.
    bool writeReport(const std::string& path) const;

    // The automatic estimate (found once, also when the match used another alignment).
    const ClockEstimate& automaticEstimate() const;
    // The dated scans that fit an alignment (for an offset control's figures).
    size_t fitsOf(const ClockAlignment& alignment) const;
    // The clocks that put the photo (its index in the photo list) under the scan (its index in the
    // scan list): the offset of the photo's body (and of the bodies that share its clock) moves
    // into the range that does so, to the place there that fits the most scans; the rest of the
    // current alignment stays. None when the photo has no capture time, an index is out of range,
    // or no offset can do it (the scan has the same time as the next one).
    std::optional<ClockAlignment> alignmentPlacing(size_t photoIndex, size_t scanIndex) const;
    // The same from the clocks of base instead of the last match's (a review that has put an
    // earlier match back keeps its own).
    std::optional<ClockAlignment> alignmentPlacing(size_t photoIndex, size_t scanIndex,
                                                   const ClockAlignment& base) const;

    const ShootLists& lists() const { return *fLists; }

  private:
    explicit ShootMatch(std::unique_ptr<ShootLists> lists);

    struct Walk {
        // Photo indexes in walk order, and the scan each went to.
        std::vector<size_t> order;
        std::vector<size_t> scanOf;
        // Scans 0 to nodes - 1 have a node.
        size_t nodes = 0;
    };

    Walk walk(const std::vector<double>& photoKeys, bool inListOrder) const;
    std::vector<double> alignedTimes(const ClockAlignment& alignment) const;
    std::vector<double> keysFor(const std::vector<double>& aligned) const;
    // The scan of every photo (by photo index) under an alignment.
    std::vector<long> scanOfPhoto(const ClockAlignment& alignment) const;
    void build(const Walk& walked, const std::vector<double>& aligned, const std::vector<long>& other);
    ClockEstimate lastRecordEstimate(float skewSeconds) const;

    std::unique_ptr<ShootLists> fLists;
    // Per scan: seconds since 1970 (NaN undated) and the walk's key (seconds from the last dated
    // scan; an undated scan takes the next dated scan's, infinity after the last).
    std::vector<double> fScanTimes;
    std::vector<double> fScanKeys;
    // Per photo: capture time (NaN undated) and body.
    std::vector<double> fCaptureTimes;
    std::vector<size_t> fBodies;
    std::unique_ptr<ClockEstimator> fEstimator;
    mutable std::optional<ClockEstimate> fAutomatic;

    ClockEstimate fEstimate;
    std::unique_ptr<BarcodeList> fTree;
    std::vector<UnmatchedScan> fUnmatched;
    size_t fDoubtful = 0;
    // Doubtful photos of the last match: photo index and marks, in tree order.
    std::vector<std::pair<size_t, uint32_t>> fDoubts;
};
