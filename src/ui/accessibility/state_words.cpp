#include "ui/accessibility/state_words.h"

#include <QCheckBox>
#include <QEvent>
#include <QLineEdit>

#include "ui/accessibility/accessible_names.h"
#include "ui/accessibility/value_words.h"

namespace ui {

RegisterTableWords::RegisterTableWords(const ProgrammingControls& controls, QObject* parent)
    : QObject(parent), controls_(controls) {
  for (int row = 0; row < kRegisterCount; ++row) {
    QLineEdit* value = controls_.Text6[row];
    // A value box's colour lives in its palette: a new colour arrives as a palette change.
    value->installEventFilter(this);
    connect(value, &QLineEdit::textChanged, this, [this, row] { Describe(row); });
    connect(controls_.Check1[row], &QCheckBox::toggled, this, [this, row] { Describe(row); });

    QLineEdit* name = controls_.Text8[row];
    const QString base = AccessibleTextOf(name->objectName()).name;
    connect(name, &QLineEdit::textChanged, this, [name, base](const QString& text) {
      name->setAccessibleName(text.isEmpty() ? base : base + QStringLiteral(": ") + text);
    });
  }
}

bool RegisterTableWords::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::PaletteChange) {
    for (int row = 0; row < kRegisterCount; ++row) {
      if (controls_.Text6[row] == watched) Describe(row);
    }
  }
  return false;
}

void RegisterTableWords::Describe(int row) {
  QLineEdit* value = controls_.Text6[row];
  const QString words = ValueWords(value->palette().color(QPalette::Text).rgb(), value->text(),
                                   controls_.Check1[row]->isChecked());
  if (value->accessibleDescription() != words) value->setAccessibleDescription(words);
}

}  // namespace ui
