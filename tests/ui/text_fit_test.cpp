// The longest texts each control of the main window shows must fit it whole with the installed
// faces: captions as designed, and the texts the pages' logic writes.

#include <QStyleOption>
#include <QTextDocument>

#include "ui_test_support.h"

namespace {

// The rectangle the text of a control may use, as the style lays the control out.
QRect TextRoom(const QWidget* control) {
  const QStyle* style = control->style();
  if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const auto contents = qobject_cast<const QCheckBox*>(button) ? QStyle::SE_CheckBoxContents
                          : qobject_cast<const QRadioButton*>(button)
                              ? QStyle::SE_RadioButtonContents
                              : QStyle::SE_PushButtonContents;
    return style->subElementRect(contents, &option, button);
  }
  if (const auto* box = qobject_cast<const QPlainTextEdit*>(control)) {
    const int margin = static_cast<int>(box->document()->documentMargin());
    return box->viewport()->rect().adjusted(margin, margin, -margin, -margin);
  }
  const auto* box = qobject_cast<const QLineEdit*>(control);
  if (box == nullptr) return control->contentsRect();
  QStyleOptionFrame option;
  option.initFrom(box);
  option.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
  // A line edit keeps two pixels between its frame and its text on either side.
  return style->subElementRect(QStyle::SE_LineEditContents, &option, box)
      .marginsRemoved(box->textMargins() + QMargins(2, 0, 2, 0));
}

void ExpectFits(const QWidget& window, const QString& name, const QString& text) {
  SCOPED_TRACE(name.toStdString() + ": " + text.toStdString());
  const auto* control = window.findChild<QWidget*>(name);
  ASSERT_NE(control, nullptr);
  const QRect room = TextRoom(control);
  // Only buttons break their caption onto further lines.
  const int flags =
      qobject_cast<const QPushButton*>(control) != nullptr ? Qt::TextWordWrap : Qt::TextSingleLine;
  const QRect needed =
      QFontMetrics(control->font()).boundingRect(QRect(0, 0, room.width(), 10000), flags, text);
  EXPECT_LE(needed.width(), room.width());
  EXPECT_LE(needed.height(), room.height());
}

class TextFit : public uitest::MainWindowTest {};

TEST_F(TextFit, EveryCaptionAndTheLongestTextsOfThePagesFit) {
  Load();
  // Captions, and the names the load step wrote; the tab strip's own buttons have no name.
  for (const QWidget* control : Window().findChildren<QWidget*>()) {
    const QVariant text = control->property("text");
    if (text.isValid() && !control->objectName().isEmpty()) {
      ExpectFits(Window(), control->objectName(), text.toString());
    }
  }
  // What the pages' logic writes: status lines, a value that answered only on the second
  // request, verdicts, counts and roles.
  const std::pair<const char*, const char*> texts[] = {
      {"Text7", "OK, EEPROM CORRECTLY READ"},
      {"Text7", "Out of Range Programming Values"},
      {"Text6(0)", ". 255"},
      {"Label3", "5"},
      {"Label2", "Difficult Connection"},
      {"Label5", "32767"},
      {"Label6", " 546 min 59 sec"},
      {"Label15", "Slave  255 - Master Connection"},
      {"Text2", "255"},
      {"Text3", "255"}};
  for (const auto& [name, text] : texts)
    ExpectFits(Window(), QString::fromLatin1(name), QString::fromLatin1(text));
}

}  // namespace
