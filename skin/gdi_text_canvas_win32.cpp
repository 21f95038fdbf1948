#include "gdi_text_canvas_win32.h"

#include <algorithm>
#include <climits>

#include "bitmap_dc_win32.h"
#include "wide_text_win32.h"

namespace qorin {
namespace {

std::wstring FaceOfStockFont(int stock) {
  LOGFONTW face{};
  HGDIOBJ font = GetStockObject(stock);
  if (font == nullptr || GetObjectW(font, sizeof face, &face) == 0) return L"System";
  return face.lfFaceName;
}

std::wstring IconTitleFace() {
  LOGFONTW face{};
  if (!SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof face, &face, 0))
    return FaceOfStockFont(DEFAULT_GUI_FONT);
  return face.lfFaceName;
}

// Straight-alpha "over" of a colour with a per-channel coverage onto a 32-bit pixel.
void Cover(uint8_t* p, const uint8_t coverage[3], const uint8_t colour[3]) {
  unsigned cover = std::max({coverage[0], coverage[1], coverage[2]});
  if (cover == 0) return;
  unsigned alpha = p[3];
  unsigned outAlpha = cover + alpha * (255 - cover) / 255;
  for (int c = 0; c < 3; ++c) {
    unsigned k = coverage[c];
    unsigned under = p[c] * alpha * (255 - k) / 255;
    p[c] = static_cast<uint8_t>(std::min(255u, (colour[c] * k + under) / std::max(1u, outAlpha)));
  }
  p[3] = static_cast<uint8_t>(outAlpha);
}

}  // namespace

std::wstring FontFaceName(const std::u16string& face) {
  if (face.empty() || face == u"SystemIconFont") return IconTitleFace();
  if (face == u"DefaultGUIFont") return FaceOfStockFont(DEFAULT_GUI_FONT);
  return Wide(face);
}

XGdiTextCanvas::~XGdiTextCanvas() {
  for (auto& [key, font] : fonts_) DeleteObject(font);
}

HFONT XGdiTextCanvas::Font(const XFontSpec& spec) {
  std::wstring face = FontFaceName(spec.face);
  int height = -static_cast<int>(spec.points * dpi_ / 72);
  // The face, then the height and styles as characters of their own: a key, never shown.
  std::wstring key = face + L'\0' + static_cast<wchar_t>(height & 0xFFFF) +
                     static_cast<wchar_t>(spec.bold) + static_cast<wchar_t>(spec.italic) +
                     static_cast<wchar_t>(spec.underline);
  if (auto found = fonts_.find(key); found != fonts_.end()) return found->second;
  HFONT font =
      CreateFontW(height, 0, 0, 0, spec.bold ? FW_BOLD : FW_NORMAL, spec.italic, spec.underline,
                  FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                  CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  if (font != nullptr) fonts_.emplace(key, font);
  return font;
}

XSize XGdiTextCanvas::Measure(const XFontSpec& font, std::u16string_view text, uint32_t flags) {
  return Extent(font, text, {0, 0, INT_MAX, INT_MAX}, flags);
}

XSize XGdiTextCanvas::Measure(std::u16string_view text, const XFontSpec& font, int maxWidth) {
  if (maxWidth <= 0) return Measure(font, text, DT_NOPREFIX);
  return Extent(font, text, {0, 0, maxWidth, 0}, DT_NOPREFIX | DT_WORDBREAK);
}

// DrawTextW with DT_CALCRECT on the rectangle, in a screen-compatible DC.
XSize XGdiTextCanvas::Extent(const XFontSpec& font, std::u16string_view text, RECT rect,
                             uint32_t flags) {
  if (text.empty()) return {};
  HFONT handle = Font(font);
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr || handle == nullptr) {
    if (dc != nullptr) DeleteDC(dc);
    return {};
  }
  HGDIOBJ previous = SelectObject(dc, handle);
  std::wstring wide = Wide(text);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, flags | DT_CALCRECT);
  SelectObject(dc, previous);
  DeleteDC(dc);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

bool XGdiTextCanvas::DrawInto(HDC dc, const XFontSpec& font, COLORREF colour,
                              std::u16string_view text, RECT rect, uint32_t flags,
                              const RECT* clip) {
  HFONT handle = Font(font);
  if (handle == nullptr) return false;
  int savedMode = SetBkMode(dc, TRANSPARENT);
  COLORREF savedColour = SetTextColor(dc, colour);
  HGDIOBJ savedFont = SelectObject(dc, handle);
  int saved = SaveDC(dc);
  if (clip != nullptr) IntersectClipRect(dc, clip->left, clip->top, clip->right, clip->bottom);
  std::wstring wide = Wide(text);
  bool ok = DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, flags) != 0;
  RestoreDC(dc, saved);
  SelectObject(dc, savedFont);
  SetTextColor(dc, savedColour);
  SetBkMode(dc, savedMode);
  return ok;
}

bool XGdiTextCanvas::Draw(XBitmap& target, const XFontSpec& font, XColour colour,
                          std::u16string_view text, const XRect& rect, uint32_t flags,
                          const XRect* clip) {
  if (text.empty() || target.Empty()) return true;
  COLORREF value = colour < 0 ? GetSysColor(-colour) : static_cast<COLORREF>(colour) & 0xFFFFFF;
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  RECT c{0, 0, target.width, target.height};
  if (clip != nullptr) {
    c = {std::max(c.left, static_cast<LONG>(clip->left)),
         std::max(c.top, static_cast<LONG>(clip->top)),
         std::min(c.right, static_cast<LONG>(clip->right)),
         std::min(c.bottom, static_cast<LONG>(clip->bottom))};
  }
  if (c.right <= c.left || c.bottom <= c.top) return true;
  if (target.bitCount != 32) {
    HDC dc = LockDC(target);
    if (dc == nullptr) return false;
    bool ok = DrawInto(dc, font, value, text, r, flags, &c);
    UnlockDC(target);
    return ok;
  }
  // Through a mask of the clipped area: white text on black, then the colour by coverage.
  XBitmap mask;
  int width = c.right - c.left, height = c.bottom - c.top;
  if (!mask.Create(width, height, 24)) return false;
  HDC dc = LockDC(mask);
  if (dc == nullptr) return false;
  RECT shifted{r.left - c.left, r.top - c.top, r.right - c.left, r.bottom - c.top};
  RECT whole{0, 0, width, height};
  bool ok = DrawInto(dc, font, RGB(255, 255, 255), text, shifted, flags, &whole);
  GdiFlush();
  UnlockDC(mask);
  const uint8_t bgr[3] = {GetBValue(value), GetGValue(value), GetRValue(value)};
  for (int y = 0; y < height; ++y) {
    const uint8_t* from = mask.Pixel(0, y);
    uint8_t* to = target.Pixel(c.left, c.top + y);
    for (int x = 0; x < width; ++x, from += 3, to += 4) Cover(to, from, bgr);
  }
  return ok;
}

}  // namespace qorin
