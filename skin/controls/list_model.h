// The list box's items and their rules, apart from drawing and windows: selection by press,
// Shift, Ctrl and keys, the active item, the first visible row, the wheel and the text colour of
// an item's state. The list box control (and its tests) drive it.
//
//   press / right press / double-click / key / wheel ─► XListModel ─► selection, anchor, caret,
//   first visible ─► the control repaints and posts "WM_XSKINNOTIFY_LISTBOX_SELCHANGE"
#pragma once

#include <string>
#include <vector>

namespace qorin {

struct XListItem {
  std::vector<std::u16string> columns;  // column 0 is the item's text
  bool selected = false;
  int mark = 0;  // 0 none, 1 copied, 2 cut: the block of text colours
};

// The keys the list answers (Win32 virtual-key codes).
enum XListKey : int {
  kListPageUp = 0x21,
  kListPageDown = 0x22,
  kListEnd = 0x23,
  kListHome = 0x24,
  kListUp = 0x26,
  kListDown = 0x28,
  kListA = 0x41,
};

class XListModel {
 public:
  bool multiSelect = false;
  bool wrapAround = false;  // no attribute: off unless the host turns it on
  // Items side by side in a row (the icon style's cells); the first visible value counts rows.
  int cellsPerRow = 1;
  // The last first visible row the list may scroll to (−1: the item count).
  int scrollLimit = -1;

  const std::vector<XListItem>& Items() const { return items_; }
  int Count() const { return static_cast<int>(items_.size()); }
  void Add(XListItem item) { items_.push_back(std::move(item)); }
  void Clear();

  // Selection operations of the host; indices outside the items are ignored.
  void Select(int index, bool keepOthers);
  void SetSelected(int index, bool selected);
  void SelectAll();
  // Copied (1) or cut (2): the block of text colours; 0 none.
  void SetMark(int index, int mark);
  int FirstSelected() const;
  int SelectedCount() const;

  // Pointer input at an item (−1: outside the items). Each answers whether it was handled.
  void Press(int index, bool ctrl, bool shift);
  void RightPress(int index);
  void DoubleClick(int index);
  // A key with Ctrl and Shift; false for keys the list does not answer.
  bool Key(int key, bool ctrl, bool shift, int rowsPerPage);

  // Scrolling: the first visible row within 0..scrollLimit; the wheel moves it by 1 or 2 rows.
  int FirstVisible() const { return firstVisible_; }
  void SetFirstVisible(int row);
  void Wheel(int delta);
  // Moves the first visible row so that the item is seen among rowsPerPage items.
  void EnsureVisible(int index, int rowsPerPage);

  int Anchor() const { return anchor_; }
  int Caret() const { return caret_; }
  int Active() const { return active_; }
  // The index of an item's text colour among the twelve: mark × 4 + active × 2 + selected.
  int ColourIndex(int index) const;

 private:
  bool Valid(int index) const { return index >= 0 && index < Count(); }
  void ClearSelection();
  void SelectRange(int from, int to);

  std::vector<XListItem> items_;
  int anchor_ = -1, caret_ = -1, active_ = -1, firstVisible_ = 0;
};

// Rows per page: the whole rows of the item area, times the cells of a row (1 in row style).
int ListRowsPerPage(int areaHeight, int itemHeight, int cellsPerRow);

}  // namespace qorin
