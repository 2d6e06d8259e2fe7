// The moment a photo was taken: the camera's own record, else the file's dates.
#pragma once

#include "FileDateAccess.h"
#include "PhotoMetadataReader.h"

#include <ctime>
#include <optional>
#include <string>

// A local date and time, field by field, as a camera writes it or as the local time zone shows an
// instant.
struct WallClock {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31
    int hour = 0;   // 0 to 23
    int minute = 0; // 0 to 59
    int second = 0; // 0 to 59
};

enum eCaptureTimeSource {
    eCaptureTimeSource_Exif,             // the camera's DateTimeOriginal
    eCaptureTimeSource_FileCreation,     // the file's birth time
    eCaptureTimeSource_FileModification, // the modification date, for a missing or zero birth time
};

struct CaptureTime {
    // What the image list shows: the camera's wall-clock text, or the file date in local time.
    WallClock local;
    // The absolute instant (the camera text read as local time as of its own date).
    std::time_t instant = 0;
    // The camera's SubSecTimeOriginal digits, empty when absent; orders photos of one second.
    std::string subSeconds;
    eCaptureTimeSource source = eCaptureTimeSource_Exif;
};

// Reads an EXIF date text ("2008:07:25 14:03:59"). Trailing NULs and spaces and a fractional
// second are allowed; a blank, zero, partial or impossible date or time (month 13, 30 February,
// hour 24) is none.
std::optional<WallClock> parseExifDateTimeText(const std::string& text);

// The capture time recorded in the metadata, or none.
std::optional<CaptureTime> captureTimeFromMetadata(const PhotoMetadata& metadata);

// The file-date stand-in: the creation date, or the modification date where the creation date is
// missing or one of the two zero dates (1 January 1904 and 1 January 1970, UTC). With doUpdate a
// zero creation date is replaced on disk, and a failure to do so is reported.
std::optional<CaptureTime> captureTimeFromFileDates(const std::string& path, bool doUpdate,
                                                    const FileDateAccess& fileDates);
// The same from dates already read (none: the file could not be examined); fileDates only
// repairs a zero creation date.
std::optional<CaptureTime> captureTimeFromDates(const std::string& path, bool doUpdate,
                                                const std::optional<FileDates>& dates,
                                                const FileDateAccess& fileDates);

// The capture time of the photo at path: its camera date, else its file dates; none when neither
// is available. The first form reads the file dates from the same open as the metadata.
std::optional<CaptureTime> GetAndUpdateFileCreationDate(const std::string& path, bool doUpdate);
std::optional<CaptureTime> GetAndUpdateFileCreationDate(const std::string& path, bool doUpdate,
                                                        const FileDateAccess& fileDates);

// "%m%d%y\t%H%M%S" of the local wall clock, for instance "072508\t140359".
std::string formatListDateAndTime(const CaptureTime& time);

// The working list's date text "2008-07-25 14:03:59 -0700" (local time and its offset from UTC).
std::string formatTheDate(const CaptureTime& time);

// Orders two capture times: by local date and time, then by the sub-second digits. Negative,
// zero or positive.
int compareCaptureTimes(const CaptureTime& a, const CaptureTime& b);
