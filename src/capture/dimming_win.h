// One dimming pass: the frozen picture, darkened outside the selection.
#pragma once
#include <windows.h>

#include "capture/geometry.h"

namespace vardo {

// Black at alpha 170 over the picture: what remains is 85/255 of it.
constexpr BYTE kDimAlpha = 170;

// Draws `frozen` (surface-sized) onto `target` with one blit, then darkens
// the four bands around `selection` (edges clamped to the surface) with one
// alpha fill each. No per-pixel work of our own.
bool DrawAlphaClip(HDC target, HDC frozen, capture::Size surface, const capture::Rect& selection);

}  // namespace vardo
