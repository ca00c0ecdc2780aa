// The register table's logic on bare controls: start-up, the operator's gestures on value and
// name boxes, and the module choice.

#include "operations/register_table.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>
#include <map>
#include <vector>

#include "operations/twips.h"

namespace {

using operations::HelpTopic;
using operations::kRegisterCount;
using operations::RegisterTable;

// The table's controls, unplaced, in a parent that owns them.
struct BareControls {
  BareControls() {
    for (int row = 0; row < kRegisterCount; ++row) {
      controls.Check1[row] = new QCheckBox(&parent);
      controls.Text6[row] = new QLineEdit(&parent);
      controls.Text8[row] = new QLineEdit(&parent);
      controls.Text8[row]->resize(200, 20);
      controls.Text8[row]->setAlignment(Qt::AlignHCenter);
    }
    controls.Option1 = new QRadioButton(&parent);
    controls.Option2 = new QRadioButton(&parent);
  }

  QWidget parent;
  operations::ProgrammingControls controls;
};

struct BareTable : BareControls {
  operations::SessionState session;
  std::vector<std::pair<int, HelpTopic>> opened;
  int clickedRow = -1;
  // Made once the controls exist: the table keeps the pointers it is given.
  RegisterTable table{controls, session,
                      [this](HelpTopic topic) { opened.emplace_back(clickedRow, topic); }};
};

QRgb TextColour(const QLineEdit* box) {
  return box->palette().color(QPalette::Text).rgb();
}

TEST(RegisterTableStartUp, ShowsEveryRegisterWithItsNameAndDefaultValue) {
  BareTable bare;
  bare.table.ValueColour(7, operations::kReadColour);
  bare.table.Fill();
  const std::map<int, QString> named = {{0, "Module Address"},
                                        {1, "Synchro Prehamble Delay"},
                                        {2, "Synchro Character"},
                                        {3, "RS 232 Features Setting"},
                                        {31, "Firmware Release"}};
  for (int row = 0; row < kRegisterCount; ++row) {
    SCOPED_TRACE(row);
    const auto it = named.find(row);
    EXPECT_EQ(bare.controls.Text8[row]->text(),
              it != named.end() ? it->second : QStringLiteral("Reserved"));
    EXPECT_EQ(bare.controls.Text6[row]->text(), QStringLiteral("255"));
    EXPECT_FALSE(bare.controls.Check1[row]->isChecked());
    // Names are left-justified in boxes widened to 3200 twips.
    EXPECT_EQ(bare.controls.Text8[row]->width(), operations::TwipsToPixels(3200));
    EXPECT_EQ(bare.controls.Text8[row]->height(), 20);
    EXPECT_TRUE(bare.controls.Text8[row]->alignment() & Qt::AlignLeft);
  }
  // The start-up marks no row.
  EXPECT_EQ(TextColour(bare.controls.Text6[7]), operations::kReadColour);
}

TEST(RegisterTableStartUp, SelectorCaptionsAreTheRegisterNumberInTwoHexDigits) {
  const std::vector<std::pair<int, const char*>> rows = {
      {0, "00"}, {9, "09"}, {10, "0a"}, {15, "0f"}, {16, "10"}, {26, "1a"}, {31, "1f"}};
  for (const auto& [row, caption] : rows) {
    EXPECT_EQ(RegisterTable::SelectorCaption(row), QString::fromLatin1(caption)) << row;
  }
}

TEST(RegisterTableGestures, ClicksOnAValueSelectItsRowAndMarkTheValueEntered) {
  BareTable bare;
  bare.table.Fill();
  bare.table.ValueColour(10, operations::kFailedColour);
  bare.table.ValueColour(5, operations::kConfirmedColour);
  bare.table.Text6_Click(10);
  bare.table.Text6_DblClick(5);
  EXPECT_EQ(bare.controls.Text6[10]->text(), QStringLiteral("255"));
  EXPECT_EQ(bare.controls.Text6[5]->text(), QString());
  for (int row = 0; row < kRegisterCount; ++row) {
    const bool touched = row == 5 || row == 10;
    EXPECT_EQ(bare.controls.Check1[row]->isChecked(), touched) << row;
    if (touched) {
      EXPECT_EQ(TextColour(bare.controls.Text6[row]), qRgb(0, 0, 0)) << row;
    }
  }
}

TEST(RegisterTableGestures, OnlyTheNamesOfRegisters0_1And3OpenAHelpWindow) {
  BareTable bare;
  bare.table.Fill();
  for (int row = 0; row < kRegisterCount; ++row) {
    bare.clickedRow = row;
    bare.table.Text8_Click(row);
  }
  const std::vector<std::pair<int, HelpTopic>> expected = {
      {0, HelpTopic::RemoteAddress}, {1, HelpTopic::Delay}, {3, HelpTopic::Rs232}};
  EXPECT_EQ(bare.opened, expected);
}

TEST(RegisterTableModuleChoice, EachOptionClearsTheOtherAndSetsTheModuleKind) {
  BareTable bare;
  // The handlers clear the other button themselves, not only through Qt's exclusive group.
  bare.controls.Option1->setAutoExclusive(false);
  bare.controls.Option2->setAutoExclusive(false);
  bare.controls.Option1->setChecked(true);
  bare.controls.Option2->setChecked(true);
  bare.table.Option2_Click();
  EXPECT_FALSE(bare.controls.Option1->isChecked());
  EXPECT_EQ(bare.session.ModuleKind, 2);

  bare.controls.Option1->setChecked(true);
  bare.table.Option1_Click();
  EXPECT_FALSE(bare.controls.Option2->isChecked());
  EXPECT_EQ(bare.session.ModuleKind, 1);
}

}  // namespace
