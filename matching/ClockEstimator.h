// The automatic clock alignment: from the scan times and the photo times alone, the offset between
// each camera body's clock and the scanner's (any size), a linear drift, and how sure that is.
//
// A scan fits an offset when it lands in a pause shortly before a photo (OffsetSearch.h). A coarse
// correlation over every possible offset gives candidate peaks; each is searched exactly and
// scored by the scans that fit plus the runs of photos that a scan opens, averaged over a few
// seconds. Among near-equals the one whose scan-to-photo delays spread least wins (a shift by a
// whole subject mixes the time between subjects into the delays), then the one that fits best
// with the shoot's own reach, then the one nearest the last-record or first-record alignment.
// Drifts of up to 400 ppm either way are tried and one is kept only when it fits more scans. With
// several camera bodies the body with the most photos is lined up alone and each other body
// searches an offset of its own against the whole shoot (ClockEstimatorBodies.cpp). The estimate
// is uncertain when few scans fit, when there are fewer than three, or when a clearly different
// alignment comes close.
#pragma once

#include "ClockEstimate.h"
#include "OffsetSearch.h"

#include <cstddef>
#include <string>
#include <vector>

// The dated records of a shoot, as the estimator needs them.
struct ClockEvidence {
    // Scan times (scanner clock, seconds since 1970), in any order.
    std::vector<double> scans;
    // Capture times (each body's clock) and the body of each photo.
    std::vector<double> photos;
    std::vector<size_t> photoBodies;
    // One label per body; at least one.
    std::vector<std::string> bodyLabels;
    // Offsets that line up the last records and the first records (preferred among equals).
    std::vector<double> preferredOffsets;
};

class ClockEstimator {
  public:
    explicit ClockEstimator(ClockEvidence evidence);

    // The automatic alignment with its evidence (method eAlignment_Automatic).
    ClockEstimate estimate() const;

    // The dated scans that fit an alignment.
    size_t fitsOf(const ClockAlignment& alignment) const;
    size_t scanCount() const { return fScans.size(); }

    // Where each dated photo lands (in the order of the evidence): the index of the last scan,
    // in ascending time, strictly before its aligned time; -1 before the first scan.
    std::vector<long> placements(const ClockAlignment& alignment) const;

    // The alignment that moves the offset of body (and of every body sharing its clock) within
    // (low, high] to the place that fits most scans, the rest of base unchanged.
    ClockAlignment bestWithin(const ClockAlignment& base, size_t body, double low, double high) const;

    // The single clock shared by every body, with no drift, at offset.
    ClockAlignment sharedClock(double offset) const;

  private:
    // Coarse peaks examined closely, and how far apart they must be.
    static constexpr size_t kCandidates = 8;
    static constexpr double kPeakSeparation = 20.0;
    // Room given to the slowest tenth of a shoot's delays when its reach is learnt.
    static constexpr double kDelayRoom = 1.5;
    static constexpr double kDelaySpare = 10.0;

    struct Candidate {
        double offset;
        size_t fit;
        double averaged;
        // Scans that fit plus runs of photos that a scan opens, and the same with the reach of
        // this shoot's own delays.
        size_t score;
        size_t tight = 0;
        // The spread of the delays from scan to photo (interquartile range, seconds).
        double spread = 0.0;
    };

    std::vector<TimeWindow> windowsOf(const std::vector<double>& sortedPhotos, double reach) const;
    std::vector<double> photosOfBody(size_t body) const;
    std::vector<double> allPhotosSorted() const;
    std::vector<double> alignedSorted(const ClockAlignment& alignment) const;
    size_t scoreOf(const ClockAlignment& alignment, double reach) const;
    double anchorDistance(double offset) const;
    void rank(std::vector<Candidate>& candidates) const;
    // Candidates over the whole range for these photo times (one clock), best first.
    std::vector<Candidate> searchOffsets(const std::vector<double>& sortedPhotos) const;
    Candidate refine(const std::vector<TimeWindow>& windows, double around, double reach) const;
    // How long before its photo each scan comes that lands in a window at offset.
    std::vector<double> fitDelays(const std::vector<TimeWindow>& windows, double offset) const;
    // The slowest tenth of some delays (not empty), with room to spare.
    static double slowTenth(std::vector<double> delays);
    // How far before a photo this shoot's scans come, at an offset.
    double learnReach(const std::vector<double>& sortedPhotos, double offset) const;
    void scoreTightly(const std::vector<double>& sortedPhotos, std::vector<Candidate>& candidates,
                      double reach) const;
    Candidate choose(const std::vector<Candidate>& candidates) const;
    // The spread of the delays from the scans that fit the windows at offset to their photos.
    double delaySpread(const std::vector<TimeWindow>& windows, double offset) const;
    static bool clearlyTighter(double spread, double other);
    double searchDrift(const std::vector<double>& sortedPhotos, double& offset, double origin,
                       double reach) const;
    std::vector<double> residualScans(const ClockAlignment& alignment, double reach) const;
    ClockAlignment settleBody(const ClockAlignment& base, size_t body, double around, double reach,
                              size_t& score) const;
    // How long after its scan the photos of a body come (the slowest tenth, with room), and how
    // many of a body's photos come that soon after a scan and not just before the next.
    double subjectSpan(const ClockAlignment& alignment, size_t body) const;
    // Calls visit(seconds since the scan before, seconds until the scan after) for each photo of
    // body that comes after the first scan, at its aligned time.
    template <typename Visit>
    void forEachPhotoAfterScan(const ClockAlignment& alignment, size_t body, Visit&& visit) const;
    size_t photosInside(const ClockAlignment& alignment, size_t body, double span) const;
    // One clock for the photos given: its offset and drift, the candidates it was chosen from
    // and the reach of the shoot's own delays.
    struct SingleClock {
        double offset = 0.0;
        double drift = 0.0;
        double origin = 0.0;
        double reach = kWindowReach;
        std::vector<Candidate> candidates;
    };
    SingleClock bestSingleClock(const std::vector<double>& sortedPhotos) const;
    void separateBodies(ClockAlignment& alignment, SingleClock& clock) const;
    void judge(ClockEstimate& estimate, const SingleClock& clock) const;

    ClockEvidence fEvidence;
    std::vector<double> fScans;
};
