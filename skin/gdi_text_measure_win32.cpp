#include "gdi_text_measure_win32.h"

#include <windows.h>

#include <string>

namespace qorin {

XSize XGdiTextMeasure::Measure(std::u16string_view text, const XFontSpec& font, int maxWidth) {
  LOGFONTW face{};
  SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof face, &face, 0);
  if (!font.face.empty()) {
    std::wstring name(font.face.begin(), font.face.end());
    lstrcpynW(face.lfFaceName, name.c_str(), LF_FACESIZE);
  }
  face.lfHeight = -MulDiv(static_cast<int>(font.points * 10 + 0.5), dpi_, 720);
  face.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT handle = CreateFontIndirectW(&face);
  HGDIOBJ previous = SelectObject(dc, handle);
  std::wstring wide(text.begin(), text.end());
  RECT rect{0, 0, maxWidth > 0 ? maxWidth : 0, 0};
  UINT flags = DT_CALCRECT | DT_NOPREFIX | (maxWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, flags);
  SelectObject(dc, previous);
  DeleteObject(handle);
  DeleteDC(dc);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace qorin
