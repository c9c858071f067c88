// Geometry of the capture overlay, in physical screen pixels: handle
// placement and dragging, moving the selection, the dimming bands, where the
// toolbar and the magnifier go, and the window-detection hit test.
#pragma once
#include <array>
#include <optional>
#include <vector>

#include "common/geometry.h"

namespace vardo::capture {

using vardo::Point;
using vardo::Rect;
using vardo::Size;

// A window rectangle as GetWindowRect reports it.
struct WinRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

constexpr int kHandleCount = 8;
// Handle indices: 0 top-left, 1 top-middle, 2 top-right, 3 middle-left,
// 4 middle-right, 5 bottom-left, 6 bottom-middle, 7 bottom-right.
using HandleRects = std::array<Rect, kHandleCount>;

// Each handle (of the given size) centred on its point of the selection.
HandleRects PlaceHandles(const Rect& sel, Size handle);
// Handles parked above the screen while nothing is selected.
HandleRects ParkedHandles(Size handle);

// Which edges a handle controls.
struct HandleEdges {
  bool left, top, right, bottom;
};
HandleEdges EdgesOf(int handle);

// The selection after handle `handle` has moved so that its centre is at
// `centre`. Edges the handle controls pass through the centre, the opposite
// edges stay at the anchors (right/bottom as they were when the handle was
// pressed). An edge never crosses its opposite edge: the size stops at zero
// instead of flipping.
Rect DragHandle(const Rect& sel, int handle, Point centre, int anchor_right, int anchor_bottom);

// Centre of the dragged handle for a cursor at `cursor`, pressed at `grab`
// inside the handle. Handles 1 and 6 move only vertically, 3 and 4 only
// horizontally; the fixed axis keeps `current_centre`.
Point HandleCentre(int handle, Point cursor, Point grab, Size handle_size, Point current_centre);

// The selection moved so that its centre is at the cursor.
Rect CentreOn(const Rect& sel, Point cursor);

// The part of the selection that lies on the surface: what stays undimmed.
Rect UndimmedArea(const Rect& sel, Size surface);

// Dimming: up to four bands around the selection, from edges clamped to
// the surface. Empty bands are left out.
std::vector<Rect> DimBands(const Rect& sel, Size surface);

// Where the dimming changes when the selection goes from `before` to
// `after`: the parts of the surface undimmed in one of them but not in the
// other (edges clamped to the surface), as disjoint rectangles.
std::vector<Rect> DimChange(const Rect& before, const Rect& after, Size surface);

// The outline of width `bw` drawn inside `sel`: top, bottom, left and right
// strips. Strips of a thin selection overlap rather than turn inside out.
std::array<Rect, 4> OutlineStrips(const Rect& sel, int bw);

// Toolbar position: right-aligned with the selection; above it when there
// is room, else below it, else inside along its top edge.
Point PlaceToolbar(const Rect& sel, Size toolbar, int surface_height);

// Magnifier position beside the cursor: `gap` px below-right; on an axis
// where the cursor is past (surface - panel + gap) it goes `gap` px to the
// other side. The test adds the gap rather than taking it off, so near the
// right and bottom edges the panel may overhang by up to twice the gap
// before it flips.
Point PlaceMagnifier(Point cursor, Size panel, Size surface, int gap = 20);

// Index of the first rectangle containing p (edges inclusive), if any.
std::optional<size_t> FindCandidate(const std::vector<WinRect>& rects, Point p);
// The highlight outline for a window: its rectangle grown by 2 px each side.
Rect HighlightFor(const WinRect& r);

}  // namespace vardo::capture
