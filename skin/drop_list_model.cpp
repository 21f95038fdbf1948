#include "drop_list_model.h"

#include <algorithm>

namespace qorin {
namespace {

// Win32 virtual keys and scroll bar codes.
enum : int { kPrior = 0x21, kNext = 0x22, kEnd = 0x23, kHome = 0x24, kUp = 0x26, kDown = 0x28 };
enum : int { kLineUp = 0, kLineDown = 1, kPageUp = 2, kPageDown = 3, kThumbTrack = 5 };

}  // namespace

void XDropListModel::SetHeight(int height) {
  page = itemHeight > 0 ? std::max(0, height) / itemHeight : 0;
  ClampTop();
}

void XDropListModel::ClampTop() {
  top = std::clamp(top, 0, std::max(0, count - page));
}

void XDropListModel::SetTop(int index) {
  top = index;
  ClampTop();
}

int XDropListModel::RowAt(int x, int y, int drawWidth) const {
  if (x < 2 || x >= drawWidth || y < 0 || itemHeight <= 0) return -1;
  int index = top + y / itemHeight;
  return index < count ? index : -1;
}

XRect XDropListModel::PaintedRow(int index, int drawWidth) const {
  int y = itemHeight * (index - top) + 3;
  return {5, y, drawWidth + 10, y + itemHeight};
}

bool XDropListModel::Key(int virtualKey) {
  int s = selected;
  switch (virtualKey) {
    case kPrior: s = std::max(0, s - page); break;
    case kNext: s = std::min(count - 1, s + page); break;
    case kHome: s = 0; break;
    case kEnd: s = count - 1; break;
    case kUp: s -= 1; break;
    case kDown: s += 1; break;
    default: return false;
  }
  if (count <= 0) return true;
  if (s < 0) s = count - 1;
  if (s >= count) s = 0;
  selected = s;
  return true;
}

void XDropListModel::Wheel(int delta) {
  SetTop(top + (delta >= 120 ? -1 : 1));
}

void XDropListModel::ScrollBar(int code, int thumb) {
  switch (code) {
    case kLineUp: SetTop(top - 1); break;
    case kLineDown: SetTop(top + 1); break;
    case kPageUp: SetTop(top - page); break;
    case kPageDown: SetTop(top + page); break;
    case kThumbTrack: SetTop(thumb); break;
    default: break;
  }
}

bool XDropListModel::StepIntoView() {
  if (selected < 0 || selected >= count) return false;
  if (selected >= top + std::max(1, page) && top < std::max(0, count - page)) {
    ++top;
    return true;
  }
  if (selected < top) {
    --top;
    return true;
  }
  return false;
}

int XDropListModel::MinHeight(int thumb, int arrow, int frame, int border) const {
  int least = thumb + 2 * arrow + frame;
  if (count - 1 < page) least = std::min(least, count * itemHeight + 2 * border);
  return least;
}

}  // namespace qorin
