#include "ClockEstimate.h"

std::string describeEstimate(const ClockEstimate& estimate, std::optional<size_t> doubtfulPhotos) {
    std::string text;
    if (estimate.method == eAlignment_LastRecord)
        text = "last scan and last photo taken as simultaneous, skew " +
               describeDuration(estimate.skewSeconds) + ": ";
    else if (estimate.method == eAlignment_Manual)
        text = "clock offset set by hand: ";
    text += describeClocks(estimate.alignment);
    text += "; " + std::to_string(estimate.scansFitting) + " of " + std::to_string(estimate.scansTotal) +
            (estimate.scansTotal == 1 ? " scan fits" : " scans fit");
    if (doubtfulPhotos)
        text += "; " + std::to_string(*doubtfulPhotos) +
                (*doubtfulPhotos == 1 ? " photo doubtful" : " photos doubtful");
    if (estimate.uncertain)
        text += "; " + estimate.uncertainty;
    return text;
}
