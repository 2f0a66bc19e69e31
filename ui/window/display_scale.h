// Pixel sizes chosen for a display's DPI. Every size in our own drawing is
// written for 96 DPI (100 %) and goes through here. Portable.
#pragma once

#include <initializer_list>

namespace corvel {

inline constexpr int kBaseDpi = 96;

// A length of pixels at 96 DPI, at dpi; rounded to the nearest pixel,
// halves away from zero as Windows' MulDiv does.
int ScaleToDpi(int pixels, int dpi);

// Of the image sizes drawn (in any order), the one to show for an image of
// nominal pixels at 96 DPI: the largest that fits the scaled size, so that
// an image is never stretched; the smallest when none fits.
int DrawnSizeForDpi(std::initializer_list<int> drawn, int nominal, int dpi);

}  // namespace corvel
