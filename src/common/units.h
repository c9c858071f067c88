// Design units to physical pixels. Window chrome is designed in pixels at
// 96 DPI or in twips (1/1440 inch); captures and measurements are always
// physical pixels.
#pragma once

namespace vardo {

constexpr int kBaseDpi = 96;
constexpr int kTwipsPerInch = 1440;

// Rounds half away from zero, like MulDiv.
constexpr int MulDivRound(int value, int num, int den) {
  long long p = static_cast<long long>(value) * num;
  long long half = den / 2;
  return static_cast<int>(p >= 0 ? (p + half) / den : -((-p + half) / den));
}

// A length designed in pixels at 96 DPI, at the given DPI.
constexpr int ScaleForDpi(int px96, int dpi) { return MulDivRound(px96, dpi, kBaseDpi); }

// Twips to physical pixels at the given DPI (1440/DPI twips per pixel).
constexpr int TwipsToPixels(int twips, int dpi) { return MulDivRound(twips, dpi, kTwipsPerInch); }

// Physical pixels to twips at the given DPI.
constexpr int PixelsToTwips(int px, int dpi) { return MulDivRound(px, kTwipsPerInch, dpi); }

// Twips per pixel at the given DPI (15 at 96 DPI), as a double.
constexpr double TwipsPerPixel(int dpi) { return static_cast<double>(kTwipsPerInch) / dpi; }

}  // namespace vardo
