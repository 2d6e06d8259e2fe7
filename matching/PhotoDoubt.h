// Why a photo may sit under the wrong barcode, as marks a photographer can act on. A photo carries
// a set of them (bits); none means nothing speaks against its place.
#pragma once

#include <cstdint>
#include <string>

enum ePhotoDoubt : uint32_t {
    ePhotoDoubt_None = 0,
    // Taken before the first scan of the shoot (a test shot, or a subject whose card was scanned
    // later or not at all): it sits under the first barcode only because nothing comes earlier.
    ePhotoDoubt_BeforeFirstScan = 1u << 0,
    // Taken within a second of a scan: it may belong to the barcode before or after.
    ePhotoDoubt_NearScanBoundary = 1u << 1,
    // Taken after a long pause inside its barcode's photos: test shots, a subject photographed
    // without a scan, or a long last session.
    ePhotoDoubt_AfterLongPause = 1u << 2,
    // The other way of lining up the clocks puts it under another barcode.
    ePhotoDoubt_OtherAlignmentDiffers = 1u << 3,
    // The photo has no capture time: it stays with the photo listed before it.
    ePhotoDoubt_NoCaptureTime = 1u << 4,
    // Taken within seconds of its barcode's scan, before a long pause: the card was probably
    // scanned before the subject before had its last photo taken.
    ePhotoDoubt_JustAfterScanThenPause = 1u << 5,
};

// The reasons, in a photographer's words, joined by "; " ("taken before the first scan; ...").
// Empty for none.
std::string describePhotoDoubts(uint32_t doubts);
