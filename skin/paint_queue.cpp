#include "paint_queue.h"

#include <algorithm>

namespace qorin {

bool XPaintQueue::Add(const XRect& rect, const XRect& window, uint32_t now) {
  if (IsEmpty(rect) || !Intersects(rect, window)) return false;
  if (!rects_.empty()) {
    const XRect& last = rects_.back();
    if (last.left == rect.left && last.top == rect.top && last.right == rect.right &&
        last.bottom == rect.bottom)
      return false;
  }
  bool first = rects_.empty();
  if (first) firstTick_ = now;
  rects_.push_back(rect);
  return first;
}

XRect XPaintQueue::TakeMerged() {
  XRect merged = rects_.front();
  rects_.erase(rects_.begin());
  // A merge can make the rectangle meet ones it missed before: repeat until nothing joins.
  for (bool grew = true; grew;) {
    grew = false;
    for (auto it = rects_.begin(); it != rects_.end();) {
      if (Intersects(*it, merged)) {
        merged = Union(merged, *it);
        it = rects_.erase(it);
        grew = true;
      } else {
        ++it;
      }
    }
  }
  return merged;
}

}  // namespace qorin
