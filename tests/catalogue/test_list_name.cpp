// The names written into the image list: Mac OS Roman, and nothing dropped or garbled silently.
#include "ListName.h"
#include "MacRoman.h"

#include "CaseName.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
    const char* name;
    std::string path;
    std::string listed;
    bool reported;
};

const NameCase kNames[] = {
    {"ascii", "IMG_0001.JPG", "IMG_0001.JPG", false},
    {"subfolder", "Class 3B/IMG_0001.JPG", "Class 3B/IMG_0001.JPG", false},
    {"mac_roman_letters", "Zo\xC3\xAB/Caf\xC3\xA9.jpg", "Zo\x91/Caf\x8E.jpg", false},
    {"percent_in_plain_name", "100%.jpg", "100%.jpg", false},
    {"polish_letters",
     "\xC5\x81\xC3\xB3"
     "d\xC5\xBA.jpg",
     "%C5%81\x97"
     "d%C5%BA.jpg",
     true},
    {"percent_in_escaped_name", "50%\xE2\x82\xAC\xE2\x98\x83.jpg", "50%25\xDB%E2%98%83.jpg", true},
    {"tab", "a\tb.jpg", "a%09b.jpg", true},
    {"line_feed", "a\nb.jpg", "a%0Ab.jpg", true},
    {"latin1_bytes", "Zo\xEB.jpg", "Zo%EB.jpg", true},
    {"cut_utf8_sequence", "a\xC3.jpg", "a%C3.jpg", true},
    {"escape_lookalike", "new%0Aline.jpg", "new%250Aline.jpg", true},
    {"escape_lookalike_lower_case", "50%ab.jpg", "50%25ab.jpg", true},
    {"percent_before_one_hex_digit", "50%a.jpg", "50%a.jpg", false},
    {"percent_at_the_end", "IMG%", "IMG%", false},
};

void PrintTo(const NameCase& c, std::ostream* out) {
    *out << c.name;
}

class ListNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(ListNames, AreMacRomanOrEscapedAndReported) {
    const NameCase& c = GetParam();
    ListName listed = makeListName(c.path);
    EXPECT_EQ(listed.text, c.listed);
    EXPECT_EQ(!listed.problem.empty(), c.reported) << listed.problem;
    EXPECT_EQ(listed.text.find_first_of("\t\n\r"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Cases, ListNames, ::testing::ValuesIn(kNames), testsupport::CaseName());

// The listed name, once the list's Mac OS Roman is read as UTF-8, decodes back to the file name.
TEST_P(ListNames, DecodeBackToTheFileName) {
    const NameCase& c = GetParam();
    EXPECT_EQ(relativePathOfListName(macRomanToUtf8(makeListName(c.path).text)), c.path);
}

TEST(ListNames, AnEscapedNameAndTheNameItsEscapeSpellsStayApart) {
    const std::string withLineFeed = makeListName("new\nline.jpg").text;
    const std::string spelledOut = makeListName("new%0Aline.jpg").text;
    EXPECT_NE(withLineFeed, spelledOut);
    EXPECT_EQ(relativePathOfListName(withLineFeed), "new\nline.jpg");
    EXPECT_EQ(relativePathOfListName(spelledOut), "new%0Aline.jpg");
}

TEST(ListNames, AnOverLongNameKeepsItsStartAndItsFileName) {
    std::string folders;
    while (folders.size() < 1200)
        folders += "Session folder " + std::to_string(folders.size()) + "/";
    const std::string path = folders + "IMG_4711.JPG";
    ListName listed = makeListName(path);
    EXPECT_EQ(listed.text.size(), kMaxListNameBytes);
    EXPECT_EQ(listed.text.compare(0, 20, path, 0, 20), 0);
    EXPECT_NE(listed.text.find("..."), std::string::npos);
    EXPECT_EQ(listed.text.substr(listed.text.size() - 12), "IMG_4711.JPG");
    EXPECT_NE(listed.problem.find(std::to_string(path.size()) + " bytes"), std::string::npos);
}

TEST(ListNames, ShorteningNeverSplitsAnEscape) {
    std::string path;
    while (path.size() < 3000)
        path += "\xE2\x98\x83"; // a snowman, escaped as %E2%98%83
    path += ".jpg";
    ListName listed = makeListName(path);
    ASSERT_LE(listed.text.size(), kMaxListNameBytes);
    const std::string head = listed.text.substr(0, listed.text.find("..."));
    const std::string tail = listed.text.substr(listed.text.find("...") + 3);
    EXPECT_EQ(head.size() % 9, 0u) << head;
    EXPECT_EQ((tail.size() - 4) % 9, 0u) << tail;
    EXPECT_EQ(tail.substr(0, 3), "%E2");
}

} // namespace
