#include "scroll.h"

#include <algorithm>

#include "bitmap_copy.h"
#include "image_modes.h"
#include "skin_document.h"
#include "skin_surface.h"
#include "skin_view.h"

namespace qorin {
namespace {

constexpr int kRepeatTimer = 1;
constexpr int kRepeatMs = 30;
constexpr int kMinThumb = 20;      // pixels at 96 DPI
constexpr int kLineStep = 5;       // pixels at 96 DPI
constexpr int kStepsPerNotch = 3;  // the wheel: three line steps a notch of 120

XScroll& S(AControlBase& c) {
  return static_cast<XScroll&>(c);
}

template <XBitmap* XScroll::*Field>
bool SetStrip(AControlBase& c, const std::u16string& v, const XXmlNode& e) {
  static constexpr const char16_t* kNames[] = {u"ScrollBarThumb", u"ScrollBarBtnUp",
                                               u"ScrollBarBtnDn"};
  const char16_t* name = Field == &XScroll::thumb ? kNames[0]
                         : Field == &XScroll::up  ? kNames[1]
                                                  : kNames[2];
  return c.LoadImage(e, name, v, kResizeStrip, &(S(c).*Field));
}

bool SetContent(AControlBase& c, const std::u16string& v, const XXmlNode&) {
  S(c).fitChildren = v == u"fit2child";
  S(c).contentHeight = S(c).fitChildren ? 0 : std::max(0, ParseScaledInt(v, c.skin->Dpi()));
  return true;
}

constexpr XAttribute kScroll[] = {
    {u"ScrollBarBkgnd",
     [](AControlBase& c, const std::u16string& v, const XXmlNode& e) {
       return c.LoadImage(e, u"ScrollBarBkgnd", v, kResizeFrame, &S(c).track);
     }},
    {u"ScrollBarThumb", SetStrip<&XScroll::thumb>},
    {u"ScrollBarBtnUp", SetStrip<&XScroll::up>},
    {u"ScrollBarBtnDn", SetStrip<&XScroll::down>},
    {u"ScrollHeight", SetContent},
    // The width is read and kept: the content scrolls vertically only.
    {u"ScrollWidth", [](AControlBase&, const std::u16string&, const XXmlNode&) { return true; }},
};

int FrameWidth(const XBitmap* strip) {
  return strip != nullptr ? strip->width / 4 : 0;
}

// A strip's frame of a state at a rectangle.
void DrawState(XBitmap& into, const XBitmap* strip, int state, const XRect& at, bool stretch) {
  if (strip == nullptr || IsEmpty(at)) return;
  int frame = strip->width / 4;
  XRect source{state * frame, 0, (state + 1) * frame, strip->height};
  if (stretch) {
    DrawVFrame(into, *strip, source, at);
  } else {
    Blit(into, at.left, at.top, *strip, source.left, 0, frame, strip->height, true);
  }
}

}  // namespace

XScrollParts ScrollBarParts(int width, int height, int barWidth, int upHeight, int downHeight,
                            int visible, int content, int offset, int minThumb) {
  XScrollParts p;
  p.bar = {width - barWidth, 0, width, height};
  p.up = {p.bar.left, 0, width, upHeight};
  p.down = {p.bar.left, height - downHeight, width, height};
  p.track = std::max(0, height - upHeight - downHeight);
  if (content <= 0 || content < visible || visible <= 0) return p;
  int64_t length = std::max<int64_t>(int64_t{visible} * p.track / content, minThumb);
  p.thumbLength = static_cast<int>(std::min<int64_t>(length, p.track));
  p.offset = std::clamp(offset, 0, content - visible);
  int64_t room = p.track - p.thumbLength, span = int64_t{content} - visible;
  int top = upHeight + static_cast<int>(span == 0 ? 0 : p.offset * room / span);
  p.thumb = {p.bar.left, top, width, top + p.thumbLength};
  return p;
}

int ScrollOffsetAfterDrag(int startOffset, int pixels, int visible, int content,
                          const XScrollParts& parts) {
  int room = parts.track - parts.thumbLength, span = content - visible;
  if (room <= 0 || span <= 0) return 0;
  int64_t offset = startOffset + int64_t{span} * pixels / room;
  return static_cast<int>(std::clamp<int64_t>(offset, 0, span));
}

int ScrollOffsetAtTrack(int point, int visible, int content, const XScrollParts& parts) {
  int span = content - visible;
  if (parts.track <= 0 || span <= 0) return 0;
  int64_t offset =
      (int64_t{point} - parts.up.bottom - parts.thumbLength / 2) * content / parts.track;
  return static_cast<int>(std::clamp<int64_t>(offset, 0, span));
}

std::span<const XAttribute> XScroll::LaterAttributes() const {
  return kScroll;
}

bool XScroll::LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) {
  if (!XStatic::LoadAttributes(element, layoutNode) || !ReadTable(LaterAttributes(), element))
    return false;
  lineStep = ScaleForDpi(kLineStep, skin->Dpi());
  layoutNode.padding.right += FrameWidth(thumb);  // the children stay left of the bar
  layoutNode.contentHeight = contentHeight;
  layoutNode.measureContent = fitChildren;
  opaque = false;
  return true;
}

int XScroll::Visible() const {
  if (layout == nullptr) return rect.Height();
  return rect.Height() - layout->padding.top - layout->padding.bottom;
}

XScrollParts XScroll::Parts() const {
  int content = layout != nullptr ? layout->contentHeight : 0;
  return ScrollBarParts(rect.Width(), rect.Height(), FrameWidth(thumb),
                        up != nullptr ? up->height : 0, down != nullptr ? down->height : 0,
                        Visible(), content, ScrollOffset(), ScaleForDpi(kMinThumb, skin->Dpi()));
}

int XScroll::RenderBuffer(int flags) {
  XStatic::RenderBuffer(flags);
  XBitmap& buffer = buffers[0];
  if (buffer.Empty() || frozen || thumb == nullptr) return 1;
  XRect area = BufferRect();
  XScrollParts p = Parts();
  XRect bar = Offset(p.bar, area.left, area.top);
  if (track != nullptr) {
    DrawFrame(buffer, bar, *track, {0, 0, track->width, track->height}, true);
  }
  DrawState(buffer, up, states[0], Offset(p.up, area.left, area.top), false);
  DrawState(buffer, down, states[1], Offset(p.down, area.left, area.top), false);
  DrawState(buffer, thumb, states[2], Offset(p.thumb, area.left, area.top), true);
  opaque = false;
  return 1;
}

bool XScroll::ScrollTo(int offset) {
  if (layout == nullptr) return false;
  int clamped = Parts().thumbLength == 0
                    ? 0
                    : std::clamp(offset, 0, std::max(0, layout->contentHeight - Visible()));
  if (clamped == layout->scrollOffset) return false;
  layout->scrollOffset = clamped;
  if (skin != nullptr && skin->RequestLayout(this) && skin->View() != nullptr)
    skin->View()->Surface().PostInvalidate();
  Redraw();
  return true;
}

XScroll::Part XScroll::PartAt(int x, int y) const {
  XScrollParts p = Parts();
  if (!ContainsPoint(p.bar, x, y)) return kNoPart;
  if (ContainsPoint(p.up, x, y)) return kUp;
  if (ContainsPoint(p.down, x, y)) return kDown;
  if (ContainsPoint(p.thumb, x, y)) return kThumb;
  return kTrack;
}

// Each part's state: 2 pressed, 1 under the pointer, else 0; repainted when one changed.
void XScroll::SetStates(Part hover, bool pressed) {
  bool changed = false;
  for (Part part : {kUp, kDown, kThumb}) {
    int state = part == hover ? (pressed ? 2 : 1) : 0;
    if (pressed_ == part && pressed) state = 2;
    int& slot = states[part - kUp];
    changed |= slot != state;
    slot = state;
  }
  if (changed) Redraw();
}

int XScroll::OnLButtonDown(int x, int y) {
  pointerX_ = x, pointerY_ = y;
  pressed_ = PartAt(x, y);
  if (pressed_ == kNoPart) return 0;
  if (skin->View() != nullptr) skin->View()->Pointer().SetCapture(this);
  XScrollParts p = Parts();
  int content = layout != nullptr ? layout->contentHeight : 0;
  if (pressed_ == kUp || pressed_ == kDown) {
    ScrollTo(ScrollOffset() + (pressed_ == kUp ? -lineStep : lineStep));
    if (skin->View() != nullptr)
      skin->View()->Surface().SetControlTimer(this, kRepeatTimer, kRepeatMs);
  } else if (pressed_ == kThumb) {
    dragStart_ = y, dragOffset_ = ScrollOffset();
  } else {
    ScrollTo(ScrollOffsetAtTrack(y, Visible(), content, p));
  }
  SetStates(pressed_, true);
  return 1;
}

int XScroll::OnMouseMove(int x, int y) {
  TrackPointer();
  pointerX_ = x, pointerY_ = y;
  if (pressed_ == kThumb) {
    int content = layout != nullptr ? layout->contentHeight : 0;
    ScrollTo(ScrollOffsetAfterDrag(dragOffset_, y - dragStart_, Visible(), content, Parts()));
    return 1;
  }
  if (pressed_ == kNoPart) SetStates(PartAt(x, y), false);
  return 1;
}

int XScroll::OnLButtonUp(int x, int y) {
  if (skin->View() != nullptr) {
    skin->View()->Pointer().ReleaseCapture(this);
    skin->View()->Surface().KillControlTimers(this);
  }
  pressed_ = kNoPart;
  SetStates(PartAt(x, y), false);
  return 1;
}

void XScroll::OnMouseLeave() {
  if (pressed_ == kNoPart) SetStates(kNoPart, false);
}

// The button held repeats its step while the pointer stays over it.
void XScroll::OnTimer() {
  if ((pressed_ == kUp || pressed_ == kDown) && PartAt(pointerX_, pointerY_) == pressed_)
    ScrollTo(ScrollOffset() + (pressed_ == kUp ? -lineStep : lineStep));
}

int XScroll::OnMouseWheel(int delta, int, int, int) {
  int notches = delta / 120;
  if (notches == 0) notches = delta > 0 ? 1 : delta < 0 ? -1 : 0;
  ScrollTo(ScrollOffset() - notches * kStepsPerNotch * lineStep);
  return 1;
}

}  // namespace qorin
