#include "PhotoCaptureTime.h"

#include "ListName.h"
#include "MessageLog.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// The zero creation dates of the two common file-system epochs.
constexpr std::time_t kZeroDate1904 = -2082844800; // 1904-01-01 00:00:00 +0000
constexpr std::time_t kZeroDate1970 = 0;           // 1970-01-01 00:00:00 +0000

bool isDigitAt(const std::string& text, size_t position) {
    return position < text.size() && text[position] >= '0' && text[position] <= '9';
}

int numberAt(const std::string& text, size_t position, size_t digits) {
    int value = 0;
    for (size_t i = 0; i < digits; ++i)
        value = value * 10 + (text[position + i] - '0');
    return value;
}

bool hasDigits(const std::string& text, size_t position, size_t digits) {
    for (size_t i = 0; i < digits; ++i)
        if (!isDigitAt(text, position + i))
            return false;
    return true;
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && isLeapYear(year))
        return 29;
    return kDays[month - 1];
}

// The "YYYY:MM:DD HH:MM:SS" shape; the date separators may also be "-", as some editors write.
bool hasDateTimeShape(const std::string& text) {
    if (text.size() < 19)
        return false;
    if (!hasDigits(text, 0, 4) || !hasDigits(text, 5, 2) || !hasDigits(text, 8, 2))
        return false;
    if (!hasDigits(text, 11, 2) || !hasDigits(text, 14, 2) || !hasDigits(text, 17, 2))
        return false;
    bool dateSeparators = (text[4] == ':' || text[4] == '-') && text[7] == text[4];
    return dateSeparators && text[10] == ' ' && text[13] == ':' && text[16] == ':';
}

// After the seconds only a fractional second may follow.
bool hasOnlyFractionAfterSeconds(const std::string& text) {
    if (text.size() == 19)
        return true;
    if (text[19] != '.' || text.size() == 20)
        return false;
    return hasDigits(text, 20, text.size() - 20);
}

bool isRealDateAndTime(const WallClock& clock) {
    if (clock.year < 1900 || clock.year > 2099 || clock.month < 1 || clock.month > 12)
        return false;
    if (clock.day < 1 || clock.day > daysInMonth(clock.year, clock.month))
        return false;
    return clock.hour <= 23 && clock.minute <= 59 && clock.second <= 59;
}

WallClock wallClockOf(const std::tm& local) {
    WallClock clock;
    clock.year = local.tm_year + 1900;
    clock.month = local.tm_mon + 1;
    clock.day = local.tm_mday;
    clock.hour = local.tm_hour;
    clock.minute = local.tm_min;
    clock.second = local.tm_sec;
    return clock;
}

long offsetFromUtcAt(std::time_t instant) {
    std::tm local{};
    localtime_r(&instant, &local);
    return local.tm_gmtoff;
}

// The camera wrote local wall-clock time without a zone: read it with the offset that was in
// force on that date, not today's, so the list shows what the camera recorded. Computed from
// localtime_r rather than mktime, which looks at the time zone file again on every call (one more
// stat per photo).
std::time_t instantOfLocal(const WallClock& clock) {
    std::tm fields{};
    fields.tm_year = clock.year - 1900;
    fields.tm_mon = clock.month - 1;
    fields.tm_mday = clock.day;
    fields.tm_hour = clock.hour;
    fields.tm_min = clock.minute;
    fields.tm_sec = clock.second;
    const std::time_t asIfUtc = timegm(&fields);
    const std::time_t firstGuess = asIfUtc - offsetFromUtcAt(asIfUtc);
    return asIfUtc - offsetFromUtcAt(firstGuess);
}

// The sub-second text as digits only (cameras pad it with spaces or NULs).
std::string subSecondDigits(const std::string& text) {
    std::string digits;
    for (char c : text) {
        if (c == '\0')
            break;
        if (c >= '0' && c <= '9')
            digits += c;
    }
    return digits;
}

CaptureTime captureTimeOfInstant(std::time_t instant, eCaptureTimeSource source) {
    std::tm local{};
    localtime_r(&instant, &local);
    CaptureTime time;
    time.local = wallClockOf(local);
    time.instant = instant;
    time.source = source;
    return time;
}

// A zero creation date stands for "never set": the modification date is the answer, and the
// creation date is corrected on disk where that is allowed.
CaptureTime replaceZeroCreationDate(const std::string& path, bool doUpdate, const FileDates& dates,
                                    const FileDateAccess& fileDates, bool is1904) {
    myPrintfDebug(is1904 ? "fileCreationDate isEqualToDate: Jan 1, 1904\n"
                         : "fileCreationDate isEqualToDate: Jan 1, 1970\n");
    CaptureTime result = captureTimeOfInstant(dates.modification.tv_sec, eCaptureTimeSource_FileModification);
    if (!doUpdate)
        return result;
    if (fileDates.setCreationDate(path, dates.modification.tv_sec)) {
        myPrintfDebug(is1904 ? "Changed ZeroDate to FileModificationDate\n"
                             : "Changed ZeroDate2 to FileModificationDate\n");
        return result;
    }
    myPrintf(is1904 ? "FAILED in changing ZeroDate to FileModificationDate\n"
                    : "FAILED in changing ZeroDate2 to FileModificationDate\n");
    myPrintf("\t" + messageTextForPath(path));
    return result;
}

} // namespace

std::optional<WallClock> parseExifDateTimeText(const std::string& raw) {
    std::string text = raw.substr(0, raw.find('\0'));
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    if (text.empty() || text[0] == ' ')
        return std::nullopt;
    if (!hasDateTimeShape(text) || !hasOnlyFractionAfterSeconds(text))
        return std::nullopt;
    WallClock clock;
    clock.year = numberAt(text, 0, 4);
    clock.month = numberAt(text, 5, 2);
    clock.day = numberAt(text, 8, 2);
    clock.hour = numberAt(text, 11, 2);
    clock.minute = numberAt(text, 14, 2);
    clock.second = numberAt(text, 17, 2);
    if (!isRealDateAndTime(clock))
        return std::nullopt;
    return clock;
}

std::optional<CaptureTime> captureTimeFromMetadata(const PhotoMetadata& metadata) {
    if (!metadata.dateTimeOriginal)
        return std::nullopt;
    std::optional<WallClock> clock = parseExifDateTimeText(*metadata.dateTimeOriginal);
    if (!clock)
        return std::nullopt;
    CaptureTime time;
    time.local = *clock;
    time.instant = instantOfLocal(*clock);
    time.subSeconds = subSecondDigits(metadata.subSecTimeOriginal);
    time.source = eCaptureTimeSource_Exif;
    return time;
}

std::optional<CaptureTime> captureTimeFromFileDates(const std::string& path, bool doUpdate,
                                                    const FileDateAccess& fileDates) {
    return captureTimeFromDates(path, doUpdate, fileDates.readFileDates(path), fileDates);
}

std::optional<CaptureTime> captureTimeFromDates(const std::string& path, bool doUpdate,
                                                const std::optional<FileDates>& dates,
                                                const FileDateAccess& fileDates) {
    if (!dates)
        return std::nullopt;
    if (!dates->creation)
        return captureTimeOfInstant(dates->modification.tv_sec, eCaptureTimeSource_FileModification);
    const std::timespec& creation = *dates->creation;
    if (creation.tv_nsec == 0 && creation.tv_sec == kZeroDate1904)
        return replaceZeroCreationDate(path, doUpdate, *dates, fileDates, true);
    if (creation.tv_nsec == 0 && creation.tv_sec == kZeroDate1970)
        return replaceZeroCreationDate(path, doUpdate, *dates, fileDates, false);
    return captureTimeOfInstant(creation.tv_sec, eCaptureTimeSource_FileCreation);
}

std::optional<CaptureTime> GetAndUpdateFileCreationDate(const std::string& path, bool doUpdate,
                                                        const FileDateAccess& fileDates) {
    std::optional<CaptureTime> fromCamera = captureTimeFromMetadata(readPhotoMetadata(path));
    if (fromCamera)
        return fromCamera;
    return captureTimeFromFileDates(path, doUpdate, fileDates);
}

std::optional<CaptureTime> GetAndUpdateFileCreationDate(const std::string& path, bool doUpdate) {
    const PhotoMetadata metadata = readPhotoMetadata(path);
    std::optional<CaptureTime> fromCamera = captureTimeFromMetadata(metadata);
    if (fromCamera)
        return fromCamera;
    SystemFileDateAccess fileDates;
    return captureTimeFromDates(path, doUpdate, metadata.fileDates, fileDates);
}

std::string formatListDateAndTime(const CaptureTime& time) {
    const WallClock& c = time.local;
    char text[32];
    snprintf(text, sizeof text, "%02d%02d%02d\t%02d%02d%02d", c.month, c.day, c.year % 100, c.hour, c.minute,
             c.second);
    return text;
}

std::string formatTheDate(const CaptureTime& time) {
    std::tm local{};
    localtime_r(&time.instant, &local);
    long offset = local.tm_gmtoff / 60;
    char sign = offset < 0 ? '-' : '+';
    offset = std::labs(offset);
    const WallClock& c = time.local;
    char text[48];
    snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d %c%02ld%02ld", c.year, c.month, c.day, c.hour,
             c.minute, c.second, sign, offset / 60, offset % 60);
    return text;
}

int compareCaptureTimes(const CaptureTime& a, const CaptureTime& b) {
    const int left[6] = {a.local.year, a.local.month,  a.local.day,
                         a.local.hour, a.local.minute, a.local.second};
    const int right[6] = {b.local.year, b.local.month,  b.local.day,
                          b.local.hour, b.local.minute, b.local.second};
    for (int i = 0; i < 6; ++i) {
        if (left[i] != right[i])
            return left[i] < right[i] ? -1 : 1;
    }
    // Sub-second digits are a decimal fraction: "5" and "50" are the same moment.
    std::string leftDigits = a.subSeconds;
    std::string rightDigits = b.subSeconds;
    size_t width = std::max(leftDigits.size(), rightDigits.size());
    leftDigits.resize(width, '0');
    rightDigits.resize(width, '0');
    return leftDigits.compare(rightDigits) < 0 ? -1 : (leftDigits == rightDigits ? 0 : 1);
}
