#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "operations/register_table.h"
#include "ui/fatal_error.h"
#include "ui/kit/click_events.h"
#include "ui/kit/controls.h"
#include "ui/kit/twips.h"
#include "ui/pages/pages.h"

namespace ui {
namespace {

using operations::kRegisterCount;

constexpr int kRowsPerColumn = 16;
// Left edges of a row's selector, value box and name box, in the left and the right column.
constexpr int kSelectorLeft[] = {96, 4608};
constexpr int kValueLeft[] = {600, 5136};
constexpr int kNameLeft[] = {1128, 5664};
// Value and name boxes of the first row, and the step to the next row: the boxes are a little
// higher than the step, so that neighbouring rows share their border line.
constexpr int kFirstBoxTop = 528;
constexpr int kRowStep = 240;
constexpr int kBoxHeight = 300;
constexpr Twips kSelectorSize{0, 0, 520, 252};
constexpr int kValueWidth = 500;
constexpr int kNameWidth = 3000;
constexpr int kFilledNameWidth = 3200;

// Registers that carry a meaning stand out from the reserved ones.
bool IsMeaningful(int row) {
  return row <= 3 || row == kRegisterCount - 1;
}

constexpr QRgb kValueGround = qRgb(255, 255, 128);
constexpr QRgb kReservedValueGround = qRgb(255, 255, 192);
constexpr QRgb kNameGround = qRgb(255, 192, 192);
constexpr QRgb kReservedNameGround = qRgb(255, 224, 192);
constexpr QRgb kProgrammingFrameCaption = qRgb(192, 0, 192);
constexpr QRgb kStatusGround = qRgb(192, 255, 255);

constexpr Twips kFrame2{165, 495, 9204, 6228};

QString Indexed(const char* name, int index) {
  return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

void BuildRow(const Designer& frame, int row, ProgrammingControls& controls) {
  const int column = row / kRowsPerColumn;
  const int boxTop = kFirstBoxTop + (row % kRowsPerColumn) * kRowStep;
  const QFont gridFont = DesignFont(kTahoma, 8.25);
  // The selector is centred on the height of its value box.
  const int selectorTop = boxTop + (kBoxHeight - kSelectorSize.height) / 2;

  controls.Check1[row] = AddCheckBox(
      frame, Indexed("Check1", row), operations::RegisterTable::SelectorCaption(row), gridFont,
      {kSelectorLeft[column], selectorTop, kSelectorSize.width, kSelectorSize.height});

  QLineEdit* value = AddTextBox(frame, Indexed("Text6", row), gridFont,
                                {kValueLeft[column], boxTop, kValueWidth, kBoxHeight},
                                IsMeaningful(row) ? kValueGround : kReservedValueGround);
  controls.Text6[row] = value;

  QLineEdit* name = AddTextBox(frame, Indexed("Text8", row), gridFont,
                               {kNameLeft[column], boxTop, kNameWidth, kBoxHeight},
                               IsMeaningful(row) ? kNameGround : kReservedNameGround);
  name->setReadOnly(true);
  controls.Text8[row] = name;
}

}  // namespace

ProgrammingControls BuildProgrammingPage(const Designer& page) {
  ProgrammingControls controls;
  Frame* frame2 = AddFrame(page, QStringLiteral("Frame2"), QStringLiteral("EEPROM Values"),
                           DesignFont(kTahoma, 11.25), kFrame2, kProgrammingFrameCaption);
  controls.Frame2 = frame2;
  const Designer frame = page.Inside(frame2, kFrame2);

  for (int row = 0; row < kRegisterCount; ++row)
    BuildRow(frame, row, controls);

  const QFont optionFont = DesignFont(kTahoma, 11.25);
  controls.Option1 =
      AddOptionButton(frame, QStringLiteral("Option1"), QStringLiteral("Host Module "), optionFont,
                      {870, 4560, 2565, 348});
  controls.Option2 =
      AddOptionButton(frame, QStringLiteral("Option2"), QStringLiteral("Remote Module "),
                      optionFont, {864, 4896, 4428, 300});

  const QFont buttonFont = DesignFont(kTahoma, 9);
  controls.Command2 = AddButton(frame, QStringLiteral("Command2"), QStringLiteral("EEPROM Reading"),
                                buttonFont, {480, 5424, 1332, 492});
  controls.Command4 = AddButton(frame, QStringLiteral("Command4"), QStringLiteral("EEPROM Writing"),
                                buttonFont, {1935, 5415, 1212, 492});

  controls.Text7 =
      AddMultiLineTextBox(frame, QStringLiteral("Text7"), DesignFont(kArialRounded, 10.5),
                          {3360, 5472, 5676, 372}, kStatusGround);
  return controls;
}

void WidenNameBoxes(const ProgrammingControls& controls) {
  const int nameWidth = TwipsToPixels(kFilledNameWidth);
  for (QLineEdit* name : controls.Text8) {
    name->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    name->resize(nameWidth, name->height());
  }
}

void ConnectRegisterTable(const ProgrammingControls& controls, operations::RegisterTable& table,
                          ClickEvents& clicks) {
  for (int row = 0; row < kRegisterCount; ++row) {
    clicks.OnClick(controls.Text6[row], [&table, row] { table.Text6_Click(row); });
    clicks.OnDoubleClick(controls.Text6[row], [&table, row] { table.Text6_DblClick(row); });
    clicks.OnClick(controls.Text8[row], [&table, row] { table.Text8_Click(row); });
  }
  QObject::connect(controls.Option1, &QRadioButton::clicked, &clicks,
                   [&table] { Guarded([&table] { table.Option1_Click(); }); });
  QObject::connect(controls.Option2, &QRadioButton::clicked, &clicks,
                   [&table] { Guarded([&table] { table.Option2_Click(); }); });
}

}  // namespace ui
