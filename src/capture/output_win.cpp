#include "capture/output_win.h"

namespace vardo {

UniqueBitmap ComposeOutput(const MemoryCanvas& surface, const capture::Rect& area) {
  if (!surface || area.Empty()) return nullptr;
  // Device-dependent, as the clipboard hands it to other programs.
  WindowDc screen(nullptr);
  MemoryCanvas out;
  if (!screen || !out.Create(screen.get(), area.width, area.height)) return nullptr;
  if (!BitBlt(out.dc(), 0, 0, area.width, area.height, surface.dc(), area.left, area.top, SRCCOPY)) return nullptr;
  GdiFlush();
  return UniqueBitmap(out.Release());
}

}  // namespace vardo
