#include "tooltip_window_win32.h"

#include <algorithm>

#include "skin_values.h"
#include "wide_text_win32.h"

namespace qorin {
namespace {

constexpr wchar_t kClass[] = L"XSkinTooltip";
constexpr int kCursorOffset = 20;  // pixels at 96 DPI
constexpr UINT kTextFlags = DT_LEFT | DT_NOPREFIX;

XRect WorkAreaAt(POINT point) {
  MONITORINFO info{sizeof info, {}, {}, 0};
  RECT work{};
  if (GetMonitorInfoW(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info)) {
    work = info.rcWork;
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  }
  return {work.left, work.top, work.right, work.bottom};
}

}  // namespace

XTooltipWindowWin32::~XTooltipWindowWin32() {
  if (window_ != nullptr) DestroyWindow(window_);
  if (font_ != nullptr) DeleteObject(font_);
  if (buffer_ != nullptr) DeleteObject(buffer_);
}

bool XTooltipWindowWin32::Create(XColour background, XColour text, int position) {
  background_ = static_cast<COLORREF>(background < 0 ? GetSysColor(-background) : background);
  text_ = static_cast<COLORREF>(text < 0 ? GetSysColor(-text) : text);
  position_ = position;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_SAVEBITS;
  wc.lpfnWndProc = &XTooltipWindowWin32::Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);  // already registered by an earlier skin: fine
  window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClass, L"", WS_POPUP, 0, 0, 0, 0,
                            nullptr, nullptr, instance, nullptr);
  if (window_ == nullptr) return false;
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  LOGFONTW icon{};
  if (!SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof icon, &icon, 0)) return false;
  LOGFONTW font{};
  HDC screen = GetDC(nullptr);
  int points = -MulDiv(icon.lfHeight, 72, GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  font.lfHeight = -MulDiv(points, dpi_, 72);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  std::copy(std::begin(icon.lfFaceName), std::end(icon.lfFaceName), std::begin(font.lfFaceName));
  font_ = CreateFontIndirectW(&font);
  return font_ != nullptr;
}

// The text at 5 from the left and 6 from the top over the background, framed by one pixel.
void XTooltipWindowWin32::Render(int width, int height, const std::wstring& text) {
  HDC screen = GetDC(window_);
  if (buffer_ != nullptr) DeleteObject(buffer_);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  buffer_ = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bufferWidth_ = width, bufferHeight_ = height;
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ oldBitmap = SelectObject(dc, buffer_);
  HBRUSH fill = CreateSolidBrush(background_);
  RECT all{0, 0, width, height};
  FillRect(dc, &all, fill);
  DeleteObject(fill);
  HGDIOBJ oldFont = SelectObject(dc, font_);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text_);
  RECT at{5, 6, width, height};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &at, kTextFlags);
  HBRUSH frame = CreateSolidBrush(text_);
  FrameRect(dc, &all, frame);
  DeleteObject(frame);
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteDC(dc);
  ReleaseDC(window_, screen);
}

void XTooltipWindowWin32::Show(const std::u16string& text) {
  if (window_ == nullptr) return;
  std::wstring wide = Wide(text);
  HDC dc = GetDC(window_);
  HGDIOBJ old = SelectObject(dc, font_);
  RECT measured{0, 0, 0, 0};
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &measured, kTextFlags | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(window_, dc);
  XSize size{measured.right + 10, measured.bottom + 10};
  POINT cursor;
  GetCursorPos(&cursor);
  XRect at = WindowTooltipRect(cursor.x, cursor.y, size, position_,
                               ScaleForDpi(kCursorOffset, dpi_), WorkAreaAt(cursor));
  Render(at.Width(), at.Height(), wide);
  SetWindowPos(window_, HWND_TOPMOST, at.left, at.top, at.Width(), at.Height(),
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(window_, nullptr, FALSE);
}

void XTooltipWindowWin32::Hide() {
  if (window_ != nullptr) ShowWindow(window_, SW_HIDE);
}

LRESULT CALLBACK XTooltipWindowWin32::Proc(HWND window, UINT message, WPARAM wparam,
                                           LPARAM lparam) {
  auto* tip = reinterpret_cast<XTooltipWindowWin32*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_PAINT && tip != nullptr) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (tip->buffer_ != nullptr) {
      HDC source = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(source, tip->buffer_);
      BitBlt(dc, 0, 0, tip->bufferWidth_, tip->bufferHeight_, source, 0, 0, SRCCOPY);
      SelectObject(source, old);
      DeleteDC(source);
    }
    EndPaint(window, &ps);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;
  if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace qorin
