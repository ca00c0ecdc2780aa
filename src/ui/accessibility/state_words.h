#pragma once

#include <QObject>

#include "ui/pages/page_controls.h"

namespace ui {

// Keeps the accessible texts of the register table in step with what the rows show: each
// value box's description says in words what its text colour says ("read", "no answer",
// "confirmed" ...), each name box's name carries the register's name once it is filled.
// Setting a description or a name makes Qt report the change to assistive technology.
class RegisterTableWords : public QObject {
 public:
  RegisterTableWords(const ProgrammingControls& controls, QObject* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Describe(int row);

  ProgrammingControls controls_;
};

}  // namespace ui
