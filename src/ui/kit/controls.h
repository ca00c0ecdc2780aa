#pragma once

// The kinds of control the windows are designed with, as Qt widgets, and helpers that make
// one, name it and put it in its place.

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRgb>
#include <optional>

#include "ui/kit/design.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace ui {

// A frame drawn as an etched line round its controls, its caption standing in a gap of the top
// line. The caption may have a colour of its own; the controls inside keep theirs.
class Frame : public QGroupBox {
 public:
  Frame(const QString& caption, QWidget* parent);

  std::optional<QRgb> CaptionColour() const { return captionColour_; }
  void CaptionColour(QRgb vNewValue);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<QRgb> captionColour_;
};

// A button whose caption breaks between words onto further lines when it does not fit on one,
// as "EEPROM Reading" does on its narrow, two-line-high button. Return and the keypad's Enter
// press it while it has the focus, as the space bar does.
class CommandButton : public QPushButton {
 public:
  CommandButton(const QString& caption, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// Option buttons and check boxes take a click anywhere on their area, not only on the
// indicator and the caption's text.
class OptionButton : public QRadioButton {
 public:
  using QRadioButton::QRadioButton;

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

class CheckBox : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

// A frame whose caption, when `captionColour` is given, is drawn in that colour.
Frame* AddFrame(const Designer& in, const QString& name, const QString& caption, const QFont& font,
                const Twips& at, std::optional<QRgb> captionColour = std::nullopt);
CommandButton* AddButton(const Designer& in, const QString& name, const QString& caption,
                         const QFont& font, const Twips& at);
QLabel* AddLabel(const Designer& in, const QString& name, const QString& caption, const QFont& font,
                 const Twips& at, Qt::Alignment alignment = Qt::AlignLeft);
// A label with a sunken border on a coloured ground.
QLabel* AddPanelLabel(const Designer& in, const QString& name, const QFont& font, const Twips& at,
                      QRgb background, Qt::Alignment alignment);
// Text boxes on their designed ground colour.
QLineEdit* AddTextBox(const Designer& in, const QString& name, const QFont& font, const Twips& at,
                      QRgb background);
// A text box that wraps its text onto several lines, without scroll bars.
QPlainTextEdit* AddMultiLineTextBox(const Designer& in, const QString& name, const QFont& font,
                                    const Twips& at, QRgb background);
QCheckBox* AddCheckBox(const Designer& in, const QString& name, const QString& caption,
                       const QFont& font, const Twips& at);
QRadioButton* AddOptionButton(const Designer& in, const QString& name, const QString& caption,
                              const QFont& font, const Twips& at);

}  // namespace ui
