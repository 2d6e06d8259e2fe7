// Capture times: the camera's wall clock in its own season, and the file-date stand-ins.
#include "PhotoCaptureTime.h"
#include "PhotoFixtures.h"

#include "CaseName.h"
#include "RecordingMessageSink.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

// File dates the file systems here cannot produce: zero creation dates, no birth time.
class FakeFileDates : public FileDateAccess {
  public:
    std::optional<FileDates> dates;
    bool canSetCreation = false;
    mutable int creationWrites = 0;

    std::optional<FileDates> readFileDates(const std::string&) const override { return dates; }
    bool setCreationDate(const std::string&, std::time_t) const override {
        ++creationWrites;
        return canSetCreation;
    }
};

std::timespec seconds(std::time_t value) {
    std::timespec time{};
    time.tv_sec = value;
    return time;
}

// 2009-01-03 09:05:07 UTC and 2008-07-25 12:03:59 UTC.
constexpr std::time_t kWinterInstant = 1230973507;
constexpr std::time_t kSummerInstant = 1216987439;

PhotoMetadata metadataWithDate(const std::string& text) {
    PhotoMetadata metadata;
    metadata.isImage = true;
    metadata.dateTimeOriginal = text;
    return metadata;
}

struct SeasonCase {
    const char* name;
    const char* zone;
    const char* exifText;
    const char* listed;
    std::time_t instant;
    const char* theDate;
};

// The camera's text is read as local time as of its own date: the list shows what the camera
// recorded, whatever the season of the day the list is built.
const SeasonCase kSeasons[] = {
    {"berlin_summer", "Europe/Berlin", "2008:07:25 14:03:59", "072508\t140359", 1216987439,
     "2008-07-25 14:03:59 +0200"},
    {"berlin_winter", "Europe/Berlin", "2008:01:25 14:03:59", "012508\t140359", 1201266239,
     "2008-01-25 14:03:59 +0100"},
    {"los_angeles_summer", "America/Los_Angeles", "2008:07:25 14:03:59", "072508\t140359", 1217019839,
     "2008-07-25 14:03:59 -0700"},
    {"los_angeles_winter", "America/Los_Angeles", "2008:01:25 14:03:59", "012508\t140359", 1201298639,
     "2008-01-25 14:03:59 -0800"},
    {"posix_rule_summer", "PST8PDT,M3.2.0,M11.1.0", "2008:07:25 14:03:59", "072508\t140359", 1217019839,
     "2008-07-25 14:03:59 -0700"},
    {"posix_rule_winter", "PST8PDT,M3.2.0,M11.1.0", "2008:01:25 14:03:59", "012508\t140359", 1201298639,
     "2008-01-25 14:03:59 -0800"},
    // 02:30 does not exist on the spring-forward night; the camera's text is still what is listed.
    {"berlin_spring_gap", "Europe/Berlin", "2008:03:30 02:30:00", "033008\t023000", 0, nullptr},
};

void PrintTo(const SeasonCase& c, std::ostream* out) {
    *out << c.name;
}

class CameraSeasons : public ::testing::TestWithParam<SeasonCase> {};

TEST_P(CameraSeasons, ListTheCamerasOwnWallClock) {
    const SeasonCase& c = GetParam();
    ScopedTimeZone zone(c.zone);
    std::optional<CaptureTime> time = captureTimeFromMetadata(metadataWithDate(c.exifText));
    ASSERT_TRUE(time);
    EXPECT_EQ(time->source, eCaptureTimeSource_Exif);
    EXPECT_EQ(formatListDateAndTime(*time), c.listed);
    if (c.theDate) {
        EXPECT_EQ(time->instant, c.instant);
        EXPECT_EQ(formatTheDate(*time), c.theDate);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CameraSeasons, ::testing::ValuesIn(kSeasons), testsupport::CaseName());

TEST(CaptureTime, AShootAcrossTheAutumnChangeKeepsItsSpacing) {
    // Berlin, 26 October 2008: clocks go back at 03:00. Photos at 01:59:00 and 04:01:00 camera
    // time are listed with the camera's times, 2 h 2 min apart as the camera recorded them.
    ScopedTimeZone zone("Europe/Berlin");
    std::optional<CaptureTime> before = captureTimeFromMetadata(metadataWithDate("2008:10:26 01:59:00"));
    std::optional<CaptureTime> after = captureTimeFromMetadata(metadataWithDate("2008:10:26 04:01:00"));
    ASSERT_TRUE(before && after);
    EXPECT_EQ(formatListDateAndTime(*before), "102608\t015900");
    EXPECT_EQ(formatListDateAndTime(*after), "102608\t040100");
    EXPECT_EQ(after->instant - before->instant, 2 * 3600 + 2 * 60 + 3600);
}

TEST(CaptureTime, FileDatesAreShownInTheLocalTimeOfTheirOwnSeason) {
    ScopedTimeZone zone("Europe/Berlin");
    FakeFileDates fileDates;
    fileDates.dates = FileDates{seconds(kSummerInstant), seconds(kWinterInstant)};
    std::optional<CaptureTime> summer = captureTimeFromFileDates("/photo.jpg", true, fileDates);
    ASSERT_TRUE(summer);
    EXPECT_EQ(summer->source, eCaptureTimeSource_FileCreation);
    EXPECT_EQ(formatListDateAndTime(*summer), "072508\t140359");
    fileDates.dates = FileDates{seconds(kWinterInstant), seconds(kSummerInstant)};
    std::optional<CaptureTime> winter = captureTimeFromFileDates("/photo.jpg", true, fileDates);
    ASSERT_TRUE(winter);
    EXPECT_EQ(formatListDateAndTime(*winter), "010309\t100507");
}

struct FileDateCase {
    const char* name;
    std::optional<std::timespec> creation;
    bool canSetCreation;
    eCaptureTimeSource source;
    std::time_t expected;
    const char* userMessage; // must reach the message area; null: nothing may
    int creationWrites;
};

const FileDateCase kFileDates[] = {
    {"real_creation_date", seconds(kWinterInstant), false, eCaptureTimeSource_FileCreation, kWinterInstant,
     nullptr, 0},
    {"no_birth_time", std::nullopt, false, eCaptureTimeSource_FileModification, kSummerInstant, nullptr, 0},
    {"zero_date_1904", seconds(-2082844800), false, eCaptureTimeSource_FileModification, kSummerInstant,
     "FAILED in changing ZeroDate to FileModificationDate", 1},
    {"zero_date_1970", seconds(0), false, eCaptureTimeSource_FileModification, kSummerInstant,
     "FAILED in changing ZeroDate2 to FileModificationDate", 1},
    {"zero_date_repaired", seconds(-2082844800), true, eCaptureTimeSource_FileModification, kSummerInstant,
     nullptr, 1},
    {"one_second_after_1904", seconds(-2082844799), false, eCaptureTimeSource_FileCreation, -2082844799,
     nullptr, 0},
};

void PrintTo(const FileDateCase& c, std::ostream* out) {
    *out << c.name;
}

class FileDateStandIns : public ::testing::TestWithParam<FileDateCase> {};

TEST_P(FileDateStandIns, FollowTheCreationThenModificationRule) {
    const FileDateCase& c = GetParam();
    RecordingMessageSink sink;
    FakeFileDates fileDates;
    fileDates.dates = FileDates{c.creation, seconds(kSummerInstant)};
    fileDates.canSetCreation = c.canSetCreation;
    std::optional<CaptureTime> time = captureTimeFromFileDates("/shoot/IMG_1.JPG", true, fileDates);
    ASSERT_TRUE(time);
    EXPECT_EQ(time->source, c.source);
    EXPECT_EQ(time->instant, c.expected);
    EXPECT_EQ(fileDates.creationWrites, c.creationWrites);
    if (c.userMessage) {
        EXPECT_TRUE(sink.contains(c.userMessage)) << sink.text();
        EXPECT_TRUE(sink.contains("/shoot/IMG_1.JPG")) << sink.text();
    } else {
        EXPECT_EQ(sink.text(), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FileDateStandIns, ::testing::ValuesIn(kFileDates), testsupport::CaseName());

TEST(CaptureTime, WithoutUpdateAZeroDateIsNotRewritten) {
    RecordingMessageSink sink;
    FakeFileDates fileDates;
    fileDates.dates = FileDates{seconds(0), seconds(kSummerInstant)};
    std::optional<CaptureTime> time = captureTimeFromFileDates("/p.jpg", false, fileDates);
    ASSERT_TRUE(time);
    EXPECT_EQ(time->instant, kSummerInstant);
    EXPECT_EQ(fileDates.creationWrites, 0);
    EXPECT_EQ(sink.text(), "");
}

TEST(CaptureTime, AFileThatCannotBeExaminedHasNoDate) {
    FakeFileDates fileDates;
    EXPECT_FALSE(captureTimeFromFileDates("/gone.jpg", true, fileDates));
}

TEST(CaptureTime, RealFilesPreferTheCameraDateThenTheFileDate) {
    ScopedTimeZone zone("Europe/Berlin");
    TemporaryFolder folder;
    const std::string dated = folder.file("dated.jpg");
    const std::string undated = folder.file("undated.jpg");
    writeJpeg(dated, exifDate("2008:07:25 14:03:59"));
    writeJpeg(undated);
    std::optional<CaptureTime> camera = GetAndUpdateFileCreationDate(dated, true);
    ASSERT_TRUE(camera);
    EXPECT_EQ(camera->source, eCaptureTimeSource_Exif);
    EXPECT_EQ(formatListDateAndTime(*camera), "072508\t140359");
    std::optional<CaptureTime> file = GetAndUpdateFileCreationDate(undated, true);
    ASSERT_TRUE(file);
    EXPECT_NE(file->source, eCaptureTimeSource_Exif);
    EXPECT_LE(std::llabs(static_cast<long long>(file->instant - std::time(nullptr))), 60);
    EXPECT_FALSE(GetAndUpdateFileCreationDate(folder.path() + "missing.jpg", true));
}

} // namespace
