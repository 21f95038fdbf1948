#include "list_model.h"

#include <algorithm>

namespace qorin {

void XListModel::Clear() {
  items_.clear();
  anchor_ = caret_ = active_ = -1;
  firstVisible_ = 0;
}

void XListModel::ClearSelection() {
  for (XListItem& item : items_) item.selected = false;
}

void XListModel::SelectRange(int from, int to) {
  for (int i = std::min(from, to); i <= std::max(from, to); ++i) {
    if (Valid(i)) items_[static_cast<size_t>(i)].selected = true;
  }
}

void XListModel::Select(int index, bool keepOthers) {
  if (!Valid(index)) return;
  if (!keepOthers || !multiSelect) ClearSelection();
  items_[static_cast<size_t>(index)].selected = true;
  anchor_ = caret_ = index;
}

void XListModel::SetSelected(int index, bool selected) {
  if (!Valid(index)) return;
  if (selected && !multiSelect) ClearSelection();
  items_[static_cast<size_t>(index)].selected = selected;
}

void XListModel::SelectAll() {
  if (!multiSelect) return;
  for (XListItem& item : items_) item.selected = true;
}

void XListModel::SetMark(int index, int mark) {
  if (Valid(index)) items_[static_cast<size_t>(index)].mark = std::clamp(mark, 0, 2);
}

int XListModel::FirstSelected() const {
  for (int i = 0; i < Count(); ++i) {
    if (items_[static_cast<size_t>(i)].selected) return i;
  }
  return -1;
}

int XListModel::SelectedCount() const {
  return static_cast<int>(std::count_if(items_.begin(), items_.end(),
                                        [](const XListItem& item) { return item.selected; }));
}

// Without Ctrl and Shift (or in a single-select list) the others go first; Ctrl in a
// multi-select list turns a selected item off; Shift from a valid anchor selects the range.
void XListModel::Press(int index, bool ctrl, bool shift) {
  if (!multiSelect || (!ctrl && !shift)) ClearSelection();
  if (!Valid(index)) return;
  if (shift && multiSelect && Valid(anchor_)) {
    SelectRange(anchor_, index);
    caret_ = std::max(anchor_, index);
    return;
  }
  XListItem& item = items_[static_cast<size_t>(index)];
  item.selected = !(multiSelect && ctrl && item.selected);
  anchor_ = caret_ = index;
}

void XListModel::RightPress(int index) {
  if (!Valid(index)) {
    ClearSelection();
    return;
  }
  if (items_[static_cast<size_t>(index)].selected) return;
  ClearSelection();
  items_[static_cast<size_t>(index)].selected = true;
  anchor_ = caret_ = index;
}

void XListModel::DoubleClick(int index) {
  if (!Valid(index)) return;
  ClearSelection();
  items_[static_cast<size_t>(index)].selected = true;
  anchor_ = caret_ = active_ = index;
}

bool XListModel::Key(int key, bool ctrl, bool shift, int rowsPerPage) {
  if (key == kListA) {
    if (!ctrl || !multiSelect) return false;
    SelectAll();
    return true;
  }
  int count = Count();
  if (count == 0) return false;
  bool ranged = shift && multiSelect;
  int current = ranged && Valid(caret_) ? caret_ : FirstSelected();
  int next = 0;
  switch (key) {
    case kListPageUp: next = current < 0 ? 0 : std::max(0, current - rowsPerPage); break;
    case kListPageDown: next = current < 0 ? 0 : std::min(count - 1, current + rowsPerPage); break;
    case kListHome: next = 0; break;
    case kListEnd: next = count - 1; break;
    case kListUp:
      next = current < 0 ? 0 : current - 1;
      if (next < 0) next = wrapAround ? count - 1 : 0;
      break;
    case kListDown:
      next = current + 1;
      if (next >= count) next = wrapAround ? 0 : count - 1;
      break;
    default: return false;
  }
  if (ranged && Valid(anchor_)) {
    ClearSelection();
    SelectRange(anchor_, next);
  } else {
    ClearSelection();
    items_[static_cast<size_t>(next)].selected = true;
    anchor_ = next;
  }
  caret_ = next;
  EnsureVisible(next, rowsPerPage);
  return true;
}

void XListModel::SetFirstVisible(int row) {
  firstVisible_ = std::clamp(row, 0, std::max(0, scrollLimit >= 0 ? scrollLimit : Count()));
}

void XListModel::Wheel(int delta) {
  int rows = delta >= 120 ? -2 : delta <= -120 ? 2 : delta >= 30 ? -1 : delta <= -30 ? 1 : 0;
  SetFirstVisible(firstVisible_ + rows);
}

void XListModel::EnsureVisible(int index, int rowsPerPage) {
  if (!Valid(index)) return;
  int cells = std::max(1, cellsPerRow);
  int row = index / cells, rows = rowsPerPage / cells;
  if (row < firstVisible_) {
    SetFirstVisible(row);
  } else if (rows > 0 && row >= firstVisible_ + rows) {
    SetFirstVisible(row - rows + 1);
  }
}

int XListModel::ColourIndex(int index) const {
  if (!Valid(index)) return 0;
  const XListItem& item = items_[static_cast<size_t>(index)];
  return std::clamp(item.mark, 0, 2) * 4 + (index == active_ ? 2 : 0) + (item.selected ? 1 : 0);
}

int ListRowsPerPage(int areaHeight, int itemHeight, int cellsPerRow) {
  if (itemHeight <= 0) return 0;
  return std::max(0, areaHeight / itemHeight) * std::max(1, cellsPerRow);
}

}  // namespace qorin
