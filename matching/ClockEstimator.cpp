#include "ClockEstimator.h"

#include "MessageLog.h"
#include "OffsetSearch.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Seconds either side of a coarse peak searched exactly (beyond the grid's own blur).
constexpr double kRefineReach = 10.0;
// Windows open only after the longest pauses: this many per scan (some subjects are
// photographed without a scan, some pauses fall inside a subject's photos), and a few more.
constexpr double kPausesPerScan = 1.5;
constexpr size_t kExtraPauses = 2;
// Once an offset is found, the windows reach back only as far as this shoot's scans precede
// their photos: the slowest tenth of its delays, with room to spare (kDelayRoom, kDelaySpare),
// within these bounds.
constexpr double kShortestReach = 30.0;
// Drifts tried: up to this many ppm either way.
constexpr double kMaxDriftPpm = 400.0;
// Shoots shorter than this show no drift worth finding.
constexpr double kShortestDriftSpan = 1800.0;
// The drift search looks at no more scans than this (evenly spread), then checks with all.
constexpr size_t kDriftSampleScans = 2000;
// An alignment is clearly different when it places at least this share of the photos (and at
// least two) under other scans.
constexpr double kDifferentShare = 0.10;
// The chosen alignment must beat every clearly different one by this much (scans that fit plus
// runs of photos that a scan opens) to be trusted.
constexpr size_t kClearLead = 2;
constexpr size_t kSmallShootScans = 10;
constexpr size_t kSmallShootLead = 4;
// Candidates this close to the best score are told apart by their score with the shoot's own
// reach (a shift by a whole subject fits nearly as many scans with a generous reach).
constexpr size_t kTieTolerance = 1;
constexpr double kTieShare = 0.02;
constexpr double kTightAround = 2.0;
// Among near-equals, delays from scan to photo that spread this much less (seconds, or share)
// win: shifting the clocks by a whole subject mixes the time between subjects into them.
constexpr double kSpreadRatio = 1.3;
constexpr double kSpreadLead = 0.5;
// The spread says something only over this many delays.
constexpr size_t kFewestSpreadDelays = 8;
// Fewer scans than this share fitting makes an estimate uncertain.
constexpr double kFewestFittingShare = 0.7;
constexpr size_t kFewestScans = 3;

std::vector<double> driftCorrected(const std::vector<double>& times, double driftPpm, double origin) {
    if (driftPpm == 0.0)
        return times;
    std::vector<double> corrected(times.size());
    for (size_t i = 0; i < times.size(); ++i)
        corrected[i] = times[i] - driftPpm * 1e-6 * (times[i] - origin);
    return corrected;
}

double middleOf(const std::vector<double>& sorted) {
    return sorted.empty() ? 0.0 : 0.5 * (sorted.front() + sorted.back());
}

} // namespace

ClockEstimator::ClockEstimator(ClockEvidence evidence)
    : fEvidence(std::move(evidence)), fScans(fEvidence.scans) {
    std::sort(fScans.begin(), fScans.end());
    if (fEvidence.bodyLabels.empty())
        fEvidence.bodyLabels.push_back("camera");
    fEvidence.photoBodies.resize(fEvidence.photos.size(), 0);
    for (size_t& body : fEvidence.photoBodies)
        body = std::min(body, fEvidence.bodyLabels.size() - 1);
}

std::vector<TimeWindow> ClockEstimator::windowsOf(const std::vector<double>& sortedPhotos,
                                                  double reach) const {
    const size_t pauses = size_t(std::ceil(kPausesPerScan * double(fScans.size()))) + kExtraPauses;
    return scanWindows(sortedPhotos, pauses, reach);
}

std::vector<double> ClockEstimator::photosOfBody(size_t body) const {
    std::vector<double> times;
    for (size_t i = 0; i < fEvidence.photos.size(); ++i)
        if (fEvidence.photoBodies[i] == body)
            times.push_back(fEvidence.photos[i]);
    std::sort(times.begin(), times.end());
    return times;
}

std::vector<double> ClockEstimator::allPhotosSorted() const {
    std::vector<double> times = fEvidence.photos;
    std::sort(times.begin(), times.end());
    return times;
}

std::vector<double> ClockEstimator::alignedSorted(const ClockAlignment& alignment) const {
    std::vector<double> aligned(fEvidence.photos.size());
    for (size_t i = 0; i < aligned.size(); ++i)
        aligned[i] = alignment.aligned(fEvidence.photos[i], fEvidence.photoBodies[i]);
    std::sort(aligned.begin(), aligned.end());
    return aligned;
}

ClockAlignment ClockEstimator::sharedClock(double offset) const {
    ClockAlignment alignment;
    const double origin = middleOf(allPhotosSorted());
    for (size_t b = 0; b < fEvidence.bodyLabels.size(); ++b) {
        BodyClock clock;
        clock.label = fEvidence.bodyLabels[b];
        clock.offset = offset;
        clock.driftOrigin = origin;
        alignment.bodies.push_back(clock);
    }
    for (size_t body : fEvidence.photoBodies)
        ++alignment.bodies[body].photos;
    return alignment;
}

size_t ClockEstimator::fitsOf(const ClockAlignment& alignment) const {
    return countFits(fScans, windowsOf(alignedSorted(alignment), kWindowReach), 0.0);
}

size_t ClockEstimator::scoreOf(const ClockAlignment& alignment, double reach) const {
    return scoreFits(fScans, windowsOf(alignedSorted(alignment), reach), 0.0).total();
}

std::vector<long> ClockEstimator::placements(const ClockAlignment& alignment) const {
    std::vector<long> placed(fEvidence.photos.size());
    for (size_t i = 0; i < placed.size(); ++i) {
        const double t = alignment.aligned(fEvidence.photos[i], fEvidence.photoBodies[i]);
        placed[i] = long(std::lower_bound(fScans.begin(), fScans.end(), t) - fScans.begin()) - 1;
    }
    return placed;
}

ClockEstimator::Candidate ClockEstimator::refine(const std::vector<TimeWindow>& windows, double around,
                                                 double reach) const {
    OffsetProfile profile(fScans, windows, around - reach, around + reach, true);
    OffsetChoice choice = profile.chosen(fEvidence.preferredOffsets);
    return {choice.offset, countFits(fScans, windows, choice.offset), choice.averaged, choice.fit};
}

double ClockEstimator::anchorDistance(double offset) const {
    double nearest = 1e300;
    for (double p : fEvidence.preferredOffsets)
        nearest = std::min(nearest, std::fabs(p - offset));
    return nearest;
}

void ClockEstimator::rank(std::vector<Candidate>& candidates) const {
    std::stable_sort(candidates.begin(), candidates.end(), [&](const Candidate& a, const Candidate& b) {
        if (std::fabs(a.averaged - b.averaged) > 1e-9)
            return a.averaged > b.averaged;
        if (a.score != b.score)
            return a.score > b.score;
        return anchorDistance(a.offset) < anchorDistance(b.offset);
    });
}

std::vector<ClockEstimator::Candidate>
ClockEstimator::searchOffsets(const std::vector<double>& sortedPhotos) const {
    std::vector<Candidate> candidates;
    const std::vector<TimeWindow> windows = windowsOf(sortedPhotos, kWindowReach);
    if (windows.empty() || fScans.empty())
        return candidates;
    double resolution = 1.0;
    std::vector<double> starts = coarseOffsetPeaks(fScans, windows, kCandidates, kPeakSeparation, resolution);
    for (double preferred : fEvidence.preferredOffsets)
        starts.push_back(preferred);
    const double reach = 2.0 * resolution + kRefineReach;
    for (double start : starts) {
        Candidate candidate = refine(windows, start, reach);
        bool known = false;
        for (const Candidate& other : candidates)
            known = known || std::fabs(other.offset - candidate.offset) < 1.0;
        if (!known)
            candidates.push_back(candidate);
    }
    rank(candidates);
    return candidates;
}

std::vector<double> ClockEstimator::fitDelays(const std::vector<TimeWindow>& windows, double offset) const {
    std::vector<double> delays;
    forEachFit(fScans, windows, offset,
               [&](size_t w, double x) { delays.push_back(windows[w].high + kWindowMargin - x); });
    return delays;
}

double ClockEstimator::slowTenth(std::vector<double> delays) {
    const size_t slow = std::min(delays.size() - 1, size_t(0.9 * double(delays.size())));
    std::nth_element(delays.begin(), delays.begin() + long(slow), delays.end());
    return kDelayRoom * delays[slow] + kDelaySpare;
}

double ClockEstimator::learnReach(const std::vector<double>& sortedPhotos, double offset) const {
    const std::vector<double> delays = fitDelays(windowsOf(sortedPhotos, kWindowReach), offset);
    if (delays.empty())
        return kWindowReach;
    return std::clamp(slowTenth(delays), kShortestReach, kWindowReach);
}

double ClockEstimator::delaySpread(const std::vector<TimeWindow>& windows, double offset) const {
    std::vector<double> delays = fitDelays(windows, offset);
    if (delays.size() < kFewestSpreadDelays)
        return NAN;
    // The standard deviation of the middle eight tenths (a slow start or two says nothing).
    std::sort(delays.begin(), delays.end());
    const size_t trim = delays.size() / 10;
    double sum = 0.0;
    double squares = 0.0;
    const size_t n = delays.size() - 2 * trim;
    for (size_t i = trim; i < delays.size() - trim; ++i) {
        sum += delays[i];
        squares += delays[i] * delays[i];
    }
    const double mean = sum / double(n);
    return std::sqrt(std::max(0.0, squares / double(n) - mean * mean));
}

void ClockEstimator::scoreTightly(const std::vector<double>& sortedPhotos, std::vector<Candidate>& candidates,
                                  double reach) const {
    const std::vector<TimeWindow> windows = windowsOf(sortedPhotos, reach);
    const std::vector<TimeWindow> generous = windowsOf(sortedPhotos, kWindowReach);
    for (Candidate& candidate : candidates) {
        // At the candidate itself (averaged over the same few seconds as its choice), not at the
        // best place nearby: a shifted candidate must not borrow its neighbour's fit.
        const OffsetProfile around(fScans, windows, candidate.offset - kTightAround,
                                   candidate.offset + kTightAround, true);
        candidate.tight = size_t(std::lround(around.mean()));
        candidate.spread = delaySpread(generous, candidate.offset);
    }
}

bool ClockEstimator::clearlyTighter(double spread, double other) {
    if (std::isnan(spread) || std::isnan(other))
        return false;
    return other >= spread * kSpreadRatio + kSpreadLead;
}

ClockEstimator::Candidate ClockEstimator::choose(const std::vector<Candidate>& candidates) const {
    size_t top = 0;
    for (const Candidate& candidate : candidates)
        top = std::max(top, candidate.score);
    const size_t tolerance = std::max(kTieTolerance, size_t(kTieShare * double(top)));
    const Candidate* best = nullptr;
    for (const Candidate& candidate : candidates) {
        if (candidate.score + tolerance < top)
            continue;
        if (!best) {
            best = &candidate;
            continue;
        }
        // Near-equals: the one whose scans precede their photos most consistently, then the one
        // that fits best with the shoot's own reach, then the better score, then the one nearer to
        // the last-record or first-record alignment.
        if (clearlyTighter(candidate.spread, best->spread)) {
            best = &candidate;
            continue;
        }
        if (clearlyTighter(best->spread, candidate.spread))
            continue;
        if (candidate.tight != best->tight) {
            best = candidate.tight > best->tight ? &candidate : best;
            continue;
        }
        if (candidate.score != best->score) {
            best = candidate.score > best->score ? &candidate : best;
            continue;
        }
        if (std::fabs(candidate.averaged - best->averaged) > 1e-9) {
            best = candidate.averaged > best->averaged ? &candidate : best;
            continue;
        }
        if (anchorDistance(candidate.offset) < anchorDistance(best->offset))
            best = &candidate;
    }
    return *best;
}

double ClockEstimator::searchDrift(const std::vector<double>& sortedPhotos, double& offset, double origin,
                                   double reach) const {
    const double span = sortedPhotos.empty() ? 0.0 : sortedPhotos.back() - sortedPhotos.front();
    if (span < kShortestDriftSpan || fScans.size() < 4)
        return 0.0;
    // A step moves the ends of the shoot by about a second.
    double step = std::clamp(2e6 / span, 1.0, 50.0);
    step = std::max(step, 2.0 * kMaxDriftPpm / 160.0);
    std::vector<double> sample;
    const size_t every = std::max<size_t>(1, fScans.size() / kDriftSampleScans);
    for (size_t i = 0; i < fScans.size(); i += every)
        sample.push_back(fScans[i]);
    const std::vector<TimeWindow> plain = windowsOf(sortedPhotos, reach);
    auto fitWithDrift = [&](const std::vector<double>& scans, double drift, double from, double to) {
        std::vector<TimeWindow> windows = plain;
        for (TimeWindow& w : windows) {
            w.low -= drift * 1e-6 * (w.low - origin);
            w.high -= drift * 1e-6 * (w.high - origin);
        }
        return OffsetProfile(scans, windows, from, to, true).best();
    };
    const double around = 8.0;
    std::vector<double> drifts;
    std::vector<size_t> fits;
    for (double drift = -kMaxDriftPpm; drift <= kMaxDriftPpm + 1e-9; drift += step) {
        drifts.push_back(drift);
        fits.push_back(fitWithDrift(sample, drift, offset - around, offset + around));
    }
    const size_t none = fitWithDrift(sample, 0.0, offset - around, offset + around);
    const size_t top = *std::max_element(fits.begin(), fits.end());
    if (top <= none)
        return 0.0;
    // The middle of the widest run of drifts at the top.
    size_t bestFirst = 0;
    size_t bestLength = 0;
    for (size_t i = 0; i < fits.size();) {
        if (fits[i] != top) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end + 1 < fits.size() && fits[end + 1] == top)
            ++end;
        if (end - i + 1 > bestLength) {
            bestLength = end - i + 1;
            bestFirst = i;
        }
        i = end + 1;
    }
    const double drift = 0.5 * (drifts[bestFirst] + drifts[bestFirst + bestLength - 1]);
    // Checked against every scan: kept only when it fits more of them.
    const size_t withoutFit = countFits(fScans, plain, offset);
    const std::vector<TimeWindow> with = windowsOf(driftCorrected(sortedPhotos, drift, origin), reach);
    Candidate moved = refine(with, offset, around + 2.0);
    if (moved.fit <= withoutFit)
        return 0.0;
    offset = moved.offset;
    return drift;
}

void ClockEstimator::judge(ClockEstimate& estimate, const SingleClock& clock) const {
    const size_t total = estimate.scansTotal;
    const size_t fit = estimate.scansFitting;
    char text[256];
    // Every candidate is the chosen alignment moved as a whole, so the aligned photos are sorted
    // and windowed once and each candidate is an offset against them.
    std::vector<std::pair<double, size_t>> aligned(fEvidence.photos.size());
    for (size_t i = 0; i < aligned.size(); ++i)
        aligned[i] = {estimate.alignment.aligned(fEvidence.photos[i], fEvidence.photoBodies[i]), i};
    std::sort(aligned.begin(), aligned.end());
    std::vector<double> times(aligned.size());
    for (size_t i = 0; i < aligned.size(); ++i)
        times[i] = aligned[i].first;
    const std::vector<TimeWindow> generous = windowsOf(times, kWindowReach);
    const std::vector<TimeWindow> tight = windowsOf(times, clock.reach);
    // The scan before each photo, in aligned order, at a shift.
    auto placed = [&](double shift) {
        std::vector<size_t> scanOf(times.size());
        size_t k = 0;
        for (size_t i = 0; i < times.size(); ++i) {
            while (k < fScans.size() && fScans[k] < times[i] + shift)
                ++k;
            scanOf[i] = k;
        }
        return scanOf;
    };
    const std::vector<size_t> chosen = placed(0.0);
    const size_t chosenScore = scoreFits(fScans, generous, 0.0).total();
    const size_t chosenTight = scoreFits(fScans, tight, 0.0).total();
    const double chosenSpread = delaySpread(generous, 0.0);
    size_t runnerUpScore = 0;
    size_t runnerUpTight = 0;
    for (const Candidate& candidate : clock.candidates) {
        const double shift = candidate.offset - clock.offset;
        const std::vector<size_t> other = placed(shift);
        size_t different = 0;
        for (size_t i = 0; i < other.size(); ++i)
            different += other[i] != chosen[i] ? 1 : 0;
        if (different < 2 || double(different) < kDifferentShare * double(other.size()))
            continue;
        // A rival whose delays spread clearly more is no real rival.
        if (clearlyTighter(chosenSpread, delaySpread(generous, shift)))
            continue;
        const FitScore otherFit = scoreFits(fScans, generous, shift);
        const size_t otherScore = otherFit.total();
        const size_t otherTight = scoreFits(fScans, tight, shift).total();
        // The closest rival: the smallest lead of the chosen one.
        const size_t lead = std::max(chosenScore > otherScore ? chosenScore - otherScore : 0,
                                     chosenTight > otherTight ? chosenTight - otherTight : 0);
        const size_t bestLead = std::max(chosenScore > runnerUpScore ? chosenScore - runnerUpScore : 0,
                                         chosenTight > runnerUpTight ? chosenTight - runnerUpTight : 0);
        if (estimate.runnerUp && lead >= bestLead)
            continue;
        estimate.runnerUp = estimate.alignment.shifted(shift);
        estimate.runnerUpFitting = otherFit.scans;
        runnerUpScore = otherScore;
        runnerUpTight = otherTight;
    }
    myPrintfDebug(
        myFormat("Clock alignment: score %zu, within %.0f s %zu; runner-up %zu, within %.0f s %zu\n",
                 chosenScore, clock.reach, chosenTight, runnerUpScore, clock.reach, runnerUpTight));
    if (total < kFewestScans) {
        estimate.uncertain = true;
        estimate.uncertaintyReason = eUncertainty_FewScans;
        std::snprintf(text, sizeof text, "the clocks could not be lined up with confidence: only %zu %s",
                      total, total == 1 ? "scan" : "scans");
        estimate.uncertainty = text;
        return;
    }
    if (double(fit) < kFewestFittingShare * double(total)) {
        estimate.uncertain = true;
        estimate.uncertaintyReason = eUncertainty_FewFit;
        std::snprintf(text, sizeof text,
                      "the clocks could not be lined up with confidence: %zu of %zu scans fit", fit, total);
        estimate.uncertainty = text;
        return;
    }
    // A shoot of few scans needs a bigger lead: chance alone lines a handful of scans up.
    const size_t lead = total < kSmallShootScans ? kSmallShootLead : kClearLead;
    if (!estimate.runnerUp || runnerUpScore + lead <= chosenScore || runnerUpTight + lead <= chosenTight)
        return;
    estimate.uncertain = true;
    estimate.uncertaintyReason = eUncertainty_CloseRival;
    const double shift = estimate.runnerUp->bodies.front().offset - estimate.alignment.bodies.front().offset;
    std::snprintf(text, sizeof text,
                  "the clocks could not be lined up with confidence: %zu of %zu scans fit, but the camera %s "
                  "further %s the scanner fits almost as well",
                  fit, total, describeDuration(shift).c_str(), shift > 0 ? "behind" : "ahead of");
    estimate.uncertainty = text;
}

ClockEstimator::SingleClock ClockEstimator::bestSingleClock(const std::vector<double>& sortedPhotos) const {
    SingleClock clock;
    clock.origin = middleOf(sortedPhotos);
    const std::vector<Candidate> found = searchOffsets(sortedPhotos);
    if (found.empty()) {
        clock.offset = fEvidence.preferredOffsets.empty() ? 0.0 : fEvidence.preferredOffsets.front();
        return clock;
    }
    // The reach of the near-best candidate whose scans precede their photos most closely: every
    // near-best candidate is then judged by how well it does with that reach.
    size_t top = 0;
    for (const Candidate& candidate : found)
        top = std::max(top, candidate.score);
    const size_t tolerance = std::max(kTieTolerance, size_t(kTieShare * double(top)));
    clock.reach = kWindowReach;
    for (const Candidate& candidate : found)
        if (candidate.score + tolerance >= top)
            clock.reach = std::min(clock.reach, learnReach(sortedPhotos, candidate.offset));
    clock.candidates = found;
    scoreTightly(sortedPhotos, clock.candidates, clock.reach);
    for (const Candidate& c : clock.candidates)
        myPrintfDebug(
            myFormat("Clock offset candidate %.1f s: %zu scans fit, score %zu (averaged %.2f), within "
                     "%.0f s %zu, delays spread %.1f s\n",
                     c.offset, c.fit, c.score, c.averaged, clock.reach, c.tight, c.spread));
    clock.offset = choose(clock.candidates).offset;
    clock.drift = searchDrift(sortedPhotos, clock.offset, clock.origin, clock.reach);
    return clock;
}

ClockEstimate ClockEstimator::estimate() const {
    ClockEstimate estimate;
    estimate.method = eAlignment_Automatic;
    estimate.scansTotal = fScans.size();
    SingleClock clock = bestSingleClock(allPhotosSorted());
    estimate.alignment = sharedClock(clock.offset);
    for (BodyClock& body : estimate.alignment.bodies) {
        body.driftPpm = clock.drift;
        body.driftOrigin = clock.origin;
    }
    separateBodies(estimate.alignment, clock);
    estimate.scansFitting = fitsOf(estimate.alignment);
    judge(estimate, clock);
    return estimate;
}
