// Marks the photos of a walk whose place is in doubt (PhotoDoubt.h), from the times alone.
//
// A photo is marked when it was taken before the first scan; within a second of the scan that
// opens its barcode or of the next scan; after a long pause inside its barcode's photos (a pause
// as long as the shoot's usual change from one subject to the next, there, or a first photo long
// after its scan), together with the photos of that barcode after it; when the other alignment
// puts it elsewhere; and when it has no capture time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct DoubtInput {
    // Per scan of the list: its time (seconds since 1970), NaN when undated.
    std::vector<double> scanTimes;
    // Per photo in walk order: the scan whose barcode received it, and its aligned time (NaN
    // when undated).
    std::vector<size_t> photoScan;
    std::vector<double> photoAligned;
    // Per photo in walk order: the scan the other alignment gives it; empty when there is no
    // other alignment to compare with.
    std::vector<long> otherScan;
};

class DoubtMarker {
  public:
    // The doubt marks (ePhotoDoubt bits) per photo in walk order.
    static std::vector<uint32_t> mark(const DoubtInput& input);
};
