// The top-level error report: its text, that it ends the program, and the message box that
// shows it.

#include "ui/fatal_error.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <stdexcept>

#include "platform/windows.h"
#include "ui/message_box.h"
#include "ui_test_support.h"

namespace {

struct ReportCase {
  std::uint32_t number;
  const char* description;
  const char* detail;
  const char* text;
};

TEST(ErrorReport, ShowsTheNumberInDecimalAndHexThenDescriptionAndDetail) {
  const ReportCase cases[] = {
      {0x80047922u, "Unable to open communications device",
       "COM2 (/dev/ttyUSB0): permission denied.\nAdd the user to the group dialout.",
       "Run-time error '-2147190494 (80047922)':\n\nUnable to open communications device\n\n"
       "COM2 (/dev/ttyUSB0): permission denied.\nAdd the user to the group dialout."},
      {0x80047923u, "Communication Device is not open", "",
       "Run-time error '-2147190493 (80047923)':\n\nCommunication Device is not open"},
      {0x80047918u, "Invalid setting", "",
       "Run-time error '-2147190504 (80047918)':\n\nInvalid setting"},
      {11u, "Division by zero", "", "Run-time error '11 (0000000B)':\n\nDivision by zero"},
  };
  for (const ReportCase& c : cases) {
    EXPECT_EQ(ui::ErrorReportText(platform::AppError(c.number, "dwComm", c.description, c.detail)),
              c.text);
  }
}

class FatalError : public uitest::WindowTest {};

TEST_F(FatalError, ARaisedErrorIsReportedInABoxAndEndsTheProgram) {
  bool after = false;
  ui::Guarded([&] {
    throw platform::AppError(0x80047923u, "dwComm", "Communication Device is not open");
    after = true;
  });
  EXPECT_FALSE(after);
  ASSERT_EQ(Boxes().Boxes().size(), 1u);
  EXPECT_EQ(Boxes().Boxes()[0].caption, "TALVORA");
  EXPECT_EQ(Boxes().Boxes()[0].style, platform::MB_OK | platform::MB_ICONSTOP);
  EXPECT_NE(Boxes().Boxes()[0].text.find("Communication Device is not open"), std::string::npos);
  ASSERT_EQ(Ends().size(), 1u);
  EXPECT_NE(Ends()[0], 0);
}

TEST_F(FatalError, AnyOtherExceptionIsReportedToo) {
  ui::Guarded([] { throw std::runtime_error("out of buffers"); });
  ASSERT_EQ(Boxes().Boxes().size(), 1u);
  EXPECT_NE(Boxes().Boxes()[0].text.find("out of buffers"), std::string::npos);
  EXPECT_EQ(Ends().size(), 1u);
}

TEST_F(FatalError, AHandlerThatRaisesNothingReportsNothing) {
  int runs = 0;
  ui::Guarded([&] { ++runs; });
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(Boxes().Boxes().empty());
  EXPECT_TRUE(Ends().empty());
}

TEST_F(FatalError, AnErrorWhileTheReportIsShownIsNotReportedAgain) {
  Boxes().WhileOpen([](const auto&) {
    ui::Guarded([] { throw platform::AppError(0x80047923u, "dwComm", "second"); });
  });
  ui::Guarded([] { throw platform::AppError(0x80047922u, "dwComm", "first"); });
  ASSERT_EQ(Boxes().Boxes().size(), 1u);
  EXPECT_NE(Boxes().Boxes()[0].text.find("first"), std::string::npos);
  EXPECT_EQ(Ends(), std::vector<int>{1});
  // A later error is reported again: the first report's end was only recorded here.
  ui::Guarded([] { throw platform::AppError(0x80047922u, "dwComm", "third"); });
  EXPECT_EQ(Boxes().Boxes().size(), 2u);
}

// The window system's message box, as a Qt message box.
struct BoxCase {
  std::uint32_t style;
  QMessageBox::StandardButtons buttons;
  QMessageBox::Icon icon;
  QMessageBox::StandardButton pressed;
  std::int32_t result;
};

TEST(MessageBox, StyleChoosesButtonsAndIconAndThePressedButtonIsReturned) {
  const BoxCase cases[] = {
      {17, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Critical, QMessageBox::Cancel,
       platform::IDCANCEL},
      {17, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Critical, QMessageBox::Ok,
       platform::IDOK},
      {16, QMessageBox::Ok, QMessageBox::Critical, QMessageBox::Ok, platform::IDOK},
      {0x40, QMessageBox::Ok, QMessageBox::Information, QMessageBox::Ok, platform::IDOK},
  };
  for (const BoxCase& c : cases) {
    SCOPED_TRACE(c.style);
    std::int32_t result = 0;
    bool shown = false;
    uitest::RunModal([&] { result = ui::ShowMessageBox("Framing error", "Errore", c.style); },
                     [&](QWidget& window) {
                       auto* box = qobject_cast<QMessageBox*>(&window);
                       ASSERT_NE(box, nullptr);
                       shown = true;
                       EXPECT_EQ(box->windowTitle(), QStringLiteral("Errore"));
                       EXPECT_EQ(box->text(), QStringLiteral("Framing error"));
                       EXPECT_EQ(box->standardButtons(), c.buttons);
                       EXPECT_EQ(box->icon(), c.icon);
                       box->button(c.pressed)->click();
                     });
    ASSERT_TRUE(shown);
    EXPECT_EQ(result, c.result);
  }
}

}  // namespace
