#include "ShootMatch.h"

#include "DoubtMarker.h"
#include "MacRoman.h"
#include "MessageLog.h"
#include "Preferences.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <ctime>
#include <fstream>
#include <limits>

namespace {

// How far before the second scan or after the last one alignmentPlacing looks for an offset.
constexpr double kPlacingReach = 600.0;

// "05/12/26 09:31:07" on the clock given, for reports.
std::string formatTime(double seconds) {
    std::time_t when = std::time_t(std::floor(seconds));
    std::tm fields{};
    gmtime_r(&when, &fields);
    char text[32];
    std::strftime(text, sizeof text, "%m/%d/%y %H:%M:%S", &fields);
    return text;
}

// An offset moved to the nearest half second, so that aligned whole-second times never tie with a
// scan; only for clocks without drift, whose fit changes at whole seconds only.
double toHalfSecond(double offset) {
    return std::floor(offset) + 0.5;
}

} // namespace

ShootMatch::ShootMatch(std::unique_ptr<ShootLists> lists) : fLists(std::move(lists)) {
    const std::vector<TimeItem>& scans = fLists->scans();
    const std::vector<TimeItem>& photos = fLists->photos();
    fScanTimes.resize(scans.size());
    fScanKeys.resize(scans.size());
    double next = std::numeric_limits<double>::infinity();
    for (size_t k = scans.size(); k-- > 0;) {
        std::optional<double> seconds = ShootLists::secondsOf(scans[k]);
        fScanTimes[k] = seconds ? *seconds : NAN;
        if (seconds)
            next = scans[k].ElapsedTime(fLists->scanReference());
        fScanKeys[k] = next;
    }
    fCaptureTimes.resize(photos.size());
    fBodies = fLists->bodies().bodyOfPhoto();
    ClockEvidence evidence;
    evidence.bodyLabels = fLists->bodies().labels();
    for (size_t k = 0; k < scans.size(); ++k)
        if (!std::isnan(fScanTimes[k]))
            evidence.scans.push_back(fScanTimes[k]);
    double firstPhoto = INFINITY;
    for (size_t i = 0; i < photos.size(); ++i) {
        std::optional<double> seconds = ShootLists::secondsOf(photos[i]);
        fCaptureTimes[i] = seconds ? *seconds : NAN;
        if (!seconds)
            continue;
        evidence.photos.push_back(*seconds);
        evidence.photoBodies.push_back(fBodies[i]);
        firstPhoto = std::min(firstPhoto, *seconds);
    }
    const double scanReference = double(fLists->scanReference().time_since_epoch().count());
    const double photoReference = double(fLists->photoReference().time_since_epoch().count());
    const double firstScan = *std::min_element(evidence.scans.begin(), evidence.scans.end());
    evidence.preferredOffsets = {scanReference - photoReference, firstScan - firstPhoto};
    fEstimator = std::make_unique<ClockEstimator>(std::move(evidence));
}

std::unique_ptr<ShootMatch> ShootMatch::read(const std::string& barcodeDataPath,
                                             const std::string& imageListPath) {
    std::unique_ptr<ShootLists> lists = ShootLists::read(barcodeDataPath, imageListPath);
    if (!lists)
        return nullptr;
    return std::unique_ptr<ShootMatch>(new ShootMatch(std::move(lists)));
}

const ClockEstimate& ShootMatch::automaticEstimate() const {
    if (fAutomatic)
        return *fAutomatic;
    ClockEstimate estimate = fEstimator->estimate();
    bool snapped = false;
    for (BodyClock& body : estimate.alignment.bodies) {
        if (body.driftPpm != 0.0)
            continue;
        body.offset = toHalfSecond(body.offset);
        snapped = true;
    }
    if (snapped)
        estimate.scansFitting = fEstimator->fitsOf(estimate.alignment);
    myPrintfDebug("Automatic clock alignment: " + describeEstimate(estimate, std::nullopt) + "\n");
    fAutomatic = estimate;
    return *fAutomatic;
}

size_t ShootMatch::fitsOf(const ClockAlignment& alignment) const {
    return fEstimator->fitsOf(alignment);
}

std::vector<double> ShootMatch::alignedTimes(const ClockAlignment& alignment) const {
    std::vector<double> aligned(fCaptureTimes.size());
    for (size_t i = 0; i < aligned.size(); ++i)
        aligned[i] = std::isnan(fCaptureTimes[i]) ? NAN : alignment.aligned(fCaptureTimes[i], fBodies[i]);
    return aligned;
}

std::vector<double> ShootMatch::keysFor(const std::vector<double>& aligned) const {
    const double reference = double(fLists->scanReference().time_since_epoch().count());
    std::vector<double> keys(aligned.size());
    for (size_t i = 0; i < aligned.size(); ++i)
        keys[i] = aligned[i] - reference;
    return keys;
}

ShootMatch::Walk ShootMatch::walk(const std::vector<double>& photoKeys, bool inListOrder) const {
    Walk walked;
    walked.order.resize(photoKeys.size());
    for (size_t i = 0; i < photoKeys.size(); ++i)
        walked.order[i] = i;
    if (!inListOrder) {
        // By aligned time; an undated photo keeps its place after the photo listed before it.
        std::vector<double> sortKey(photoKeys.size());
        double previous = -std::numeric_limits<double>::infinity();
        for (size_t i = 0; i < photoKeys.size(); ++i) {
            if (!std::isnan(photoKeys[i]))
                previous = photoKeys[i];
            sortKey[i] = previous;
        }
        std::stable_sort(walked.order.begin(), walked.order.end(),
                         [&](size_t a, size_t b) { return sortKey[a] < sortKey[b]; });
    }
    const size_t scans = fScanKeys.size();
    size_t current = 0;
    // Leading undated scans are passed at once; a dated scan follows (the reference exists).
    while (std::isnan(fScanTimes[current]))
        ++current;
    walked.scanOf.reserve(photoKeys.size());
    for (size_t i : walked.order) {
        const double key = photoKeys[i];
        if (!std::isnan(key))
            while (current + 1 < scans && key > fScanKeys[current + 1])
                ++current;
        walked.scanOf.push_back(current);
    }
    walked.nodes = current + 1;
    return walked;
}

std::vector<long> ShootMatch::scanOfPhoto(const ClockAlignment& alignment) const {
    const Walk walked = walk(keysFor(alignedTimes(alignment)), false);
    std::vector<long> scanOf(fCaptureTimes.size());
    for (size_t p = 0; p < walked.order.size(); ++p)
        scanOf[walked.order[p]] = long(walked.scanOf[p]);
    return scanOf;
}

void ShootMatch::build(const Walk& walked, const std::vector<double>& aligned,
                       const std::vector<long>& other) {
    const std::vector<TimeItem>& scans = fLists->scans();
    const std::vector<TimeItem>& photos = fLists->photos();
    DoubtInput input;
    input.scanTimes = fScanTimes;
    input.photoScan = walked.scanOf;
    input.photoAligned.reserve(walked.order.size());
    for (size_t i : walked.order)
        input.photoAligned.push_back(aligned[i]);
    if (!other.empty())
        for (size_t i : walked.order)
            input.otherScan.push_back(other[i]);
    const std::vector<uint32_t> doubts = DoubtMarker::mark(input);

    auto tree = std::make_unique<BarcodeList>();
    tree->reserve(walked.nodes);
    for (size_t k = 0; k < walked.nodes; ++k) {
        std::unique_ptr<Barcode> node = Barcode::barcodeWithValue(scans[k].data());
        node->setScanIndex(k);
        if (!std::isnan(fScanTimes[k]))
            node->setScanTime(fScanTimes[k]);
        tree->push_back(std::move(node));
    }
    fDoubtful = 0;
    fDoubts.clear();
    for (size_t p = 0; p < walked.order.size(); ++p) {
        const size_t i = walked.order[p];
        std::unique_ptr<BarcodeImage> leaf =
            BarcodeImage::barcodeImageWithValue(macRomanToUtf8(photos[i].data()));
        leaf->setPhotoIndex(i);
        leaf->setBody(fBodies[i]);
        if (!std::isnan(fCaptureTimes[i])) {
            leaf->setCaptureTime(fCaptureTimes[i]);
            leaf->setAlignedTime(aligned[i]);
        }
        leaf->setDoubts(doubts[p]);
        if (doubts[p] != ePhotoDoubt_None) {
            ++fDoubtful;
            fDoubts.push_back({i, doubts[p]});
        }
        (*tree)[walked.scanOf[p]]->addObject(std::move(leaf));
    }
    fUnmatched.clear();
    for (size_t k = 0; k < scans.size(); ++k) {
        if (k < walked.nodes && !(*tree)[k]->images().empty())
            continue;
        UnmatchedScan scan;
        scan.scanIndex = k;
        scan.barcode = scans[k].data();
        if (!std::isnan(fScanTimes[k]))
            scan.scanTime = fScanTimes[k];
        scan.hasNode = k < walked.nodes;
        fUnmatched.push_back(scan);
    }
    fTree = std::move(tree);
}

bool ShootMatch::matchWithPreferences() {
    if (GeneralPreferencesController::getDoUseLastBarcodeAsSyncData())
        return matchLastRecord(GeneralPreferencesController::getBarcodeMatchSkewSeconds());
    matchAutomatically();
    return true;
}

void ShootMatch::matchAutomatically() {
    fEstimate = automaticEstimate();
    const std::vector<double> aligned = alignedTimes(fEstimate.alignment);
    // The other alignment counts only when it fits nearly as well (the estimate is uncertain).
    std::vector<long> other;
    if (fEstimate.uncertain && fEstimate.runnerUp)
        other = scanOfPhoto(*fEstimate.runnerUp);
    build(walk(keysFor(aligned), false), aligned, other);
}

ClockEstimate ShootMatch::lastRecordEstimate(float skewSeconds) const {
    const double scanReference = double(fLists->scanReference().time_since_epoch().count());
    const double photoReference = double(fLists->photoReference().time_since_epoch().count());
    ClockEstimate estimate;
    estimate.method = eAlignment_LastRecord;
    estimate.skewSeconds = skewSeconds;
    estimate.alignment = fEstimator->sharedClock(scanReference - photoReference + double(skewSeconds));
    estimate.scansTotal = fEstimator->scanCount();
    estimate.scansFitting = fEstimator->fitsOf(estimate.alignment);
    const ClockEstimate& automatic = automaticEstimate();
    estimate.runnerUp = automatic.alignment;
    estimate.runnerUpFitting = automatic.scansFitting;
    const size_t margin = std::max<size_t>(2, estimate.scansTotal / 10);
    if (automatic.scansFitting >= estimate.scansFitting + margin) {
        estimate.uncertain = true;
        estimate.uncertaintyReason = eUncertainty_LastRecordOff;
        estimate.uncertainty =
            "the last records do not line the clocks up: " + std::to_string(estimate.scansFitting) + " of " +
            std::to_string(estimate.scansTotal) + " scans fit, the automatic alignment fits " +
            std::to_string(automatic.scansFitting);
    }
    return estimate;
}

bool ShootMatch::matchLastRecord(float skewSeconds) {
    fTree.reset();
    myPrintf(myFormat("2Using skewValue of %2.2f seconds\n", skewSeconds));
    if (!std::isfinite(skewSeconds)) {
        myPrintf("The match skew is not a number of seconds; check the preference "
                 "barcodeMatchSkewSeconds\n");
        return false;
    }
    const double skew = skewSeconds;
    const std::vector<TimeItem>& photos = fLists->photos();
    std::vector<double> keys(photos.size());
    std::vector<double> aligned(photos.size());
    const double shift = double((fLists->scanReference() - fLists->photoReference()).count()) + skew;
    for (size_t i = 0; i < photos.size(); ++i) {
        if (!photos[i].hasTime()) {
            keys[i] = aligned[i] = NAN;
            continue;
        }
        keys[i] = photos[i].ElapsedTime(fLists->photoReference()) + skew;
        aligned[i] = fCaptureTimes[i] + shift;
    }
    fEstimate = lastRecordEstimate(skewSeconds);
    build(walk(keys, true), aligned, scanOfPhoto(*fEstimate.runnerUp));
    return true;
}

void ShootMatch::matchWith(const ClockAlignment& alignment) {
    fEstimate = ClockEstimate();
    fEstimate.method = eAlignment_Manual;
    fEstimate.alignment = alignment;
    // Every body of the shoot has a clock; one the caller left out keeps the first one's.
    const ClockAlignment& automatic = automaticEstimate().alignment;
    std::vector<BodyClock>& bodies = fEstimate.alignment.bodies;
    for (size_t b = bodies.size(); b < automatic.bodies.size(); ++b) {
        bodies.push_back(bodies.empty() ? automatic.bodies[b] : bodies.front());
        bodies.back().label = automatic.bodies[b].label;
    }
    for (size_t b = 0; b < bodies.size() && b < automatic.bodies.size(); ++b)
        bodies[b].photos = automatic.bodies[b].photos;
    fEstimate.scansTotal = fEstimator->scanCount();
    fEstimate.scansFitting = fEstimator->fitsOf(fEstimate.alignment);
    fEstimate.runnerUp = automatic;
    fEstimate.runnerUpFitting = automaticEstimate().scansFitting;
    const std::vector<double> aligned = alignedTimes(fEstimate.alignment);
    build(walk(keysFor(aligned), false), aligned, scanOfPhoto(automatic));
}

std::optional<ClockAlignment> ShootMatch::alignmentPlacing(size_t photoIndex, size_t scanIndex) const {
    return alignmentPlacing(photoIndex, scanIndex,
                            fEstimate.alignment.bodies.empty() ? automaticEstimate().alignment
                                                               : fEstimate.alignment);
}

std::optional<ClockAlignment> ShootMatch::alignmentPlacing(size_t photoIndex, size_t scanIndex,
                                                           const ClockAlignment& base) const {
    if (photoIndex >= fCaptureTimes.size() || std::isnan(fCaptureTimes[photoIndex]))
        return std::nullopt;
    if (scanIndex >= fScanTimes.size() || std::isnan(fScanTimes[scanIndex]))
        return std::nullopt;
    // The photo lands on the scan when its aligned time is after the scan's and not after the
    // next scan's (an undated scan in between goes with the next dated one).
    size_t firstDated = 0;
    while (std::isnan(fScanTimes[firstDated]))
        ++firstDated;
    size_t next = scanIndex + 1;
    while (next < fScanTimes.size() && std::isnan(fScanTimes[next]))
        ++next;
    const double reference = double(fLists->scanReference().time_since_epoch().count());
    const double nextTime = next < fScanKeys.size() ? fScanKeys[next] + reference : INFINITY;
    double low = scanIndex == firstDated ? -INFINITY : fScanTimes[scanIndex];
    double high = nextTime;
    if (!(high > low))
        return std::nullopt;
    if (std::isinf(low))
        low = high - kPlacingReach;
    if (std::isinf(high))
        high = low + kPlacingReach;
    const size_t body = fBodies[photoIndex];
    if (body >= base.bodies.size())
        return std::nullopt;
    const BodyClock& clock = base.bodies[body];
    // The offset that gives the photo an aligned time t.
    const double unshifted = clock.aligned(fCaptureTimes[photoIndex]) - clock.offset;
    ClockAlignment placed = fEstimator->bestWithin(base, body, low - unshifted, high - unshifted);
    BodyClock& moved = placed.bodies[body];
    if (moved.driftPpm == 0.0) {
        const double half = toHalfSecond(moved.offset);
        if (half > low - unshifted && half <= high - unshifted) {
            const double shift = half - moved.offset;
            for (size_t b = 0; b < placed.bodies.size(); ++b)
                if (placed.bodies[b].offset != base.bodies[b].offset || b == body)
                    placed.bodies[b].offset += shift;
        }
    }
    return placed;
}

std::string ShootMatch::summary() const {
    return describeEstimate(fEstimate, fDoubtful);
}

std::string ShootMatch::reportText() const {
    std::string text = "estimate\t" + summary() + "\n";
    for (const BodyClock& body : fEstimate.alignment.bodies) {
        text += myFormat("camera\t%s\toffset %+.1f s\tdrift %+.0f ppm\t%zu photos\n", body.label.c_str(),
                         body.offset, body.driftPpm, body.photos);
    }
    for (const UnmatchedScan& scan : fUnmatched) {
        text += "scan without photos\t" + scan.barcode + "\t" +
                (scan.scanTime ? formatTime(*scan.scanTime) : std::string("no date")) + "\t" +
                (scan.hasNode ? "empty barcode" : "after the last photo, no barcode in the list") + "\n";
    }
    const std::vector<TimeItem>& photos = fLists->photos();
    for (const auto& doubt : fDoubts)
        text += "doubtful\t" + macRomanToUtf8(photos[doubt.first].data()) + "\t" +
                describePhotoDoubts(doubt.second) + "\n";
    return text;
}

bool ShootMatch::writeReport(const std::string& path) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.is_open()) {
        myPrintf(
            myFormat("The match report [%s] cannot be written: %s\n", path.c_str(), std::strerror(errno)));
        return false;
    }
    out << reportText();
    out.close();
    if (out.fail()) {
        myPrintf(myFormat("Writing the match report [%s] failed\n", path.c_str()));
        return false;
    }
    return true;
}
