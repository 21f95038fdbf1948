#include "slider.h"

#include <algorithm>

#include "bitmap_copy.h"
#include "image_modes.h"
#include "skin_document.h"
#include "skin_surface.h"
#include "skin_view.h"

namespace qorin {
namespace {

XSlider& L(AControlBase& c) {
  return static_cast<XSlider&>(c);
}

int ResizeKindOf(int imageType) {
  switch (imageType) {
    case kImageFrame:
    case kImageFillFrame: return kResizeFrame;
    case kImageHFrame: return kResizeHFrame;
    case kImageVFrame: return kResizeVFrame;
    default: return kResizePlain;
  }
}

bool SetType(AControlBase& c, const std::u16string& v, const XXmlNode& e, const char16_t* name,
             int* field) {
  *field = ParseImageType(v);
  return *field >= 0 || c.skin->Errors().Set(XSKIN_ERR_VALUE, name, v, e.line, e.column);
}

// The track image: a frame type's image must divide into three.
bool SetTrack(AControlBase& c, const std::u16string& v, const XXmlNode& e) {
  XSlider& s = L(c);
  int kind = ResizeKindOf(s.imageType);
  if (!c.LoadImage(e, u"Image", v, kind, &s.image)) return false;
  const XBitmap* image = s.image;
  bool across = kind == kResizeFrame || kind == kResizeHFrame;
  bool along = kind == kResizeFrame || kind == kResizeVFrame;
  if (image != nullptr && ((across && image->width % 3 != 0) || (along && image->height % 3 != 0)))
    return c.skin->Errors().Set(XSKIN_ERR_IMAGE_SIZE_3, u"Image", v, e.line, e.column);
  return true;
}

template <int XSlider::*Field>
bool SetNumber(AControlBase& c, const std::u16string& v, const XXmlNode&) {
  L(c).*Field = ParseInt(v);
  return true;
}

// In the order they apply: the image types before the images they resize.
constexpr XAttribute kSlider[] = {
    {u"ThumbImageType",
     [](AControlBase& c, const std::u16string& v, const XXmlNode& e) {
       return SetType(c, v, e, u"ThumbImageType", &L(c).thumbType);
     }},
    {u"ThumbImage",
     [](AControlBase& c, const std::u16string& v, const XXmlNode& e) {
       if (!c.LoadImage(e, u"ThumbImage", v, kResizeStrip, &L(c).thumb)) return false;
       const XBitmap* strip = L(c).thumb;
       return strip == nullptr || strip->width % 4 == 0 ||
              c.skin->Errors().Set(XSKIN_ERR_IMAGE_SIZE_4, u"ThumbImage", v, e.line, e.column);
     }},
    {u"PageSize", SetNumber<&XSlider::pageSize>},
    {u"ImageType",
     [](AControlBase& c, const std::u16string& v, const XXmlNode& e) {
       return SetType(c, v, e, u"ImageType", &L(c).imageType);
     }},
    {u"Image", SetTrack},
    {u"ImageFill",
     [](AControlBase& c, const std::u16string& v, const XXmlNode& e) {
       return c.LoadImage(e, u"ImageFill", v, ResizeKindOf(L(c).imageType), &L(c).fill);
     }},
    {u"Direction",
     [](AControlBase& c, const std::u16string& v, const XXmlNode& e) {
       if (v != u"vertical" && v != u"horizontal")
         return c.skin->Errors().Set(XSKIN_ERR_VALUE, u"Direction", v, e.line, e.column);
       L(c).vertical = v == u"vertical";
       return true;
     }},
    {u"Min", SetNumber<&XSlider::min>},
    {u"Max", SetNumber<&XSlider::max>},
    {u"EdgeLeft", SetNumber<&XSlider::edgeLeft>},
    {u"EdgeRight", SetNumber<&XSlider::edgeRight>},
};

bool DrawsThumb(int type) {
  return type == kImageDefault || type == kImageHFrame || type == kImageVFrame ||
         type == kImageFillFrame;
}

}  // namespace

int SliderThumbLength(int track, int imageLength, int pageSize, int range) {
  if (pageSize <= 0) return imageLength;
  int64_t length = int64_t{track} * pageSize / (int64_t{range} + pageSize);
  return static_cast<int>(std::max<int64_t>(std::min<int64_t>(length, track), imageLength));
}

int SliderThumbOffset(int pos, int min, int range, int track, int thumb) {
  if (range == 0) return thumb / 2;
  return static_cast<int>((int64_t{pos} - min) * (int64_t{track} - thumb) / range);
}

int SliderPositionAt(int point, int min, int max, int step, int track, int thumb, int current) {
  int64_t m = int64_t{track} - thumb;
  if (m <= 0) return current;
  int64_t o = std::max<int64_t>(0, int64_t{point} - thumb / 2);
  int64_t range = int64_t{max} - min;
  int64_t pos = std::clamp<int64_t>(min + (range * o + m / 2) / m, min, std::max(min, max));
  if (step > 1) {
    pos = (pos + step / 2) / step * step;
    pos = std::clamp<int64_t>(pos, min, std::max(min, max));
  }
  return static_cast<int>(pos);
}

std::span<const XAttribute> XSlider::OwnAttributes() const {
  return kSlider;
}

bool XSlider::LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) {
  if (!AControlBase::LoadAttributes(element, layoutNode)) return false;
  pos = std::clamp(pos, min, std::max(min, max));
  if (image != nullptr) DefaultExtent(element, layoutNode, image->width, image->height);
  if (!enabled) thumbState = 3;
  return true;
}

int XSlider::ThumbLength() const {
  if (thumb == nullptr) return 0;
  int imageLength = vertical ? thumb->height : thumb->width / 4;
  return SliderThumbLength(TrackLength(), imageLength, pageSize, max - min);
}

XRect XSlider::ThumbRect() const {
  if (thumb == nullptr || min >= max) return {};
  int frame = thumb->width / 4, length = ThumbLength();
  int offset = SliderThumbOffset(pos, min, max - min, TrackLength(), length);
  if (vertical) {
    int left = (rect.Width() - frame) / 2;
    return {left, offset, left + frame, offset + length};
  }
  int top = (rect.Height() - thumb->height) / 2;
  return {offset, top, offset + length, top + thumb->height};
}

// The track, the fill up to the thumb's centre, the thumb's frame of its state; all drawn where
// the buffer holds the control.
int XSlider::RenderBuffer(int) {
  XBitmap& buffer = buffers[0];
  if (buffer.Empty() || frozen) return 0;
  XRect area = BufferRect();
  buffer.FillRect({0, 0, buffer.width, buffer.height}, 0, 0);
  if (image != nullptr) DrawImage(imageType, *image, area, buffer);
  XRect knob = Offset(ThumbRect(), area.left, area.top);
  if (fill != nullptr) {
    int centre = IsEmpty(knob) ? 0
                 : vertical    ? (knob.top + knob.bottom) / 2 - area.top
                               : (knob.left + knob.right) / 2 - area.left;
    XRect part = vertical ? XRect{area.left, area.top, area.right, area.top + centre}
                          : XRect{area.left, area.top, area.left + centre, area.bottom};
    DrawImagePart(imageType, *fill, area, part, buffer, work_);
  }
  if (IsEmpty(knob) || !DrawsThumb(thumbType)) return 1;
  int frame = thumb->width / 4;
  XRect source{thumbState * frame, 0, (thumbState + 1) * frame, thumb->height};
  switch (thumbType) {
    case kImageHFrame: DrawHFrame(buffer, *thumb, source, knob); break;
    case kImageVFrame: DrawVFrame(buffer, *thumb, source, knob); break;
    case kImageFillFrame: DrawFrame(buffer, knob, *thumb, source, true); break;
    default:
      Blit(buffer, knob.left, knob.top, *thumb, source.left, 0, frame, thumb->height, true);
      break;
  }
  return 1;
}

void XSlider::SetState(int state) {
  if (state == thumbState) return;
  thumbState = state;
  Redraw();
}

void XSlider::Post(unsigned message) {
  if (skin == nullptr || skin->View() == nullptr || message == 0) return;
  skin->View()->Surface().PostToHost(message, static_cast<uintptr_t>(id), 0);
}

void XSlider::Changed() {
  Redraw();
  if (skin != nullptr && skin->View() != nullptr)
    Post(skin->View()->Pointer().Messages().sliderChanging);
  if (notifier != nullptr) notifier->OnSliderChanged(id);
}

void XSlider::MoveTo(int x, int y) {
  int moved = SliderPositionAt(vertical ? y : x, min, max, step, TrackLength(), ThumbLength(), pos);
  if (moved == pos) return;
  pos = moved;
  Changed();
}

int XSlider::OnLButtonDown(int x, int y) {
  if (!enabled) return 0;
  if (skin != nullptr && skin->View() != nullptr) skin->View()->Pointer().SetCapture(this);
  dragging = true;
  thumbState = 2;
  Redraw();
  MoveTo(x, y);
  return 1;
}

int XSlider::OnMouseMove(int x, int y) {
  TrackPointer();
  if (!enabled) return 0;
  if (dragging) {
    MoveTo(x, y);
  } else {
    SetState(1);
  }
  return 1;
}

int XSlider::OnLButtonUp(int, int) {
  if (!enabled) return 0;
  if (skin != nullptr && skin->View() != nullptr) skin->View()->Pointer().ReleaseCapture(this);
  bool dragged = dragging;
  dragging = false;
  thumbState = 1;
  Redraw();
  if (dragged && skin != nullptr && skin->View() != nullptr)
    Post(skin->View()->Pointer().Messages().sliderChanged);
  return 1;
}

void XSlider::OnMouseLeave() {
  if (!dragging) SetState(enabled ? 0 : 3);
}

void XSlider::Enable(bool on) {
  enabled = on;
  SetState(on ? 0 : 3);
}

void XSlider::SetRange(int newMax) {
  min = 0;
  max = std::max(0, newMax);
  int clamped = std::clamp(pos, min, max);
  if (clamped == pos) {
    Redraw();
    return;
  }
  pos = clamped;
  Changed();
}

int XSlider::SetPos(int value) {
  if (dragging) return pos;
  pos = std::clamp(value, min, std::max(min, max));
  Redraw();
  return pos;
}

}  // namespace qorin
