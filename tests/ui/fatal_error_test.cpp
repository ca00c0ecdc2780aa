// The top-level error report: its text, that it ends the program once, and the message box that
// shows it.

#include "ui/fatal_error.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <stdexcept>
#include <tuple>

#include "ui/message_box.h"
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

// The window system's message box as the program shows it: line errors with OK and Cancel,
// the error report with OK alone.
TEST(MessageBox, StyleChoosesTheButtonsAndThePressedOneIsReturned) {
  // Each row: the style, the buttons it shows, the one pressed, and the result.
  using Buttons = QMessageBox::StandardButtons;
  const std::tuple<std::uint32_t, Buttons, QMessageBox::StandardButton, std::int32_t> cases[] = {
      {17, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel, platform::IDCANCEL},
      {16, QMessageBox::Ok, QMessageBox::Ok, platform::IDOK}};
  for (const auto& [style, buttons, pressed, expected] : cases) {
    std::int32_t result = 0;
    Buttons shown;  // none until the box appears
    uitest::RunModal([&] { result = ui::ShowMessageBox("Framing error", "Errore", style); },
                     [&](QWidget& window) {
                       auto& box = dynamic_cast<QMessageBox&>(window);
                       shown = box.standardButtons();
                       EXPECT_EQ(box.windowTitle(), QStringLiteral("Errore"));
                       EXPECT_EQ(box.text(), QStringLiteral("Framing error"));
                       EXPECT_EQ(box.icon(), QMessageBox::Critical);
                       if (QAbstractButton* button = box.button(pressed)) button->click();
                     });
    EXPECT_EQ(shown, buttons);
    EXPECT_EQ(result, expected);
  }
}

}  // namespace
