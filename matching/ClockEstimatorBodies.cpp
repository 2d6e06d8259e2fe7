// The part of the automatic clock alignment for several camera bodies: each body's own offset
// against the whole shoot, and one body's offset moved within a range (a photo paired with its
// barcode).
#include "ClockEstimator.h"

#include "MessageLog.h"
#include "OffsetSearch.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// A body's own offset is settled within this many seconds of each start.
constexpr double kSettleReach = 15.0;
// A body gets an offset of its own only with this many dated photos.
constexpr size_t kFewestBodyPhotos = 6;

} // namespace

ClockAlignment ClockEstimator::bestWithin(const ClockAlignment& base, size_t body, double low,
                                          double high) const {
    ClockAlignment result = base;
    if (body >= base.bodies.size() || !(high > low))
        return result;
    const bool own = base.bodies[body].ownClock;
    auto moves = [&](size_t b) { return b == body || (!own && !base.bodies[b].ownClock); };
    // Photos of the bodies that move, in their own clock's corrected time (offset not applied);
    // the others aligned as they stand.
    const BodyClock& clock = base.bodies[body];
    std::vector<double> moving;
    std::vector<double> fixed;
    for (size_t i = 0; i < fEvidence.photos.size(); ++i) {
        const size_t b = fEvidence.photoBodies[i];
        if (moves(b))
            moving.push_back(base.bodies[b].aligned(fEvidence.photos[i]) - base.bodies[b].offset);
        else
            fixed.push_back(base.aligned(fEvidence.photos[i], b));
    }
    std::sort(moving.begin(), moving.end());
    std::sort(fixed.begin(), fixed.end());
    double chosen = 0.5 * (low + high);
    if (fixed.empty()) {
        OffsetProfile profile(fScans, windowsOf(moving, kWindowReach), low, high);
        chosen = profile.chosen({clock.offset}).offset;
    } else {
        // With other bodies fixed the windows change with the offset: try it on a half-second grid.
        size_t bestFit = 0;
        double runStart = low;
        double runEnd = low;
        bool inRun = false;
        for (double o = low + 0.25; o < high; o += 0.5) {
            std::vector<double> merged = fixed;
            for (double t : moving)
                merged.push_back(t + o);
            std::sort(merged.begin(), merged.end());
            const size_t fit = countFits(fScans, windowsOf(merged, kWindowReach), 0.0);
            if (fit > bestFit) {
                bestFit = fit;
                runStart = runEnd = o;
                inRun = true;
            } else if (fit == bestFit && inRun && o - runEnd <= 0.51) {
                runEnd = o;
            } else {
                inRun = fit == bestFit ? inRun : false;
            }
        }
        chosen = 0.5 * (runStart + runEnd);
    }
    chosen = std::clamp(chosen, std::nextafter(low, high), high);
    for (size_t b = 0; b < result.bodies.size(); ++b)
        if (moves(b))
            result.bodies[b].offset = chosen + (base.bodies[b].offset - clock.offset);
    return result;
}

std::vector<double> ClockEstimator::residualScans(const ClockAlignment& alignment, double reach) const {
    // Scans that open no run of the photos as aligned: in no window, or not the last scan of
    // their window (an earlier scan in the same pause belongs to another body's subject, or to
    // an absent one).
    const std::vector<TimeWindow> windows = windowsOf(alignedSorted(alignment), reach);
    std::vector<double> residual;
    size_t w = 0;
    for (size_t k = 0; k < fScans.size(); ++k) {
        const double x = fScans[k];
        while (w < windows.size() && windows[w].high < x)
            ++w;
        const bool inWindow = w < windows.size() && windows[w].low <= x;
        const bool lastInWindow = inWindow && (k + 1 == fScans.size() || fScans[k + 1] > windows[w].high);
        if (!lastInWindow)
            residual.push_back(x);
    }
    return residual;
}

ClockAlignment ClockEstimator::settleBody(const ClockAlignment& base, size_t body, double around,
                                          double reach, size_t& score) const {
    // The body's offset on a half-second grid around the given one, scored with every body's
    // photos merged; the middle of the best run wins.
    ClockAlignment trial = base;
    size_t best = 0;
    double runStart = around;
    double runEnd = around;
    bool inRun = false;
    for (double o = around - kSettleReach; o <= around + kSettleReach + 1e-9; o += 0.5) {
        trial.bodies[body].offset = o;
        const size_t value = scoreOf(trial, reach);
        if (value > best) {
            best = value;
            runStart = runEnd = o;
            inRun = true;
        } else if (value == best && inRun) {
            runEnd = o;
        } else {
            inRun = false;
        }
    }
    trial.bodies[body].offset = 0.5 * (runStart + runEnd);
    score = scoreOf(trial, reach);
    return trial;
}

template <typename Visit>
void ClockEstimator::forEachPhotoAfterScan(const ClockAlignment& alignment, size_t body,
                                           Visit&& visit) const {
    for (size_t i = 0; i < fEvidence.photos.size(); ++i) {
        if (fEvidence.photoBodies[i] != body)
            continue;
        const double t = alignment.aligned(fEvidence.photos[i], body);
        auto next = std::lower_bound(fScans.begin(), fScans.end(), t);
        if (next == fScans.begin())
            continue;
        const double untilNext = next == fScans.end() ? INFINITY : *next - t;
        visit(t - *std::prev(next), untilNext);
    }
}

double ClockEstimator::subjectSpan(const ClockAlignment& alignment, size_t body) const {
    std::vector<double> after;
    forEachPhotoAfterScan(alignment, body, [&](double sinceScan, double) { after.push_back(sinceScan); });
    if (after.empty())
        return kWindowReach;
    return slowTenth(std::move(after));
}

size_t ClockEstimator::photosInside(const ClockAlignment& alignment, size_t body, double span) const {
    size_t inside = 0;
    forEachPhotoAfterScan(alignment, body, [&](double sinceScan, double untilNext) {
        inside += (sinceScan <= span && untilNext > kWindowMargin) ? 1 : 0;
    });
    return inside;
}

void ClockEstimator::separateBodies(ClockAlignment& alignment, SingleClock& clock) const {
    const size_t bodies = alignment.bodies.size();
    if (bodies < 2)
        return;
    // The body with the most photos gets the clock found from its photos alone; each other body
    // with enough photos tries offsets of its own against the whole shoot. The result replaces
    // the single clock when it explains the shoot better.
    size_t main = 0;
    for (size_t b = 1; b < bodies; ++b)
        if (alignment.bodies[b].photos > alignment.bodies[main].photos)
            main = b;
    const std::vector<double> mainPhotos = photosOfBody(main);
    if (mainPhotos.size() < kFewestBodyPhotos)
        return;
    SingleClock mainClock = bestSingleClock(mainPhotos);
    ClockAlignment current = alignment;
    for (BodyClock& body : current.bodies) {
        body.offset = mainClock.offset;
        body.driftPpm = mainClock.drift;
        body.driftOrigin = mainClock.origin;
    }
    const double reach = mainClock.reach;
    // How long after its scan a subject's photos are taken, from the main body: a body's photos
    // that fall in such stretches count for its offset (scans alone say little about a body
    // that photographs the same subjects as another).
    const double span = subjectSpan(current, main);
    auto valueOf = [&](const ClockAlignment& trial) {
        size_t value = scoreOf(trial, reach);
        for (size_t b = 0; b < bodies; ++b)
            if (b != main)
                value += photosInside(trial, b, span);
        return value;
    };
    for (size_t b = 0; b < bodies; ++b) {
        if (b == main)
            continue;
        const std::vector<double> own = photosOfBody(b);
        if (own.size() < kFewestBodyPhotos)
            continue;
        std::vector<double> starts = {current.bodies[b].offset};
        for (const Candidate& candidate : searchOffsets(own))
            starts.push_back(candidate.offset);
        const std::vector<double> residual = residualScans(current, reach);
        const std::vector<TimeWindow> windows = windowsOf(own, kWindowReach);
        if (!residual.empty() && !windows.empty()) {
            double resolution = 1.0;
            for (double peak : coarseOffsetPeaks(residual, windows, kCandidates, kPeakSeparation, resolution))
                starts.push_back(peak);
        }
        ClockAlignment bestTrial = current;
        size_t bestValue = valueOf(current);
        for (double start : starts) {
            size_t score = 0;
            ClockAlignment trial = settleBody(current, b, start, reach, score);
            const size_t value = valueOf(trial);
            myPrintfDebug(myFormat("Body %zu offset start %.1f s: settled %.1f s, value %zu\n", b, start,
                                   trial.bodies[b].offset, value));
            if (value > bestValue) {
                bestValue = value;
                bestTrial = trial;
            }
        }
        current = bestTrial;
        current.bodies[b].ownClock = std::fabs(current.bodies[b].offset - mainClock.offset) > 0.75;
    }
    // The main body settled again with the others in place.
    size_t score = 0;
    ClockAlignment settled = settleBody(current, main, current.bodies[main].offset, reach, score);
    if (valueOf(settled) > valueOf(current))
        current = settled;
    bool anyOwn = false;
    for (size_t b = 0; b < bodies; ++b)
        anyOwn = anyOwn || current.bodies[b].ownClock;
    if (!anyOwn || valueOf(current) <= valueOf(alignment))
        return;
    for (size_t b = 0; b < bodies; ++b)
        current.bodies[b].ownClock = alignment.bodies[b].photos >= kFewestBodyPhotos;
    alignment = current;
    clock = mainClock;
}
