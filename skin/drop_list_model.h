// The drop-down list's rules, apart from its window: rows of one height under a top index, the
// page of whole rows, the selection by keys (wrapping at both ends), pointer and wheel, the
// scroll bar's messages and the window's smallest height. XSkinListWnd (list_window_win32) keeps
// one and paints and scrolls by it.
//
//   WM_SIZE ─► SetHeight ─► page, top clamped ─► scroll bar shown or not
//   key / wheel / scroll bar / pointer ─► selected, top ─► repaint; StepIntoView while animating
#pragma once

#include "rect.h"

namespace qorin {

class XDropListModel {
 public:
  int count = 0;
  int itemHeight = 16;
  int top = 0;
  int page = 0;
  int selected = -1;

  // The window's client height: the page of whole rows, the top clamped.
  void SetHeight(int height);
  // The scroll bar and the grip show only when the rows do not all fit.
  bool ScrollBarShown() const { return count - 1 >= page; }
  // The top index such that the last page is full, never negative.
  void ClampTop();
  void SetTop(int index);

  // The row under a point (without the painting's 3-pixel offset; x from 2 to drawWidth), or −1.
  int RowAt(int x, int y, int drawWidth) const;
  // Where a row is painted: x from 5 to drawWidth + 10, y offset by 3.
  XRect PaintedRow(int index, int drawWidth) const;

  // Page Up, Page Down, Home, End, Up and Down; an index past either end wraps to the other.
  // False for any other key.
  bool Key(int virtualKey);
  // One row up for a delta of 120 or more, one row down for anything less.
  void Wheel(int delta);
  // SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_THUMBTRACK (with its position).
  void ScrollBar(int code, int thumb);

  // One step of the top index towards the selected row; false when it is in view.
  bool StepIntoView();
  // Scrolling into view is animated, a row a step, for 50 items or fewer.
  bool Animated() const { return count <= 50; }

  // The smallest height: a thumb and two arrows and a frame, or less when every row fits.
  int MinHeight(int thumb, int arrow, int frame, int border) const;
};

}  // namespace qorin
