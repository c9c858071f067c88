// The frozen-screen tools' magnifier drawing and the arrow-key nudge of
// the pointer that goes with it.
#pragma once
#include <windows.h>

#include "common/magnifier.h"

namespace vardo {

// Fills the kZoomSide x kZoomSide image in `zoom` with `outside`, then
// draws the source square round `pointer` from `picture` (of the given
// size) four times as large.
void DrawMagnified(HDC zoom, HDC picture, int picture_w, int picture_h, POINT pointer, COLORREF outside);

// Up, Down, Left and Right move the pointer by one pixel. Returns whether
// the key was one of them.
bool NudgePointer(WPARAM key);

}  // namespace vardo
