// Small stateless helpers of the capture overlay: colour splitting and
// composition, clamping to the surface or the selection, file extensions.
#pragma once
#include <cstdint>
#include <string>

namespace vardo::capture {

// A colour value is 0x00BBGGRR (red in the low byte).
struct Rgb {
  int r = 0;
  int g = 0;
  int b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

Rgb SplitRGB(uint32_t colour);
// Each of red, green and blue replaced by 255 - value.
uint32_t InvertColor(uint32_t colour);
// 0xAARRGGBB from the low byte of each argument.
uint32_t MakeARGB(int alpha, int red, int green, int blue);

// 0 below zero, the surface size above it, else the value.
int ClampX(int x, int surface_width);
int ClampY(int y, int surface_height);
// Limits a coordinate to [start, start + length] of the selection.
int ClampToSelX(int x, int sel_left, int sel_width);
int ClampToSelY(int y, int sel_top, int sel_height);

// Text after the last "." of a UTF-8 file name, case unchanged; empty when
// the name has no ".".
std::string FileExtension(const std::string& name);

}  // namespace vardo::capture
