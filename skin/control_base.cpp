#include "control_base.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>

#include "skin_document.h"
#include "skin_surface.h"
#include "skin_view.h"
#include "text.h"
#include "utf.h"
#include "xml_document.h"

namespace qorin {
namespace {

// Shared by every skin of the process: "NonameControl-1", "NonameControl-2", ...
std::atomic<int> g_unnamed{0};

constexpr int kIgnoredExtent = 10000;

// An ID name or number into *field; 774 naming the attribute when it cannot be resolved.
bool ResolveId(AControlBase& c, const std::u16string& value, const XXmlNode& element,
               const char16_t* attribute, int* field) {
  if (c.skin->Ids().ResolveValue(value, field)) return true;
  return c.skin->Errors().Set(XSKIN_ERR_ID, attribute, value, element.line, element.column);
}

int Dpi(const AControlBase& c) {
  return c.skin->Dpi();
}

constexpr XAttribute kCommon[] = {
    {u"Name",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.name = v;
       return true;
     }},
    {u"ID",
     [](AControlBase& c, const std::u16string& v, const XXmlNode& e) {
       int id = AControlBase::kNone;
       return ResolveId(c, v, e, u"ID", &id) && c.skin->ClaimId(c, id, e);
     }},
    {u"Link", [](AControlBase& c, const std::u16string& v,
                 const XXmlNode& e) { return ResolveId(c, v, e, u"Link", &c.link); }},
    {u"ResizeImageWithDPI",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.resizeImagesWithDpi = ParseBool(v);
       return true;
     }},
    {u"Command", [](AControlBase& c, const std::u16string& v,
                    const XXmlNode& e) { return ResolveId(c, v, e, u"Command", &c.command); }},
    {u"CommandR", [](AControlBase& c, const std::u16string& v,
                     const XXmlNode& e) { return ResolveId(c, v, e, u"CommandR", &c.commandR); }},
    {u"CommandM", [](AControlBase& c, const std::u16string& v,
                     const XXmlNode& e) { return ResolveId(c, v, e, u"CommandM", &c.commandM); }},
    // The text attributes the layout needs; the first creates the text object.
    {u"FontFace",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.font.face = c.skin->Resolve(v);
       return c.hasText = true;
     }},
    {u"FontSize",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.font.points = ParseFontPoints(c.skin->Resolve(v));
       return c.hasText = true;
     }},
    {u"FontWeight",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.font.bold = v == u"bold";
       return c.hasText = true;
     }},
    {u"Text",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.text = c.skin->Resolve(v);
       return c.hasText = true;
     }},
    {u"FontStyle",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.font.italic = v == u"italic";
       return c.hasText = true;
     }},
    {u"FontUnderline",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.textStyle.underline = ParseBool(v);
       return c.hasText = true;
     }},
    {u"FontUnderlineHover",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.textStyle.underlineHover = ParseBool(v);
       return c.hasText = true;
     }},
    {u"FontColor",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.textColour = ParseColour(c.skin->Resolve(v));
       return c.hasText = true;
     }},
    {u"FontColorDisabled",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.textStyle.disabledColour = ParseColour(c.skin->Resolve(v));
       return c.hasText = true;
     }},
    {u"FontColorHover",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.textStyle.hoverColour = ParseColour(c.skin->Resolve(v));
       return c.hasText = true;
     }},
    {u"HtmlText",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.textStyle.html = ParseBool(v);
       return c.hasText = true;
     }},
    {u"TextFormat",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.textStyle.format = ParseTextFormat(v, c.RightToLeft());
       c.textStyle.hasFormat = true;
       return c.hasText = true;
     }},
    {u"TextShadow",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.textStyle.shadows = ParseTextShadow(v, Dpi(c));
       return c.hasText = true;
     }},
    {u"TextDrawCount",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       // Each repetition darkens anti-aliased text a little more; past 8 nothing changes but
       // the time, and a skin must not make every repaint draw millions of times.
       c.textStyle.drawCount = std::clamp(ParseInt(v), 1, kMostTextDraws);
       return c.hasText = true;
     }},
    {u"BorderWidth",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.borderWidth = ParseScaledInt(v, Dpi(c));
       return true;
     }},
    {u"BorderColor",
     [](AControlBase& c, const std::u16string& v, const XXmlNode& e) {
       c.borderColour = ParseColour(v);
       if (XXmlDocument::FindAttribute(e, u"BorderWidth") == nullptr) c.borderWidth = 1;
       return true;
     }},
    {u"BorderRound",
     [](AControlBase& c, const std::u16string& v, const XXmlNode& e) {
       if (XXmlDocument::FindAttribute(e, u"BorderWidth") != nullptr ||
           XXmlDocument::FindAttribute(e, u"BorderColor") != nullptr)
         c.borderRound = ParseScaledInt(v, Dpi(c));
       return true;
     }},
    {u"Enable",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.enabled = c.configuredEnabled = ParseBool(v);
       return true;
     }},
    {u"Debug",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.debug = ParseBool(v);
       return true;
     }},
    {u"Tooltip",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.tooltip = c.skin->Resolve(v);
       ReplaceAll(c.tooltip, u"\\n", u"\n");
       return true;
     }},
    {u"AutoHideTooltip",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.autoHideTooltip = ParseBool(v);
       return true;
     }},
    {u"Alpha",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.alpha = ParseInt(v);
       return true;
     }},
    {u"AlphaText",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.alphaText = ParseBool(v);
       return true;
     }},
    {u"Blur",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       // Strength is Alpha × Blur / 255; a blur wider than the control is skipped anyway.
       c.blur = std::clamp(ParseInt(v), 0, kMostBlur);
       return true;
     }},
    {u"Cursor",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       c.cursor = ParseCursor(v);
       return true;
     }},
};

}  // namespace

AControlBase::AControlBase() {
  Reset();
}

AControlBase::~AControlBase() {
  if (skin != nullptr && skin->View() != nullptr) skin->View()->Forget(this);
  for (AControlBase* child : children) child->Release();
}

void AControlBase::Release() {
  if (--references_ == 0) delete this;
}

std::span<const XAttribute> AControlBase::CommonAttributes() {
  return kCommon;
}

void AControlBase::Reset() {
  name.clear();
  id = link = command = commandR = commandM = kNone;
  hasText = false;
  text.clear();
  font = {};
  tooltip.clear();
  autoHideTooltip = true;
  enabled = configuredEnabled = true;
  debug = false;
  borderWidth = borderRound = 0;
  borderColour = 0;
  alpha = 255;
  alphaText = false;
  blur = 0;
  cursor = kNone;
  hitTest = 0;
  resizeImagesWithDpi = true;
  rect = {};
}

int AControlBase::OnAlign(const XRect& newRect) {
  SetRect(newRect);
  return 1;
}

void AControlBase::SetText(std::u16string newText) {
  if (hasText && newText == text) return;
  text = std::move(newText);
  hasText = true;
  Invalidate();
}

void AControlBase::SetRect(const XRect& newRect) {
  if (newRect == rect) return;
  if (newRect.Width() > kIgnoredExtent && newRect.Height() > kIgnoredExtent) return;
  rect = newRect;
  if (!frozen) Rebuffer();
}

XRect AControlBase::Seen() const {
  XRect seen = rect;
  const AControlBase* c = this;
  for (; c->parent != nullptr; c = c->parent) {
    if (c->layout != nullptr && c->layout->clipToParent) seen = Intersection(seen, c->parent->rect);
  }
  return c == this ? seen : Intersection(seen, c->rect);
}

void AControlBase::Rebuffer() {
  buffered = Seen();
  buffers[0].Grow(buffered.Width(), buffered.Height());
  if (alpha != 255) buffers[1].Grow(buffered.Width(), buffered.Height());
  RenderBuffer(0);
}

bool AControlBase::HoldSeen() {
  XRect seen = Seen();
  if (frozen || IsEmpty(seen) || (!buffers[0].Empty() && Contains(buffered, seen))) return false;
  Rebuffer();
  return true;
}

bool AControlBase::RightToLeft() const {
  return skin != nullptr && skin->RightToLeft();
}

XRect AControlBase::TextRect() const {
  if (layout == nullptr) return rect;
  const XEdges& p = layout->textPadding;
  const XEdges& m = layout->textMargin;
  return {rect.left + p.left + m.left, rect.top + p.top + m.top, rect.right - p.right - m.right,
          rect.bottom - p.bottom - m.bottom};
}

void AControlBase::PaintText(IXTextCanvas& canvas, XBitmap& target, const XRect& clip, int ox,
                             int oy) {
  if (!hasText || text.empty()) return;
  XRect r = TextRect();
  r = {r.left - ox, r.top - oy, r.right - ox, r.bottom - oy};
  XTextPaint what{font, textColour, textStyle, text, enabled, hovered, RightToLeft()};
  XRect seen = Offset(Seen(), -ox, -oy);
  textPainter.Paint(canvas, what, target, r, &clip, &seen);
}

void AControlBase::Invalidate() {
  if (skin != nullptr && skin->View() != nullptr) skin->View()->InvalidateControl(*this);
}

void AControlBase::Redraw() {
  RenderBuffer(0);
  Invalidate();
}

void AControlBase::SetShown(bool shown) {
  if (layout == nullptr || layout->show == shown) return;
  Invalidate();  // served later, when the flag below has taken effect
  layout->show = shown;
  OnShow(shown);
  if (skin != nullptr && skin->RequestLayout(this) && skin->View() != nullptr)
    skin->View()->Surface().PostInvalidate();
}

void AControlBase::SetAlpha(int value) {
  alpha = value;
  if (alpha != 255) buffers[1].Grow(buffered.Width(), buffered.Height());
}

void AControlBase::TrackPointer() {
  if (skin != nullptr && skin->View() != nullptr) skin->View()->Pointer().AddHover(this);
}

bool AControlBase::LoadImage(const XXmlNode& element, const char16_t* attribute,
                             const std::u16string& value, int resizeKind, XBitmap** image) {
  std::u16string name = value;
  if (RightToLeft()) {
    std::u16string twin = std::u16string(attribute) + u"RTL";
    if (const std::u16string_view* rtl = XXmlDocument::FindAttribute(element, twin)) name = *rtl;
  }
  name = skin->Resolve(name);
  *image = nullptr;
  if (name.empty() || name == u"none") return true;
  bool withDpi = resizeImagesWithDpi;
  if (const std::u16string_view* v = XXmlDocument::FindAttribute(element, u"ResizeImageWithDPI"))
    withDpi = ParseBool(*v);
  *image = skin->Images().LoadSkinImage(name, resizeKind, withDpi, false);
  if (*image != nullptr) return true;
  return skin->Errors().Set(XSKIN_ERR_FILE, attribute, value, element.line, element.column);
}

void AControlBase::DefaultExtent(const XXmlNode& e, XLayoutNode& node, int width, int height) {
  auto given = [&](const char16_t* attribute) {
    return XXmlDocument::FindAttribute(e, attribute) != nullptr ||
           XXmlDocument::FindAttribute(e, u"Position") != nullptr;
  };
  if (!given(u"Width") && node.align != kAlignTop && node.align != kAlignBottom) node.width = width;
  if (!given(u"Height") && node.align != kAlignLeft && node.align != kAlignRight)
    node.height = height;
}

void AControlBase::FireCommand(int number) {
  if (skin != nullptr && skin->View() != nullptr) skin->View()->QueueCommand(number);
}

bool AControlBase::HitTest(int x, int y) const {
  return ContainsPoint(rect, x, y);
}

// The code of the deepest input-enabled control under the point, else this control's own.
int AControlBase::OnNcHitTest(int x, int y) {
  AControlBase* deepest = ControlAt(x, y);
  return deepest != nullptr ? deepest->hitTest : hitTest;
}

AControlBase* AControlBase::ControlAt(int x, int y) {
  if (layout != nullptr && !layout->Visible()) return nullptr;
  XRect point{x, y, x + 1, y + 1};
  for (int i = TopmostOver(*this, point); i >= 0; i = TopmostOver(*this, point, i)) {
    if (AControlBase* found = children[i]->ControlAt(x, y)) return found;
  }
  return AcceptsInput() && HitTest(x, y) ? this : nullptr;
}

int TopmostOver(const AControlBase& parent, const XRect& area, int below) {
  int i = below < 0 ? static_cast<int>(parent.children.size()) : below;
  while (--i >= 0) {
    const AControlBase& child = *parent.children[i];
    bool shown = child.layout == nullptr || child.layout->Visible();
    if (shown && Intersects(child.rect, area)) return i;
  }
  return -1;
}

bool AControlBase::ReadTable(std::span<const XAttribute> table, const XXmlNode& element) {
  for (const XAttribute& row : table) {
    const std::u16string_view* value = XXmlDocument::FindAttribute(element, row.name);
    if (value != nullptr && !row.set(*this, std::u16string(*value), element)) return false;
  }
  return true;
}

bool AControlBase::LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) {
  sourceLine = element.line;
  font = skin->Head().font;
  textColour = skin->Head().fontColour;
  textStyle.format = DefaultTextFormat(RightToLeft());
  if (!ReadTable(OwnAttributes(), element) || !ReadTable(CommonAttributes(), element)) return false;
  if (name.empty()) name = u"NonameControl-" + AsciiToUtf16(std::to_string(++g_unnamed));
  FinishText(layoutNode);
  return true;
}

// "fit2text": the text measured with the control's font sets the width, the height, or the
// height at the given width.
void AControlBase::FinishText(XLayoutNode& node) {
  IXTextMeasure* measure = skin->TextMeasure();
  if (!hasText || measure == nullptr || !(node.widthFitText || node.heightFitText)) return;
  int horizontal =
      node.textPadding.left + node.textPadding.right + node.textMargin.left + node.textMargin.right;
  int vertical =
      node.textPadding.top + node.textPadding.bottom + node.textMargin.top + node.textMargin.bottom;
  if (node.widthFitText) {
    XSize size = measure->Measure(text, font, 0);
    node.width = size.width + horizontal;
    if (node.heightFitText) node.height = size.height + vertical;
    return;
  }
  int width = node.width - horizontal;
  if (width > 0) node.height = measure->Measure(text, font, width).height + vertical;
}

}  // namespace qorin
