#include "controls/value_slider.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vardo::controls {

namespace {

// Halves to the even neighbour, whatever the floating-point rounding mode.
double RoundHalfEven(double v) {
  const double f = std::floor(v);
  const double d = v - f;
  if (d > 0.5) return f + 1;
  if (d < 0.5) return f;
  return std::fmod(f, 2.0) == 0.0 ? f : f + 1;
}

}  // namespace

float SliderValue(float v, float max, bool over_maxable) {
  if (std::isnan(v) || v < 0) return 0;
  if (v > max && !over_maxable) return max;
  return static_cast<float>(RoundHalfEven(v));
}

float ValueAtPixel(int x_px, int width_px, float max) {
  if (width_px <= 0) return 0;
  return static_cast<float>(static_cast<double>(x_px) * max / width_px);
}

Rect TrackRect(Size inner) {
  const int top = inner.height / 3;
  const int height = std::max(1, inner.height / 4);
  return Rect{0, top, inner.width, height};
}

Rect ThumbRect(Size inner, float max, float value) {
  if (max <= 0 || inner.width <= 0) return Rect{};
  const double per_unit = inner.width / static_cast<double>(max);
  const int left = static_cast<int>(std::lround((value - 10.0) * per_unit));
  const int right = static_cast<int>(std::lround((value + 10.0) * per_unit));
  return Rect{left, 0, std::max(1, right - left), inner.height};
}

std::string ValueText(float value) {
  char buf[32];
  if (value == std::floor(value) && std::fabs(value) < 1e9f)
    std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(value));
  else
    std::snprintf(buf, sizeof buf, "%g", static_cast<double>(value));
  return buf;
}

}  // namespace vardo::controls
