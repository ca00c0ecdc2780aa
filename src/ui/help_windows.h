#pragma once

#include <QDialog>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <array>

#include "operations/register_table.h"
#include "ui/kit/design.h"

class QPlainTextEdit;

namespace ui {

// A small window that explains one EEPROM register: a fixed text in a read-only box. It opens
// modally and is loaded afresh every time, so its text and place are set again at each opening.
class HelpWindow : public QDialog {
 public:
  // Loads the window and shows it modally; returns when the operator has closed it.
  void OpenModal();
  QPlainTextEdit* TextBox() const { return box_; }
  // The window's text: its lines joined with carriage return and line feed.
  QString Text() const { return lines_.join(QStringLiteral("\r\n")); }

 protected:
  HelpWindow(const QString& name, const QString& caption, QSize clientTwips, const QString& boxName,
             const Twips& boxAt, QStringList lines, QWidget* parent);
  // The load step: where the window puts itself, then its text.
  virtual void Form_Load();

 private:
  QStringList lines_;
  QPlainTextEdit* box_;
};

// "Remote Address": register 0, the module address.
class addr final : public HelpWindow {
 public:
  explicit addr(QWidget* parent = nullptr);

 protected:
  void Form_Load() override;
};

// "Delay": register 1, the synchronism preamble.
class delay final : public HelpWindow {
 public:
  explicit delay(QWidget* parent = nullptr);

 protected:
  void Form_Load() override;
};

// "RS 232 Characteristics": register 3, the parity setting.
class rs232 final : public HelpWindow {
 public:
  explicit rs232(QWidget* parent = nullptr);

 protected:
  void Form_Load() override;
};

// The three help windows of a main window, each made on first use and kept.
class HelpWindows {
 public:
  explicit HelpWindows(QWidget* owner) : owner_(owner) {}

  void Open(operations::HelpTopic topic);
  // The window of a topic, or null while it has never been opened.
  HelpWindow* Window(operations::HelpTopic topic) const;

 private:
  QWidget* owner_;
  std::array<QPointer<HelpWindow>, 3> windows_;
};

}  // namespace ui
