#include "ui/accessibility/accessibility.h"

#include <QAccessible>
#include <QLabel>
#include <QTabWidget>

#include "operations/register_table.h"
#include "ui/accessibility/accessible_names.h"
#include "ui/accessibility/accessible_roles.h"
#include "ui/accessibility/announcer.h"
#include "ui/accessibility/keyboard_access.h"
#include "ui/accessibility/state_words.h"
#include "ui/cdemo.h"
#include "ui/intro.h"

namespace ui {
namespace {

// An object whose accessible object Qt made before the roles were installed (a window reports
// its title as it gets it) is made again on the next request.
void Remake(QObject* object, QAccessible::Role made) {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
  if (iface != nullptr && iface->role() != made) {
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
  }
}

}  // namespace

void MakeAccessible(CDemo& window) {
  InstallAccessibleRoles();
  Remake(&window, QAccessible::Dialog);
  NameDesignedControls(window);

  const ProgrammingControls& programming = window.Programming();
  const RadioTestingControls& radio = window.RadioTesting();
  const TerminalControls& terminal = window.Terminal();
  // What is made here lives as long as the controls it serves.
  QTabWidget* tabs = window.SSTab1();

  new RegisterTableWords(programming, tabs);
  new NameBoxKeys(
      programming, [&window](int row) { window.RegisterTable().Text8_Click(row); }, tabs);
  new FocusHandover(window, tabs);
  new WithheldPages(*tabs, tabs);

  auto* announcer = new Announcer(window, tabs);
  announcer->Watch(programming.Text7);
  for (QLabel* result :
       {radio.Label3, radio.Label2, radio.Label5, radio.Label4, radio.Label6, terminal.Label15}) {
    Remake(result, result == radio.Label3 || result == radio.Label2 || result == terminal.Label15
                       ? QAccessible::StatusBar
                       : QAccessible::StaticText);
    announcer->Watch(result);
  }
  announcer->Watch(terminal.TermText, QStringLiteral("Received data"));
  announcer->Watch(terminal.Text3, QStringLiteral("Sender address"));
}

void MakeAccessible(intro& window) {
  InstallAccessibleRoles();
  Remake(&window, QAccessible::Window);
  NameDesignedControls(window);
  window.setAccessibleDescription(QStringLiteral("Choose the serial port, then OK"));
}

}  // namespace ui
