#pragma once

#include <QString>

class QWidget;

namespace ui {

// What a screen reader says of a designed control: its name, and a description where the
// name alone does not tell what the control does.
struct AccessibleText {
  QString name;
  QString description;
};

// The name and description of the control called `objectName` ("Command2", "Text6(3)"), or
// an empty name for a control whose own caption serves, or that is named elsewhere.
AccessibleText AccessibleTextOf(const QString& objectName);

// Gives every designed control under `window` its name and description, and ties each
// caption label to the control it stands for. Nothing drawn changes.
void NameDesignedControls(QWidget& window);

}  // namespace ui
