#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "operations/page_views.h"
#include "operations/register_profile.h"
#include "operations/session_state.h"

namespace operations {

// The text colour of a value box records what last happened to its row.
inline constexpr Rgb kResetColour = MakeRgb(1, 0, 0);        // a run started; row not marked
inline constexpr Rgb kEnteredColour = MakeRgb(0, 0, 0);      // typed or cleared by the operator
inline constexpr Rgb kReadColour = MakeRgb(0, 0, 192);       // read from the module
inline constexpr Rgb kFailedColour = MakeRgb(255, 0, 0);     // no answer, out of range, failed
inline constexpr Rgb kConfirmedColour = MakeRgb(0, 128, 0);  // programmed and read back

// Registers that have a help window explaining their meaning and range.
enum class HelpTopic {
  RemoteAddress,  // register 0, window `addr`
  Delay,          // register 1, window `delay`
  Rs232,          // register 3, window `rs232`
};

// The register table of the "&Programming" page: 32 rows of selector, value box and name box,
// the row index being the register number; and the choice of the module the EEPROM
// operations address.
class RegisterTable {
 public:
  using HelpOpener = std::function<void(HelpTopic)>;

  // `openHelp` shows a help window modally and returns when it has been closed.
  RegisterTable(const ProgrammingView& controls, SessionState& session, HelpOpener openHelp = {});

  // Start-up of the table: names and "255" in every row. Selects nothing, leaves colours.
  void Fill();

  // The operator's gestures. A double-click comes after the click of the same gesture.
  void Text6_Click(int Index);
  void Text6_DblClick(int Index);
  void Text8_Click(int Index);
  void Option1_Click();
  void Option2_Click();

  Rgb ValueColour(int Index) const;
  void ValueColour(int Index, Rgb vNewValue);
  bool Selected(int Index) const;
  void Selected(int Index, bool vNewValue);
  QString Value(int Index) const;
  void Value(int Index, const QString& vNewValue);

  // The selected rows whose boxes hold a value from 0 to 255, as a profile; a value read at
  // the second request counts, without its marker. `leftOut` receives the other selected rows
  // (one that never answered, an empty box, another text), each with why.
  struct LeftOut {
    int n = 0;
    QString reason;
  };
  RegisterProfile SelectedValues(std::vector<LeftOut>* leftOut = nullptr) const;
  // A loaded profile: its registers' boxes filled and in `plain` colour, exactly its rows
  // selected. Nothing reaches the module until "EEPROM Writing".
  void ShowValues(const RegisterProfile& profile, Rgb plain);
  const ProgrammingView& Controls() const { return controls_; }

  // The selector's caption: the register number as two lower-case hex digits.
  static QString SelectorCaption(int Index);
  // The name a row shows once the table has been filled.
  static QString RegisterName(int Index);
  static std::optional<HelpTopic> HelpFor(int Index);

 private:
  ProgrammingView controls_;
  SessionState& session_;
  HelpOpener openHelp_;
};

}  // namespace operations
