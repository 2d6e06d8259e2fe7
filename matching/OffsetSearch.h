// How well a clock offset lines the scans up with the photos, and where the offsets that line
// them up best are.
//
// Photographers scan a card, then shoot: a scan belongs in a pause shortly before a photo. Each
// photo opens a window from kWindowReach seconds before it (or from the photo before it, when that
// is later) up to kWindowMargin seconds before it; a scan fits when it lands in such a window. For
// an offset o (scanner time = camera time + o) the fit is the number of scans that land in a window.
//
// All times are seconds since 1970 (doubles). Windows are in the photos' time (camera time, or the
// aligned time when several bodies are merged).
#pragma once

#include <cstddef>
#include <vector>

constexpr double kWindowReach = 180.0;
constexpr double kWindowMargin = 2.0;

struct TimeWindow {
    double low;
    double high;
};

// The windows of photos given in ascending time, themselves ascending and disjoint. With pauses
// greater than 0 only the photos after the longest pauses open a window (that many, and those
// tied with the last): a card is scanned when one subject makes way for the next, not between
// two photos of one subject, and gaps between such photos would let nearly any offset fit.
// reach replaces kWindowReach (a shoot whose subjects follow their scan within seconds needs less).
std::vector<TimeWindow> scanWindows(const std::vector<double>& sortedPhotoTimes, size_t pauses = 0,
                                    double reach = kWindowReach);

// Calls fit(window index, x) for each scan (ascending) that lands in a window when shifted by
// -offset, x being the scan's time on the photos' side. One walk over both lists.
template <typename Fit>
void forEachFit(const std::vector<double>& sortedScans, const std::vector<TimeWindow>& windows, double offset,
                Fit&& fit) {
    size_t w = 0;
    for (double scan : sortedScans) {
        const double x = scan - offset;
        while (w < windows.size() && windows[w].high < x)
            ++w;
        if (w == windows.size())
            return;
        if (windows[w].low <= x)
            fit(w, x);
    }
}

// The number of scans (ascending) that land in a window when shifted by -offset.
size_t countFits(const std::vector<double>& sortedScans, const std::vector<TimeWindow>& windows,
                 double offset);

// Both sides of a fit: the scans that land in a window, and the windows that receive a scan (a
// run of photos that some scan opens). Shifting the clocks by a whole subject keeps nearly every
// scan in some window but leaves a run at one end without a scan.
struct FitScore {
    size_t scans = 0;
    size_t windows = 0;
    size_t total() const { return scans + windows; }
};
FitScore scoreFits(const std::vector<double>& sortedScans, const std::vector<TimeWindow>& windows,
                   double offset);

// An offset chosen from a profile, with the scans that fit there and the fit averaged over a few
// seconds around it.
struct OffsetChoice {
    double offset;
    size_t fit;
    double averaged;
};

// The fit over [from, to] on a quarter-second grid: the scans that land in a window, and with
// countWindows also the windows that receive a scan (FitScore::total).
class OffsetProfile {
  public:
    OffsetProfile(const std::vector<double>& sortedScans, const std::vector<TimeWindow>& windows, double from,
                  double to, bool countWindows = false);

    // The best fit anywhere in the range.
    size_t best() const { return fBest; }
    // The offset chosen in the range: the most scans fitting, averaged over a few seconds around
    // it (a broad plateau beats a narrow spike); among equals the middle of the widest stretch,
    // then the stretch nearest to one of the preferred offsets.
    OffsetChoice chosen(const std::vector<double>& preferred) const;
    // The fit at the grid point nearest to an offset within the range.
    size_t fitAt(double offset) const;
    // The fit averaged over the whole range.
    double mean() const;

  private:
    double fFrom;
    double fTo;
    // The fit at fFrom + m * a quarter second.
    std::vector<size_t> fCounts;
    size_t fBest = 0;
};

// Candidate offsets over the whole range the two lists allow, from a correlation of the scans
// with the windows on a coarse grid; best first, at most maxCandidates, each the centre of a
// peak, at least minSeparation seconds apart. resolution is the grid step used (seconds).
std::vector<double> coarseOffsetPeaks(const std::vector<double>& sortedScans,
                                      const std::vector<TimeWindow>& windows, size_t maxCandidates,
                                      double minSeparation, double& resolution);
