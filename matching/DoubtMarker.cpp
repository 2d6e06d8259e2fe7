#include "DoubtMarker.h"

#include "PhotoDoubt.h"

#include <algorithm>
#include <cmath>

namespace {

// A photo this close to a scan may belong on either side of it.
constexpr double kBoundarySeconds = 1.0;
// Barcodes either side whose usual times set what counts as a long pause here.
constexpr size_t kNeighbourhood = 10;
// A first photo counts as long after its scan beyond this many times the usual delay, and never
// under kShortestLongDelay seconds.
constexpr double kDelayFactor = 3.0;
constexpr double kShortestLongDelay = 45.0;
// A pause between two photos of one barcode counts as long from this share of the usual change
// from one subject to the next, from kGapFactor times the usual gap between photos, and never
// under kShortestLongPause seconds.
constexpr double kTurnoverShare = 0.6;
constexpr double kGapFactor = 4.0;
constexpr double kShortestLongPause = 12.0;
// A barcode with more photos than this measures pauses against its own gaps as well.
constexpr size_t kOwnPacephotos = 4;
// A first photo this soon after its scan, followed by a long pause, may be the last photo of
// the subject before.
constexpr double kQuickDelay = 5.0;

double median(std::vector<double> values) {
    if (values.empty())
        return NAN;
    const size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + long(middle), values.end());
    return values[middle];
}

// What one barcode's dated photos look like, for the pause rule.
struct Group {
    size_t scan;
    // Walk positions of its dated photos, in walk order.
    std::vector<size_t> photos;
    double delay = NAN;
    double turnover = NAN;
    double gap = NAN;
};

} // namespace

std::vector<uint32_t> DoubtMarker::mark(const DoubtInput& input) {
    const size_t count = input.photoScan.size();
    std::vector<uint32_t> doubts(count, ePhotoDoubt_None);
    double firstScan = INFINITY;
    for (double t : input.scanTimes)
        if (!std::isnan(t))
            firstScan = std::min(firstScan, t);
    auto scanTime = [&](size_t scan) { return scan < input.scanTimes.size() ? input.scanTimes[scan] : NAN; };

    std::vector<Group> groups;
    for (size_t p = 0; p < count; ++p) {
        const double aligned = input.photoAligned[p];
        const size_t scan = input.photoScan[p];
        if (!input.otherScan.empty() && input.otherScan[p] != long(scan))
            doubts[p] |= ePhotoDoubt_OtherAlignmentDiffers;
        if (std::isnan(aligned)) {
            doubts[p] |= ePhotoDoubt_NoCaptureTime;
            continue;
        }
        if (aligned < firstScan)
            doubts[p] |= ePhotoDoubt_BeforeFirstScan;
        const double opens = scanTime(scan);
        const double next = scanTime(scan + 1);
        if ((!std::isnan(opens) && std::fabs(aligned - opens) <= kBoundarySeconds) ||
            (!std::isnan(next) && std::fabs(next - aligned) <= kBoundarySeconds))
            doubts[p] |= ePhotoDoubt_NearScanBoundary;
        // Photos before their barcode's scan (before the first scan) are marked already and
        // take no part in its pauses.
        if (!std::isnan(opens) && aligned < opens)
            continue;
        if (groups.empty() || groups.back().scan != scan)
            groups.push_back({scan, {}});
        groups.back().photos.push_back(p);
    }

    // The usual delay, change of subject and gap, barcode by barcode.
    for (size_t g = 0; g < groups.size(); ++g) {
        Group& group = groups[g];
        const double scan = scanTime(group.scan);
        const double first = input.photoAligned[group.photos.front()];
        if (!std::isnan(scan) && first >= scan)
            group.delay = first - scan;
        if (g > 0)
            group.turnover = first - input.photoAligned[groups[g - 1].photos.back()];
        std::vector<double> gaps;
        for (size_t i = 1; i < group.photos.size(); ++i)
            gaps.push_back(input.photoAligned[group.photos[i]] - input.photoAligned[group.photos[i - 1]]);
        group.gap = median(gaps);
    }
    for (size_t g = 0; g < groups.size(); ++g) {
        const size_t from = g > kNeighbourhood ? g - kNeighbourhood : 0;
        const size_t to = std::min(groups.size(), g + kNeighbourhood + 1);
        std::vector<double> delays;
        std::vector<double> turnovers;
        std::vector<double> gaps;
        for (size_t n = from; n < to; ++n) {
            if (n == g)
                continue;
            if (!std::isnan(groups[n].delay))
                delays.push_back(groups[n].delay);
            if (!std::isnan(groups[n].turnover))
                turnovers.push_back(groups[n].turnover);
            if (!std::isnan(groups[n].gap))
                gaps.push_back(groups[n].gap);
        }
        const double usualDelay = median(delays);
        const double usualTurnover = median(turnovers);
        const double usualGap = median(gaps);
        const double longDelay =
            std::max(kShortestLongDelay, std::isnan(usualDelay) ? 0.0 : kDelayFactor * usualDelay);
        double longPause = kShortestLongPause;
        if (!std::isnan(usualTurnover))
            longPause = std::max(longPause, kTurnoverShare * usualTurnover);
        if (!std::isnan(usualGap))
            longPause = std::max(longPause, kGapFactor * usualGap);

        const Group& group = groups[g];
        // A barcode of many photos sets its own pace: a pause counts as long only against the
        // gaps between its own photos too.
        if (group.photos.size() > kOwnPacephotos && !std::isnan(group.gap))
            longPause = std::max(longPause, kGapFactor * group.gap);
        size_t pausedFrom = group.photos.size();
        if (!std::isnan(group.delay) && group.delay > longDelay)
            pausedFrom = 0;
        for (size_t i = 1; i < group.photos.size() && pausedFrom == group.photos.size(); ++i) {
            const double gap = input.photoAligned[group.photos[i]] - input.photoAligned[group.photos[i - 1]];
            if (gap > longPause)
                pausedFrom = i;
        }
        for (size_t i = pausedFrom; i < group.photos.size(); ++i)
            doubts[group.photos[i]] |= ePhotoDoubt_AfterLongPause;
        // Photos taken within seconds of the scan and then a long pause: the card was scanned
        // before the subject before had its last photo taken.
        if (pausedFrom > 0 && pausedFrom < group.photos.size() && !std::isnan(group.delay) &&
            group.delay <= kQuickDelay)
            for (size_t i = 0; i < pausedFrom; ++i)
                doubts[group.photos[i]] |= ePhotoDoubt_JustAfterScanThenPause;
    }
    return doubts;
}
