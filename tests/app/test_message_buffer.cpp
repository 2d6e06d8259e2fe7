// The message area's bounded buffer and its display text.
#include "MessageBuffer.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

std::string numbered(size_t length, char first) {
    std::string text;
    for (size_t i = 0; i < length; ++i)
        text += char(first + i % 26);
    return text;
}

struct TrimCase {
    const char* name;
    size_t existing;
    size_t message;
    size_t expectedLength;
};

void PrintTo(const TrimCase& c, std::ostream* out) {
    *out << c.name;
}

const TrimCase kTrimCases[] = {
    {"fits", 100, 100, 200},
    {"exactly_full", 51000, 200, 51200},
    {"drops_oldest", 51000, 500, 51200},
    {"message_as_long_as_the_limit", 10, 51200, 51200},
    {"message_longer_than_the_limit", 10, 60000, 51200},
};

class MessageBufferTrimTest : public ::testing::TestWithParam<TrimCase> {};

TEST_P(MessageBufferTrimTest, TrimmingKeepsTheNewestText) {
    const TrimCase& c = GetParam();
    MessageBuffer buffer;
    std::string existing = numbered(c.existing, 'a');
    std::string message = numbered(c.message, 'A');
    buffer.append(existing);
    buffer.append(message);
    std::string expected = (existing + message);
    expected = expected.substr(expected.size() - c.expectedLength);
    std::string held = buffer.snapshot();
    EXPECT_EQ(c.expectedLength, held.size());
    EXPECT_EQ(expected, held);
}

INSTANTIATE_TEST_SUITE_P(Lengths, MessageBufferTrimTest, ::testing::ValuesIn(kTrimCases),
                         testsupport::CaseName());

TEST(MessageBufferTest, FiftyOneThousandPlusFiveHundredKeepsTheNewest50700BeforeTheMessage) {
    MessageBuffer buffer;
    std::string existing = numbered(51000, 'a');
    std::string message(500, '#');
    buffer.append(existing);
    buffer.append(message);
    EXPECT_EQ(existing.substr(300) + message, buffer.snapshot());
}

TEST(MessageBufferTest, AppendsFromManyThreadsLoseNothingBelowTheLimit) {
    MessageBuffer buffer;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 1000; ++i)
                buffer.append("0123456789\r");
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(44000u, buffer.snapshot().size());
}

struct DisplayCase {
    const char* name;
    std::string bytes;
    std::string shown;
};

void PrintTo(const DisplayCase& c, std::ostream* out) {
    *out << c.name;
}

const DisplayCase kDisplayCases[] = {
    {"carriage_returns_become_line_feeds", "one\rtwo\r", "one\ntwo\n"},
    {"crlf_is_one_break", "word\r\n\r", "word\n\n"},
    {"lf_cr_is_two_breaks", "word\n\r", "word\n\n"},
    {"utf8_kept", "Caf\xC3\xA9\r", "Caf\xC3\xA9\n"},
    {"mac_roman_fallback", "Caf\x8E\r", "Caf\xC3\xA9\n"},
    {"character_cut_by_trimming_dropped", "\xA9 rest\r", " rest\n"},
};

class MessageBufferDisplayTest : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(MessageBufferDisplayTest, DisplayText) {
    EXPECT_EQ(GetParam().shown, messageAreaText(GetParam().bytes));
}

INSTANTIATE_TEST_SUITE_P(Bytes, MessageBufferDisplayTest, ::testing::ValuesIn(kDisplayCases),
                         testsupport::CaseName());

} // namespace
