#include "list_window_win32.h"

#include <algorithm>

#include "wide_text_win32.h"

namespace qorin {
namespace {

constexpr wchar_t kClass[] = L"XSkinListWnd";
constexpr DWORD kStyle = 0x90410000;        // WS_POPUP | WS_VISIBLE | WS_DLGFRAME | WS_TABSTOP
constexpr DWORD kScrollStyle = 0x50000003;  // WS_CHILD | WS_VISIBLE | SBS_VERT | ...
constexpr DWORD kGripStyle = 0x50000014;    // WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP | ...
constexpr DWORD kPickPauseMs = 100;
constexpr DWORD kAnimationStepMs = 10;

void RegisterClassOnce(HINSTANCE instance) {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClass;
  registered = RegisterClassExW(&wc) != 0;
}

void PumpPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

int ItemHeightOfGuiFont(HWND window) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return std::max(1, static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading + 2));
}

}  // namespace

XSkinListWnd::~XSkinListWnd() {
  if (window_ != nullptr) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

bool XSkinListWnd::Create(HWND owner) {
  owner_ = owner;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterClassOnce(instance);
  window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClass, L"", kStyle & ~WS_VISIBLE, 0, 0, 0, 0, owner,
                            nullptr, instance, nullptr);
  if (window_ == nullptr) return false;
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&XSkinListWnd::Proc));
  SetWindowPos(window_, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  scroll_ = CreateWindowExW(0, L"SCROLLBAR", L"", kScrollStyle, 0, 0, 0, 0, window_, nullptr,
                            instance, nullptr);
  grip_ = CreateWindowExW(0, L"SCROLLBAR", L"GRIP", kGripStyle, 0, 0, 0, 0, window_, nullptr,
                          instance, nullptr);
  if (grip_ != nullptr) EnableWindow(grip_, FALSE);
  model_.itemHeight = ItemHeightOfGuiFont(window_);
  return true;
}

void XSkinListWnd::SetItems(std::vector<std::u16string> items, int selected) {
  items_ = std::move(items);
  model_.count = static_cast<int>(items_.size());
  model_.selected = selected >= 0 && selected < model_.count ? selected : -1;
  UpdateScroll();
}

void XSkinListWnd::Show(const RECT& rect) {
  if (window_ == nullptr) return;
  active_ = true;
  SetWindowPos(window_, HWND_TOP, rect.left, rect.top, rect.right - rect.left,
               rect.bottom - rect.top, SWP_NOACTIVATE);
  int selected = model_.selected;
  ShowWindow(window_, SW_SHOW);
  model_.selected = selected;  // hiding reset it
  ScrollIntoView();
  SetFocus(window_);
  InvalidateRect(window_, nullptr, FALSE);
  UpdateWindow(window_);
}

void XSkinListWnd::Hide() {
  if (window_ == nullptr || !IsWindowVisible(window_)) return;
  active_ = false;
  ShowWindow(window_, SW_HIDE);
  if (GetActiveWindow() == nullptr || GetActiveWindow() == window_) SetActiveWindow(owner_);
}

std::u16string XSkinListWnd::GetSelectedText() const {
  if (items_.empty()) return {};
  int index = model_.selected >= 0 && model_.selected < model_.count ? model_.selected : 0;
  return items_[static_cast<size_t>(index)];
}

void XSkinListWnd::PlaceChildren() {
  RECT client;
  GetClientRect(window_, &client);
  int bar = GetSystemMetrics(SM_CYVSCROLL), arrow = GetSystemMetrics(SM_CYHSCROLL);
  int barBottom = client.bottom - arrow + 1;
  if (scroll_ != nullptr) MoveWindow(scroll_, client.right - bar, -1, bar, barBottom + 1, TRUE);
  if (grip_ != nullptr)
    MoveWindow(grip_, client.right - bar, barBottom, bar, client.bottom - barBottom, TRUE);
}

void XSkinListWnd::UpdateScroll() {
  if (window_ == nullptr) return;
  RECT client;
  GetClientRect(window_, &client);
  model_.SetHeight(client.bottom);
  SCROLLINFO info{sizeof info,
                  SIF_RANGE | SIF_PAGE | SIF_POS,
                  0,
                  std::max(0, model_.count - 1),
                  static_cast<UINT>(model_.page),
                  model_.top,
                  0};
  if (scroll_ != nullptr) SetScrollInfo(scroll_, SB_CTL, &info, TRUE);
  int show = model_.ScrollBarShown() ? SW_SHOWNA : SW_HIDE;
  if (scroll_ != nullptr) ShowWindow(scroll_, show);
  if (grip_ != nullptr) ShowWindow(grip_, show);
}

int XSkinListWnd::DrawWidth() const {
  RECT client;
  GetClientRect(window_, &client);
  bool bar = scroll_ != nullptr && IsWindowVisible(scroll_);
  return client.right - (bar ? GetSystemMetrics(SM_CXVSCROLL) : 0);
}

// The rows from the top index on, the selected one highlighted, drawn off screen first.
void XSkinListWnd::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  RECT client;
  GetClientRect(window_, &client);
  int width = DrawWidth();
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, std::max(1, width), std::max<LONG>(1, client.bottom));
  HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  RECT area{0, 0, width, client.bottom};
  FillRect(memory, &area, GetSysColorBrush(COLOR_WINDOW));
  HGDIOBJ oldFont = SelectObject(memory, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(memory, TRANSPARENT);
  for (int i = model_.top; i < model_.count; ++i) {
    XRect row = model_.PaintedRow(i, width);
    if (row.top >= client.bottom) break;
    RECT r{row.left, row.top, row.right, row.bottom};
    bool selected = i == model_.selected;
    if (selected) {
      RECT band{0, row.top, width, row.bottom};
      FillRect(memory, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    SetTextColor(memory, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    std::wstring text = Wide(items_[static_cast<size_t>(i)]);
    DrawTextW(memory, text.c_str(), static_cast<int>(text.size()), &r,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  BitBlt(dc, 0, 0, width, client.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, oldFont);
  SelectObject(memory, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
  EndPaint(window_, &ps);
}

// One border width around the client area, in the window text's colour: a thin frame.
void XSkinListWnd::PaintFrame() {
  HDC dc = GetWindowDC(window_);
  RECT window;
  GetWindowRect(window_, &window);
  OffsetRect(&window, -window.left, -window.top);
  int bx = GetSystemMetrics(SM_CXBORDER), by = GetSystemMetrics(SM_CYBORDER);
  HBRUSH brush = GetSysColorBrush(COLOR_WINDOWTEXT);
  RECT sides[] = {{0, 0, window.right, by},
                  {0, window.bottom - by, window.right, window.bottom},
                  {0, 0, bx, window.bottom},
                  {window.right - bx, 0, window.right, window.bottom}};
  for (const RECT& side : sides) FillRect(dc, &side, brush);
  ReleaseDC(window_, dc);
}

void XSkinListWnd::Select(int index) {
  if (index == model_.selected) return;
  model_.selected = index;
  InvalidateRect(window_, nullptr, FALSE);
}

// A row at a time; a row a step with a pause for short lists.
void XSkinListWnd::ScrollIntoView() {
  while (model_.StepIntoView()) {
    SetScrollPos(scroll_, SB_CTL, model_.top, TRUE);
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
    if (model_.Animated() && IsWindowVisible(window_)) Sleep(kAnimationStepMs);
  }
}

// The pick shows, the list hides, and the combo is told last: what the host does with the change
// (a new language rebuilds the whole skin, this list with it) runs after the list is done.
void XSkinListWnd::Pick(int index) {
  Select(index);
  ScrollIntoView();
  UpdateWindow(window_);
  PumpPending();
  Sleep(kPickPauseMs);
  Hide();
  combo_.Picked(index);
}

void XSkinListWnd::LostFocus(HWND to) {
  active_ = false;
  if (to != nullptr && (to == window_ || GetParent(to) == window_)) return;
  if (!IsWindowVisible(window_)) return;
  // A press on the combo itself took the focus: that press closes the list, not reopens it.
  POINT cursor;
  GetCursorPos(&cursor);
  RECT combo = lists_.ScreenRect(combo_);
  if ((GetKeyState(VK_LBUTTON) & 0x8000) != 0 && PtInRect(&combo, cursor))
    lists_.SwallowNextOpen(combo_);
  Hide();
}

LRESULT CALLBACK XSkinListWnd::Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* list = reinterpret_cast<XSkinListWnd*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (list == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  return list->Message(message, wparam, lparam);
}

LRESULT XSkinListWnd::Message(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NCCALCSIZE: {
      auto* rect = reinterpret_cast<RECT*>(lparam);  // the first of the three when wparam is set
      InflateRect(rect, -GetSystemMetrics(SM_CXBORDER), -GetSystemMetrics(SM_CYBORDER));
      return 0;
    }
    case WM_NCPAINT: PaintFrame(); return 0;
    case WM_NCACTIVATE: PaintFrame(); return TRUE;
    case WM_NCHITTEST: {
      POINT p{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      ScreenToClient(window_, &p);
      RECT client;
      GetClientRect(window_, &client);
      int w = GetSystemMetrics(SM_CYVSCROLL), h = GetSystemMetrics(SM_CXVSCROLL);
      if (p.x >= client.right - w && p.y >= client.bottom - h) return HTBOTTOMRIGHT;
      return HTCLIENT;
    }
    case WM_SIZE:
      PlaceChildren();
      UpdateScroll();
      InvalidateRect(window_, nullptr, FALSE);
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(); return 0;
    case WM_MOUSEMOVE: {
      int row = model_.RowAt(static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam)),
                             DrawWidth());
      if (row >= 0) Select(row);
      return 0;
    }
    case WM_LBUTTONDOWN: {
      int row = model_.RowAt(static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam)),
                             DrawWidth());
      if (row >= 0) Pick(row);
      return 0;
    }
    case WM_NCLBUTTONDOWN:
      if (wparam == HTBOTTOMRIGHT) break;
      Hide();
      return 0;
    case WM_RBUTTONDOWN: Hide(); return 0;
    case WM_KEYDOWN: {
      if (wparam == VK_ESCAPE) {
        Hide();
        return 0;
      }
      if (wparam == VK_RETURN) {  // confirms what the arrow keys chose
        if (model_.selected >= 0) Pick(model_.selected);
        return 0;
      }
      int before = model_.selected;
      if (!model_.Key(static_cast<int>(wparam))) break;
      if (model_.selected != before) InvalidateRect(window_, nullptr, FALSE);
      ScrollIntoView();
      return 0;
    }
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    case WM_VSCROLL: {
      SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(scroll_, SB_CTL, &info);
      int before = model_.top;
      model_.ScrollBar(LOWORD(wparam), info.nTrackPos);
      if (model_.top != before) {
        SetScrollPos(scroll_, SB_CTL, model_.top, TRUE);
        InvalidateRect(window_, nullptr, FALSE);
      }
      return 0;
    }
    case WM_MOUSEWHEEL: {
      int before = model_.top;
      model_.Wheel(static_cast<short>(HIWORD(wparam)));
      if (model_.top != before) {
        SetScrollPos(scroll_, SB_CTL, model_.top, TRUE);
        InvalidateRect(window_, nullptr, FALSE);
      }
      return 0;
    }
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
      info->ptMinTrackSize.x = 4 * GetSystemMetrics(SM_CXHSCROLL);
      info->ptMinTrackSize.y =
          model_.MinHeight(GetSystemMetrics(SM_CXHTHUMB), GetSystemMetrics(SM_CYHSCROLL),
                           GetSystemMetrics(SM_CYFRAME), GetSystemMetrics(SM_CYBORDER));
      return 0;
    }
    case WM_SHOWWINDOW:
      if (wparam == FALSE) {
        model_.selected = -1;
        model_.top = 0;
      }
      break;
    case WM_ACTIVATEAPP:
      active_ = wparam != FALSE;
      if (!active_) PostMessageW(owner_, WM_NCACTIVATE, FALSE, 0);
      break;
    case WM_KILLFOCUS: LostFocus(reinterpret_cast<HWND>(wparam)); return 0;
    default: break;
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

void XDropDownsWin32::Open(XComboBox& combo) {
  if (swallow_ == &combo) {
    swallow_ = nullptr;
    return;
  }
  swallow_ = nullptr;
  std::unique_ptr<XSkinListWnd>& list = lists_[&combo];
  if (!list) {
    list = std::make_unique<XSkinListWnd>(*this, combo);
    if (!list->Create(host_)) {
      list.reset();
      return;
    }
  }
  RECT screen = ScreenRect(combo);
  MONITORINFO monitor{sizeof monitor, {}, {}, 0};
  RECT work{};
  if (GetMonitorInfoW(MonitorFromRect(&screen, MONITOR_DEFAULTTONEAREST), &monitor)) {
    work = monitor.rcWork;
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  }
  XRect at = DropDownRect({screen.left, screen.top, screen.right, screen.bottom}, combo.listHeight,
                          {work.left, work.top, work.right, work.bottom});
  list->SetItems(combo.items, combo.selected);
  list->Show({at.left, at.top, at.right, at.bottom});
}

void XDropDownsWin32::Close(XComboBox& combo) {
  auto found = lists_.find(&combo);
  if (found != lists_.end()) found->second->Hide();
}

bool XDropDownsWin32::IsOpen(const XComboBox& combo) const {
  auto found = lists_.find(const_cast<XComboBox*>(&combo));
  return found != lists_.end() && found->second->Visible();
}

void XDropDownsWin32::Forget(XComboBox& combo) {
  if (swallow_ == &combo) swallow_ = nullptr;
  lists_.erase(&combo);
}

void XDropDownsWin32::CloseAll() {
  swallow_ = nullptr;
  lists_.clear();
}

bool XDropDownsWin32::KeepCaptionActive(WPARAM wparam) {
  if (wparam != FALSE) return false;
  for (const auto& [combo, list] : lists_) {
    if (!list->Active()) continue;
    PostMessageW(host_, WM_NCACTIVATE, TRUE, 0);
    return true;
  }
  return false;
}

}  // namespace qorin
