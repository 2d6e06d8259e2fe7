#include "PhotoDoubt.h"

namespace {

struct DoubtText {
    ePhotoDoubt doubt;
    const char* text;
};

const DoubtText kDoubtTexts[] = {
    {ePhotoDoubt_BeforeFirstScan, "taken before the first scan"},
    {ePhotoDoubt_NearScanBoundary,
     "taken within a second of a scan, it may belong to the barcode before or after"},
    {ePhotoDoubt_AfterLongPause,
     "taken after a long pause inside its barcode's photos (test shots, a subject photographed without a "
     "scan, or a long last session)"},
    {ePhotoDoubt_OtherAlignmentDiffers,
     "the other way of lining up the clocks puts it under another barcode"},
    {ePhotoDoubt_NoCaptureTime, "it has no capture time, so it stays with the photo listed before it"},
    {ePhotoDoubt_JustAfterScanThenPause, "taken seconds after the scan and followed by a long pause: it may "
                                         "belong to the barcode before (the card "
                                         "scanned before the last photo of the subject before)"},
};

} // namespace

std::string describePhotoDoubts(uint32_t doubts) {
    std::string text;
    for (const DoubtText& entry : kDoubtTexts) {
        if ((doubts & entry.doubt) == 0)
            continue;
        if (!text.empty())
            text += "; ";
        text += entry.text;
    }
    return text;
}
