#include "capture/dimming_win.h"

#include "common/handles_win.h"

namespace vardo {

namespace {

// A 1x1 black bitmap in its own DC, stretched by AlphaBlend over each band.
class BlackPixel {
 public:
  BlackPixel() {
    if (!canvas_.CreateDib(1, 1)) return;
    *static_cast<DWORD*>(canvas_.bits()) = 0;
  }
  HDC dc() const { return canvas_.dc(); }

 private:
  MemoryCanvas canvas_;
};

}  // namespace

bool DrawAlphaClip(HDC target, HDC frozen, capture::Size surface, const capture::Rect& selection) {
  if (!BitBlt(target, 0, 0, surface.width, surface.height, frozen, 0, 0, SRCCOPY)) return false;
  static const BlackPixel black;
  if (!black.dc()) return false;
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, kDimAlpha, 0};
  bool ok = true;
  for (const capture::Rect& band : capture::DimBands(selection, surface)) {
    ok = AlphaBlend(target, band.left, band.top, band.width, band.height, black.dc(), 0, 0, 1, 1, blend) && ok;
  }
  return ok;
}

}  // namespace vardo
