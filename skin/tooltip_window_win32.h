// The tooltip of style "window": a top-most popup of class "XSkinTooltip" in the system's
// icon-title font, placed from the cursor by the skin's position (WindowTooltipRect), its text
// drawn into a 24-bit buffer that WM_PAINT copies.
#pragma once

#include <windows.h>

#include <string>

#include "tooltip.h"

namespace qorin {

class XTooltipWindowWin32 final : public IXTooltipWindow {
 public:
  ~XTooltipWindowWin32() override;
  void SetDpi(int dpi) { dpi_ = dpi; }
  bool Create(XColour background, XColour text, int position) override;
  void Show(const std::u16string& text) override;
  void Hide() override;
  HWND Window() const { return window_; }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void Render(int width, int height, const std::wstring& text);

  HWND window_ = nullptr;
  HFONT font_ = nullptr;
  HBITMAP buffer_ = nullptr;
  int bufferWidth_ = 0, bufferHeight_ = 0;
  COLORREF background_ = 0, text_ = 0;
  int position_ = 0;
  int dpi_ = 96;
};

}  // namespace qorin
