// Colour values as the programs hold them in their pure code: 0x00BBGGRR,
// red in the low byte (the platform's COLORREF), and the named colours the
// picker's and the ruler's menus offer.
#pragma once
#include <cstdint>

namespace vardo {

using ColorValue = uint32_t;

constexpr ColorValue MakeColor(int r, int g, int b) {
  return static_cast<ColorValue>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

inline constexpr ColorValue kRed = MakeColor(255, 0, 0);
inline constexpr ColorValue kGreen = MakeColor(0, 255, 0);
inline constexpr ColorValue kBlue = MakeColor(0, 0, 255);
inline constexpr ColorValue kYellow = MakeColor(255, 255, 0);
inline constexpr ColorValue kBlack = MakeColor(0, 0, 0);
inline constexpr ColorValue kWhite = MakeColor(255, 255, 255);

}  // namespace vardo
