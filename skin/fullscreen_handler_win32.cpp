#include "fullscreen_handler_win32.h"

#include <shellapi.h>

#include "fullscreen_rules.h"

namespace qorin {
namespace {

constexpr UINT kNcUahDrawCaption = 0xAE;

XRect AsRect(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

void XFullscreenHandler::ApplyStyle() {
  auto style = static_cast<uint32_t>(GetWindowLongPtrW(host_, GWL_STYLE));
  uint32_t wanted = ScreenModeStyle(style, mode_);
  if (wanted != style) SetWindowLongPtrW(host_, GWL_STYLE, static_cast<LONG_PTR>(wanted));
}

// Windows places a maximised window with its frame beyond the monitor's work area: without the
// frame the client area is the work area. Beside an auto-hidden taskbar one pixel stays free.
void XFullscreenHandler::MaximisedClient(RECT* proposed) const {
  auto style = static_cast<DWORD>(GetWindowLongPtrW(host_, GWL_STYLE));
  auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(host_, GWL_EXSTYLE));
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, (style & ~static_cast<DWORD>(WS_BORDER)) | WS_DLGFRAME, FALSE,
                     exStyle);
  proposed->left -= frame.left;
  proposed->top -= frame.top;
  proposed->right -= frame.right;
  proposed->bottom -= frame.bottom;
  HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  if (taskbar == nullptr) return;
  APPBARDATA bar{sizeof bar, taskbar, 0, 0, {}, 0};
  if ((SHAppBarMessage(ABM_GETSTATE, &bar) & ABS_AUTOHIDE) == 0) return;
  RECT barRect;
  // A taskbar that cannot be seen at all (no rectangle) cannot be reached either.
  if (!IsWindowVisible(taskbar) || !GetWindowRect(taskbar, &barRect) || IsRectEmpty(&barRect))
    return;
  MONITORINFO monitor{sizeof monitor, {}, {}, 0};
  if (!GetMonitorInfoW(MonitorFromWindow(host_, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  RECT rest;
  if (!SubtractRect(&rest, &monitor.rcWork, &barRect)) return;
  XRect freed = FreeTaskbarEdge(AsRect(*proposed), AsRect(barRect));
  *proposed = {freed.left, freed.top, freed.right, freed.bottom};
}

bool XFullscreenHandler::Message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  switch (message) {
    case WM_SIZE:
      if (!region_) return false;
      if (wparam == SIZE_RESTORED) {
        int width = LOWORD(lparam), height = HIWORD(lparam);
        if (width != regionWidth_ || height != regionHeight_) {
          SetWindowRgn(host_, CreateRectRgn(0, 0, width, height), TRUE);
          regionWidth_ = width, regionHeight_ = height;
        }
      } else if (wparam == SIZE_MAXIMIZED) {
        SetWindowRgn(host_, nullptr, TRUE);
        regionWidth_ = regionHeight_ = -1;
      }
      return false;
    case WM_WINDOWPOSCHANGING: {
      int next = NextScreenMode(mode_, IsZoomed(host_) != FALSE, IsIconic(host_) != FALSE);
      if (next != mode_) {
        mode_ = next;
        ApplyStyle();
      }
      return false;
    }
    case WM_NCCALCSIZE:
      if (mode_ != kModeMaximised) return false;
      MaximisedClient(reinterpret_cast<RECT*>(lparam));
      *result = 0;
      return true;
    case WM_NCPAINT:
    case WM_NCMOUSEMOVE: *result = 0; return true;
    case WM_NCACTIVATE:
    case kNcUahDrawCaption: *result = 1; return true;
    default: return false;
  }
}

}  // namespace qorin
