// Plain geometry shared by the programs' pure code: points, sizes and
// rectangles in whole pixels (left, top, width, height; right and bottom are
// exclusive). Converted to and from RECT/POINT at the Win32 edge.
#pragma once

namespace vardo {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool Contains(Point p) const { return p.x >= left && p.x < right() && p.y >= top && p.y < bottom(); }
  bool Empty() const { return width <= 0 || height <= 0; }
  bool Intersects(const Rect& o) const {
    return !Empty() && !o.Empty() && left < o.right() && o.left < right() && top < o.bottom() && o.top < bottom();
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// The smallest rectangle holding both; an empty one adds nothing.
inline Rect Union(const Rect& a, const Rect& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  const int l = a.left < b.left ? a.left : b.left;
  const int t = a.top < b.top ? a.top : b.top;
  const int r = a.right() > b.right() ? a.right() : b.right();
  const int btm = a.bottom() > b.bottom() ? a.bottom() : b.bottom();
  return Rect{l, t, r - l, btm - t};
}

}  // namespace vardo
