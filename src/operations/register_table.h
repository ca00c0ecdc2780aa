#pragma once

#include <QRgb>
#include <QString>
#include <functional>
#include <optional>

#include "operations/programming_controls.h"
#include "operations/session_state.h"

namespace operations {

// The text colour of a value box records what last happened to its row.
inline constexpr QRgb kResetColour = qRgb(1, 0, 0);        // a run started; row not marked
inline constexpr QRgb kEnteredColour = qRgb(0, 0, 0);      // typed or cleared by the operator
inline constexpr QRgb kReadColour = qRgb(0, 0, 192);       // read from the module
inline constexpr QRgb kFailedColour = qRgb(255, 0, 0);     // no answer, out of range, not confirmed
inline constexpr QRgb kConfirmedColour = qRgb(0, 128, 0);  // programmed and read back
// Rows that a run leaves alone because they were not selected take the system's colour.
QRgb SystemWindowTextColour();

// Registers that have a help window explaining their meaning and range.
enum class HelpTopic {
  RemoteAddress,  // register 0, window `addr`
  Delay,          // register 1, window `delay`
  Rs232,          // register 3, window `rs232`
};

// Width of a name box once the table has been filled: the names need more room than the
// boxes were drawn with.
inline constexpr int kNameBoxWidthTwips = 3200;

// The register table of the "&Programming" page: 32 rows of selector, value box and name box,
// the row index being the register number; and the choice of the module the EEPROM
// operations address.
class RegisterTable {
 public:
  using HelpOpener = std::function<void(HelpTopic)>;

  // `openHelp` shows a help window modally and returns when it has been closed.
  RegisterTable(const ProgrammingControls& controls, SessionState& session, HelpOpener openHelp);

  // Start-up of the table: names and "255" in every row. Selects nothing, leaves colours.
  void Fill();

  // The operator's gestures. A double-click comes after the click of the same gesture.
  void Text6_Click(int Index);
  void Text6_DblClick(int Index);
  void Text8_Click(int Index);
  void Option1_Click();
  void Option2_Click();

  QRgb ValueColour(int Index) const;
  void ValueColour(int Index, QRgb vNewValue);
  bool Selected(int Index) const;
  void Selected(int Index, bool vNewValue);
  const ProgrammingControls& Controls() const { return controls_; }

  // The selector's caption: the register number as two lower-case hex digits.
  static QString SelectorCaption(int Index);
  // The name a row shows once the table has been filled.
  static QString RegisterName(int Index);
  static std::optional<HelpTopic> HelpFor(int Index);

 private:
  ProgrammingControls controls_;
  SessionState& session_;
  HelpOpener openHelp_;
};

}  // namespace operations
