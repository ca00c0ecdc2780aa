#include "operations/register_table.h"

#include <QRegularExpression>
#include <utility>

#include "operations/number_text.h"
#include "operations/value_text.h"

namespace operations {
namespace {

constexpr const char* kDefaultValue = "255";
constexpr const char* kReservedName = "Reserved";
// Registers that carry a meaning; every other one is reserved.
constexpr int kFirmwareRelease = 31;

}  // namespace

RegisterTable::RegisterTable(const ProgrammingView& controls, SessionState& session,
                             HelpOpener openHelp)
    : controls_(controls), session_(session), openHelp_(std::move(openHelp)) {}

void RegisterTable::Fill() {
  for (int row = 4; row < kFirmwareRelease; ++row)
    controls_.Text8[row]->Text(kReservedName);
  for (int row : {0, 1, 2, 3, kFirmwareRelease})
    controls_.Text8[row]->Text(RegisterName(row));
  for (ControlView* value : controls_.Text6)
    value->Text(kDefaultValue);
}

void RegisterTable::Text6_Click(int Index) {
  ValueColour(Index, kEnteredColour);
  Selected(Index, true);
}

void RegisterTable::Text6_DblClick(int Index) {
  ValueColour(Index, kEnteredColour);
  controls_.Text6[Index]->Text(QString());
  Selected(Index, true);
}

void RegisterTable::Text8_Click(int Index) {
  if (const auto topic = HelpFor(Index); topic && openHelp_) openHelp_(*topic);
}

void RegisterTable::Option1_Click() {
  controls_.Option2->Checked(false);
  session_.ModuleKind = kHostModule;
}

void RegisterTable::Option2_Click() {
  controls_.Option1->Checked(false);
  session_.ModuleKind = kRemoteModule;
}

Rgb RegisterTable::ValueColour(int Index) const {
  return controls_.Text6[Index]->TextColour();
}

void RegisterTable::ValueColour(int Index, Rgb vNewValue) {
  controls_.Text6[Index]->TextColour(vNewValue);
}

bool RegisterTable::Selected(int Index) const {
  return controls_.Check1[Index]->Checked();
}

void RegisterTable::Selected(int Index, bool vNewValue) {
  controls_.Check1[Index]->Checked(vNewValue);
}

QString RegisterTable::Value(int Index) const {
  return controls_.Text6[Index]->Text();
}

void RegisterTable::Value(int Index, const QString& vNewValue) {
  controls_.Text6[Index]->Text(vNewValue);
}

RegisterProfile RegisterTable::SelectedValues(std::vector<LeftOut>* leftOut) const {
  RegisterProfile profile;
  for (int n = 0; n < kRegisterCount; ++n) {
    if (!Selected(n)) continue;
    QString text = Value(n);
    if (text.startsWith(". ")) text.remove(0, 2);  // the second request's marker
    // Only a value as a register holds it: "NO" or an empty box would be saved as 0, and a
    // module loaded from that file would become a master.
    static const QRegularExpression kByte("^[0-9]{1,3}$");
    const int value = kByte.match(text).hasMatch() ? text.toInt() : -1;
    if (value >= 0 && value <= kHighestValue) {
      profile[n] = value;
      continue;
    }
    if (leftOut == nullptr) continue;
    if (text == "NO") {
      leftOut->push_back({n, "it never answered"});
    } else if (text.trimmed().isEmpty()) {
      leftOut->push_back({n, "its box is empty"});
    } else {
      leftOut->push_back({n, "\"" + text + "\" is not a value from 0 to 255"});
    }
  }
  return profile;
}

void RegisterTable::ShowValues(const RegisterProfile& profile, Rgb plain) {
  for (int n = 0; n < kRegisterCount; ++n) {
    const auto value = profile.find(n);
    Selected(n, value != profile.end());
    if (value == profile.end()) continue;
    Value(n, QString::number(value->second));
    ValueColour(n, plain);
  }
}

QString RegisterTable::SelectorCaption(int Index) {
  return QStringLiteral("%1").arg(Index, 2, 16, QLatin1Char('0'));
}

QString RegisterTable::RegisterName(int Index) {
  switch (Index) {
    case 0:
      return QStringLiteral("Module Address");
    case 1:
      return QStringLiteral("Synchro Prehamble Delay");
    case 2:
      return QStringLiteral("Synchro Character");
    case 3:
      return QStringLiteral("RS 232 Features Setting");
    case kFirmwareRelease:
      return QStringLiteral("Firmware Release");
    default:
      return QString::fromLatin1(kReservedName);
  }
}

std::optional<HelpTopic> RegisterTable::HelpFor(int Index) {
  switch (Index) {
    case 0:
      return HelpTopic::RemoteAddress;
    case 1:
      return HelpTopic::Delay;
    case 3:
      return HelpTopic::Rs232;
    default:
      return std::nullopt;
  }
}

}  // namespace operations
