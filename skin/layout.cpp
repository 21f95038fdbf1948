#include "layout.h"

#include <algorithm>
#include <cstdint>

#include "skin_error.h"
#include "table_column.h"
#include "xml_document.h"

namespace qorin {
namespace {

// Lengths a skin gives are kept within a million pixels either way, and coordinates along a
// layout saturate at half a billion (so that any width between two of them fits an int): a
// careless or hostile skin gets odd places, never an overflow.
constexpr int kMostLength = 1 << 20;
constexpr int64_t kMostCoordinate = 1 << 29;

int Length(int value) {
  return std::clamp(value, -kMostLength, kMostLength);
}

int Saturated(int64_t value) {
  return static_cast<int>(std::clamp(value, -kMostCoordinate, kMostCoordinate));
}

XRect Box(int64_t left, int64_t top, int64_t right, int64_t bottom) {
  return {Saturated(left), Saturated(top), Saturated(right), Saturated(bottom)};
}

// Width or Height: the value and its flags; -1 after scaling counts as not given.
void ReadSize(std::u16string_view text, int dpi, int* size, bool* percent, bool* fitText,
              bool* fitChild, bool* fitParent) {
  XSizeValue value = ParseSize(text, dpi);
  *percent = value.kind == XSizeValue::kPercent;
  *fitText = value.kind == XSizeValue::kFitText;
  *fitChild = value.kind == XSizeValue::kFitChild;
  *fitParent = value.kind == XSizeValue::kFitParent;
  *size = value.value == -1 && value.kind == XSizeValue::kPixels ? 0 : Length(value.value);
}

// A quadruple written top, right, bottom, left.
void ReadEdges(std::u16string_view text, int dpi, XEdges* edges) {
  int fields[4] = {edges->top, edges->right, edges->bottom, edges->left};
  ParseQuad(text, dpi, fields);
  *edges = {Length(fields[3]), Length(fields[0]), Length(fields[1]), Length(fields[2])};
}

int NotGivenIsZero(int value) {
  return value == -1 ? 0 : value;
}

// What the children consumed of r when m is left: exact for one full-width or full-height
// strip, all of r otherwise (nothing when nothing was consumed).
XRect Consumed(const XRect& r, const XRect& m) {
  if (m == r) return {};
  if (m.left == r.left && m.right == r.right) {
    if (m.top == r.top) return {r.left, m.bottom, r.right, r.bottom};
    if (m.bottom == r.bottom) return {r.left, r.top, r.right, m.top};
  }
  if (m.top == r.top && m.bottom == r.bottom) {
    if (m.left == r.left) return {m.right, r.top, r.right, r.bottom};
    if (m.right == r.right) return {r.left, r.top, m.left, r.bottom};
  }
  return r;
}

int Rule(int size, bool percent, int before, int after, int minimum, int maximum, bool fixed,
         int available) {
  int64_t w = size;
  if (w < 0) w += available;
  w = percent ? int64_t{available} * w / 100 : w + before + after;
  int64_t cap = maximum < 0 ? int64_t{available} + maximum
                            : std::min<int64_t>(available, int64_t{maximum} + before + after);
  if (fixed) return Saturated(w);
  int64_t floor = int64_t{before} + after + minimum;
  return Saturated(std::min(cap, std::max(floor, w)));
}

}  // namespace

XLayoutNode* XLayoutNode::AddChild() {
  children.push_back(std::make_unique<XLayoutNode>());
  children.back()->parent = this;
  return children.back().get();
}

bool XLayoutNode::Visible() const {
  for (const XLayoutNode* n = this; n != nullptr; n = n->parent) {
    if (!n->show || n->hiddenWhenSmall) return false;
  }
  return true;
}

namespace {

// One layout attribute: the setter answers false for a value it refuses (an unknown Align).
struct XLayoutAttribute {
  const char16_t* name;
  bool (*set)(XLayoutNode& node, std::u16string_view value, const XXmlNode& element, int dpi,
              bool rightToLeft);
};

bool SetAlign(XLayoutNode& node, std::u16string_view value) {
  node.align = ParseAlign(value);
  return node.align != kAlignNone;
}

template <int XLayoutNode::*Field>
bool SetScaled(XLayoutNode& node, std::u16string_view value, const XXmlNode&, int dpi, bool) {
  node.*Field = Length(ParseScaledInt(value, dpi));
  return true;
}

template <XEdges XLayoutNode::*Field>
bool SetEdges(XLayoutNode& node, std::u16string_view value, const XXmlNode&, int dpi, bool) {
  ReadEdges(value, dpi, &(node.*Field));
  return true;
}

// Position replaces Left, Top, Width and Height whole, their percent and fit flags included.
bool SetPosition(XLayoutNode& node, std::u16string_view value, const XXmlNode&, int dpi, bool) {
  int fields[4] = {node.left, node.top, node.width, node.height};
  ParseQuad(value, dpi, fields);
  node.left = Length(fields[0]), node.top = Length(fields[1]), node.width = Length(fields[2]),
  node.height = Length(fields[3]);
  for (bool XLayoutNode::*flag :
       {&XLayoutNode::widthPercent, &XLayoutNode::widthFitText, &XLayoutNode::widthFitChild,
        &XLayoutNode::widthFitParent, &XLayoutNode::heightPercent, &XLayoutNode::heightFitText,
        &XLayoutNode::heightFitChild, &XLayoutNode::heightFitParent})
    node.*flag = false;
  return true;
}

// In the order they apply: Position after the sizes and places it replaces.
constexpr XLayoutAttribute kLayoutAttributes[] = {
    // A right-to-left skin takes AlignRTL instead of Align when it has one.
    {u"Align",
     [](XLayoutNode& n, std::u16string_view v, const XXmlNode& e, int, bool rtl) {
       return (rtl && XXmlDocument::FindAttribute(e, u"AlignRTL") != nullptr) || SetAlign(n, v);
     }},
    {u"AlignRTL", [](XLayoutNode& n, std::u16string_view v, const XXmlNode&, int,
                     bool rtl) { return !rtl || SetAlign(n, v); }},
    {u"Width",
     [](XLayoutNode& n, std::u16string_view v, const XXmlNode&, int dpi, bool) {
       ReadSize(v, dpi, &n.width, &n.widthPercent, &n.widthFitText, &n.widthFitChild,
                &n.widthFitParent);
       return true;
     }},
    {u"Height",
     [](XLayoutNode& n, std::u16string_view v, const XXmlNode&, int dpi, bool) {
       ReadSize(v, dpi, &n.height, &n.heightPercent, &n.heightFitText, &n.heightFitChild,
                &n.heightFitParent);
       return true;
     }},
    {u"MinWidth", SetScaled<&XLayoutNode::minWidth>},
    {u"MinHeight", SetScaled<&XLayoutNode::minHeight>},
    {u"MaxWidth", SetScaled<&XLayoutNode::maxWidth>},
    {u"MaxHeight", SetScaled<&XLayoutNode::maxHeight>},
    {u"Left", SetScaled<&XLayoutNode::left>},
    {u"Top", SetScaled<&XLayoutNode::top>},
    {u"Margin", SetEdges<&XLayoutNode::margin>},
    {u"Padding", SetEdges<&XLayoutNode::padding>},
    {u"TextPadding", SetEdges<&XLayoutNode::textPadding>},
    {u"TextMargin", SetEdges<&XLayoutNode::textMargin>},
    {u"Position", SetPosition},
    {u"Show", [](XLayoutNode& n, std::u16string_view v, const XXmlNode&, int,
                 bool) { return n.show = ParseBool(v), true; }},
    {u"HideWhenSmall", [](XLayoutNode& n, std::u16string_view v, const XXmlNode&, int,
                          bool) { return n.hideWhenSmall = ParseBool(v), true; }},
    {u"FixedSize", [](XLayoutNode& n, std::u16string_view v, const XXmlNode&, int,
                      bool) { return n.fixedSize = ParseBool(v), true; }},
};

}  // namespace

std::vector<std::u16string_view> LayoutAttributeNames() {
  return ColumnOf(kLayoutAttributes, &XLayoutAttribute::name);
}

bool ReadLayoutAttributes(const XXmlNode& element, int dpi, bool rightToLeft,
                          const std::u16string& skinFile, XLayoutNode* node, XSkinError* error) {
  for (const XLayoutAttribute& row : kLayoutAttributes) {
    // Left and Top not given are 0, as Position finds them.
    if (row.set == SetPosition) {
      node->left = NotGivenIsZero(node->left);
      node->top = NotGivenIsZero(node->top);
    }
    const std::u16string_view* value = XXmlDocument::FindAttribute(element, row.name);
    if (value != nullptr && !row.set(*node, *value, element, dpi, rightToLeft))
      return error->Set(XSKIN_ERR_ALIGN, skinFile, *value, element.line, element.column);
  }
  if (rightToLeft) {
    for (XEdges XLayoutNode::*edges : {&XLayoutNode::margin, &XLayoutNode::padding,
                                       &XLayoutNode::textPadding, &XLayoutNode::textMargin})
      std::swap((node->*edges).left, (node->*edges).right);
    node->align = MirrorAlign(node->align);
  }
  return true;
}

XLayoutEngine::XLayoutEngine() {
  root_.align = kAlignClient;
}

int XLayoutEngine::WidthRule(const XLayoutNode& n, int width, int available) {
  return Rule(width, n.widthPercent, n.margin.left, n.margin.right, n.minWidth, n.maxWidth,
              n.fixedSize, available);
}

int XLayoutEngine::HeightRule(const XLayoutNode& n, int height, int available) {
  return Rule(height, n.heightPercent, n.margin.top, n.margin.bottom, n.minHeight, n.maxHeight,
              n.fixedSize, available);
}

void XLayoutEngine::LayoutIn(const XRect& given) {
  XRect rect = Box(given.left, given.top, given.right, given.bottom);
  XRect remaining = rect;
  Place(root_, remaining, rect, false);
}

XRect XLayoutEngine::AlignedRect(XLayoutNode& n, int width, int height, XRect& r, const XRect& p) {
  const XEdges& m = n.margin;
  int64_t outerW = int64_t{width} + m.left + m.right, outerH = int64_t{height} + m.top + m.bottom;
  int64_t rw = r.Width(), rh = r.Height();
  switch (n.align) {
    case kAlignFixed:
    case kAlignHardFixed: {
      int64_t left = int64_t{p.left} + n.left, top = int64_t{p.top} + n.top;
      XRect x = Box(left, top, left + outerW, top + outerH);
      if (n.align == kAlignHardFixed) {
        n.clipToParent = true;
        return x;
      }
      return Intersection(x, Inset(p, n.padding));
    }
    case kAlignStack: {
      if (n.parent == nullptr) return {};
      XRect& c = n.parent->flowCursor;
      if (rw < c.right + outerW - c.left) c = {0, c.bottom, 0, c.bottom};
      XRect x = Box(int64_t{r.left} + c.right, int64_t{r.top} + c.top,
                    int64_t{r.left} + c.right + outerW, int64_t{r.top} + c.top + outerH);
      x.bottom = std::min(x.bottom, r.bottom);
      c.right = Saturated(c.right + outerW);
      c.bottom = std::max(c.bottom, Saturated(c.top + outerH));
      return x;
    }
    case kAlignCenter:
    case kAlignTopCenter: {
      int64_t ox = std::max<int64_t>(0, (rw - m.left - m.right - width) / 2);
      int64_t oy =
          n.align == kAlignCenter ? std::max<int64_t>(0, (rh - m.top - m.bottom - height) / 2) : 0;
      XRect x = Box(r.left + ox, r.top + oy, r.left + ox + outerW, r.top + oy + outerH);
      return Intersection(x, Inset(r, n.padding));
    }
    case kAlignRightBottom:
      return Intersection(Box(r.right - outerW, r.bottom - outerH, r.right, r.bottom), r);
    case kAlignLeftBottom:
      return Intersection(Box(r.left, r.bottom - outerH, r.left + outerW, r.bottom), r);
    case kAlignRightTop:
      return Intersection(Box(r.right - outerW, r.top, r.right, r.top + outerH), r);
    case kAlignLeftTop: return Intersection(Box(r.left, r.top, r.left + outerW, r.top + outerH), r);
    case kAlignLeftCenter:
    case kAlignRightCenter: {
      int64_t top = r.top + (rh - outerH) / 2;
      int64_t left = n.align == kAlignLeftCenter ? r.left : r.right - outerW;
      return Intersection(Box(left, top, left + outerW, top + outerH), r);
    }
    case kAlignClient: return r;
    case kAlignTop:
    case kAlignBottom: {
      int h = HeightRule(n, height, static_cast<int>(rh));
      int w = width != 0 ? WidthRule(n, width, static_cast<int>(rw)) : static_cast<int>(rw);
      int64_t x = rightToLeft_ ? int64_t{r.right} - w : r.left;
      if (n.align == kAlignTop) {
        int64_t top = r.top;
        r.top = Saturated(top + h);
        return Box(x, top, x + w, top + h);
      }
      int64_t bottom = r.bottom;
      r.bottom = Saturated(bottom - h);
      return Box(x, bottom - h, x + w, bottom);
    }
    case kAlignLeft:
    case kAlignRight: {
      int w = WidthRule(n, width, static_cast<int>(rw));
      int h = height != 0 ? HeightRule(n, height, static_cast<int>(rh)) : static_cast<int>(rh);
      if (n.align == kAlignLeft) {
        int64_t left = r.left;
        r.left = Saturated(left + w);
        return Box(left, r.top, left + w, int64_t{r.top} + h);
      }
      int64_t right = r.right;
      r.right = Saturated(right - w);
      return Box(right - w, r.top, right, int64_t{r.top} + h);
    }
    default: return {};
  }
}

bool XLayoutEngine::HiddenWhenSmall(const XLayoutNode& n, const XRect& x) const {
  if (!n.hideWhenSmall || n.align == kAlignClient) return false;
  bool narrow = n.width != 0 && x.Width() < n.width;
  bool low = n.height != 0 && x.Height() < n.height;
  if (n.align == kAlignLeft || n.align == kAlignRight) return narrow;
  if (n.align == kAlignTop || n.align == kAlignBottom) return low;
  return narrow || low;
}

void XLayoutEngine::Place(XLayoutNode& n, XRect& r, const XRect& p, bool measuring) {
  const XRect savedRemaining = r;
  XRect x{};
  if (n.show) {
    int width = n.width, height = n.height;
    if (n.widthFitChild || n.heightFitChild) {
      XRect measured = MeasureChildren(n, r, p);
      if (n.widthFitChild) width = std::min(r.Width(), measured.Width());
      if (n.heightFitChild) height = std::min(r.Height(), measured.Height());
    }
    if (n.widthFitParent) width = p.Width();
    if (n.heightFitParent) height = p.Height();
    // A docked node after stacked ones starts below their rows.
    if (n.parent != nullptr && !IsEmpty(n.parent->flowCursor) && IsDocked(n.align)) {
      r.top = std::min(Saturated(int64_t{r.top} + n.parent->flowCursor.bottom), r.bottom);
      n.parent->flowCursor = {};
    }
    x = Inset(AlignedRect(n, width, height, r, p), n.margin);
  }
  n.hiddenWhenSmall = n.show && HiddenWhenSmall(n, x);
  if (n.hiddenWhenSmall) {
    x = {};
    r = savedRemaining;
  }
  // What a node takes of r does not depend on its children's places: measuring stops here, so
  // that nested "fit2child" measures each level once, not once per level above it.
  if (measuring) return;
  if (n.fixedSize) n.clipToParent = true;
  bool changed = n.forceNotify || !(x == n.placed);
  if (changed) n.placed = x;

  XRect area = Inset(x, n.padding), parentRect = x;
  if (n.contentHeight >= 0 || n.scrollPosition >= 0 || n.scrollFlags != 0) {
    if (n.measureContent) {
      XRect content{r.left, 0, r.right, 100000};
      n.contentHeight = MeasureChildren(n, content, content).Height();
    }
    for (XRect* rect : {&area, &parentRect}) {
      rect->top -= n.scrollOffset;
      rect->bottom = std::max(rect->bottom - n.scrollOffset, rect->top + n.contentHeight);
    }
    n.clipToParent = true;
  }
  int answer = 1;
  if (changed && n.target != nullptr) answer = n.target->OnAlign(x);
  n.flowCursor = {};
  for (auto& child : n.children) {
    child->clipToParent = n.clipToParent;
    Place(*child, area, parentRect, false);
  }
  if (answer == 0 && n.target != nullptr) n.target->OnAlign(x);
}

XRect XLayoutEngine::MeasureChildren(XLayoutNode& n, const XRect& r, const XRect& p) {
  n.flowCursor = {};
  XRect m = r;
  for (auto& child : n.children) Place(*child, m, p, true);
  n.flowCursor = {};
  XRect consumed = Consumed(r, m);
  return {consumed.left - n.padding.left, consumed.top - n.padding.top,
          consumed.right + n.padding.right, consumed.bottom + n.padding.bottom};
}

}  // namespace qorin
