#pragma once

#include <QPixmap>
#include <QRgb>

namespace ui {

inline constexpr int kLampIconSize = 32;
inline constexpr QRgb kGreyLampColour = qRgb(192, 192, 192);
inline constexpr QRgb kGreenLampColour = qRgb(0, 255, 0);
inline constexpr QRgb kRedLampColour = qRgb(255, 0, 0);

// A round lamp of the given colour with a black rim and a small white highlight, on a clear
// ground, 32 × 32 pixels.
QPixmap LampIcon(QRgb colour);

}  // namespace ui
