#include "OffsetSearch.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>
#include <tuple>
#include <utility>

namespace {

// The fit is averaged over this many seconds either side of an offset when one is chosen.
constexpr double kAveragingHalfWidth = 2.0;
constexpr double kChoiceGrid = 0.25;
// The coarse correlation uses at most this many grid steps for both lists together.
constexpr size_t kMaxCoarseSteps = size_t(1) << 19;
// Coarser than this the correlation blurs the pauses it looks for; longer lists are cut to the
// stretch that holds most of their records.
constexpr double kCoarsestResolution = 8.0;

using Complex = std::complex<double>;

// In-place radix-2 transform; inverse when sign is +1 (unscaled).
void fourierTransform(std::vector<Complex>& data, int sign) {
    const size_t n = data.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(data[i], data[j]);
    }
    for (size_t length = 2; length <= n; length <<= 1) {
        const double angle = sign * 2.0 * M_PI / double(length);
        const Complex step(std::cos(angle), std::sin(angle));
        const size_t half = length / 2;
        std::vector<Complex> twiddle(half);
        twiddle[0] = 1.0;
        for (size_t k = 1; k < half; ++k)
            twiddle[k] = (k % 64 == 0) ? std::polar(1.0, angle * double(k)) : twiddle[k - 1] * step;
        for (size_t start = 0; start < n; start += length) {
            for (size_t k = 0; k < half; ++k) {
                const Complex odd = data[start + k + half] * twiddle[k];
                data[start + k + half] = data[start + k] - odd;
                data[start + k] += odd;
            }
        }
    }
}

// The stretch of at most length seconds of ascending times that holds the most of them.
std::pair<double, double> densestStretch(const std::vector<double>& times, double length) {
    size_t bestFirst = 0;
    size_t bestCount = 0;
    size_t last = 0;
    for (size_t first = 0; first < times.size(); ++first) {
        if (last < first)
            last = first;
        while (last + 1 < times.size() && times[last + 1] - times[first] <= length)
            ++last;
        if (last - first + 1 > bestCount) {
            bestCount = last - first + 1;
            bestFirst = first;
        }
    }
    return {times[bestFirst], times[bestFirst] + length};
}

} // namespace

std::vector<TimeWindow> scanWindows(const std::vector<double>& sortedPhotoTimes, size_t pauses,
                                    double reach) {
    std::vector<TimeWindow> windows;
    windows.reserve(sortedPhotoTimes.size());
    double shortestPause = -INFINITY;
    if (pauses > 0 && pauses < sortedPhotoTimes.size()) {
        std::vector<double> gaps;
        gaps.reserve(sortedPhotoTimes.size());
        for (size_t i = 1; i < sortedPhotoTimes.size(); ++i)
            gaps.push_back(sortedPhotoTimes[i] - sortedPhotoTimes[i - 1]);
        // The first photo always opens a window, so pauses - 1 gaps are kept.
        const size_t kept = std::min(gaps.size(), pauses - 1);
        if (kept > 0) {
            std::nth_element(gaps.begin(), gaps.begin() + long(kept - 1), gaps.end(), std::greater<double>());
            shortestPause = gaps[kept - 1];
        } else {
            shortestPause = INFINITY;
        }
    }
    for (size_t i = 0; i < sortedPhotoTimes.size(); ++i) {
        const double t = sortedPhotoTimes[i];
        if (i > 0 && t - sortedPhotoTimes[i - 1] < shortestPause)
            continue;
        double low = t - reach;
        if (i > 0)
            low = std::max(low, sortedPhotoTimes[i - 1]);
        const double high = t - kWindowMargin;
        if (high > low)
            windows.push_back({low, high});
    }
    return windows;
}

size_t countFits(const std::vector<double>& sortedScans, const std::vector<TimeWindow>& windows,
                 double offset) {
    size_t fits = 0;
    forEachFit(sortedScans, windows, offset, [&](size_t, double) { ++fits; });
    return fits;
}

FitScore scoreFits(const std::vector<double>& sortedScans, const std::vector<TimeWindow>& windows,
                   double offset) {
    FitScore score;
    size_t lastClaimed = size_t(-1);
    forEachFit(sortedScans, windows, offset, [&](size_t w, double) {
        ++score.scans;
        if (lastClaimed != w) {
            ++score.windows;
            lastClaimed = w;
        }
    });
    return score;
}

OffsetProfile::OffsetProfile(const std::vector<double>& sortedScans, const std::vector<TimeWindow>& windows,
                             double from, double to, bool countWindows)
    : fFrom(from), fTo(to) {
    const size_t points = size_t(std::max(0.0, (to - from) / kChoiceGrid)) + 1;
    // Differences of the fit from one grid point to the next.
    std::vector<long> change(points + 1, 0);
    auto add = [&](double begin, double end) {
        // The grid points from + m * grid with begin <= point < end.
        const double first = std::ceil((begin - from) / kChoiceGrid);
        const double past = std::ceil((end - from) / kChoiceGrid);
        if (past <= first)
            return;
        change[size_t(std::max(0.0, first))] += 1;
        change[size_t(std::min(double(points), past))] -= 1;
    };
    // Per window, the offsets at which a scan lands in it arrive in ascending order (the scans
    // ascend), and a window is reached by consecutive scans only: the stretches still open are
    // kept in window order, extended, or closed and counted once.
    struct Open {
        size_t window;
        double begin;
        double end;
    };
    std::vector<Open> open;
    size_t firstOpen = 0;
    for (double scan : sortedScans) {
        // Camera times the scan lands on over the range of offsets.
        const double earliest = scan - to;
        const double latest = scan - from;
        auto w = std::lower_bound(windows.begin(), windows.end(), earliest,
                                  [](const TimeWindow& window, double t) { return window.high < t; });
        const size_t firstWindow = size_t(w - windows.begin());
        // Windows before this scan's first are reached by no later scan.
        for (; firstOpen < open.size() && open[firstOpen].window < firstWindow; ++firstOpen)
            add(open[firstOpen].begin, open[firstOpen].end);
        size_t slot = firstOpen;
        for (; w != windows.end() && w->low <= latest; ++w) {
            const double begin = std::max(scan - w->high, from);
            const double end = std::min(scan - w->low, to);
            if (end <= begin)
                continue;
            add(begin, end);
            if (!countWindows)
                continue;
            const size_t index = size_t(w - windows.begin());
            while (slot < open.size() && open[slot].window < index)
                ++slot;
            if (slot < open.size() && open[slot].window == index && begin <= open[slot].end) {
                open[slot].end = std::max(open[slot].end, end);
                continue;
            }
            if (slot < open.size() && open[slot].window == index) {
                add(open[slot].begin, open[slot].end);
                open[slot].begin = begin;
                open[slot].end = end;
                continue;
            }
            // Scans ascend, so a new window comes after every open one.
            open.push_back({index, begin, end});
            slot = open.size() - 1;
        }
    }
    for (; firstOpen < open.size(); ++firstOpen)
        add(open[firstOpen].begin, open[firstOpen].end);
    fCounts.resize(points);
    long count = 0;
    for (size_t m = 0; m < points; ++m) {
        count += change[m];
        fCounts[m] = size_t(std::max(0L, count));
        fBest = std::max(fBest, fCounts[m]);
    }
}

size_t OffsetProfile::fitAt(double offset) const {
    const double m = std::round((offset - fFrom) / kChoiceGrid);
    if (m < 0 || m >= double(fCounts.size()))
        return 0;
    return fCounts[size_t(m)];
}

double OffsetProfile::mean() const {
    if (fCounts.empty())
        return 0.0;
    double sum = 0.0;
    for (size_t count : fCounts)
        sum += double(count);
    return sum / double(fCounts.size());
}

OffsetChoice OffsetProfile::chosen(const std::vector<double>& preferred) const {
    const size_t points = fCounts.size();
    std::vector<double> prefix(points + 1, 0.0);
    for (size_t m = 0; m < points; ++m)
        prefix[m + 1] = prefix[m] + double(fCounts[m]);
    const long reach = long(std::lround(kAveragingHalfWidth / kChoiceGrid));
    std::vector<double> averaged(points);
    double top = -1.0;
    for (size_t m = 0; m < points; ++m) {
        const size_t low = size_t(std::max(0L, long(m) - reach));
        const size_t high = size_t(std::min(long(points) - 1, long(m) + reach));
        averaged[m] = (prefix[high + 1] - prefix[low]) / double(high - low + 1);
        top = std::max(top, averaged[m]);
    }
    // Runs of grid points at the top; the middle of each is a candidate.
    auto at = [&](size_t m) { return fFrom + double(m) * kChoiceGrid; };
    double best = fFrom;
    double bestAveraged = points > 0 ? averaged[0] : 0.0;
    double bestDistance = 1e300;
    double bestLength = -1.0;
    for (size_t m = 0; m < points;) {
        if (averaged[m] < top - 1e-9) {
            ++m;
            continue;
        }
        size_t end = m;
        while (end + 1 < points && averaged[end + 1] >= top - 1e-9)
            ++end;
        const double middle = 0.5 * (at(m) + at(end));
        const double length = at(end) - at(m);
        double distance = 1e300;
        for (double p : preferred)
            distance = std::min(distance, std::fabs(p - middle));
        const bool nearer = distance + 1e-9 < bestDistance;
        const bool sameDistance = std::fabs(distance - bestDistance) <= 1e-9;
        if (nearer || (sameDistance && length > bestLength)) {
            best = middle;
            bestAveraged = averaged[m];
            bestDistance = distance;
            bestLength = length;
        }
        m = end + 1;
    }
    return {best, fitAt(best), bestAveraged};
}

std::vector<double> coarseOffsetPeaks(const std::vector<double>& sortedScans,
                                      const std::vector<TimeWindow>& windows, size_t maxCandidates,
                                      double minSeparation, double& resolution) {
    std::vector<double> peaks;
    if (sortedScans.empty() || windows.empty())
        return peaks;
    double scanFrom = sortedScans.front();
    double scanTo = sortedScans.back();
    double photoFrom = windows.front().low;
    double photoTo = windows.back().high;
    double step =
        std::max(1.0, std::ceil((scanTo - scanFrom + photoTo - photoFrom) / double(kMaxCoarseSteps)));
    if (step > kCoarsestResolution) {
        // Lists spread over months: keep the stretch of each that holds most of it.
        step = kCoarsestResolution;
        const double length = 0.5 * step * double(kMaxCoarseSteps) - 1.0;
        std::tie(scanFrom, scanTo) = densestStretch(sortedScans, length);
        std::vector<double> starts;
        for (const TimeWindow& w : windows)
            starts.push_back(w.low);
        std::tie(photoFrom, photoTo) = densestStretch(starts, length);
    }
    resolution = step;
    const size_t scanSteps = size_t((scanTo - scanFrom) / step) + 1;
    const size_t photoSteps = size_t((photoTo - photoFrom) / step) + 2;
    size_t n = 1;
    while (n < scanSteps + photoSteps)
        n <<= 1;
    std::vector<Complex> data(n, Complex(0.0, 0.0));
    for (double scan : sortedScans) {
        if (scan < scanFrom || scan > scanTo)
            continue;
        data[size_t((scan - scanFrom) / step)] += 1.0;
    }
    for (const TimeWindow& w : windows) {
        const double low = std::max(w.low, photoFrom);
        const double high = std::min(w.high, photoTo);
        if (high <= low)
            continue;
        const double a = (low - photoFrom) / step;
        const double b = (high - photoFrom) / step;
        size_t first = size_t(a);
        const size_t last = std::min(size_t(b), photoSteps - 1);
        if (first == last) {
            data[first] += Complex(0.0, b - a);
            continue;
        }
        data[first] += Complex(0.0, double(first + 1) - a);
        for (size_t k = first + 1; k < last; ++k)
            data[k] += Complex(0.0, 1.0);
        data[last] += Complex(0.0, b - double(last));
    }
    fourierTransform(data, -1);
    // Split the two real sequences' spectra and multiply for the correlation sum a[t] b[t + k],
    // in place: bins m and n - m are read together before either is written.
    auto product = [](const Complex& z, const Complex& mirrored) {
        const Complex scansSpectrum = 0.5 * (z + mirrored);
        const Complex windowsSpectrum = Complex(0.0, -0.5) * (z - mirrored);
        return std::conj(scansSpectrum) * windowsSpectrum;
    };
    for (size_t m = 0; m <= n / 2; ++m) {
        const size_t mirror = (n - m) % n;
        const Complex z = data[m];
        const Complex w = data[mirror];
        data[m] = product(z, std::conj(w));
        data[mirror] = product(w, std::conj(z));
    }
    fourierTransform(data, +1);
    // Lags k from -(scanSteps - 1) to photoSteps - 1, offset = scanFrom - photoFrom - k * step.
    const long lowest = -long(scanSteps) + 1;
    const long highest = long(photoSteps) - 1;
    const size_t lags = size_t(highest - lowest + 1);
    std::vector<double> correlation(lags);
    for (long k = lowest; k <= highest; ++k) {
        const size_t index = size_t(k >= 0 ? k : long(n) + k);
        correlation[size_t(k - lowest)] = data[index].real() / double(n);
    }
    // A little smoothing, so that a broad peak beats a lone spike.
    const long reach = std::max(1L, long(std::lround(kAveragingHalfWidth / step)));
    std::vector<double> smooth(lags, 0.0);
    {
        double sum = 0.0;
        long count = 0;
        long low = 0;
        long high = -1;
        for (long i = 0; i < long(lags); ++i) {
            while (high < std::min(long(lags) - 1, i + reach)) {
                sum += correlation[size_t(++high)];
                ++count;
            }
            while (low < i - reach) {
                sum -= correlation[size_t(low++)];
                --count;
            }
            smooth[size_t(i)] = sum / double(count) + 1e-6 * correlation[size_t(i)];
        }
    }
    const long separation = std::max(1L, long(std::ceil(minSeparation / step)));
    // Local tops only (a plateau counts once, at its first point), best first.
    std::vector<size_t> order;
    for (size_t i = 0; i < lags; ++i) {
        const bool risesTo = i == 0 || smooth[i] > smooth[i - 1];
        const bool staysAt = i + 1 == lags || smooth[i] >= smooth[i + 1];
        if (risesTo && staysAt)
            order.push_back(i);
    }
    const size_t keep = std::min(order.size(), std::max<size_t>(maxCandidates * 64, 256));
    std::partial_sort(order.begin(), order.begin() + long(keep), order.end(),
                      [&](size_t a, size_t b) { return smooth[a] > smooth[b]; });
    std::vector<long> taken;
    for (size_t r = 0; r < keep && peaks.size() < maxCandidates; ++r) {
        const long i = long(order[r]);
        bool near = false;
        for (long t : taken)
            near = near || std::labs(t - i) < separation;
        if (near)
            continue;
        taken.push_back(i);
        const long k = i + lowest;
        peaks.push_back(scanFrom - photoFrom - double(k) * step);
    }
    return peaks;
}
