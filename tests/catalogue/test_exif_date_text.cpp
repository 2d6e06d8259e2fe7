// The camera's date text: what counts as a real capture date.
#include "PhotoCaptureTime.h"

#include "CaseName.h"

#include <gtest/gtest.h>

namespace {

struct DateTextCase {
    const char* name;
    std::string text;
    bool isDate;
    WallClock expected;
};

std::string withNuls(const std::string& text, size_t count) {
    return text + std::string(count, '\0');
}

const DateTextCase kDateTexts[] = {
    {"plain", "2008:07:25 14:03:59", true, {2008, 7, 25, 14, 3, 59}},
    {"one_terminating_nul", withNuls("2008:07:25 14:03:59", 1), true, {2008, 7, 25, 14, 3, 59}},
    {"trailing_nuls", withNuls("2008:07:25 14:03:59", 6), true, {2008, 7, 25, 14, 3, 59}},
    {"trailing_spaces", "2008:07:25 14:03:59   ", true, {2008, 7, 25, 14, 3, 59}},
    {"fraction_of_second", "2008:07:25 14:03:59.25", true, {2008, 7, 25, 14, 3, 59}},
    {"dashes_in_date", "2008-07-25 14:03:59", true, {2008, 7, 25, 14, 3, 59}},
    {"leap_day", "2008:02:29 00:00:00", true, {2008, 2, 29, 0, 0, 0}},
    {"last_second_of_day", "2009:12:31 23:59:59", true, {2009, 12, 31, 23, 59, 59}},
    {"zero_date", "0000:00:00 00:00:00", false, {}},
    {"blank_date", "    :  :     :  :  ", false, {}},
    {"blank_with_nuls", withNuls("    :  :     ", 7), false, {}},
    {"empty", "", false, {}},
    {"only_nuls", std::string(20, '\0'), false, {}},
    {"hour_24", "2008:07:25 24:00:00", false, {}},
    {"minute_60", "2008:07:25 14:60:00", false, {}},
    {"month_13", "2008:13:01 10:00:00", false, {}},
    {"thirtieth_of_february", "2008:02:30 10:00:00", false, {}},
    {"no_leap_day_in_2009", "2009:02:29 10:00:00", false, {}},
    {"date_only", "2008:07:25", false, {}},
    {"time_cut_short", "2008:07:25 14:03", false, {}},
    {"leading_space", " 2008:07:25 14:03:59", false, {}},
    {"no_space", "2008:07:2514:03:59", false, {}},
    {"junk_after_time", "2008:07:25 14:03:59 PM", false, {}},
    {"mixed_separators", "2008:07-25 14:03:59", false, {}},
    {"letters", "abcd:ef:gh ij:kl:mn", false, {}},
};

void PrintTo(const DateTextCase& c, std::ostream* out) {
    *out << c.name;
}

class ExifDateText : public ::testing::TestWithParam<DateTextCase> {};

TEST_P(ExifDateText, ReadsOnlyRealDates) {
    const DateTextCase& c = GetParam();
    std::optional<WallClock> clock = parseExifDateTimeText(c.text);
    ASSERT_EQ(clock.has_value(), c.isDate);
    if (!clock)
        return;
    EXPECT_EQ(clock->year, c.expected.year);
    EXPECT_EQ(clock->month, c.expected.month);
    EXPECT_EQ(clock->day, c.expected.day);
    EXPECT_EQ(clock->hour, c.expected.hour);
    EXPECT_EQ(clock->minute, c.expected.minute);
    EXPECT_EQ(clock->second, c.expected.second);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExifDateText, ::testing::ValuesIn(kDateTexts), testsupport::CaseName());

CaptureTime at(int hour, int minute, int second, const std::string& subSeconds) {
    CaptureTime time;
    time.local = {2008, 7, 25, hour, minute, second};
    time.subSeconds = subSeconds;
    return time;
}

TEST(CaptureTimeOrder, SubSecondsAreADecimalFraction) {
    EXPECT_LT(compareCaptureTimes(at(10, 0, 0, "05"), at(10, 0, 0, "1")), 0);
    EXPECT_EQ(compareCaptureTimes(at(10, 0, 0, "5"), at(10, 0, 0, "50")), 0);
    EXPECT_GT(compareCaptureTimes(at(10, 0, 0, "9"), at(10, 0, 0, "10")), 0);
    EXPECT_LT(compareCaptureTimes(at(10, 0, 0, ""), at(10, 0, 0, "01")), 0);
    EXPECT_LT(compareCaptureTimes(at(9, 59, 59, "99"), at(10, 0, 0, "")), 0);
}

} // namespace
