// How value texts of the register table read as numbers, and how they round.

#include "operations/value_text.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(ValueText, ReadsTheLeadingNumber) {
  // Signs and blanks anywhere; decimals and exponents (". 5" is the retry marker that earlier
  // runs leave in a value box); radix prefixes; and what is not a number at all.
  const std::pair<const char*, double> cases[] = {
      {"255", 255},  {"  42  ", 42}, {"1 2 3", 123},     {"-1", -1},         {"+7", 7},
      {"- 5", -5},   {"\t9\n", 9},   {"--5", 0},         {"2.5", 2.5},       {".5", 0.5},
      {"5.", 5},     {". 5", 0.5},   {". 12", 0.12},     {"1.2.3", 1.2},     {"1e2", 100},
      {"1E+2", 100}, {"5e-1", 0.5},  {"1d2", 100},       {"1e", 1},          {"2e+", 2},
      {"&HF", 15},   {"&hff", 255},  {"&O17", 15},       {"&O8", 0},         {"&H", 0},
      {"&HG", 0},    {"&HFFFF", -1}, {"&H8000", -32768}, {"&H10000", 65536}, {"& H1F", 31},
      {"", 0},       {"abc", 0},     {"NO", 0},          {"&", 0},           {"-", 0},
      {".", 0},      {"12abc", 12},  {"x12", 0}};
  for (const auto& [text, value] : cases)
    EXPECT_DOUBLE_EQ(operations::Val(text), value) << "text: \"" << text << "\"";
}

TEST(ValueText, HalfwayRoundsToTheEvenNeighbour) {
  const std::pair<double, double> cases[] = {{2.5, 2},     {3.5, 4},       {0.5, 0},  {254.5, 254},
                                             {255.4, 255}, {1.5000001, 2}, {0.49, 0}, {-0.5, 0},
                                             {-1.5, -2},   {7, 7}};
  for (const auto& [value, rounded] : cases)
    EXPECT_DOUBLE_EQ(operations::RoundHalfEven(value), rounded) << value;
}

}  // namespace
