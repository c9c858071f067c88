// One dimming pass: the frozen picture, darkened outside the selection.
#pragma once
#include <windows.h>

#include <vector>

#include "capture/geometry.h"
#include "common/handles_win.h"

namespace vardo {

// Black at alpha 170 over the picture: what remains is 85/255 of it.
constexpr BYTE kDimAlpha = 170;

// Makes `dimmed`, the whole frozen picture darkened, once per capture.
bool MakeDimmedCopy(const MemoryCanvas& frozen, MemoryCanvas& dimmed);

// Draws the dimmed picture onto `target` (surface-sized) and the frozen
// picture inside `selection` (edges clamped to the surface): two blits, no
// blending per pass.
bool DrawAlphaClip(HDC target, HDC frozen, HDC dimmed, capture::Size surface, const capture::Rect& selection);

// Redraws only `areas` of `target`, each wholly inside or wholly outside
// the selection (as DimChange gives them): one blit each.
void RedimAreas(HDC target, HDC frozen, HDC dimmed, capture::Size surface, const capture::Rect& selection,
                const std::vector<capture::Rect>& areas);

}  // namespace vardo
