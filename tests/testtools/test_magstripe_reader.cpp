#include "MagStripeTestReader.h"

#include "AlertPanel.h"
#include "MessageLog.h"

#include "CaseName.h"
#include "FileContent.h"
#include "RecordingMessageSink.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

using namespace testsupport;

namespace {

// A card of three tracks and exactly 21 field separators; the "^" before each track end is one
// of them and leaves no delimiter behind.
const char kGoodCapture[] = "%B4111111111111111^DOE/JOHN^2512^A^B^C^?\r"
                            "%T2^a^b^c^d^e^f^?\r"
                            "%T3^g^h^i^j^k^l^m^?\r";
const char kGoodFiltered[] = "DOE/JOHN,B4111111111111111,2512,A,B,CT2,a,b,c,d,e,fT3,g,h,i,j,k,l,m\r";

class MagStripeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = temporary.path();
        folder.pop_back();
        char previous[PATH_MAX + 1] = {0};
        ASSERT_NE(nullptr, getcwd(previous, PATH_MAX));
        previousFolder = previous;
        ASSERT_EQ(0, chdir(folder.c_str()));
        MessageLog::InitLog(folder);
    }
    void TearDown() override {
        MessageLog::CloseLog();
        ASSERT_EQ(0, chdir(previousFolder.c_str()));
    }
    std::string logText() { return readFile(folder + "/VeskBarcodeLog.txt"); }
    std::string outputFile() { return folder + "/" + kMagStripeOutputFileName; }

    TemporaryFolder temporary{"magstripe"};
    std::string folder; // the temporary folder without its final "/"
    std::string previousFolder;
    RecordingMessageSink sink;
};

struct FilterCase {
    const char* name;
    std::string raw;
    short code;
    std::string output;
};

std::string repeated(char c, size_t count) {
    return std::string(count, c);
}

const std::vector<FilterCase>& filterCases() {
    static const std::vector<FilterCase> cases = {
        {"three_good_tracks_exchange_first_two_fields", kGoodCapture, 0, kGoodFiltered},
        {"more_than_21_separators", "%A^B^1^2^3^4^5^6^7?\r%2^3^4^5^6^7^8?\r%3^4^5^6^7^8^9^0^1?\r", 0,
         "B,A,1,2,3,4,5,6,72,3,4,5,6,7,83,4,5,6,7,8,9,0,1\r"},
        {"two_tracks_enough_separators", "%A^B^1^2^3^4^5^6^7^8^9^0^?\r%T2^a^b^c^d^e^f^g^h^i^j^k^?\r",
         eMagStripeResult_WrongTrackEnds, "A,B,1,2,3,4,5,6,7,8,9,0T2,a,b,c,d,e,f,g,h,i,j,k\r"},
        {"two_tracks_few_separators", "%B4111^DOE/JOHN^2512^?\r%T2^a^?\r", eMagStripeResult_TooFewFields,
         "B4111,DOE/JOHN,2512T2,a\r"},
        {"three_tracks_20_separators", "%B4111^DOE/JOHN^2512^A^B^C^?\r%T2^a^b^c^d^e^f^?\r%T3^g^h^i^j^k^l^?\r",
         eMagStripeResult_TooFewFields, "B4111,DOE/JOHN,2512,A,B,CT2,a,b,c,d,e,fT3,g,h,i,j,k,l\r"},
        {"stray_track_start", "%%B4111^DOE/JOHN^2512^A^B^C^?\r%T2^a^b^c^d^e^f^?\r%T3^g^h^i^j^k^l^m^?\r",
         eMagStripeResult_WrongTrackStarts, "B4111,DOE/JOHN,2512,A,B,CT2,a,b,c,d,e,fT3,g,h,i,j,k,l,m\r"},
        {"caret_before_question_mark_without_cr_keeps_delimiter",
         "%B4111^DOE/JOHN^2512^A^B^C^?x?\r%T2^a^b^c^d^e^f^?\r%T3^g^h^i^j^k^l^m^?\r", 0,
         "DOE/JOHN,B4111,2512,A,B,C,?xT2,a,b,c,d,e,fT3,g,h,i,j,k,l,m\r"},
        {"first_field_of_20_characters_is_exchanged",
         "%B" + repeated('4', 19) + "^DOE/JOHN^2512^A^B^C^?\r%T2^a^b^c^d^e^f^?\r%T3^g^h^i^j^k^l^m^?\r", 0,
         "DOE/JOHN,B" + repeated('4', 19) + ",2512,A,B,CT2,a,b,c,d,e,fT3,g,h,i,j,k,l,m\r"},
        {"first_field_longer_than_20_is_left_alone",
         "%B" + repeated('4', 20) + "^DOE/JOHN^2512^A^B^C^?\r%T2^a^b^c^d^e^f^?\r%T3^g^h^i^j^k^l^m^?\r",
         eMagStripeResult_NotExchanged,
         "B" + repeated('4', 20) + ",DOE/JOHN,2512,A,B,CT2,a,b,c,d,e,fT3,g,h,i,j,k,l,m\r"},
        {"second_field_longer_than_20_is_left_alone",
         "%B4111^" + repeated('N', 21) + "^2512^A^B^C^?\r%T2^a^b^c^d^e^f^?\r%T3^g^h^i^j^k^l^m^?\r",
         eMagStripeResult_NotExchanged,
         "B4111," + repeated('N', 21) + ",2512,A,B,CT2,a,b,c,d,e,fT3,g,h,i,j,k,l,m\r"},
        {"lone_cr_dropped_lf_kept", "%A^B^1^2^3^4^5^6^7?\r\n%2^3^4^\r5^6^7^8?\r%3^4^5^6^7^8^9^0?\r", 0,
         "B,A,1,2,3,4,5,6,7\n2,3,4,5,6,7,83,4,5,6,7,8,9,0\r"},
        {"empty_capture", "", eMagStripeResult_TooFewFields, "\r"},
    };
    return cases;
}

void PrintTo(const FilterCase& c, std::ostream* out) {
    *out << c.name;
}

class MagStripeFilterTest : public MagStripeTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(MagStripeFilterTest, FilterResultCodesAndOutput) {
    const FilterCase& c = GetParam();
    std::vector<char> output(c.raw.size() + kMagStripeOutputExtra, 'Z');
    short code =
        filterTheRawMagStripeData(c.raw.c_str(), output.data(), static_cast<unsigned>(c.raw.size()), ',');
    EXPECT_EQ(c.code, code);
    EXPECT_EQ(c.output, std::string(output.data()));
}

INSTANTIATE_TEST_SUITE_P(Captures, MagStripeFilterTest, ::testing::ValuesIn(filterCases()), CaseName());

TEST_F(MagStripeTest, TwoTracksReportBothTrackCounts) {
    std::string raw = "%A^B^1^2^3^4^5^6^7^8^9^0^?\r%T2^a^b^c^d^e^f^g^h^i^j^k^?\r";
    char output[128];
    EXPECT_EQ(eMagStripeResult_WrongTrackEnds,
              filterTheRawMagStripeData(raw.c_str(), output, static_cast<unsigned>(raw.size()), ','));
    std::string log = logText();
    EXPECT_NE(std::string::npos,
              log.find("Got Number of startOfLineCount = [02] instead of the required [3] lines"));
    EXPECT_NE(std::string::npos,
              log.find("Got Number of endOfLineCount = [02] instead of the required [3] lines"));
    EXPECT_EQ(std::string::npos, log.find("Trying to Swap"));
}

TEST_F(MagStripeTest, FilterNeverWritesPastItsRoom) {
    // A full 511-byte capture of plain bytes fills the output to its last byte and no further.
    std::string raw = repeated('x', kMagStripeSourceLimit - 1);
    std::vector<char> buffer(raw.size() + kMagStripeOutputExtra + 4, 'Z');
    filterTheRawMagStripeData(raw.c_str(), buffer.data(), static_cast<unsigned>(raw.size()), ',');
    EXPECT_EQ(raw + "\r", std::string(buffer.data()));
    EXPECT_EQ(std::string(4, 'Z'), std::string(buffer.end() - 4, buffer.end()));
}

TEST_F(MagStripeTest, RawLongerThanLengthIsRefusedWithoutReadingFurther) {
    char output[16];
    std::memset(output, 'Z', sizeof(output));
    // Not terminated within length + 1 bytes: refused without running past them.
    char unterminated[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(eMagStripeResult_RawTooLong, filterTheRawMagStripeData(unterminated, output, 3, ','));
    EXPECT_EQ(eMagStripeResult_RawTooLong, filterTheRawMagStripeData("abcdef", output, 5, ','));
    EXPECT_EQ('Z', output[0]);
}

TEST_F(MagStripeTest, OtherDelimiterIsForcedToTab) {
    std::string raw = kGoodCapture;
    std::vector<char> output(raw.size() + kMagStripeOutputExtra);
    EXPECT_EQ(0,
              filterTheRawMagStripeData(raw.c_str(), output.data(), static_cast<unsigned>(raw.size()), ';'));
    std::string expected = kGoodFiltered;
    for (char& c : expected)
        if (c == ',')
            c = '\t';
    EXPECT_EQ(expected, std::string(output.data()));
    EXPECT_NE(std::string::npos, logText().find("Had to force to tab delimiter?????????"));
}

struct FieldCase {
    const char* name;
    std::string source;
    char delimiter;
    bool found;
    unsigned length; // 99: left as it was
    std::string field;
};

TEST_F(MagStripeTest, GetAFieldDelimiterRule) {
    const FieldCase cases[] = {
        {"comma", "DOE/JOHN,B4111,", ',', true, 8, "DOE/JOHN"},
        {"tab", "abc\tdef", '\t', true, 3, "abc"},
        {"other_delimiter_means_tab", "abc;def\tx", ';', true, 7, "abc;def"},
        {"comma_not_a_tab", "abc\tdef,x", ',', true, 7, "abc\tdef"},
        {"delimiter_first", ",abc", ',', true, 0, ""},
        {"field_of_20", repeated('a', 20) + ",b", ',', true, 20, repeated('a', 20)},
        {"field_of_21", repeated('a', 21) + ",b", ',', false, 99, ""},
        {"no_delimiter_in_short_source", "abc", ',', false, 99, ""},
        {"empty_source", "", ',', false, 99, ""},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(c.name);
        char field[kMagStripeFieldBufferSize + 4];
        std::memset(field, 'Z', sizeof(field));
        unsigned length = 99;
        EXPECT_EQ(c.found, getAField(c.source.c_str(), field, c.delimiter, length));
        EXPECT_EQ(c.length, length);
        if (c.found) {
            EXPECT_EQ(c.field, std::string(field));
        }
        EXPECT_EQ(std::string(4, 'Z'), std::string(field + kMagStripeFieldBufferSize, 4));
    }
    std::string log = logText();
    EXPECT_NE(std::string::npos, log.find("srcLength==0"));
    EXPECT_NE(std::string::npos, log.find("Had to force to tab delimiter?????????"));

    unsigned length = 0;
    char field[kMagStripeFieldBufferSize];
    EXPECT_FALSE(getAField(nullptr, field, ',', length));
    EXPECT_FALSE(getAField("a,b", nullptr, ',', length));
    EXPECT_NE(std::string::npos, logText().find("srcPtr && destPtr are NILL"));
}

TEST_F(MagStripeTest, ReadWritesFilteredFileInCurrentFolder) {
    struct ReadCase {
        const char* name;
        std::string capture;
        short code;
        std::string written;
    };
    const ReadCase cases[] = {
        {"good_card", kGoodCapture, 0, kGoodFiltered},
        {"two_tracks_still_written_unexchanged", "%B4111^DOE/JOHN^2512^?\r%T2^a^?\r",
         eMagStripeResult_TooFewFields, "B4111,DOE/JOHN,2512T2,a\r"},
        {"511_bytes", "%" + repeated('x', 509) + "\r", eMagStripeResult_TooFewFields,
         repeated('x', 509) + "\r"},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string source = folder + "/MagStripeCardData.txt";
        writeFile(source, c.capture);
        EXPECT_EQ(c.code, ReadTestMagStripeData(source.c_str()));
        EXPECT_EQ(c.written, readFile(outputFile()));
    }
    std::string log = logText();
    EXPECT_NE(std::string::npos, log.find("Inside ReadTestMagStripeData...."));
    EXPECT_NE(std::string::npos, log.find("sourceFile.is_open"));
    EXPECT_NE(std::string::npos, log.find("char[00] = [0x25] = [\"%\"]"));
    EXPECT_NE(std::string::npos, log.find("Writing to file somewhere?????..."));
}

TEST_F(MagStripeTest, CaptureOf512BytesOrMoreWritesNothing) {
    for (size_t size : {size_t(512), size_t(513), size_t(4096)}) {
        SCOPED_TRACE(size);
        std::string source = folder + "/big.txt";
        writeFile(source, std::string(kGoodCapture) + repeated('x', size - std::strlen(kGoodCapture)));
        sink.clear();
        EXPECT_EQ(eMagStripeResult_SourceTooLarge, ReadTestMagStripeData(source.c_str()));
        EXPECT_FALSE(fileExists(outputFile()));
        EXPECT_NE(std::string::npos, logText().find(myFormat("SourceFileSize is = [%zu]", size)));
        EXPECT_NE(std::string::npos, sink.text().find(source));
    }
    EXPECT_NE(std::string::npos, logText().find("WHAT?????..."));
}

TEST_F(MagStripeTest, UnreadableSourceOrOutputIsReported) {
    std::string missing = folder + "/NoSuchCard.txt";
    EXPECT_EQ(eMagStripeResult_SourceUnreadable, ReadTestMagStripeData(missing.c_str()));
    EXPECT_NE(std::string::npos, sink.text().find("Cannot open the capture file " + missing));
    EXPECT_EQ(eMagStripeResult_SourceUnreadable, ReadTestMagStripeData(folder.c_str()));
    EXPECT_EQ(eMagStripeResult_SourceUnreadable, ReadTestMagStripeData(""));
    EXPECT_EQ(eMagStripeResult_SourceUnreadable, ReadTestMagStripeData(nullptr));
    EXPECT_FALSE(fileExists(outputFile()));

    // A folder standing where the output file goes.
    ASSERT_EQ(0, mkdir(outputFile().c_str(), 0700));
    std::string source = folder + "/MagStripeCardData.txt";
    writeFile(source, kGoodCapture);
    EXPECT_EQ(eMagStripeResult_OutputNotWritten, ReadTestMagStripeData(source.c_str()));
    EXPECT_NE(std::string::npos, logText().find("CANNOT OUTPUT FILE?????..."));
    EXPECT_NE(std::string::npos, sink.text().find("Cannot create " + outputFile()));
}

class ScriptedChooser : public AlertPrompt {
  public:
    int runAlert(const AlertPanelContent&) override { return 1; }
    std::optional<std::string> chooseFile(const std::string& title, const std::string& folder) override {
        askedTitle = title;
        askedFolder = folder;
        return answer;
    }
    std::optional<std::string> answer;
    std::string askedTitle;
    std::string askedFolder;
};

TEST_F(MagStripeTest, DeveloperCommandAsksForTheCaptureFile) {
    ScriptedChooser chooser;
    setAlertPrompt(&chooser);
    EXPECT_FALSE(doTestMagReader());
    EXPECT_EQ("Please Select MagStripeCardData.txt", chooser.askedTitle);
    EXPECT_EQ(std::string(std::getenv("HOME")) + "/Desktop", chooser.askedFolder);
    EXPECT_FALSE(fileExists(outputFile()));

    std::string source = folder + "/MagStripeCardData.txt";
    writeFile(source, kGoodCapture);
    chooser.answer = source;
    EXPECT_TRUE(doTestMagReader());
    EXPECT_EQ(kGoodFiltered, readFile(outputFile()));
    setAlertPrompt(nullptr);
}

} // namespace
