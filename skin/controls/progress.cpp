#include "progress.h"

#include <algorithm>

#include "image_modes.h"
#include "skin_document.h"

namespace qorin {
namespace {

XProgress& P(AControlBase& c) {
  return static_cast<XProgress&>(c);
}

// Images always resized for the DPI; a failed load is reported for "Image".
template <XBitmap* XProgress::*Field>
bool SetImage(AControlBase& c, const std::u16string& v, const XXmlNode& e) {
  std::u16string name = c.skin->Resolve(v);
  P(c).*Field = nullptr;
  if (name.empty() || name == u"none") return true;
  P(c).*Field = c.skin->Images().LoadSkinImage(name, kResizePlain, true, false);
  return P(c).*Field != nullptr ||
         c.skin->Errors().Set(XSKIN_ERR_FILE, u"Image", v, e.line, e.column);
}

template <int XProgress::*Field>
bool SetNumber(AControlBase& c, const std::u16string& v, const XXmlNode&) {
  P(c).*Field = ParseInt(v);
  return true;
}

constexpr XAttribute kProgress[] = {
    {u"BackImage", SetImage<&XProgress::back>},
    {u"FrontImage", SetImage<&XProgress::front>},
    {u"ImageType",
     [](AControlBase& c, const std::u16string& v, const XXmlNode& e) {
       P(c).imageType = ParseImageType(v);
       return P(c).imageType >= 0 ||
              c.skin->Errors().Set(XSKIN_ERR_VALUE, u"ImageType", v, e.line, e.column);
     }},
    {u"Min", SetNumber<&XProgress::min>},
    {u"Max", SetNumber<&XProgress::max>},
    {u"Pos", SetNumber<&XProgress::pos>},
};

}  // namespace

int ProgressRevealWidth(int pos, int min, int max, int width) {
  if (max == min) return 0;
  int64_t revealed = (int64_t{pos} - min) * width / (int64_t{max} - min);
  return static_cast<int>(std::clamp<int64_t>(revealed, 0, std::max(width, 0)));
}

std::span<const XAttribute> XProgress::OwnAttributes() const {
  return kProgress;
}

bool XProgress::LoadAttributes(const XXmlNode& element, XLayoutNode& layoutNode) {
  if (!AControlBase::LoadAttributes(element, layoutNode)) return false;
  int width = 0, height = 0;
  for (const XBitmap* image : {back, front}) {
    if (image == nullptr) continue;
    width = std::max(width, image->width);
    height = std::max(height, image->height);
  }
  if (width > 0) DefaultExtent(element, layoutNode, width, height);
  return true;
}

// The back image over the control, then the left part of the front image: both drawn where
// the buffer holds the control (it may hold only what can be seen of it).
int XProgress::RenderBuffer(int) {
  XBitmap& buffer = buffers[0];
  if (buffer.Empty() || frozen) return 0;
  XRect area = BufferRect();
  buffer.FillRect({0, 0, buffer.width, buffer.height}, 0, 0);
  if (back != nullptr) DrawImage(imageType, *back, area, buffer);
  int revealed = ProgressRevealWidth(pos, min, max, rect.Width());
  if (front != nullptr)
    DrawImagePart(imageType, *front, area, {area.left, 0, area.left + revealed, buffer.height},
                  buffer, work_);
  return 1;
}

bool XProgress::SetPos(int value) {
  if (value == pos) return false;
  pos = value;
  Redraw();
  return true;
}

}  // namespace qorin
