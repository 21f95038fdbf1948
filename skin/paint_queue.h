// The queue of damaged rectangles of a skin window: equal consecutive requests are dropped,
// intersecting ones are merged when they are served.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bitmap.h"
#include "layout.h"

namespace qorin {

class XPaintQueue {
 public:
  // Queues the rectangle; true when the queue was empty before (the caller posts the message
  // that serves it). Empty rectangles, those outside the window and repeats are dropped.
  bool Add(const XRect& rect, const XRect& window, uint32_t now);
  bool Empty() const { return rects_.empty(); }
  // The first rectangle with every queued rectangle that meets it merged in (and removed).
  XRect TakeMerged();
  uint32_t FirstTick() const { return firstTick_; }
  size_t Size() const { return rects_.size(); }

 private:
  std::vector<XRect> rects_;
  uint32_t firstTick_ = 0;
};

}  // namespace qorin
