// How value texts of the register table read as numbers, and how they round.

#include "operations/value_text.h"

#include <gtest/gtest.h>

namespace {

struct ValCase {
  const char* text;
  double expected;
};

class ValueTextReading : public testing::TestWithParam<ValCase> {};

TEST_P(ValueTextReading, ReadsTheLeadingNumber) {
  EXPECT_DOUBLE_EQ(operations::Val(GetParam().text), GetParam().expected)
      << "text: \"" << GetParam().text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ValueTextReading,
    testing::Values(
        // plain decimals, signs and blanks anywhere
        ValCase{"255", 255}, ValCase{"  42  ", 42}, ValCase{"1 2 3", 123}, ValCase{"-1", -1},
        ValCase{"+7", 7}, ValCase{"- 5", -5}, ValCase{"\t9\n", 9}, ValCase{"--5", 0},
        // decimals and exponents
        ValCase{"2.5", 2.5}, ValCase{".5", 0.5}, ValCase{"5.", 5}, ValCase{". 5", 0.5},
        ValCase{"1.2.3", 1.2}, ValCase{"1e2", 100}, ValCase{"1E+2", 100}, ValCase{"5e-1", 0.5},
        ValCase{"1d2", 100}, ValCase{"1e", 1}, ValCase{"2e+", 2},
        // radix prefixes
        ValCase{"&HF", 15}, ValCase{"&hff", 255}, ValCase{"&O17", 15}, ValCase{"&O8", 0},
        ValCase{"&H", 0}, ValCase{"&HG", 0}, ValCase{"&HFFFF", -1}, ValCase{"&H8000", -32768},
        ValCase{"&H10000", 65536}, ValCase{"& H1F", 31},
        // what is not a number at all
        ValCase{"", 0}, ValCase{"abc", 0}, ValCase{"NO", 0}, ValCase{"&", 0}, ValCase{"-", 0},
        ValCase{".", 0}, ValCase{"12abc", 12}, ValCase{"x12", 0},
        // what earlier runs leave in a value box: the retry marker
        ValCase{". 5", 0.5}, ValCase{". 12", 0.12}));

struct RoundCase {
  double value;
  double expected;
};

class HalfEvenRounding : public testing::TestWithParam<RoundCase> {};

TEST_P(HalfEvenRounding, HalfwayGoesToTheEvenNeighbour) {
  EXPECT_DOUBLE_EQ(operations::RoundHalfEven(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, HalfEvenRounding,
                         testing::Values(RoundCase{2.5, 2}, RoundCase{3.5, 4}, RoundCase{0.5, 0},
                                         RoundCase{254.5, 254}, RoundCase{255.4, 255},
                                         RoundCase{1.5000001, 2}, RoundCase{0.49, 0},
                                         RoundCase{-0.5, 0}, RoundCase{-1.5, -2}, RoundCase{7, 7}));

}  // namespace
