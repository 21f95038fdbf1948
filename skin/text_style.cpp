#include "text_style.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "bitmap_copy.h"
#include "blur.h"

namespace qorin {

bool XTextShadow::SetSize(const std::u16string& text, const XRect& part) {
  if (!mask_.Empty() && text == text_ && part == part_) return false;
  text_ = text;
  part_ = part;
  mask_.Create(std::max(part.Width(), 1), std::max(part.Height(), 1), 24);
  mask_.Fill(0);
  return true;
}

void XTextShadow::Build(const std::vector<XTextShadowSpec>& shadows) {
  layers_.clear();
  XBitmap work;
  for (const XTextShadowSpec& s : shadows) {
    if (!work.Create(mask_.width, mask_.height, 24)) return;
    Blit(work, 0, 0, mask_, 0, 0, -1, -1, false);
    if (s.blur > 0) Blur(work, {0, 0, work.width, work.height}, s.blur);
    XBitmap coloured;
    if (!coloured.Create(mask_.width, mask_.height, 32)) return;
    coloured.FillOpaque(static_cast<uint32_t>(s.colour) & 0xFFFFFF);
    for (int y = 0; y < work.height; ++y) {
      for (int x = 0; x < work.width; ++x) coloured.Pixel(x, y)[3] = work.Pixel(x, y)[0];
    }
    if (s.merged && !layers_.empty()) {
      Blit(*layers_.front(), s.x, s.y, coloured, 0, 0, -1, -1, true);
      continue;
    }
    auto layer = std::make_unique<XBitmap>();
    if (!layer->Create(mask_.width, mask_.height, 32)) return;
    Blit(*layer, s.x, s.y, coloured, 0, 0, -1, -1, false);
    layers_.push_back(std::move(layer));
  }
}

void XTextShadow::Draw(XBitmap& target, int x, int y, const XRect* clip) {
  for (const auto& layer : layers_) {
    int sourceX = 0, sourceY = 0, width = layer->width, height = layer->height;
    if (clip != nullptr) {
      int left = std::max(x, clip->left), top = std::max(y, clip->top);
      int right = std::min(x + width, clip->right), bottom = std::min(y + height, clip->bottom);
      if (left >= right || top >= bottom) continue;
      sourceX = left - x, sourceY = top - y, width = right - left, height = bottom - top;
    }
    Blit(target, x + sourceX, y + sourceY, *layer, sourceX, sourceY, width, height, true);
  }
}

XHtmlText* XControlText::Html(IXTextCanvas& canvas, const XTextPaint& what, bool hover) {
  if (htmlSource_ != what.text) {
    html_[0].reset();
    html_[1].reset();
    htmlSource_ = what.text;
  }
  int index = hover && (what.style.underlineHover || what.style.underline) ? 1 : 0;
  if (!html_[index]) {
    XFontSpec font = what.font;
    font.underline = what.style.underline || index == 1;
    bool singleLine = (what.style.format & kDtSingleLine) != 0;
    auto html =
        std::make_unique<XHtmlText>(canvas, font, what.colour, what.rightToLeft, singleLine);
    html->SetMarkup(what.text);
    html_[index] = std::move(html);
  }
  return html_[index].get();
}

bool XControlText::DrawText(IXTextCanvas& canvas, const XTextPaint& what, XColour colour,
                            bool allWhite, XBitmap& target, const XRect& rect, const XRect* clip,
                            int count) {
  bool ok = true;
  if (!what.style.html) {
    XFontSpec font = what.font;
    font.underline = what.style.underline || (what.hover && what.style.underlineHover);
    for (int i = 0; i < count; ++i)
      ok &= canvas.Draw(target, font, colour, what.text, rect, what.style.format, clip);
    return ok;
  }
  XHtmlText* html = Html(canvas, what, what.hover);
  html->Layout(rect.Width());
  XSize extent = html->Extent();
  int x = rect.left, y = rect.top;
  if (what.style.format & kDtVCenter) y += std::max(0, (rect.Height() - extent.height) / 2);
  if (what.style.format & kDtCenter) x += std::max(0, (rect.Width() - extent.width) / 2);
  for (int i = 0; i < count; ++i) ok &= html->Draw(target, x, y, rect.bottom - y, allWhite, clip);
  return ok;
}

namespace {

// The part of the text's rectangle (relative to its corner) whose shadows can be seen: within
// each shadow's offset and blur of what can be seen.
XRect ShadowPart(const XRect& rect, const XRect* seen, const std::vector<XTextShadowSpec>& specs) {
  XRect part{0, 0, rect.Width(), rect.Height()};
  if (seen == nullptr) return part;
  constexpr int64_t kFar = 1 << 20;
  int64_t far = 0;
  for (const XTextShadowSpec& s : specs) {
    int64_t offset = std::max(std::llabs(s.x), std::llabs(s.y));
    far = std::max(far, std::clamp<int64_t>(int64_t{s.blur} + offset, 0, kFar));
  }
  int reach = static_cast<int>(far);
  XRect within = Offset(Inset(*seen, {-reach, -reach, -reach, -reach}), -rect.left, -rect.top);
  return Intersection(part, within);
}

}  // namespace

bool XControlText::Paint(IXTextCanvas& canvas, const XTextPaint& what, XBitmap& target,
                         const XRect& rect, const XRect* clip, const XRect* seen) {
  if (what.text.empty() || rect.Width() <= 0 || rect.Height() <= 0) return true;
  XColour colour = what.enabled ? what.colour : what.style.disabledColour;
  if (what.enabled && what.hover && what.style.hoverColour != -1) colour = what.style.hoverColour;
  XRect part = ShadowPart(rect, seen, what.style.shadows);
  if (!what.style.shadows.empty() && !IsEmpty(part)) {
    if (shadow_.SetSize(what.text, part)) {
      XRect maskRect{-part.left, -part.top, rect.Width() - part.left, rect.Height() - part.top};
      DrawText(canvas, what, 0xFFFFFF, true, shadow_.Mask(), maskRect, nullptr, 1);
      shadow_.Build(what.style.shadows);
    }
    shadow_.Draw(target, rect.left + part.left, rect.top + part.top, clip);
  }
  return DrawText(canvas, what, colour, false, target, rect, clip,
                  std::max(1, what.style.drawCount));
}

}  // namespace qorin
