#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "ui/kit/controls.h"
#include "ui/pages/pages.h"

namespace ui {
namespace {

constexpr Twips kFrame5{288, 1248, 8940, 3036};
constexpr QRgb kTerminalFrameCaption = qRgb(192, 0, 0);
constexpr QRgb kTextGround = qRgb(128, 255, 255);
constexpr QRgb kAddressGround = qRgb(255, 255, 128);

}  // namespace

TerminalControls BuildTerminalPage(const Designer& page) {
  TerminalControls controls;
  Frame* frame5 = AddFrame(page, QStringLiteral("Frame5"), QStringLiteral("Terminal"),
                           DesignFont(kTahoma, 11.25), kFrame5, kTerminalFrameCaption);
  controls.Frame5 = frame5;
  const Designer terminal = page.Inside(frame5, kFrame5);

  const QFont button = DesignFont(kTahoma, 12);
  const QFont text = DesignFont(kArialRounded, 10.5);

  controls.Label15 =
      AddLabel(terminal, QStringLiteral("Label15"), QString(), DesignFont(kArialRounded, 13.5),
               {2055, 1005, 5250, 345}, Qt::AlignHCenter);

  controls.Command5 = AddButton(terminal, QStringLiteral("Command5"), QStringLiteral("Send Data"),
                                button, {330, 1620, 1500, 396});
  controls.Text1 = AddMultiLineTextBox(terminal, QStringLiteral("Text1"), text,
                                       {2085, 1485, 4995, 645}, kTextGround);
  controls.Label14 = AddLabel(terminal, QStringLiteral("Label14"), QStringLiteral("to"), button,
                              {7410, 1650, 435, 375});
  controls.Text2 =
      AddTextBox(terminal, QStringLiteral("Text2"), text, {7905, 1620, 444, 396}, kAddressGround);

  controls.Label1 = AddLabel(terminal, QStringLiteral("Label1"), QStringLiteral("Received Data"),
                             button, {240, 2415, 1815, 375});
  controls.TermText = AddMultiLineTextBox(terminal, QStringLiteral("TermText"), text,
                                          {2100, 2265, 5025, 630}, kTextGround);
  controls.Label13 = AddLabel(terminal, QStringLiteral("Label13"), QStringLiteral("from"), button,
                              {7230, 2415, 645, 375});
  controls.Text3 =
      AddTextBox(terminal, QStringLiteral("Text3"), text, {7905, 2340, 444, 444}, kAddressGround);

  // The two buttons stand on the page itself, over the frame's empty top band.
  controls.Command7 = AddButton(page, QStringLiteral("Command7"), QStringLiteral("Initialization"),
                                button, {600, 1536, 2364, 444});
  controls.Command6 = AddButton(page, QStringLiteral("Command6"), QStringLiteral("Stop"), button,
                                {7425, 1635, 1500, 396});

  for (QWidget* hidden : std::initializer_list<QWidget*>{controls.Text2, controls.Text3,
                                                         controls.Label14, controls.Label13}) {
    hidden->hide();
  }
  return controls;
}

}  // namespace ui
