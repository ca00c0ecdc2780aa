#include "ui/kit/design.h"

#include <QPalette>
#include <QStringList>
#include <QWidget>
#include <cmath>

#include "ui/kit/twips.h"

namespace ui {
namespace {

void Substitute(const char* family, const QStringList& faces) {
  QFont::removeSubstitutions(QString::fromLatin1(family));
  QFont::insertSubstitutions(QString::fromLatin1(family), faces);
}

void SetColour(QWidget* widget, QPalette::ColorRole role, QRgb colour) {
  QPalette palette = widget->palette();
  palette.setColor(role, QColor(colour));
  widget->setPalette(palette);
}

}  // namespace

void RegisterFontSubstitutes() {
  Substitute(kTahoma, {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  Substitute(kMsSansSerif, {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  Substitute(kArialRounded, {QStringLiteral("Comfortaa"), QStringLiteral("Liberation Sans"),
                             QStringLiteral("DejaVu Sans")});
}

QFont PlainFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(12);  // 9 points at 96 dots per inch
  return font;
}

QFont DesignFont(const char* family, double points) {
  QFont font(QString::fromLatin1(family));
  font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
  font.setWeight(QFont::Bold);
  return font;
}

QRect Designer::PixelRect(const Twips& at) const {
  const int left = TwipsToPixels(origin_.x() + at.left) - TwipsToPixels(origin_.x());
  const int top = TwipsToPixels(origin_.y() + at.top) - TwipsToPixels(origin_.y());
  return {left, top, TwipsToPixels(at.width), TwipsToPixels(at.height)};
}

void Designer::Place(QWidget* control, const QString& name, const QFont& font,
                     const Twips& at) const {
  control->setParent(container_);
  control->setObjectName(name);
  control->setFont(font);
  control->setGeometry(PixelRect(at));
}

void SetBoxBackground(QWidget* box, QRgb colour) {
  SetColour(box, QPalette::Base, colour);
}

void SetBoxTextColour(QWidget* box, QRgb colour) {
  SetColour(box, QPalette::Text, colour);
}

void SetLabelBackground(QWidget* label, QRgb colour) {
  SetColour(label, QPalette::Window, colour);
  label->setAutoFillBackground(true);
}

void SetLabelTextColour(QWidget* label, QRgb colour) {
  SetColour(label, QPalette::WindowText, colour);
}

}  // namespace ui
