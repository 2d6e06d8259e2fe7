#include "TimeItem.h"

#include "MessageLog.h"

#include <cstring>
#include <utility>

namespace {

// Two decimal digits at text[position], or -1 when either is not a digit.
int twoDigits(const std::string& text, size_t position) {
    char high = text[position];
    char low = text[position + 1];
    if (high < '0' || high > '9' || low < '0' || low > '9')
        return -1;
    return (high - '0') * 10 + (low - '0');
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && isLeapYear(year))
        return 29;
    return kDays[month - 1];
}

// Days from 1970-01-01 to the given civil date (proleptic Gregorian calendar).
long daysFromCivil(int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const long era = year / 400;
    const long yearOfEra = year - era * 400;
    const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

struct HeaderPrefix {
    const char* prefix;
    const char* message;
};

const HeaderPrefix kHeaderPrefixes[] = {
    {"CPU=", "isValidHeaderRecord => is valid header1 = [%s]"},
    {"Scanned BarCode ID", "isValidHeaderRecord => is valid header2 = [%s]"},
    {"OriginalName", "isValidHeaderRecord => is valid header3 for BarcodeImageList = [%s]"},
};

} // namespace

TimeItem::TimeItem(std::string line) {
    size_t delimiter = line.find('\t');
    if (delimiter == std::string::npos || delimiter == 0)
        delimiter = line.find(',');
    if (delimiter == std::string::npos || delimiter == 0)
        return;
    std::string timeText = line.substr(delimiter + 1);
    line.resize(delimiter);
    fData = std::move(line);
    ParseTime(std::move(timeText));
}

void TimeItem::ParseTime(std::string timeText) {
    fTime.reset();
    if (timeText.size() < 13)
        return;
    const int month = twoDigits(timeText, 0);
    const int day = twoDigits(timeText, 2);
    const int year = twoDigits(timeText, 4);
    const int hour = twoDigits(timeText, 7);
    const int minute = twoDigits(timeText, 9);
    const int second = twoDigits(timeText, 11);
    if (month < 1 || month > 12 || year < 0 || day < 1 || day > daysInMonth(2000 + year, month))
        return;
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return;
    const long days = daysFromCivil(2000 + year, month, day);
    const long seconds = days * 86400L + hour * 3600L + minute * 60L + second;
    fTime = TimeItemTime(std::chrono::seconds(seconds));
}

double TimeItem::ElapsedTime(TimeItemTime reference) const {
    if (!fTime)
        return 0.0;
    return std::chrono::duration<double>(*fTime - reference).count();
}

bool isValidHeaderRecord(const std::string& line) {
    for (const HeaderPrefix& header : kHeaderPrefixes) {
        if (line.compare(0, std::strlen(header.prefix), header.prefix) != 0)
            continue;
        myPrintfDebug(myFormat(header.message, header.prefix));
        return true;
    }
    return false;
}
