// The clocks a match used, with the evidence for them.
#pragma once

#include "ClockAlignment.h"

#include <cstddef>
#include <optional>
#include <string>

enum eAlignmentMethod {
    // Estimated from the two lists (the factory choice).
    eAlignment_Automatic,
    // The last scan and the last photo count as simultaneous, plus the skew preference.
    eAlignment_LastRecord,
    // An offset the photographer set (an offset control, or a photo paired with its barcode).
    eAlignment_Manual,
};

// Why an estimate is uncertain, for texts that say it in the user's language.
enum eUncertainty {
    eUncertainty_None,
    // Fewer dated scans than an estimate can rest on.
    eUncertainty_FewScans,
    // Too small a share of the scans fits.
    eUncertainty_FewFit,
    // A clearly different alignment (runnerUp) fits nearly as well.
    eUncertainty_CloseRival,
    // The last-record alignment fits clearly fewer scans than the automatic one (runnerUp).
    eUncertainty_LastRecordOff,
};

// The clocks a match used, with the evidence for them.
struct ClockEstimate {
    eAlignmentMethod method = eAlignment_Automatic;
    ClockAlignment alignment;
    // The skew of the last-record alignment (its offset includes it); 0 otherwise.
    float skewSeconds = 0.0f;
    // Dated scans that land in a pause shortly before a photo, of all dated scans.
    size_t scansFitting = 0;
    size_t scansTotal = 0;
    // The evidence is weak: too few scans fit, or a clearly different alignment fits nearly as
    // well. Every photo should then be checked; uncertainty says why in a photographer's words.
    bool uncertain = false;
    std::string uncertainty;
    eUncertainty uncertaintyReason = eUncertainty_None;
    // The best clearly different alignment (it places many photos differently), when there is one.
    std::optional<ClockAlignment> runnerUp;
    size_t runnerUpFitting = 0;
};

// The estimate in one sentence: the clocks, "78 of 80 scans fit", "3 photos doubtful" when
// doubtfulPhotos is given, then the uncertainty when there is one.
std::string describeEstimate(const ClockEstimate& estimate, std::optional<size_t> doubtfulPhotos);
