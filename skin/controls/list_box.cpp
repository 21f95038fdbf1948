#include "list_box.h"

#include <algorithm>
#include <string>

#include "bitmap_copy.h"
#include "image_modes.h"
#include "skin_document.h"
#include "skin_surface.h"
#include "skin_view.h"
#include "static.h"
#include "text.h"
#include "utf.h"
#include "xml_document.h"

namespace qorin {
namespace {

constexpr int kDefaultItemSize = 20;  // pixels at 96 DPI
constexpr intptr_t kRightClick = 2;   // lparam of the right-release notification
constexpr int64_t kFarOff = 1 << 29;  // cells further off than this are never seen
constexpr int kMostCell = 100000;     // item sizes, margins and icon places are kept within

XListBox& B(AControlBase& c) {
  return static_cast<XListBox&>(c);
}

// A colour attribute sets the text colour of its state in each block it names.
template <int... Indices>
bool SetColours(AControlBase& c, const std::u16string& v, const XXmlNode&) {
  XColour colour = ParseColour(c.skin->Resolve(v));
  ((B(c).colours[Indices] = colour), ...);
  return true;
}

template <XColour XListBox::*Field>
bool SetColour(AControlBase& c, const std::u16string& v, const XXmlNode&) {
  B(c).*Field = ParseColour(c.skin->Resolve(v));
  return true;
}

bool SetMultiSelect(AControlBase& c, const std::u16string& v, const XXmlNode&) {
  B(c).model.multiSelect = ParseBool(v);
  return true;
}

// Item backgrounds are nine-slice frames: their sides must divide into three.
template <XBitmap* XListBox::*Field>
bool SetBack(AControlBase& c, const std::u16string& v, const XXmlNode& e) {
  bool selected = Field == &XListBox::itemBackSelected;
  const char16_t* name = selected ? u"ListItemBkndSel" : u"ListItemBknd";
  if (selected && B(c).itemBack == nullptr) return true;  // only beside a normal background
  if (!c.LoadImage(e, name, v, kResizeFrame, &(B(c).*Field))) return false;
  const XBitmap* image = B(c).*Field;
  return image == nullptr || (image->width % 3 == 0 && image->height % 3 == 0) ||
         c.skin->Errors().Set(XSKIN_ERR_IMAGE_SIZE_3, name, v, e.line, e.column);
}

// A scaled integer, or "fit2image": the item background's extent, which must then be given.
template <bool Height>
bool SetItemSize(AControlBase& c, const std::u16string& v, const XXmlNode& e) {
  XListBox& list = B(c);
  int& field = Height ? list.geometry.itemHeight : list.geometry.itemWidth;
  if (v != u"fit2image") {
    field = std::clamp(ParseScaledInt(v, c.skin->Dpi()), 1, kMostCell);
    return true;
  }
  if (list.itemBack == nullptr)
    return c.skin->Errors().Set(XSKIN_ERR_VALUE, Height ? u"ListItemHeight" : u"ListItemWidth", v,
                                e.line, e.column);
  field = std::clamp(Height ? list.itemBack->height : list.itemBack->width, 1, kMostCell);
  return true;
}

// In the order they apply: the item background before the sizes that may take its extent.
constexpr XAttribute kListBox[] = {
    {u"ColorBkgnd", SetColour<&XListBox::background>},
    {u"ColorBkgndSel", SetColour<&XListBox::selectedBackground>},
    {u"ColorText", SetColours<0, 4, 8>},
    {u"ColorTextSel", SetColours<1, 5, 9>},
    {u"ColorTextActive", SetColours<2, 6, 10>},
    {u"ColorTextActiveSel", SetColours<3, 7, 11>},
    {u"ColorTextS0A0COPY", SetColours<4>},
    {u"ColorTextS1A0COPY", SetColours<5>},
    {u"ColorTextS0A1COPY", SetColours<6>},
    {u"ColorTextS1A1COPY", SetColours<7>},
    {u"ColorTextS0A0CUT", SetColours<8>},
    {u"ColorTextS1A0CUT", SetColours<9>},
    {u"ColorTextS0A1CUT", SetColours<10>},
    {u"ColorTextS1A1CUT", SetColours<11>},
    {u"MultiSelect", SetMultiSelect},
    {u"AutoHideSlider",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       B(c).autoHideSlider = ParseBool(v);
       return true;
     }},
    {u"ListStyle",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       B(c).geometry.icon = AsciiLower(v) == u"icon";
       return true;
     }},
    {u"ListItemBknd", SetBack<&XListBox::itemBack>},
    {u"ListItemBkndSel", SetBack<&XListBox::itemBackSelected>},
    {u"ListDefaultIcon",
     [](AControlBase& c, const std::u16string& v, const XXmlNode& e) {
       return c.LoadImage(e, u"ListDefaultIcon", v, kResizePlain, &B(c).defaultIcon);
     }},
    {u"ListItemHeight", SetItemSize<true>},
    {u"ListItemWidth", SetItemSize<false>},
    {u"ListItemMargin",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       int quad[4] = {};
       ParseQuad(v, c.skin->Dpi(), quad);
       for (int& side : quad) side = std::clamp(side, 0, kMostCell);
       B(c).geometry.margin = {quad[3], quad[0], quad[1], quad[2]};  // as Margin: top first
       return true;
     }},
    {u"ListItemPosition",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       ParseQuad(v, c.skin->Dpi(), B(c).iconPlace);
       for (int& field : B(c).iconPlace) field = std::clamp(field, 0, kMostCell);
       return true;
     }},
};

}  // namespace

int XListGeometry::CellWidth() const {
  return icon ? std::max(1, itemWidth + margin.left + margin.right) : std::max(1, area.Width());
}

int XListGeometry::CellHeight() const {
  return std::max(1, icon ? itemHeight + margin.top + margin.bottom : itemHeight);
}

int XListGeometry::CellsPerRow() const {
  return icon ? std::max(1, area.Width() / CellWidth()) : 1;
}

int XListGeometry::RowsPerPage() const {
  return ListRowsPerPage(area.Height(), CellHeight(), CellsPerRow());
}

int XListGeometry::ItemAt(int x, int y, int firstVisible, int count) const {
  if (!ContainsPoint(area, x, y)) return -1;
  int cells = CellsPerRow();
  int column = icon ? (x - area.left) / CellWidth() : 0;
  if (column >= cells) return -1;
  int64_t index = (int64_t{firstVisible} + (y - area.top) / CellHeight()) * cells + column;
  return index < count ? static_cast<int>(index) : -1;
}

XRect XListGeometry::CellRect(int index, int firstVisible) const {
  int cells = CellsPerRow();
  int64_t row = index / cells - int64_t{firstVisible};
  int top = static_cast<int>(std::clamp<int64_t>(area.top + row * CellHeight(), -kFarOff, kFarOff));
  int left = area.left + index % cells * CellWidth();
  if (!icon) return {left, top, area.right, top + itemHeight};
  return {left + margin.left, top + margin.top, left + margin.left + itemWidth,
          top + margin.top + itemHeight};
}

int XListGeometry::ScrollLimit(int count) const {
  int cells = CellsPerRow();
  int rows = static_cast<int>((int64_t{count} + cells - 1) / cells);
  return std::max(0, rows - RowsPerPage() / cells);
}

std::span<const XAttribute> XListBox::OwnAttributes() const {
  return kListBox;
}

bool XListBox::LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) {
  int dpi = skin->Dpi();
  geometry.itemHeight = geometry.itemWidth = ScaleForDpi(kDefaultItemSize, dpi);
  if (!AControlBase::LoadAttributes(element, layoutNode)) return false;
  hasText = true;  // the skin's default text style when no text attribute gave one
  opaque = true;
  return true;
}

// A Data element: column 0 from Text, then Col1, Col2, … until the first missing number.
void XListBox::AddData(const XXmlNode& data) {
  const std::u16string_view* first = XXmlDocument::FindAttribute(data, u"Text");
  if (first == nullptr) return;
  XListItem item;
  item.columns.push_back(skin->Resolve(std::u16string(*first)));
  for (int column = 1;; ++column) {
    std::u16string name = u"Col" + AsciiToUtf16(std::to_string(column));
    const std::u16string_view* value = XXmlDocument::FindAttribute(data, name);
    if (value == nullptr) break;
    item.columns.push_back(skin->Resolve(std::u16string(*value)));
  }
  model.Add(std::move(item));
}

void XListBox::OnChildAdded(AControlBase* child) {
  if (auto* bar = dynamic_cast<XSlider*>(child)) {
    slider = bar;
    bar->notifier = this;
  } else if (auto* top = dynamic_cast<XStatic*>(child)) {
    header = top;
  }
}

// The item area: the rectangle less its padding, the header above (row style) and the slider
// at the right (the left, right to left). Asked again once the header and slider are placed.
int XListBox::OnAlign(const XRect& newRect) {
  AControlBase::OnAlign(newRect);
  XRect area = layout != nullptr ? Inset(rect, layout->padding) : rect;
  if (header != nullptr && !geometry.icon) {
    const XEdges m = header->layout != nullptr ? header->layout->margin : XEdges{};
    area.top += header->rect.Height() + m.top + m.bottom;
  }
  if (slider != nullptr) {
    const XEdges m = slider->layout != nullptr ? slider->layout->margin : XEdges{};
    int width = slider->rect.Width() + m.left + m.right;
    (RightToLeft() ? area.left += width : area.right -= width);
  }
  area.bottom = std::max(area.top, area.bottom);
  area.right = std::max(area.left, area.right);
  geometry.area = area;
  UpdateSlider();
  RenderBuffer(0);
  return header != nullptr || slider != nullptr ? 0 : 1;
}

void XListBox::UpdateSlider() {
  int limit = geometry.ScrollLimit(model.Count());
  model.cellsPerRow = geometry.CellsPerRow();
  model.scrollLimit = limit;
  model.SetFirstVisible(model.FirstVisible());
  if (slider == nullptr) return;
  slider->SetRange(limit);
  slider->SetPos(model.FirstVisible());
  if (autoHideSlider) slider->SetShown(limit > 0);
}

XColour XListBox::Resolved(XColour colour) const {
  return colour < 0 ? static_cast<XColour>(skin->SystemColour(-colour)) : colour;
}

// The items are drawn into a work bitmap of the seen part of the item area, which clips them,
// then copied into the back buffer over the background.
int XListBox::RenderBuffer(int) {
  XBitmap& buffer = buffers[0];
  if (buffer.Empty() || frozen) return 0;
  buffer.FillRect({0, 0, buffer.width, buffer.height}, static_cast<uint32_t>(Resolved(background)),
                  255);
  XRect seen = Intersection(geometry.area, buffered);
  if (IsEmpty(seen) || !work_.Grow(seen.Width(), seen.Height())) return 1;
  work_.FillRect({0, 0, seen.Width(), seen.Height()}, static_cast<uint32_t>(Resolved(background)),
                 255);
  IXTextCanvas* canvas = skin->View() != nullptr ? skin->View()->Canvas() : nullptr;
  int cells = geometry.CellsPerRow();
  for (int64_t i = int64_t{model.FirstVisible()} * cells; i < model.Count(); ++i) {
    XRect cell = geometry.CellRect(static_cast<int>(i), model.FirstVisible());
    if (cell.top >= seen.bottom) break;
    if (cell.bottom <= seen.top) continue;
    DrawItem(static_cast<int>(i), Offset(cell, -seen.left, -seen.top), seen, canvas);
  }
  Blit(buffer, seen.left - buffered.left, seen.top - buffered.top, work_, 0, 0, seen.Width(),
       seen.Height(), false);
  return 1;
}

const XBitmap& XListBox::CellBack(bool selected, int width, int height) {
  for (const auto& back : backs_) {
    if (back->selected == selected && back->bitmap.width == width && back->bitmap.height == height)
      return back->bitmap;
  }
  if (backs_.size() >= 8) backs_.erase(backs_.begin());
  backs_.push_back(std::make_unique<CachedBack>());
  backs_.back()->selected = selected;
  XBitmap& made = backs_.back()->bitmap;
  const XBitmap& image = selected && itemBackSelected != nullptr ? *itemBackSelected : *itemBack;
  if (made.Create(width, height, 32)) {
    made.FillRect({0, 0, width, height}, 0, 0);
    DrawFrame(made, {0, 0, width, height}, image, {0, 0, image.width, image.height}, true);
  }
  return made;
}

// One item in its cell (work coordinates; `seen` gives the work bitmap's place in the window):
// background, icon, then the text of each column in its column's extent and style.
void XListBox::DrawItem(int index, const XRect& cell, const XRect& seen, IXTextCanvas* canvas) {
  const XListItem& item = model.Items()[static_cast<size_t>(index)];
  XColour colour = Resolved(colours[model.ColourIndex(index)]);
  std::vector<XRect> parts;
  std::vector<const AControlBase*> styles;
  if (header != nullptr && !header->children.empty() && !geometry.icon) {
    for (const AControlBase* column : header->children) {
      parts.push_back({std::max(cell.left, column->rect.left - seen.left), cell.top,
                       std::min(cell.right, column->rect.right - seen.left), cell.bottom});
      styles.push_back(column->hasText ? column : this);
    }
  } else {
    parts.push_back(cell);
    styles.push_back(this);
  }
  for (const XRect& part : parts) {
    if (itemBack != nullptr && part.Width() > 0 && part.Height() > 0) {
      const XBitmap& back = CellBack(item.selected, part.Width(), part.Height());
      Blit(work_, part.left, part.top, back, 0, 0, -1, -1, true);
    } else if (item.selected && itemBack == nullptr) {
      work_.FillRect(part, static_cast<uint32_t>(Resolved(selectedBackground)), 255);
    }
  }
  if (geometry.icon && defaultIcon != nullptr) {
    int w = iconPlace[2] > 0 ? iconPlace[2] : defaultIcon->width;
    int h = iconPlace[3] > 0 ? iconPlace[3] : defaultIcon->height;
    XRect at{cell.left + iconPlace[0], cell.top + iconPlace[1], cell.left + iconPlace[0] + w,
             cell.top + iconPlace[1] + h};
    DrawImage(kImageStretch, *defaultIcon, at, work_);
  }
  if (canvas == nullptr) return;
  XRect clip{0, 0, seen.Width(), seen.Height()};
  for (size_t i = 0; i < parts.size() && i < item.columns.size(); ++i) {
    XRect at = parts[i];
    if (layout != nullptr)
      at = Inset(at, {layout->textPadding.left, 0, layout->textPadding.right, 0});
    const AControlBase& style = *styles[i];
    canvas->Draw(work_, style.font, colour, item.columns[i], at, style.textStyle.format, &clip);
  }
}

int XListBox::HeldKeys() const {
  return skin->View() != nullptr ? skin->View()->Surface().HeldKeys() : 0;
}

void XListBox::Post(unsigned message, intptr_t lparam) {
  if (skin->View() == nullptr || message == 0) return;
  skin->View()->Surface().PostToHost(message, static_cast<uintptr_t>(id), lparam);
}

// A selection change: repainted, posted, and told to the host's callback.
void XListBox::Changed() {
  Redraw();
  if (skin->View() != nullptr) Post(skin->View()->Pointer().Messages().listSelChange, 0);
  if (onSelectionChanged) onSelectionChanged(id);
}

void XListBox::Scrolled() {
  if (slider != nullptr) slider->SetPos(model.FirstVisible());
  Redraw();
}

int XListBox::OnLButtonDown(int x, int y) {
  if (!enabled) return 0;
  int held = HeldKeys();
  int index = geometry.ItemAt(x + rect.left, y + rect.top, model.FirstVisible(), model.Count());
  model.Press(index, (held & kHeldCtrl) != 0, (held & kHeldShift) != 0);
  Changed();
  return 1;
}

int XListBox::OnLButtonDblClk(int x, int y) {
  if (!enabled) return 0;
  int index = geometry.ItemAt(x + rect.left, y + rect.top, model.FirstVisible(), model.Count());
  model.DoubleClick(index);
  Changed();
  if (index >= 0 && skin->View() != nullptr)
    Post(skin->View()->Pointer().Messages().listActiveItem, 0);
  return 1;
}

int XListBox::OnRButtonDown(int x, int y) {
  if (!enabled) return 0;
  model.RightPress(
      geometry.ItemAt(x + rect.left, y + rect.top, model.FirstVisible(), model.Count()));
  Changed();
  return 1;
}

int XListBox::OnRButtonUp(int, int) {
  if (!enabled) return 0;
  if (skin->View() != nullptr) Post(skin->View()->Pointer().Messages().listMouseClick, kRightClick);
  return 1;
}

int XListBox::OnMouseWheel(int delta, int, int, int) {
  int before = model.FirstVisible();
  model.Wheel(delta);
  if (model.FirstVisible() != before) Scrolled();
  return 1;
}

int XListBox::OnKeyDown(int key, int, int) {
  if (!enabled) return 0;
  int held = HeldKeys();
  if (!model.Key(key, (held & kHeldCtrl) != 0, (held & kHeldShift) != 0, geometry.RowsPerPage()))
    return 0;
  if (slider != nullptr) slider->SetPos(model.FirstVisible());
  Changed();
  return 1;
}

void XListBox::OnSliderChanged(int) {
  if (slider == nullptr) return;
  model.SetFirstVisible(slider->GetPos());
  Redraw();
}

void XListBox::AddItem(std::u16string text, bool redraw) {
  XListItem item;
  item.columns.push_back(std::move(text));
  model.Add(std::move(item));
  UpdateSlider();
  if (redraw) Redraw();
}

void XListBox::ClearAll() {
  model.Clear();
  UpdateSlider();
  Changed();
}

void XListBox::Select(int index, bool keepOthers) {
  if (index < 0 || index >= model.Count()) return;
  model.Select(index, keepOthers);
  Changed();
}

void XListBox::SelectAll() {
  model.SelectAll();
  Changed();
}

void XListBox::SetSelected(int index, bool selected) {
  if (index < 0 || index >= model.Count()) return;
  model.SetSelected(index, selected);
  Changed();
}

void XListBox::EnsureVisible(int index) {
  int before = model.FirstVisible();
  model.EnsureVisible(index, geometry.RowsPerPage());
  if (model.FirstVisible() != before) Scrolled();
}

void XListBox::SetScrollPos(int row) {
  int before = model.FirstVisible();
  model.SetFirstVisible(row);
  if (model.FirstVisible() != before) Scrolled();
}

}  // namespace qorin
