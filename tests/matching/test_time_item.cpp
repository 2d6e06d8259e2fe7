// Lines of both list files parsed into text and time; header lines told from data lines.
#include "TimeItem.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>

namespace {

// The expected moment, computed by the C library from the same fields read as UTC.
TimeItemTime utc(int year, int month, int day, int hour, int minute, int second) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    return TimeItemTime(std::chrono::seconds(timegm(&fields)));
}

struct LineCase {
    const char* name;
    std::string line;
    std::string data;
    bool dated;
    TimeItemTime time;
};

void PrintTo(const LineCase& c, std::ostream* out) {
    *out << c.name;
}

class TimeItemLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(TimeItemLineTest, SplitsAndParses) {
    const LineCase& c = GetParam();
    TimeItem item(c.line);
    EXPECT_EQ(c.data, item.Data());
    ASSERT_EQ(c.dated, item.Time().has_value());
    if (c.dated) {
        EXPECT_EQ(c.time, *item.Time());
    }
}

const TimeItemTime kNone{};

INSTANTIATE_TEST_SUITE_P(
    Lines, TimeItemLineTest,
    ::testing::Values(
        LineCase{"ScanLine", "4711\t013108\t142305", "4711", true, utc(2008, 1, 31, 14, 23, 5)},
        LineCase{"PhotoLine", "IMG_0001.JPG\t013108\t142305", "IMG_0001.JPG", true,
                 utc(2008, 1, 31, 14, 23, 5)},
        LineCase{"TabDelimited", "12345\t010208\t143015", "12345", true, utc(2008, 1, 2, 14, 30, 15)},
        LineCase{"CommaDelimited", "12345,010208,143015", "12345", true, utc(2008, 1, 2, 14, 30, 15)},
        LineCase{"TabWinsOverEarlierComma", "a,b\t010208\t143015", "a,b", true, utc(2008, 1, 2, 14, 30, 15)},
        LineCase{"LeadingTabWithoutComma", "\t010208\t143015", "", false, kNone},
        LineCase{"LeadingTabThenComma", "\tx,010208\t143015", "\tx", true, utc(2008, 1, 2, 14, 30, 15)},
        LineCase{"NoDelimiter", "ABCDEFGHIJ", "", false, kNone},
        LineCase{"SubfolderName", "day 1/IMG 7.JPG\t072508\t140359", "day 1/IMG 7.JPG", true,
                 utc(2008, 7, 25, 14, 3, 59)},
        LineCase{"YearNinetyNineIs2099", "X\t123199\t235959", "X", true, utc(2099, 12, 31, 23, 59, 59)},
        LineCase{"YearZeroIs2000", "X\t010100\t000000", "X", true, utc(2000, 1, 1, 0, 0, 0)},
        LineCase{"AnySeparatorCharacter", "X\t010208-143015", "X", true, utc(2008, 1, 2, 14, 30, 15)},
        LineCase{"TrailingTextIgnored", "X\t010208\t143015\tmore\r", "X", true, utc(2008, 1, 2, 14, 30, 15)},
        LineCase{"LeapDay", "X\t022908\t120000", "X", true, utc(2008, 2, 29, 12, 0, 0)},
        LineCase{"UndatedPhoto", "IMG_0002.JPG\t000000\t000000", "IMG_0002.JPG", false, kNone},
        LineCase{"ScanPlaceholders", "4711\tmmddyy\thhmmss", "4711", false, kNone},
        LineCase{"MonthZero", "X\t001508\t120000", "X", false, kNone},
        LineCase{"DayZero", "X\t010008\t120000", "X", false, kNone},
        LineCase{"MonthThirteen", "X\t130108\t120000", "X", false, kNone},
        LineCase{"NoLeapDay", "X\t022909\t120000", "X", false, kNone},
        LineCase{"ThirtyFirstOfApril", "X\t043108\t120000", "X", false, kNone},
        LineCase{"Hour24", "X\t010208\t240000", "X", false, kNone},
        LineCase{"Minute60", "X\t010208\t126000", "X", false, kNone},
        LineCase{"Second60", "X\t010208\t120060", "X", false, kNone},
        LineCase{"NonDigit", "X\t01a208\t120000", "X", false, kNone},
        LineCase{"SignedDigits", "X\t-10208\t120000", "X", false, kNone},
        LineCase{"TimeTooShort", "X\t010208\t14301", "X", false, kNone}),
    testsupport::CaseName());

TEST(TimeItem, ElapsedTimeIsSecondsFromTheReference) {
    TimeItem earlier("A\t010208\t143015");
    TimeItem later("B\t010208\t143016");
    TimeItem nextDay("C\t010308\t143015");
    TimeItem undated("D\t000000\t000000");
    const TimeItemTime reference = *later.Time();
    EXPECT_DOUBLE_EQ(-1.0, earlier.ElapsedTime(reference));
    EXPECT_DOUBLE_EQ(0.0, later.ElapsedTime(reference));
    EXPECT_DOUBLE_EQ(1.0, later.ElapsedTime(*earlier.Time()));
    EXPECT_DOUBLE_EQ(86399.0, nextDay.ElapsedTime(reference));
    EXPECT_DOUBLE_EQ(0.0, undated.ElapsedTime(reference));
}

TEST(TimeItem, ParseTimeReplacesTheTime) {
    TimeItem item("A\t010208\t143015");
    item.ParseTime("010308\t143015");
    EXPECT_EQ(utc(2008, 1, 3, 14, 30, 15), *item.Time());
    item.ParseTime("bad");
    EXPECT_FALSE(item.Time().has_value());
}

struct HeaderCase {
    const char* name;
    std::string line;
    bool header;
};

void PrintTo(const HeaderCase& c, std::ostream* out) {
    *out << c.name;
}

class HeaderRecordTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderRecordTest, RecognisesHeaderLines) {
    EXPECT_EQ(GetParam().header, isValidHeaderRecord(GetParam().line));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, HeaderRecordTest,
    ::testing::Values(HeaderCase{"DataFileHeader", "CPU=1234\tVers=1.01\tContents=barcodes", true},
                      HeaderCase{"DataFileTitle", "Scanned BarCode ID\tDate Scanned", true},
                      HeaderCase{"PhotoListTitle", "OriginalName\tCreationDate\tCreationTime", true},
                      HeaderCase{"PhotoListHeader", "CPU=1234\tVers=1.00\tContents=ImageList", true},
                      HeaderCase{"LowerCase", "cpu=1234", false}, HeaderCase{"PrefixCut", "CPU", false},
                      HeaderCase{"Empty", "", false}, HeaderCase{"NotAtStart", " CPU=1234", false},
                      HeaderCase{"DataLine", "4711\t013108\t142305", false}),
    testsupport::CaseName());

} // namespace
