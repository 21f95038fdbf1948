#include "static.h"

#include <algorithm>

#include "image_modes.h"
#include "skin_document.h"
#include "xml_document.h"

namespace qorin {
namespace {

struct HitTestName {
  const char16_t* name;
  int leftToRight, rightToLeft;
};

constexpr HitTestName kHitTests[] = {
    {u"HTTRANSPARENT", -1, -1}, {u"HTNOWHERE", 0, 0},       {u"HTCLIENT", 1, 1},
    {u"HTCAPTION", 2, 2},       {u"HTSYSMENU", 3, 3},       {u"HTGROWBOX", 4, 4},
    {u"HTSIZE", 4, 4},          {u"HTMENU", 5, 5},          {u"HTHSCROLL", 6, 6},
    {u"HTVSCROLL", 7, 7},       {u"HTMINBUTTON", 8, 8},     {u"HTMAXBUTTON", 9, 9},
    {u"HTLEFT", 10, 10},        {u"HTRIGHT", 11, 11},       {u"HTTOP", 12, 12},
    {u"HTTOPLEFT", 13, 13},     {u"HTTOPRIGHT", 14, 14},    {u"HTBOTTOM", 15, 15},
    {u"HTBOTTOMLEFT", 16, 17},  {u"HTBOTTOMRIGHT", 17, 16}, {u"HTBORDER", 18, 18},
    {u"HTOBJECT", 19, 19},      {u"HTCLOSE", 20, 20},       {u"HTHELP", 21, 21},
};

constexpr int kDefaultExtent = 30;

XStatic& S(AControlBase& c) {
  return static_cast<XStatic&>(c);
}

bool SetImage(AControlBase& c, const std::u16string& v, const XXmlNode& e, int index,
              const char16_t* attribute) {
  XStatic& s = S(c);
  if (index == 0 && v == u"default") {
    s.imageType = kImageFillFrame;
    return c.LoadImage(e, attribute, u"static_default", kResizeFrame, &s.images[0]);
  }
  int kind = s.imageType == kImageFrame ? kResizeFrame : kResizePlain;
  if (!c.LoadImage(e, attribute, v, kind, &s.images[index])) return false;
  const XBitmap* image = s.images[index];
  if (image != nullptr && s.imageType == kImageFrame &&
      (image->width % 3 != 0 || image->height % 3 != 0))
    return c.skin->Errors().Set(XSKIN_ERR_IMAGE_SIZE_3, attribute, v, e.line, e.column);
  return true;
}

template <int Index>
bool SetNumberedImage(AControlBase& c, const std::u16string& v, const XXmlNode& e) {
  static constexpr const char16_t* kNames[] = {u"Image",  u"Image2", u"Image3",
                                               u"Image4", u"Image5", u"Image6",
                                               u"Image7", u"Image8", u"Image9"};
  return SetImage(c, v, e, Index, kNames[Index]);
}

constexpr XAttribute kStatic[] = {
    {u"Color",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       S(c).colour = ParseColour(c.skin->Resolve(v));
       return true;
     }},
    {u"ImageType",
     [](AControlBase& c, const std::u16string& v, const XXmlNode& e) {
       S(c).imageType = ParseImageType(v);
       if (S(c).imageType >= 0) return true;
       return c.skin->Errors().Set(XSKIN_ERR_VALUE, u"ImageType", v, e.line, e.column);
     }},
    {u"Image", SetNumberedImage<0>},
    {u"Image2", SetNumberedImage<1>},
    {u"Image3", SetNumberedImage<2>},
    {u"Image4", SetNumberedImage<3>},
    {u"Image5", SetNumberedImage<4>},
    {u"Image6", SetNumberedImage<5>},
    {u"Image7", SetNumberedImage<6>},
    {u"Image8", SetNumberedImage<7>},
    {u"Image9", SetNumberedImage<8>},
    {u"NcHitTest",
     [](AControlBase& c, const std::u16string& v, const XXmlNode&) {
       S(c).hitTestCode = ParseHitTest(v, c.RightToLeft());
       c.hitTest = S(c).hitTestCode == XStatic::kNoHitTest ? 0 : S(c).hitTestCode;
       return true;
     }},
};

}  // namespace

int ParseHitTest(std::u16string_view name, bool rightToLeft) {
  for (const HitTestName& h : kHitTests) {
    if (name == h.name) return rightToLeft ? h.rightToLeft : h.leftToRight;
  }
  return XStatic::kNoHitTest;
}

std::span<const XAttribute> XStatic::OwnAttributes() const {
  return kStatic;
}

bool XStatic::LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) {
  if (!AControlBase::LoadAttributes(element, layoutNode)) return false;
  int fallback = ScaleForDpi(kDefaultExtent, skin->Dpi());
  DefaultExtent(element, layoutNode, images[0] != nullptr ? images[0]->width : fallback,
                images[0] != nullptr ? images[0]->height : fallback);
  opaque = Plain() && colour != -1;
  return true;
}

void XStatic::RenderStatic() {
  XBitmap& buffer = buffers[0];
  if (buffer.Empty() || frozen) return;
  XRect area = BufferRect();
  if (drawBackground) {
    buffer.FillRect(area, 0, 0);
    if (colour != -1) {
      uint32_t fill = static_cast<uint32_t>(colour) & 0xFFFFFF;
      if (colour < 0) fill = skin->SystemColour(-colour);
      buffer.FillRect(area, fill, 255);
    }
  }
  if (images[current] != nullptr) DrawImage(imageType, *images[current], area, buffer);
  if (borderWidth > 0) {
    if (borderRound > 0) {
      RoundFrame(buffer, area, borderRound, static_cast<uint32_t>(borderColour) | 0xFF000000u);
    } else {
      // Rings past half the longer side cross over and repeat pixels already drawn.
      int rings = std::min(borderWidth, std::max(area.Width(), area.Height()) / 2 + 1);
      for (int i = 0; i < rings; ++i)
        buffer.FrameRect({area.left + i, area.top + i, area.right - 1 - i, area.bottom - 1 - i},
                         static_cast<uint32_t>(borderColour) | 0xFF000000u);
    }
  }
  bool covered = Plain() && colour != -1;
  if (!covered && Plain()) {
    covered = true;
    int width = std::min(buffered.Width(), buffer.width);
    int height = std::min(buffered.Height(), buffer.height);
    for (int y = 0; y < height && covered; ++y) {
      const uint8_t* p = buffer.Pixel(0, y);
      for (int x = 0; x < width; ++x, p += 4) {
        if (p[3] != 255) {
          covered = false;
          break;
        }
      }
    }
  }
  opaque = covered;
}

// Neither translucent nor framed: what it draws may cover its rectangle.
bool XStatic::Plain() const {
  return alpha == 255 && !alphaText && borderWidth == 0;
}

int XStatic::RenderBuffer(int) {
  RenderStatic();
  return 1;
}

int XStatic::SetImageNum(int index) {
  if (index < 0 || index > 8 || images[index] == nullptr) return 0;
  current = index;
  Redraw();
  return 1;
}

bool XGroupBox::LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) {
  if (!XStatic::LoadAttributes(element, layoutNode)) return false;
  if (images[0] == nullptr) {
    imageType = kImageFrame;
    images[0] = skin->Images().LoadSkinImage(u"groupbox", kResizeFrame, resizeImagesWithDpi, false);
  }
  if (!textStyle.hasFormat) textStyle.format = RightToLeft() ? kDtRight | kDtRtlReading : 0;
  opaque = false;
  return true;
}

XRect XGroupBox::CaptionRect() const {
  XSize size =
      skin->TextMeasure() != nullptr ? skin->TextMeasure()->Measure(text, font, 0) : XSize{};
  int left = size.height * 2 / 3;
  if (RightToLeft()) return {rect.Width() - left - size.width, 0, rect.Width() - left, size.height};
  return {left, 0, left + size.width, size.height};
}

int XGroupBox::RenderBuffer(int) {
  RenderStatic();
  if (buffers[0].Empty() || text.empty()) return 1;
  XRect caption = CaptionRect();
  buffers[0].FillRect(Offset(caption, rect.left - buffered.left, rect.top - buffered.top), 0, 0);
  if (layout != nullptr) {
    int left = caption.Height() * 2 / 3;
    if (RightToLeft()) {
      layout->textMargin.right = left;
    } else {
      layout->textMargin.left = left;
    }
  }
  opaque = false;
  return 1;
}

}  // namespace qorin
