// Texts the pages read and write: a value box's text as the value it programs, and the link
// test's testing time.

#include "operations/value_text.h"

#include <gtest/gtest.h>

#include "operations/link_quality.h"

namespace {

// Each row: a value text as the operator may type it (at most three characters are taken) and
// the value it programs, -1 where it is refused. Blanks count towards the length but are
// skipped when read; what follows the number is ignored, and a text without one gives 0;
// halves round to the even neighbour. ". 5" is the retry marker that a reading leaves.
TEST(ValueText, ProgramsItsLeadingNumberRoundedHalfToEven) {
  const std::pair<const char*, int> rows[] = {
      {"255", 255}, {"256", -1},  {"-1", -1},  {"1000", -1}, {" 42", 42}, {"4 2", 42},
      {"+7", 7},    {"- 5", -1},  {"--5", 0},  {"\t9\n", 9}, {"2.5", 2},  {"3.5", 4},
      {".5", 0},    {"9.5", 10},  {".7", 1},   {"5.", 5},    {". 5", 0},  {"1.2", 1},
      {"1E2", 100}, {"1d2", 100}, {"3e2", -1}, {"1e", 1},    {"2e+", 2},  {"&HF", 15},
      {"&hf", 15},  {"&O7", 7},   {"&O8", 0},  {"&H", 0},    {"&HG", 0},  {"", 0},
      {"abc", 0},   {"NO", 0},    {"&", 0},    {"-", 0},     {".", 0},    {"x12", 0},
      {"12a", 12},  {"1..", 1}};
  for (const auto& [text, value] : rows)
    EXPECT_EQ(operations::ProgrammingValue(text).value_or(-1), value) << '"' << text << '"';
}

TEST(TestingTime, IsWholeMinutesAndSecondsEachAfterABlank) {
  EXPECT_EQ(operations::TestingTimeCaption(59.99f).toStdString(), " 0 min 59 sec");
  // Past 546 minutes the minute step no longer fits 16 bits.
  EXPECT_EQ(operations::TestingTimeCaption(40000.0f).toStdString(), " 666 min 40 sec");
}

}  // namespace
