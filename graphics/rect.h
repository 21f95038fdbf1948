// Rectangles (left, top, right, bottom; right and bottom outside) and their arithmetic, for
// bitmaps, layout, painting and hit-testing alike. A rectangle with no area is empty, and every
// empty result is {}.
#pragma once

#include <algorithm>

namespace qorin {

struct XRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// Widths of a rectangle's four sides: margins, paddings.
struct XEdges {
  int left = 0, top = 0, right = 0, bottom = 0;
};

inline bool operator==(const XRect& a, const XRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline bool IsEmpty(const XRect& rect) {
  return rect.right <= rect.left || rect.bottom <= rect.top;
}

inline XRect Intersection(const XRect& a, const XRect& b) {
  XRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
  return IsEmpty(r) ? XRect{} : r;
}

inline bool Intersects(const XRect& a, const XRect& b) {
  return !IsEmpty(Intersection(a, b));
}

// The smallest rectangle holding both; an empty one adds nothing.
inline XRect Union(const XRect& a, const XRect& b) {
  if (IsEmpty(a)) return b;
  if (IsEmpty(b)) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

inline bool Contains(const XRect& outer, const XRect& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

inline bool ContainsPoint(const XRect& rect, int x, int y) {
  return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

inline XRect Offset(const XRect& r, int dx, int dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// The rectangle less its edges; sides that would cross stop where they meet.
inline XRect Inset(const XRect& rect, const XEdges& edges) {
  XRect r{rect.left + edges.left, rect.top + edges.top, rect.right - edges.right,
          rect.bottom - edges.bottom};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

}  // namespace qorin
