#include "capture/geometry.h"

#include <algorithm>

namespace vardo::capture {

HandleRects PlaceHandles(const Rect& sel, Size h) {
  const int hw = h.width / 2, hh = h.height / 2;
  const int xs[3] = {sel.left - hw, sel.left + sel.width / 2 - hw, sel.right() - hw};
  const int ys[3] = {sel.top - hh, sel.top + sel.height / 2 - hh, sel.bottom() - hh};
  // Column and row of each handle, in index order.
  static constexpr int kCol[kHandleCount] = {0, 1, 2, 0, 2, 0, 1, 2};
  static constexpr int kRow[kHandleCount] = {0, 0, 0, 1, 1, 2, 2, 2};
  HandleRects out{};
  for (int i = 0; i < kHandleCount; ++i) out[i] = Rect{xs[kCol[i]], ys[kRow[i]], h.width, h.height};
  return out;
}

HandleRects ParkedHandles(Size h) {
  HandleRects out{};
  for (auto& r : out) r = Rect{0, -h.height, h.width, h.height};
  return out;
}

HandleEdges EdgesOf(int handle) {
  switch (handle) {
    case 0: return {true, true, false, false};
    case 1: return {false, true, false, false};
    case 2: return {false, true, true, false};
    case 3: return {true, false, false, false};
    case 4: return {false, false, true, false};
    case 5: return {true, false, false, true};
    case 6: return {false, false, false, true};
    case 7: return {false, false, true, true};
    default: return {false, false, false, false};
  }
}

Rect DragHandle(const Rect& sel, int handle, Point c, int anchor_right, int anchor_bottom) {
  const HandleEdges e = EdgesOf(handle);
  int left = sel.left, top = sel.top, right = sel.right(), bottom = sel.bottom();
  if (e.left) {
    right = anchor_right;
    left = std::min(c.x, right);
  } else if (e.right) {
    right = std::max(c.x, left);
  }
  if (e.top) {
    bottom = anchor_bottom;
    top = std::min(c.y, bottom);
  } else if (e.bottom) {
    bottom = std::max(c.y, top);
  }
  return Rect{left, top, right - left, bottom - top};
}

Point HandleCentre(int handle, Point cursor, Point grab, Size hs, Point current) {
  const bool moves_x = handle != 1 && handle != 6;
  const bool moves_y = handle != 3 && handle != 4;
  Point c = current;
  if (moves_x) c.x = cursor.x - grab.x + hs.width / 2;
  if (moves_y) c.y = cursor.y - grab.y + hs.height / 2;
  return c;
}

Rect CentreOn(const Rect& sel, Point cursor) {
  return Rect{cursor.x - sel.width / 2, cursor.y - sel.height / 2, sel.width, sel.height};
}

Rect UndimmedArea(const Rect& sel, Size s) {
  const int l = std::clamp(sel.left, 0, s.width);
  const int r = std::clamp(sel.right(), l, s.width);
  const int t = std::clamp(sel.top, 0, s.height);
  const int b = std::clamp(sel.bottom(), t, s.height);
  return Rect{l, t, r - l, b - t};
}

std::vector<Rect> DimBands(const Rect& sel, Size s) {
  const Rect u = UndimmedArea(sel, s);
  const int l = u.left, r = u.right(), t = u.top, b = u.bottom();
  const Rect all[4] = {
      {0, 0, l, s.height},           // left
      {l, 0, r - l, t},              // top
      {r, 0, s.width - r, s.height}, // right
      {l, b, r - l, s.height - b},   // bottom
  };
  std::vector<Rect> out;
  for (const Rect& band : all)
    if (!band.Empty()) out.push_back(band);
  return out;
}

std::vector<Rect> DimChange(const Rect& before, const Rect& after, Size s) {
  const Rect a = UndimmedArea(before, s), b = UndimmedArea(after, s);
  std::vector<int> xs = {a.left, a.right(), b.left, b.right()};
  std::vector<int> ys = {a.top, a.bottom(), b.top, b.bottom()};
  for (auto* v : {&xs, &ys}) {
    std::sort(v->begin(), v->end());
    v->erase(std::unique(v->begin(), v->end()), v->end());
  }
  auto in = [](const Rect& r, int x, int y) { return !r.Empty() && r.Contains(Point{x, y}); };
  std::vector<Rect> out;
  for (size_t j = 0; j + 1 < ys.size(); ++j) {
    // One row of cells; neighbours that both change are merged.
    int run = -1;
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
      const bool changes = in(a, xs[i], ys[j]) != in(b, xs[i], ys[j]);
      if (changes && run < 0) run = static_cast<int>(i);
      if (run >= 0 && (!changes || i + 2 == xs.size())) {
        const size_t end = changes ? i + 1 : i;
        out.push_back(Rect{xs[static_cast<size_t>(run)], ys[j], xs[end] - xs[static_cast<size_t>(run)], ys[j + 1] - ys[j]});
        run = -1;
      }
    }
  }
  return out;
}

std::array<Rect, 4> OutlineStrips(const Rect& r, int bw) {
  const int l = r.left, t = r.top, rr = r.right(), b = r.bottom();
  const int edges[4][4] = {{l, t, rr, t + bw}, {l, b - bw, rr, b}, {l, t, l + bw, b}, {rr - bw, t, rr, b}};
  std::array<Rect, 4> strips{};
  for (int k = 0; k < 4; ++k) {
    const int sl = std::max(edges[k][0], l), st = std::max(edges[k][1], t);
    const int sr = std::max(edges[k][2], edges[k][0] + 1), sb = std::max(edges[k][3], edges[k][1] + 1);
    strips[k] = Rect{sl, st, sr - sl, sb - st};
  }
  return strips;
}

Point PlaceToolbar(const Rect& sel, Size tb, int surface_height) {
  Point p{sel.right() - tb.width, sel.top};
  if (sel.top + 5 > tb.height)
    p.y = sel.top - tb.height - 5;
  else if (sel.bottom() + tb.height + 5 < surface_height)
    p.y = sel.bottom() + 5;
  return p;
}

Point PlaceMagnifier(Point c, Size panel, Size s, int gap) {
  Point p;
  p.x = c.x <= s.width - panel.width + gap ? c.x + gap : c.x - panel.width - gap;
  p.y = c.y <= s.height - panel.height + gap ? c.y + gap : c.y - panel.height - gap;
  return p;
}

std::optional<size_t> FindCandidate(const std::vector<WinRect>& rects, Point p) {
  for (size_t k = 0; k < rects.size(); ++k) {
    const WinRect& r = rects[k];
    if (r.left <= p.x && p.x <= r.right && r.top <= p.y && p.y <= r.bottom) return k;
  }
  return std::nullopt;
}

Rect HighlightFor(const WinRect& r) {
  return Rect{r.left - 2, r.top - 2, r.right - r.left + 4, r.bottom - r.top + 4};
}

}  // namespace vardo::capture
