// A control's text style beyond its font and colour, and the painting of its text: colours by
// state, plain or HTML text, shadows and repeated drawing, onto the control's paint target.
//
//   Paint ─► colour (disabled / hover / normal)
//         ─► shadow: mask (text in white) ─► blurred layers ─► blended under the text
//         ─► plain: DrawText TextDrawCount times | HTML: XHtmlText laid out, centred, drawn
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "html_text.h"
#include "text_format.h"

namespace qorin {

// TextDrawCount is kept between 1 and this.
constexpr int kMostTextDraws = 8;

struct XTextStyle {
  XColour disabledColour = 0x808080;
  XColour hoverColour = -1;  // -1: the normal colour
  bool underline = false, underlineHover = false;
  bool html = false;
  bool hasFormat = false;
  uint32_t format = kDefaultTextFormat;
  std::vector<XTextShadowSpec> shadows;
  int drawCount = 1;  // 1 to kMostTextDraws
};

// The shadow layers of one text: a white-on-black mask of the text, blurred per shadow, turned
// into layers of the shadow's colour.
class XTextShadow {
 public:
  // The mask covers part of the text's rectangle (relative to its corner). True when the mask
  // was remade (the caller then draws the text into Mask() in white).
  bool SetSize(const std::u16string& text, const XRect& part);
  const XRect& Part() const { return part_; }
  XBitmap& Mask() { return mask_; }
  void Build(const std::vector<XTextShadowSpec>& shadows);
  void Draw(XBitmap& target, int x, int y, const XRect* clip);

 private:
  XBitmap mask_;
  std::vector<std::unique_ptr<XBitmap>> layers_;
  std::u16string text_;
  XRect part_;
};

// What a control's text needs to be painted.
struct XTextPaint {
  const XFontSpec& font;
  XColour colour;
  const XTextStyle& style;
  const std::u16string& text;
  bool enabled, hover, rightToLeft;
};

class XControlText {
 public:
  // Shadows are made only for what lies within reach of seen (where the text can be seen at
  // all), so a huge text rectangle costs no more than the window.
  bool Paint(IXTextCanvas& canvas, const XTextPaint& what, XBitmap& target, const XRect& rect,
             const XRect* clip, const XRect* seen = nullptr);

 private:
  XHtmlText* Html(IXTextCanvas& canvas, const XTextPaint& what, bool hover);
  bool DrawText(IXTextCanvas& canvas, const XTextPaint& what, XColour colour, bool allWhite,
                XBitmap& target, const XRect& rect, const XRect* clip, int count);

  std::unique_ptr<XHtmlText> html_[2];  // normal, hover
  std::u16string htmlSource_;
  XTextShadow shadow_;
};

}  // namespace qorin
