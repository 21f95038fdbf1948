// Text through GDI: fonts made once per description and DPI, DrawTextW into a bitmap's DC, and
// measuring with DT_CALCRECT (also for "fit2text"). A 32-bit target gets the text through a
// white-on-black mask, so that its pixels keep correct alpha where GDI would zero it.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "control_base.h"

namespace qorin {

class XGdiTextCanvas final : public IXTextCanvas, public IXTextMeasure {
 public:
  explicit XGdiTextCanvas(int dpi) : dpi_(dpi) {}
  ~XGdiTextCanvas() override;
  XGdiTextCanvas(const XGdiTextCanvas&) = delete;
  XGdiTextCanvas& operator=(const XGdiTextCanvas&) = delete;

  // IXTextCanvas
  XSize Measure(const XFontSpec& font, std::u16string_view text, uint32_t flags) override;
  bool Draw(XBitmap& target, const XFontSpec& font, XColour colour, std::u16string_view text,
            const XRect& rect, uint32_t flags, const XRect* clip) override;
  // IXTextMeasure: one line, or wrapped at maxWidth.
  XSize Measure(std::u16string_view text, const XFontSpec& font, int maxWidth) override;

  // The font for the description (null when it cannot be made).
  HFONT Font(const XFontSpec& font);

 private:
  XSize Extent(const XFontSpec& font, std::u16string_view text, RECT rect, uint32_t flags);
  bool DrawInto(HDC dc, const XFontSpec& font, COLORREF colour, std::u16string_view text, RECT rect,
                uint32_t flags, const RECT* clip);

  int dpi_;
  std::map<std::wstring, HFONT> fonts_;
};

// The face a font description names: "DefaultGUIFont", "SystemIconFont" or empty (the
// icon-title font) resolved to a real face.
std::wstring FontFaceName(const std::u16string& face);

}  // namespace qorin
