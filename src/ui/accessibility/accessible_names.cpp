#include "ui/accessibility/accessible_names.h"

#include <QLabel>
#include <QRegularExpression>
#include <QWidget>
#include <map>

#include "operations/register_table.h"

namespace ui {
namespace {

// Controls of one name each. The register rows are made from their index below.
const std::map<QString, AccessibleText>& Table() {
  static const std::map<QString, AccessibleText> table = {
      // The start-up window.
      {QStringLiteral("Command1@intro"),
       {QStringLiteral("OK"), QStringLiteral("Opens the main window on the chosen port")}},
      // "&Programming"
      {QStringLiteral("Option1"),
       {QStringLiteral("Host Module"),
        QStringLiteral("Reading and programming address the module on the cable")}},
      {QStringLiteral("Option2"),
       {QStringLiteral("Remote Module"),
        QStringLiteral("Reading and programming address the remote module over the air")}},
      {QStringLiteral("Command2"),
       {QStringLiteral("EEPROM Reading"), QStringLiteral("Reads the selected registers")}},
      {QStringLiteral("Command4"),
       {QStringLiteral("EEPROM Writing"),
        QStringLiteral("Programs the selected registers and reads each one back")}},
      {QStringLiteral("Text7"), {QStringLiteral("Status"), {}}},
      {QStringLiteral("Frame2"), {QStringLiteral("EEPROM Values"), {}}},
      // "&Radio Testing"
      {QStringLiteral("Picture1(0)"),
       {QStringLiteral("Link lamp: difficult"), QStringLiteral("Link quality 2 or 3")}},
      {QStringLiteral("Picture1(1)"),
       {QStringLiteral("Link lamp: good link"), QStringLiteral("Link quality 4 or 5")}},
      {QStringLiteral("Picture1(2)"),
       {QStringLiteral("Link lamp: no link"),
        QStringLiteral("Link quality 0 or 1, or the test stopped")}},
      {QStringLiteral("Command3"),
       {QStringLiteral("TEST ON"), QStringLiteral("Starts the link test: one packet a second")}},
      {QStringLiteral("Command1"),
       {QStringLiteral("TEST OFF"),
        QStringLiteral("Stops the link test and shows the packets and the testing time")}},
      {QStringLiteral("Frame1"), {QStringLiteral("Testing"), {}}},
      {QStringLiteral("Frame3"), {QStringLiteral("Radio Connection"), {}}},
      {QStringLiteral("Frame4"), {QStringLiteral("Statistics"), {}}},
      {QStringLiteral("Label7"), {QStringLiteral("Legend: 0 to 1, no connection"), {}}},
      {QStringLiteral("Label8"), {QStringLiteral("Legend: 2 to 3, difficult connection"), {}}},
      {QStringLiteral("Label9"), {QStringLiteral("Legend: 4 to 5, good connection"), {}}},
      // "&Terminal"
      {QStringLiteral("Command7"),
       {QStringLiteral("Initialization"),
        QStringLiteral("Asks the attached module for its address: 0 makes this station the "
                       "master")}},
      {QStringLiteral("Command6"), {QStringLiteral("Stop"), QStringLiteral("Ends the connection")}},
      {QStringLiteral("Command5"),
       {QStringLiteral("Send Data"), QStringLiteral("Sends the message")}},
      {QStringLiteral("Frame5"), {QStringLiteral("Terminal"), {}}},
      {QStringLiteral("Text1"), {QStringLiteral("Message"), {}}},
      {QStringLiteral("Text2"), {QStringLiteral("Destination address"), {}}},
      {QStringLiteral("TermText"), {QStringLiteral("Received data"), {}}},
      {QStringLiteral("Text3"), {QStringLiteral("Sender address"), {}}},
  };
  return table;
}

// Captions and the controls they stand for, on the main window's pages.
constexpr std::pair<const char*, const char*> kCaptions[] = {
    {"Label11", "Label5"}, {"Label10", "Label4"}, {"Label12", "Label6"},
    {"Label14", "Text2"},  {"Label13", "Text3"},  {"Label1", "TermText"},
};

// "Text6(3)" -> ("Text6", 3).
std::pair<QString, int> Indexed(const QString& objectName) {
  static const QRegularExpression pattern(QStringLiteral("^(\\w+)\\((\\d+)\\)$"));
  const auto match = pattern.match(objectName);
  if (!match.hasMatch()) return {objectName, -1};
  return {match.captured(1), match.captured(2).toInt()};
}

}  // namespace

AccessibleText AccessibleTextOf(const QString& objectName) {
  const auto [array, index] = Indexed(objectName);
  if (index >= 0 && index < operations::kRegisterCount) {
    const QString row =
        QStringLiteral("Register %1").arg(operations::RegisterTable::SelectorCaption(index));
    if (array == QLatin1String("Check1")) return {QStringLiteral("Select %1").arg(row), {}};
    if (array == QLatin1String("Text6")) return {row + QStringLiteral(" value"), {}};
    if (array == QLatin1String("Text8")) {
      return {row + QStringLiteral(" name"),
              operations::RegisterTable::HelpFor(index)
                  ? QStringLiteral("F1 or Return explains its values")
                  : QString()};
    }
  }
  const auto found = Table().find(objectName);
  return found == Table().end() ? AccessibleText{} : found->second;
}

void NameDesignedControls(QWidget& window) {
  const QString suffix =
      window.objectName() == QLatin1String("intro") ? QStringLiteral("@intro") : QString();
  for (QWidget* control : window.findChildren<QWidget*>()) {
    if (control->objectName().isEmpty()) continue;
    const AccessibleText text = AccessibleTextOf(control->objectName() + suffix);
    if (!text.name.isEmpty()) control->setAccessibleName(text.name);
    if (!text.description.isEmpty()) control->setAccessibleDescription(text.description);
  }
  for (const auto& [caption, control] : kCaptions) {
    auto* label = window.findChild<QLabel*>(QLatin1String(caption));
    auto* target = window.findChild<QWidget*>(QLatin1String(control));
    if (label != nullptr && target != nullptr) label->setBuddy(target);
  }
}

}  // namespace ui
