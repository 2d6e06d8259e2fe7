// One line of the barcode data file or of the photo list, parsed into its text and its moment.
//
// A data line is: text, delimiter, then MMDDYY, one separator character, hhmmss. The delimiter
// is the line's first TAB when that stands after the first character, otherwise its first comma
// when that does. Times are read as UTC, to the second; two-digit years are 2000 to 2099.
#pragma once

#include <chrono>
#include <optional>
#include <string>

// A point in time to the second.
using TimeItemTime = std::chrono::time_point<std::chrono::system_clock, std::chrono::seconds>;

class TimeItem {
public:
    // Splits the line (without its line end) and parses its time text.
    explicit TimeItem(std::string line);

    // Sets the time from the text behind the delimiter; none when the text is too short, holds
    // a non-digit where a digit belongs, or is not a real date and time (a month or day of 00,
    // 31 February, hour 24 and so on).
    void ParseTime(std::string timeText);

    std::optional<TimeItemTime> Time() const { return fTime; }
    // Seconds from reference to this record's time: positive when this record is later.
    // 0 for a record without a time.
    double ElapsedTime(TimeItemTime reference) const;
    std::string Data() const { return fData; }
    // The text without a copy, for readers that only look at it.
    const std::string& data() const { return fData; }
    bool hasTime() const { return fTime.has_value(); }

private:
    std::string fData;
    std::optional<TimeItemTime> fTime;
};

// True when the line begins with a header of either list file: "CPU=", "Scanned BarCode ID" or
// "OriginalName" (case-sensitive).
bool isValidHeaderRecord(const std::string& line);
