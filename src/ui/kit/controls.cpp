#include "ui/kit/controls.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextDocument>

namespace ui {
namespace {

// Room around the text of a multi-line box; the boxes are only a line or two high.
constexpr qreal kTextBoxMargin = 2;
// Where a frame's caption starts on its top line, and the gap left on either side of it.
constexpr int kCaptionIndent = 6;
constexpr int kCaptionGap = 2;

}  // namespace

Frame::Frame(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

void Frame::CaptionColour(QRgb vNewValue) {
  captionColour_ = vNewValue;
  update();
}

void Frame::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QFontMetrics metrics(font());
  const QPalette& colours = palette();
  // The top line runs through the middle of the caption.
  const int lineTop = metrics.height() / 2;
  const QString caption = title();
  const QRect captionRect(
      kCaptionIndent, 0,
      caption.isEmpty() ? 0 : metrics.horizontalAdvance(caption) + 2 * kCaptionGap,
      metrics.height());

  QRegion lines(rect());
  lines -= captionRect;
  painter.setClipRegion(lines);
  const QRect outline(0, lineTop, width() - 2, height() - lineTop - 2);
  painter.setPen(colours.color(QPalette::Mid));
  painter.drawRect(outline);
  painter.setPen(colours.color(QPalette::Light));
  painter.drawRect(outline.translated(1, 1));
  painter.setClipping(false);

  QColor captionColour =
      captionColour_ ? QColor(*captionColour_) : colours.color(QPalette::WindowText);
  if (!isEnabled()) captionColour = colours.color(QPalette::Disabled, QPalette::WindowText);
  painter.setPen(captionColour);
  painter.drawText(captionRect, Qt::AlignCenter | Qt::TextSingleLine, caption);
}

CommandButton::CommandButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
  // Outside a dialog a push button ignores Return and Enter unless it is an auto-default one.
  setAutoDefault(true);
}

void CommandButton::paintEvent(QPaintEvent* /*event*/) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  const QString caption = option.text;
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);
  const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  painter.drawItemText(contents, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic,
                       option.palette, isEnabled(), caption, QPalette::ButtonText);
}

Frame* AddFrame(const Designer& in, const QString& name, const QString& caption, const QFont& font,
                const Twips& at, std::optional<QRgb> captionColour) {
  auto* frame = new Frame(caption, in.Container());
  in.Place(frame, name, font, at);
  if (captionColour) frame->CaptionColour(*captionColour);
  return frame;
}

CommandButton* AddButton(const Designer& in, const QString& name, const QString& caption,
                         const QFont& font, const Twips& at) {
  auto* button = new CommandButton(caption, in.Container());
  in.Place(button, name, font, at);
  return button;
}

QLabel* AddLabel(const Designer& in, const QString& name, const QString& caption, const QFont& font,
                 const Twips& at, Qt::Alignment alignment) {
  auto* label = new QLabel(caption, in.Container());
  in.Place(label, name, font, at);
  label->setAlignment(alignment | Qt::AlignTop);
  return label;
}

QLabel* AddPanelLabel(const Designer& in, const QString& name, const QFont& font, const Twips& at,
                      QRgb background, Qt::Alignment alignment) {
  QLabel* label = AddLabel(in, name, QString(), font, at, alignment);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setLineWidth(1);
  // A framed label would keep half an "x" free inside its border on the aligned sides; the
  // design's text runs up to the border.
  label->setIndent(0);
  SetLabelBackground(label, background);
  return label;
}

QLineEdit* AddTextBox(const Designer& in, const QString& name, const QFont& font, const Twips& at,
                      QRgb background) {
  auto* box = new QLineEdit(in.Container());
  in.Place(box, name, font, at);
  SetBoxBackground(box, background);
  // The design's boxes keep a single pixel between frame and text, one less than Qt does;
  // three digits only just fit the narrow address boxes.
  box->setTextMargins(-1, 0, -1, 0);
  return box;
}

QPlainTextEdit* AddMultiLineTextBox(const Designer& in, const QString& name, const QFont& font,
                                    const Twips& at, QRgb background) {
  auto* box = new QPlainTextEdit(in.Container());
  in.Place(box, name, font, at);
  SetBoxBackground(box, background);
  box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  box->setTabChangesFocus(true);
  box->document()->setDocumentMargin(kTextBoxMargin);
  return box;
}

QCheckBox* AddCheckBox(const Designer& in, const QString& name, const QString& caption,
                       const QFont& font, const Twips& at) {
  auto* box = new CheckBox(caption, in.Container());
  in.Place(box, name, font, at);
  return box;
}

QRadioButton* AddOptionButton(const Designer& in, const QString& name, const QString& caption,
                              const QFont& font, const Twips& at) {
  auto* option = new OptionButton(caption, in.Container());
  in.Place(option, name, font, at);
  return option;
}

}  // namespace ui
