#include "capture/dimming_win.h"

#include "capture/dim.h"

namespace vardo {

bool MakeDimmedCopy(const MemoryCanvas& frozen, MemoryCanvas& dimmed) {
  if (!frozen || !frozen.bits()) return false;
  if (!dimmed.CreateDib(frozen.width(), frozen.height())) return false;
  GdiFlush();
  const size_t count = static_cast<size_t>(frozen.width()) * static_cast<size_t>(frozen.height());
  capture::DimPixels(static_cast<const uint32_t*>(frozen.bits()), static_cast<uint32_t*>(dimmed.bits()), count);
  return true;
}

bool DrawAlphaClip(HDC target, HDC frozen, HDC dimmed, capture::Size surface, const capture::Rect& selection) {
  if (!BitBlt(target, 0, 0, surface.width, surface.height, dimmed, 0, 0, SRCCOPY)) return false;
  const capture::Rect u = capture::UndimmedArea(selection, surface);
  return u.Empty() || BitBlt(target, u.left, u.top, u.width, u.height, frozen, u.left, u.top, SRCCOPY);
}

}  // namespace vardo

namespace vardo {

void RedimAreas(HDC target, HDC frozen, HDC dimmed, capture::Size surface, const capture::Rect& selection,
                const std::vector<capture::Rect>& areas) {
  const capture::Rect u = capture::UndimmedArea(selection, surface);
  for (const capture::Rect& a : areas) {
    HDC from = u.Contains(capture::Point{a.left, a.top}) ? frozen : dimmed;
    BitBlt(target, a.left, a.top, a.width, a.height, from, a.left, a.top, SRCCOPY);
  }
}

}  // namespace vardo
