#include "layout.h"

#include <algorithm>
#include <cstdint>

#include "skin_error.h"
#include "xml_document.h"

namespace qorin {
namespace {

// Width or Height: the value and its flags; -1 after scaling counts as not given.
void ReadSize(std::u16string_view text, int dpi, int* size, bool* percent, bool* fitText,
              bool* fitChild, bool* fitParent) {
  XSizeValue value = ParseSize(text, dpi);
  *percent = value.kind == XSizeValue::kPercent;
  *fitText = value.kind == XSizeValue::kFitText;
  *fitChild = value.kind == XSizeValue::kFitChild;
  *fitParent = value.kind == XSizeValue::kFitParent;
  *size = value.value == -1 && value.kind == XSizeValue::kPixels ? 0 : value.value;
}

// A quadruple written top, right, bottom, left.
void ReadEdges(std::u16string_view text, int dpi, XEdges* edges) {
  int fields[4] = {edges->top, edges->right, edges->bottom, edges->left};
  ParseQuad(text, dpi, fields);
  *edges = {fields[3], fields[0], fields[1], fields[2]};
}

int NotGivenIsZero(int value) {
  return value == -1 ? 0 : value;
}

XRect Intersect(const XRect& a, const XRect& b) {
  XRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
  return IsEmpty(r) ? XRect{} : r;
}

XRect Inset(const XRect& rect, const XEdges& edges) {
  XRect r{rect.left + edges.left, rect.top + edges.top, rect.right - edges.right,
          rect.bottom - edges.bottom};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
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
  if (fixed) return static_cast<int>(w);
  int64_t floor = int64_t{before} + after + minimum;
  return static_cast<int>(std::min(cap, std::max(floor, w)));
}

}  // namespace

bool operator==(const XRect& a, const XRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool IsEmpty(const XRect& rect) {
  return rect.right <= rect.left || rect.bottom <= rect.top;
}

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

bool ReadLayoutAttributes(const XXmlNode& element, int dpi, bool rightToLeft,
                          const std::u16string& skinFile, XLayoutNode* node, XSkinError* error) {
  const std::u16string_view* align = XXmlDocument::FindAttribute(element, u"Align");
  if (const std::u16string_view* mirrored = XXmlDocument::FindAttribute(element, u"AlignRTL");
      rightToLeft && mirrored)
    align = mirrored;
  if (align != nullptr) {
    node->align = ParseAlign(*align);
    if (node->align == kAlignNone)
      return error->Set(XSKIN_ERR_ALIGN, skinFile, *align, element.line, element.column);
  }
  if (const auto* v = XXmlDocument::FindAttribute(element, u"Width"))
    ReadSize(*v, dpi, &node->width, &node->widthPercent, &node->widthFitText, &node->widthFitChild,
             &node->widthFitParent);
  if (const auto* v = XXmlDocument::FindAttribute(element, u"Height"))
    ReadSize(*v, dpi, &node->height, &node->heightPercent, &node->heightFitText,
             &node->heightFitChild, &node->heightFitParent);
  struct Scaled {
    const char16_t* name;
    int XLayoutNode::*field;
  };
  static constexpr Scaled kScaled[] = {
      {u"MinWidth", &XLayoutNode::minWidth}, {u"MinHeight", &XLayoutNode::minHeight},
      {u"MaxWidth", &XLayoutNode::maxWidth}, {u"MaxHeight", &XLayoutNode::maxHeight},
      {u"Left", &XLayoutNode::left},         {u"Top", &XLayoutNode::top}};
  for (const Scaled& s : kScaled) {
    if (const auto* v = XXmlDocument::FindAttribute(element, s.name))
      node->*s.field = ParseScaledInt(*v, dpi);
  }
  node->left = NotGivenIsZero(node->left);
  node->top = NotGivenIsZero(node->top);
  struct Edges {
    const char16_t* name;
    XEdges XLayoutNode::*field;
  };
  static constexpr Edges kEdges[] = {{u"Margin", &XLayoutNode::margin},
                                     {u"Padding", &XLayoutNode::padding},
                                     {u"TextPadding", &XLayoutNode::textPadding},
                                     {u"TextMargin", &XLayoutNode::textMargin}};
  for (const Edges& e : kEdges) {
    if (const auto* v = XXmlDocument::FindAttribute(element, e.name))
      ReadEdges(*v, dpi, &(node->*e.field));
    if (rightToLeft) std::swap((node->*e.field).left, (node->*e.field).right);
  }
  // Position replaces Left, Top, Width and Height whole, their percent and fit flags included.
  if (const auto* v = XXmlDocument::FindAttribute(element, u"Position")) {
    int fields[4] = {node->left, node->top, node->width, node->height};
    ParseQuad(*v, dpi, fields);
    node->left = fields[0], node->top = fields[1], node->width = fields[2],
    node->height = fields[3];
    for (bool XLayoutNode::*flag :
         {&XLayoutNode::widthPercent, &XLayoutNode::widthFitText, &XLayoutNode::widthFitChild,
          &XLayoutNode::widthFitParent, &XLayoutNode::heightPercent, &XLayoutNode::heightFitText,
          &XLayoutNode::heightFitChild, &XLayoutNode::heightFitParent})
      node->*flag = false;
  }
  if (rightToLeft) node->align = MirrorAlign(node->align);
  if (const auto* v = XXmlDocument::FindAttribute(element, u"Show")) node->show = ParseBool(*v);
  if (const auto* v = XXmlDocument::FindAttribute(element, u"HideWhenSmall"))
    node->hideWhenSmall = ParseBool(*v);
  if (const auto* v = XXmlDocument::FindAttribute(element, u"FixedSize"))
    node->fixedSize = ParseBool(*v);
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

void XLayoutEngine::LayoutIn(const XRect& rect) {
  XRect remaining = rect;
  Place(root_, remaining, rect, false);
}

XRect XLayoutEngine::AlignedRect(XLayoutNode& n, int width, int height, XRect& r, const XRect& p) {
  const XEdges& m = n.margin;
  int outerW = width + m.left + m.right, outerH = height + m.top + m.bottom;
  int rw = r.Width(), rh = r.Height();
  switch (n.align) {
    case kAlignFixed:
    case kAlignHardFixed: {
      XRect x{p.left + n.left, p.top + n.top, p.left + n.left + outerW, p.top + n.top + outerH};
      if (n.align == kAlignHardFixed) {
        n.clipToParent = true;
        return x;
      }
      return Intersect(x, Inset(p, n.padding));
    }
    case kAlignStack: {
      if (n.parent == nullptr) return {};
      XRect& c = n.parent->flowCursor;
      if (rw < c.right + outerW - c.left) c = {0, c.bottom, 0, c.bottom};
      XRect x{r.left + c.right, r.top + c.top, r.left + c.right + outerW, r.top + c.top + outerH};
      x.bottom = std::min(x.bottom, r.bottom);
      c.right += outerW;
      c.bottom = std::max(c.bottom, c.top + outerH);
      return x;
    }
    case kAlignCenter:
    case kAlignTopCenter: {
      int ox = std::max(0, (rw - m.left - m.right - width) / 2);
      int oy = n.align == kAlignCenter ? std::max(0, (rh - m.top - m.bottom - height) / 2) : 0;
      XRect x{r.left + ox, r.top + oy, r.left + ox + outerW, r.top + oy + outerH};
      return Intersect(x, Inset(r, n.padding));
    }
    case kAlignRightBottom:
      return Intersect({r.right - outerW, r.bottom - outerH, r.right, r.bottom}, r);
    case kAlignLeftBottom:
      return Intersect({r.left, r.bottom - outerH, r.left + outerW, r.bottom}, r);
    case kAlignRightTop: return Intersect({r.right - outerW, r.top, r.right, r.top + outerH}, r);
    case kAlignLeftTop: return Intersect({r.left, r.top, r.left + outerW, r.top + outerH}, r);
    case kAlignLeftCenter:
    case kAlignRightCenter: {
      int top = r.top + (rh - outerH) / 2;
      int left = n.align == kAlignLeftCenter ? r.left : r.right - outerW;
      return Intersect({left, top, left + outerW, top + outerH}, r);
    }
    case kAlignClient: return r;
    case kAlignTop:
    case kAlignBottom: {
      int h = HeightRule(n, height, rh);
      int w = width != 0 ? WidthRule(n, width, rw) : rw;
      int x = rightToLeft_ ? r.right - w : r.left;
      if (n.align == kAlignTop) {
        r.top += h;
        return {x, r.top - h, x + w, r.top};
      }
      r.bottom -= h;
      return {x, r.bottom, x + w, r.bottom + h};
    }
    case kAlignLeft:
    case kAlignRight: {
      int w = WidthRule(n, width, rw);
      int h = height != 0 ? HeightRule(n, height, rh) : rh;
      if (n.align == kAlignLeft) {
        r.left += w;
        return {r.left - w, r.top, r.left, r.top + h};
      }
      r.right -= w;
      return {r.right, r.top, r.right + w, r.top + h};
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
  const XRect savedRemaining = r, savedPlaced = n.placed;
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
      r.top = std::min(r.top + n.parent->flowCursor.bottom, r.bottom);
      n.parent->flowCursor = {};
    }
    x = Inset(AlignedRect(n, width, height, r, p), n.margin);
  }
  n.hiddenWhenSmall = n.show && HiddenWhenSmall(n, x);
  if (n.hiddenWhenSmall) {
    x = {};
    r = savedRemaining;
  }
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
  if (changed && !measuring && n.target != nullptr) answer = n.target->OnAlign(x);
  n.flowCursor = {};
  for (auto& child : n.children) {
    child->clipToParent = n.clipToParent;
    Place(*child, area, parentRect, measuring);
  }
  if (answer == 0 && !measuring && n.target != nullptr) n.target->OnAlign(x);
  if (measuring) n.placed = savedPlaced;
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
