#include "capture/pixel_blend.h"

#include <algorithm>

namespace vardo::capture {

void BlendRect(uint32_t* pixels, Size size, int stride, const Rect& r, const Rect& clip, uint32_t argb) {
  const int alpha = static_cast<int>(argb >> 24);
  if (!pixels || alpha == 0) return;
  const int left = std::max({r.left, clip.left, 0}), right = std::min({r.right(), clip.right(), size.width});
  const int top = std::max({r.top, clip.top, 0}), bottom = std::min({r.bottom(), clip.bottom(), size.height});
  if (left >= right || top >= bottom) return;
  const uint32_t opaque = argb & 0xFFFFFFu;
  for (int y = top; y < bottom; ++y) {
    uint32_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(stride);
    for (int x = left; x < right; ++x) {
      const uint32_t p = row[x];
      if (alpha == 255) {
        row[x] = (p & 0xFF000000u) | opaque;
        continue;
      }
      row[x] = BlendPixel(p, opaque, alpha);
    }
  }
}

}  // namespace vardo::capture
