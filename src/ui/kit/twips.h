#pragma once

namespace ui {

// The windows are designed in twips; on the screen fifteen twips make one pixel.
inline constexpr int kTwipsPerPixel = 15;

// Rounds to the nearest pixel, halves away from zero, so that a position and its mirror image
// round alike.
constexpr int TwipsToPixels(int twips) {
  return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                    : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

}  // namespace ui
