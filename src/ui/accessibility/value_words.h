#pragma once

#include <QRgb>
#include <QString>

namespace ui {

// What a value box's text colour tells a sighted operator, in words for a screen reader: the
// colour together with the box's text and its row's selector, as the operations leave them.
// Empty where the colour marks nothing (the reset colour, the window-text colour, black).
QString ValueWords(QRgb colour, const QString& text, bool selected);

}  // namespace ui
