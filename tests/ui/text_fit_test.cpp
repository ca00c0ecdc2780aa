// The longest texts each control shows must fit it whole with the installed faces: captions as
// designed, and the texts the pages' logic writes (status lines, counts, verdicts, values).

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QTextDocument>

#include "ui/cdemo.h"
#include "ui/intro.h"
#include "ui_test_support.h"

namespace {

// Room a line edit keeps between its frame and its text on either side.
constexpr int kLineEditMargin = 2;

// The rectangle the text of a control may use, as the style lays the control out.
QRect TextRoom(const QWidget* control) {
  const QStyle* style = control->style();
  if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(control) != nullptr) contents = QStyle::SE_CheckBoxContents;
    if (qobject_cast<const QRadioButton*>(control) != nullptr) {
      contents = QStyle::SE_RadioButtonContents;
    }
    return style->subElementRect(contents, &option, button);
  }
  if (const auto* label = qobject_cast<const QLabel*>(control)) return label->contentsRect();
  if (const auto* box = qobject_cast<const QPlainTextEdit*>(control)) {
    const int margin = static_cast<int>(box->document()->documentMargin());
    return box->viewport()->rect().adjusted(margin, margin, -margin, -margin);
  }
  const auto* box = qobject_cast<const QLineEdit*>(control);
  if (box == nullptr) return control->rect();
  QStyleOptionFrame option;
  option.initFrom(box);
  option.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
  const QMargins text = box->textMargins();
  return style->subElementRect(QStyle::SE_LineEditContents, &option, box)
      .adjusted(text.left() + kLineEditMargin, text.top(), -text.right() - kLineEditMargin,
                -text.bottom());
}

void ExpectFits(const QWidget* window, const char* name, const QString& text) {
  SCOPED_TRACE(std::string(name) + ": " + text.toStdString());
  const auto* control = uitest::Find<QWidget>(window, QString::fromLatin1(name));
  if (control == nullptr) return;
  const QRect room = TextRoom(control);
  const QFontMetrics metrics(control->font());
  // Only buttons break their caption onto further lines.
  const int flags =
      qobject_cast<const QPushButton*>(control) != nullptr ? Qt::TextWordWrap : Qt::TextSingleLine;
  const QRect needed = metrics.boundingRect(QRect(0, 0, room.width(), 10000), flags, text);
  EXPECT_LE(needed.width(), room.width());
  EXPECT_LE(needed.height(), room.height());
}

class TextFit : public uitest::WindowTest {};

TEST_F(TextFit, EveryCaptionFitsItsControl) {
  ui::CDemo window([] { return std::string("COM1"); });
  window.Form_Load();
  window.show();
  for (auto* button : window.findChildren<QAbstractButton*>()) {
    if (button->objectName().isEmpty()) continue;  // the tab strip's own buttons
    ExpectFits(&window, button->objectName().toLatin1().constData(), button->text());
  }
  for (auto* label : window.findChildren<QLabel*>()) {
    if (!label->text().isEmpty()) {
      ExpectFits(&window, label->objectName().toLatin1().constData(), label->text());
    }
  }
  for (int row = 0; row < 32; ++row) {
    const QString name = QStringLiteral("Text8(%1)").arg(row);
    ExpectFits(&window, name.toLatin1().constData(), window.Programming().Text8[row]->text());
  }
  ui::intro start;
  for (auto* button : start.findChildren<QAbstractButton*>()) {
    ExpectFits(&start, button->objectName().toLatin1().constData(), button->text());
  }
}

TEST_F(TextFit, TheLongestTextsOfThePagesFitWhereTheyAreShown) {
  ui::CDemo window([] { return std::string("COM1"); });
  window.Form_Load();
  window.show();
  const std::pair<const char*, const char*> texts[] = {
      {"Text7", "OK, EEPROM CORRECTLY READ"},
      {"Text7", "Out of Range Programming Values"},
      {"Text6(0)", ". 255"},  // a value that answered only on the second request
      {"Text6(31)", "255"},
      {"Label3", "5"},
      {"Label2", "Difficult Connection"},
      {"Label5", "32767"},
      {"Label4", "32767"},
      {"Label6", " 546 min 59 sec"},
      {"Label15", "Master-Slave Connection"},
      {"Label15", "Slave  255 - Master Connection"},
      {"Text2", "255"},
      {"Text3", "255"},
  };
  for (const auto& [name, text] : texts)
    ExpectFits(&window, name, QString::fromLatin1(text));
}

}  // namespace
