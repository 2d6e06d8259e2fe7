// Readable row names for tables of cases run as parameterised GoogleTest tests.
//
//   struct ReadCase {
//       const char* name; // "partial: fewer bytes than expected"
//       ...
//   };
//   void PrintTo(const ReadCase& c, std::ostream* out) { *out << c.name; } // failures name the row
//   INSTANTIATE_TEST_SUITE_P(Cases, ReadTest, ::testing::ValuesIn(kReadCases), testsupport::CaseName());
//
// gives ReadTest.Reads/Cases.PartialFewerBytesThanExpected, one test per row: every row runs even
// when an earlier one fails, and --gtest_filter picks one.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace testsupport {

// A test name made of the letters, digits and underscores of text, each word after a space or
// punctuation starting with a capital: "wrong answer to 0x05" gives "WrongAnswerTo0x05",
// a name already made of those characters ("lower_y", "ScanLine") stays as it is. Text without
// any gives "Unnamed".
std::string caseName(const std::string& text);

// The name generator for INSTANTIATE_TEST_SUITE_P over rows that carry a `name`.
struct CaseName {
    template <class Case> std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
        return caseName(info.param.name);
    }
};

} // namespace testsupport
