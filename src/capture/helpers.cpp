#include "capture/helpers.h"

namespace vardo::capture {

Rgb SplitRGB(uint32_t colour) {
  return Rgb{static_cast<int>(colour & 0xFF), static_cast<int>((colour & 0xFFFF) / 256),
             static_cast<int>((colour >> 16) & 0xFF)};
}

uint32_t InvertColor(uint32_t colour) {
  Rgb c = SplitRGB(colour);
  return static_cast<uint32_t>(255 - c.r) | (static_cast<uint32_t>(255 - c.g) << 8) |
         (static_cast<uint32_t>(255 - c.b) << 16);
}

uint32_t MakeARGB(int alpha, int red, int green, int blue) {
  auto low = [](int v) { return static_cast<uint32_t>(v) & 0xFFu; };
  return (low(alpha) << 24) | (low(red) << 16) | (low(green) << 8) | low(blue);
}

int ClampX(int x, int surface_width) {
  if (x < 0) return 0;
  return x <= surface_width ? x : surface_width;
}

int ClampY(int y, int surface_height) { return ClampX(y, surface_height); }

int ClampToSelX(int x, int sel_left, int sel_width) {
  if (sel_left + sel_width >= x) return sel_left > x ? sel_left : x;
  return sel_left + sel_width;
}

int ClampToSelY(int y, int sel_top, int sel_height) { return ClampToSelX(y, sel_top, sel_height); }

std::string FileExtension(const std::string& name) {
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

}  // namespace vardo::capture
