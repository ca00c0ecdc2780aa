// The top-level error report: its text, and that it ends the program once.

#include "ui/fatal_error.h"

#include <stdexcept>
#include <tuple>

#include "ui_test_support.h"

namespace {

TEST(ErrorReport, ShowsTheNumberInDecimalAndHexThenDescriptionAndDetail) {
  // Each row: number, description, detail, and the report.
  const std::tuple<std::uint32_t, const char*, const char*, const char*> cases[] = {
      {0x80047922u, "Unable to open communications device", "COM2 (/dev/ttyUSB0): denied.",
       "Run-time error '-2147190494 (80047922)':\n\nUnable to open communications device\n\n"
       "COM2 (/dev/ttyUSB0): denied."},
      {11u, "Division by zero", "", "Run-time error '11 (0000000B)':\n\nDivision by zero"},
  };
  for (const auto& [number, description, detail, text] : cases)
    EXPECT_EQ(platform::ErrorReportText(platform::AppError(number, "dwComm", description, detail)),
              text);
}

class FatalError : public uitest::WindowTest {};

TEST_F(FatalError, AnyExceptionIsReportedOnceAndEndsTheProgram) {
  ui::Guarded([] { throw std::runtime_error("out of buffers"); });
  ASSERT_EQ(Boxes().Boxes().size(), 1u);
  EXPECT_EQ(Boxes().Boxes()[0].text, "Run-time error:\n\nout of buffers");
  EXPECT_EQ(Ends(), std::vector<int>{1});

  // An error raised while the report is shown is not reported again; a later one is.
  Boxes().WhileOpen([](const auto&) {
    ui::Guarded([] { throw platform::AppError(0x80047923u, "dwComm", "second"); });
  });
  ui::Guarded([] { throw platform::AppError(0x80047922u, "dwComm", "first"); });
  ASSERT_EQ(Boxes().Boxes().size(), 2u);
  EXPECT_NE(Boxes().Boxes()[1].text.find("first"), std::string::npos);
  EXPECT_EQ(Ends(), (std::vector<int>{1, 1}));
}

}  // namespace
