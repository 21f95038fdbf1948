#include "skin_window_win32.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "bitmap_dc_win32.h"
#include "controls.h"
#include "copy_data_win32.h"
#include "display_dpi.h"
#include "wide_text_win32.h"

namespace qorin {
namespace {

constexpr wchar_t kMessageClass[] = L"XSKIN_CLASS";
constexpr wchar_t kMessageTitle[] = L"XSKIN_NAME";
constexpr wchar_t kSkinProperty[] = L"XSKIN_PROP";
constexpr wchar_t kHostProperty[] = L"XSKIN_HOST";
// Under custom frame the host keeps only these style bits (visible, disabled, clip siblings and
// children, dialog frame, scroll bars, thick frame).
constexpr LONG_PTR kCustomFrameKeep = 0x1E740000;
constexpr UINT_PTR kPopupTimer = 4;
constexpr UINT kPopupPollMs = 50;
constexpr UINT_PTR kNoiseTimer = 5;
constexpr UINT kNoisePeriodMs = 5;
// Script timers run on the message window with their IDs moved clear of the skin's own.
constexpr UINT_PTR kScriptTimerBase = 0x10000;

bool CompositionEnabled() {
  HMODULE dwm = GetModuleHandleW(L"dwmapi.dll");
  if (dwm == nullptr) return false;
  using IsEnabled = HRESULT(WINAPI*)(BOOL*);
  auto isEnabled = reinterpret_cast<IsEnabled>(
      reinterpret_cast<void*>(GetProcAddress(dwm, "DwmIsCompositionEnabled")));
  BOOL enabled = FALSE;
  return isEnabled != nullptr && SUCCEEDED(isEnabled(&enabled)) && enabled;
}

void ExtendFrame(HWND window) {
  HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
  if (dwm == nullptr) return;
  struct Margins {
    int left, right, top, bottom;
  } margins{1, 1, 1, 1};
  using Extend = HRESULT(WINAPI*)(HWND, const Margins*);
  auto extend = reinterpret_cast<Extend>(
      reinterpret_cast<void*>(GetProcAddress(dwm, "DwmExtendFrameIntoClientArea")));
  if (extend != nullptr) extend(window, &margins);
  FreeLibrary(dwm);
}

}  // namespace

UINT XXSkin::MsgInvalidate() {
  static const UINT message = RegisterWindowMessageW(L"WM_XSKIN_INVALIDATE");
  return message;
}
UINT XXSkin::MsgInvalidateAlign() {
  static const UINT message = RegisterWindowMessageW(L"WM_XSKIN_INVALIDATEALIGN");
  return message;
}
UINT XXSkin::MsgProcessCommand() {
  static const UINT message = RegisterWindowMessageW(L"WM_XSKIN_PROCESSCOMMAND");
  return message;
}
UINT XXSkin::MsgNextPopupMenu() {
  static const UINT message = RegisterWindowMessageW(L"WM_XSKIN_PROCESS_NEXTPOPUPMENU");
  return message;
}
UINT XXSkin::MsgMouseOver() {
  static const UINT message = RegisterWindowMessageW(L"WM_XSKINNOTIFY_MOUSEOVER");
  return message;
}
UINT XXSkin::MsgMouseLeave() {
  static const UINT message = RegisterWindowMessageW(L"WM_XSKINNOTIFY_MOUSELEAVE");
  return message;
}
void XXSkin::RegisterListMessages() {
  for (const wchar_t* name :
       {L"WM_XSKINNOTIFY_COMBOBOX_CHANGED", L"WM_XSKINNOTIFY_LISTBOX_SELCHANGE",
        L"WM_XSKINNOTIFY_LISTBOX_MOUSECLICK", L"WM_XSKINNOTIFY_LISTBOX_ACTIVEITEM"})
    RegisterWindowMessageW(name);
}

XXSkin::XXSkin() = default;

XXSkin::~XXSkin() {
  Unsubclass();
  view_.reset();
  document_.reset();
  if (messageWindow_ != nullptr) DestroyWindow(messageWindow_);
}

const XSkinError& XXSkin::GetError() const {
  return document_ ? document_->Error() : openError_;
}

std::u16string XXSkin::GetErrorText() const {
  return GetError().Text(GetUserDefaultUILanguage());
}

bool XXSkin::LoadFromFile(HINSTANCE instance, HWND host, const std::u16string& archivePath,
                          const std::u16string& skinFileName, const std::u16string& controlIdFile,
                          XSkinWindowOptions options) {
  options_ = std::move(options);
  if (!resources_.OpenArchiveFile(archivePath))
    return openError_.Set(XSKIN_ERR_FILE_OPEN, archivePath);
  return Load(instance, host, skinFileName, controlIdFile);
}

bool XXSkin::LoadFromMemory(HINSTANCE instance, HWND host, const uint8_t* archive, size_t size,
                            const std::u16string& skinFileName, const std::u16string& controlIdFile,
                            XSkinWindowOptions options) {
  options_ = std::move(options);
  if (!resources_.OpenArchive(archive, size))
    return openError_.Set(XSKIN_ERR_FILE_OPEN, u"MemoryBuffer");
  return Load(instance, host, skinFileName, controlIdFile);
}

bool XXSkin::LoadFromFolder(HINSTANCE instance, HWND host, const std::u16string& folder,
                            const std::u16string& skinFileName, const std::u16string& controlIdFile,
                            XSkinWindowOptions options) {
  options_ = std::move(options);
  resources_.OpenFolder(folder);
  return Load(instance, host, skinFileName, controlIdFile);
}

bool XXSkin::Load(HINSTANCE instance, HWND host, const std::u16string& skinFileName,
                  const std::u16string& controlIdFile) {
  instance_ = instance;
  host_ = host;
  resources_.SetLanguage(options_.language);
  document_ = std::make_unique<XSkinDocument>(resources_, options_.host);
  document_->SetHost(host_, instance_);
  int dpi = DisplayDpi();
  document_->SetDpi(dpi);
  RegisterListMessages();
  canvas_ = std::make_unique<XGdiTextCanvas>(dpi);
  document_->SetTextMeasure(canvas_.get());
  document_->SetSystemColours(&systemColours_);
  document_->SetHostedWindows(&hostedWindows_);
  document_->SetDropDowns(&dropDowns_);
  dropDowns_.SetHost(host_, [this](const XRect& r) {
    RECT client = MirrorRect({r.left, r.top, r.right, r.bottom});
    POINT corners[2] = {{client.left, client.top}, {client.right, client.bottom}};
    for (POINT& corner : corners) ClientToScreen(host_, &corner);
    return RECT{std::min(corners[0].x, corners[1].x), corners[0].y,
                std::max(corners[0].x, corners[1].x), corners[1].y};
  });
  view_ = std::make_unique<XSkinView>(
      *document_, *this, canvas_.get(),
      XPointerMessages{MsgMouseOver(), MsgMouseLeave(),
                       RegisterWindowMessageW(L"WM_XSKINNOTIFY_SLIDER_CHANGING"),
                       RegisterWindowMessageW(L"WM_XSKINNOTIFY_SLIDER_CHANGED"),
                       RegisterWindowMessageW(L"WM_XSKINNOTIFY_LISTBOX_SELCHANGE"),
                       RegisterWindowMessageW(L"WM_XSKINNOTIFY_LISTBOX_ACTIVEITEM"),
                       RegisterWindowMessageW(L"WM_XSKINNOTIFY_LISTBOX_MOUSECLICK"),
                       RegisterWindowMessageW(L"WM_XSKINNOTIFY_COMBOBOX_CHANGED")});
  for (const auto& [name, number] : options_.ids) document_->Ids().Add(name, number);
  XSkinError& error = document_->Errors();
  if (!controlIdFile.empty() && !document_->LoadIdFile(controlIdFile)) return false;
  if (!Subclass()) return error.Set(XSKIN_ERR_INTERNAL, u"subclass");
  // Hosted child windows draw themselves: the root buffer's copy must not paint over them.
  SetWindowLongPtrW(host_, GWL_STYLE, GetWindowLongPtrW(host_, GWL_STYLE) | WS_CLIPCHILDREN);
  if (options_.host.fullScreenHandling) fullscreen_.Attach(host_, options_.host.windowRegion);
  if (options_.host.customFrame) ApplyCustomFrame();
  if (options_.host.extendFrame) ExtendFrame(host_);
  if (!CreateMessageWindow()) return error.Set(XSKIN_ERR_INTERNAL, u"XSKIN_CLASS");
  scripts_ = std::make_unique<XSkinScripts>(*document_, *this, options_.callback);
  if (!document_->Load(skinFileName)) return false;
  if (options_.host.tooltips) {
    tooltipWindow_.SetDpi(dpi);
    view_->CreateTooltip(&tooltipWindow_);
  }
  const XSkinHead& head = document_->Head();
  if (head.hasWindowSize) {
    SetWindowPos(host_, nullptr, 0, 0, head.width, head.height,
                 SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  if (!scripts_->Start(!options_.host.keepArchiveOpen)) return false;
  loaded_ = true;
  view_->SetLoaded(true);
  RECT client;
  GetClientRect(host_, &client);
  OnSize(IsIconic(host_) ? SIZE_MINIMIZED : SIZE_RESTORED, client.right, client.bottom);
  return true;
}

bool XXSkin::Subclass() {
  if (!SetPropW(host_, kHostProperty, this)) return false;
  previousProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(host_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HostProc)));
  return previousProc_ != nullptr;
}

void XXSkin::Unsubclass() {
  if (previousProc_ == nullptr || !IsWindow(host_)) return;
  SetWindowLongPtrW(host_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
  RemovePropW(host_, kHostProperty);
  previousProc_ = nullptr;
}

void XXSkin::ApplyCustomFrame() {
  LONG_PTR style = GetWindowLongPtrW(host_, GWL_STYLE) & kCustomFrameKeep;
  style |= WS_POPUP | WS_THICKFRAME | (CompositionEnabled() ? WS_CAPTION : WS_SYSMENU);
  style |= static_cast<LONG_PTR>(options_.host.extraStyle);
  SetWindowLongPtrW(host_, GWL_STYLE, style);
  SetWindowPos(host_, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool XXSkin::CreateMessageWindow() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = MessageProc;
  windowClass.hInstance = instance_;
  windowClass.lpszClassName = kMessageClass;
  if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  messageWindow_ = CreateWindowExW(0, kMessageClass, kMessageTitle, WS_POPUP, 0, 0, 0, 0,
                                   HWND_MESSAGE, nullptr, instance_, nullptr);
  return messageWindow_ != nullptr && SetPropW(messageWindow_, kSkinProperty, this);
}

// The view lays out when the size really changed; the events and the log line follow it.
void XXSkin::OnSize(UINT kind, int width, int height) {
  if (!loaded_ || document_ == nullptr || document_->Root() == nullptr) return;
  if (kind == SIZE_MINIMIZED) width = height = 0;
  view_->mirror = Mirror();
  if (!view_->LayOut(width, height)) return;
  ++layoutRuns_;
  scripts_->RunEvent(SKINEVENT_ONGUIINIT, true);
  scripts_->RunEvent(SKINEVENT_ONSIZE);
  if (options_.log) options_.log(Wide(view_->LayoutLine()));
}

// Controls that moved repaint where they were and where they are: the window is redrawn whole.
void XXSkin::RunPendingLayout() {
  if (document_ == nullptr || document_->Root() == nullptr) return;
  if (document_->TakePendingLayout().empty()) return;
  document_->Layout().LayoutIn(document_->Root()->rect);
  view_->Invalidate(document_->Root()->rect);
}

XMirror XXSkin::Mirror() const {
  RECT client;
  GetClientRect(host_, &client);
  return {(GetWindowLongPtrW(host_, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0,
          static_cast<int>(client.right)};
}

int XXSkin::MirrorX(int x) const {
  return Mirror().X(x);
}

RECT XXSkin::MirrorRect(const RECT& r) const {
  XRect m = Mirror().Rect({r.left, r.top, r.right, r.bottom});
  return {m.left, m.top, m.right, m.bottom};
}

// WM_PAINT copies the root buffer, nothing else. A mirrored host's DC would mirror the copy of
// a buffer that is already laid out right to left: its layout is reset for the copy.
void XXSkin::Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (Mirror().on) SetLayout(dc, 0);
  RECT r = MirrorRect(paint.rcPaint);
  XBitmap& root = view_->RootBuffer();
  if (root.Empty()) {
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  } else {
    DrawToDC(root, dc, r.left, r.top, r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
  EndPaint(window, &paint);
}

void XXSkin::PostInvalidate() {
  PostMessageW(messageWindow_, MsgInvalidate(), 0, 0);
}

void XXSkin::PostProcessCommand() {
  PostMessageW(messageWindow_, MsgProcessCommand(), 0, 0);
}

void XXSkin::Present(const XRect& rect) {
  RECT r = MirrorRect({rect.left, rect.top, rect.right, rect.bottom});
  InvalidateRect(host_, &r, FALSE);
  UpdateWindow(host_);
}

void XXSkin::PostToHost(unsigned message, uintptr_t wparam, intptr_t lparam) {
  PostMessageW(host_, message, wparam, lparam);
  if (options_.callback != nullptr) options_.callback->OnMessage(message, wparam, lparam);
}

void XXSkin::CommandFired(int number) {
  if (options_.host.postCommands) PostMessageW(host_, WM_COMMAND, static_cast<WPARAM>(number), 0);
  std::u16string name = document_->Ids().NameOf(number);
  if (!name.empty() && options_.callback != nullptr) options_.callback->OnCommand(number, name);
}

void XXSkin::SendHostCommand(int number) {
  if (options_.host.postCommands) SendMessageW(host_, WM_COMMAND, static_cast<WPARAM>(number), 0);
  std::u16string name = document_->Ids().NameOf(number);
  if (!name.empty() && options_.callback != nullptr) options_.callback->OnCommand(number, name);
}

void XXSkin::TrackMouseLeave() {
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, host_, HOVER_DEFAULT};
  TrackMouseEvent(&track);
}

void XXSkin::SetTooltipTimer(int id, int milliseconds) {
  if (messageWindow_ != nullptr)
    SetTimer(messageWindow_, static_cast<UINT_PTR>(id),
             static_cast<UINT>(std::max(1, milliseconds)), nullptr);
}

void XXSkin::KillTooltipTimer(int id) {
  if (messageWindow_ != nullptr) KillTimer(messageWindow_, static_cast<UINT_PTR>(id));
}

// The tooltip's timers see where the pointer is now, in the skin's coordinates.
void XXSkin::OnTooltipTimer(int id) {
  if (!view_) return;
  POINT point;
  GetCursorPos(&point);
  ScreenToClient(host_, &point);
  view_->TooltipTimer(id, MirrorX(point.x), point.y);
}

int XXSkin::HeldKeys() {
  return ((GetKeyState(VK_CONTROL) & 0x8000) != 0 ? kHeldCtrl : 0) |
         ((GetKeyState(VK_SHIFT) & 0x8000) != 0 ? kHeldShift : 0);
}

void XXSkin::CaptureMouse(bool on) {
  if (on) {
    SetCapture(host_);
  } else if (GetCapture() == host_) {
    ReleaseCapture();
  }
}

void XXSkin::SetFadeTimer(bool on) {
  constexpr UINT_PTR kFadeTimer = 3;
  constexpr UINT kFadePeriodMs = 20;
  if (on) {
    fadeTimer_.Set(kFadeTimer, kFadePeriodMs);
  } else {
    fadeTimer_.Kill(kFadeTimer);
  }
}

void XXSkin::SetControlTimer(AControlBase* control, int id, int milliseconds) {
  UINT_PTR key = 0;
  for (const auto& [k, timer] : controlTimerIds_) {
    if (timer.control == control && timer.id == id) key = k;
  }
  if (key == 0) {
    key = nextControlTimer_++;
    controlTimerIds_[key] = {control, id};
  }
  controlTimers_.Set(key, static_cast<UINT>(std::max(1, milliseconds)));
}

void XXSkin::KillControlTimers(AControlBase* control) {
  for (auto it = controlTimerIds_.begin(); it != controlTimerIds_.end();) {
    if (it->second.control != control) {
      ++it;
      continue;
    }
    controlTimers_.Kill(it->first);
    it = controlTimerIds_.erase(it);
  }
}

int XXSkin::TrackPopupMenu(HMENU menu) {
  POINT at;
  GetCursorPos(&at);
  AControlBase* button = view_ ? view_->openMenuButton : nullptr;
  if (button != nullptr) {
    // The button's bottom-left corner as the screen shows it.
    XMirror mirror = Mirror();
    at = {mirror.Rect(button->rect).left, button->rect.bottom};
    ClientToScreen(host_, &at);
    if (mirror.on) at.x -= button->rect.Width();
  }
  SetTimer(messageWindow_, kPopupTimer, kPopupPollMs, nullptr);
  int chosen = static_cast<int>(
      TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, host_, nullptr));
  KillTimer(messageWindow_, kPopupTimer);
  return chosen;
}

// Timer 4 while a menu is open: the pointer over another menu button switches menus.
void XXSkin::PollPopupMenu() {
  if (!view_) return;
  POINT point;
  GetCursorPos(&point);
  ScreenToClient(host_, &point);
  if (!view_->SwitchMenuAt(MirrorX(point.x), point.y)) return;
  PostMessageW(host_, WM_CANCELMODE, 0, 0);
  PostMessageW(messageWindow_, MsgNextPopupMenu(), 0, 0);
}

void XXSkin::OpenNextPopupMenu() {
  if (view_) view_->OpenPendingMenu();
}

void XXSkin::OnControlTimer(UINT_PTR key) {
  auto found = controlTimerIds_.find(key);
  if (found == controlTimerIds_.end()) {
    controlTimers_.Kill(key);
    return;
  }
  found->second.control->OnTimer();
}

IXMessageBox& XXSkin::MessageBox() {
  if (options_.messageBox != nullptr) return *options_.messageBox;
  messageBox_.SetOwner(host_);
  return messageBox_;
}

void XXSkin::OpenUrl(std::u16string_view url) {
  ShellExecuteW(nullptr, L"open", Wide(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void XXSkin::ShowHost(Show how) {
  switch (how) {
    case kClose: PostMessageW(host_, WM_CLOSE, 0, 0); break;
    case kMinimize: ShowWindow(host_, SW_MINIMIZE); break;
    case kMaximize: ShowWindow(host_, SW_MAXIMIZE); break;
    case kRestore: ShowWindow(host_, SW_RESTORE); break;
  }
}

XRect XXSkin::HostWindowRect() {
  RECT r{};
  GetWindowRect(host_, &r);
  return {r.left, r.top, r.right, r.bottom};
}

XRect XXSkin::HostClientRect() {
  RECT r{};
  GetClientRect(host_, &r);
  return {r.left, r.top, r.right, r.bottom};
}

void XXSkin::MoveHost(const XRect& r) {
  MoveWindow(host_, r.left, r.top, r.Width(), r.Height(), TRUE);
}

void XXSkin::SetNoise(bool on) {
  if (on) {
    SetTimer(messageWindow_, kNoiseTimer, kNoisePeriodMs, nullptr);
  } else {
    KillTimer(messageWindow_, kNoiseTimer);
  }
}

void XXSkin::SetScriptTimer(int id, int milliseconds) {
  SetTimer(messageWindow_, kScriptTimerBase + static_cast<UINT>(id),
           static_cast<UINT>(milliseconds), nullptr);
}

void XXSkin::KillScriptTimer(int id) {
  KillTimer(messageWindow_, kScriptTimerBase + static_cast<UINT>(id));
}

void XXSkin::PostLayout() {
  PostMessageW(messageWindow_, MsgInvalidateAlign(), 0, 0);
}

// Lines for the developer's "XScriptDebugConsole" window, when it exists.
void XXSkin::Console(std::u16string_view text, int level) {
  SendCopyDataText(L"XScriptDebugConsole", static_cast<ULONG_PTR>(level), Wide(text).c_str());
}

void XXSkin::RouteMouse(UINT message, int x, int y) {
  if (!view_ || document_ == nullptr || document_->Root() == nullptr) return;
  x = MirrorX(x);
  switch (message) {
    case WM_MOUSEMOVE: view_->PointerMove(x, y); break;
    case WM_LBUTTONDOWN: view_->PointerButton(kLeftButton, true, x, y); break;
    case WM_LBUTTONUP: view_->PointerButton(kLeftButton, false, x, y); break;
    case WM_RBUTTONDOWN: view_->PointerButton(kRightButton, true, x, y); break;
    case WM_RBUTTONUP: view_->PointerButton(kRightButton, false, x, y); break;
    case WM_MBUTTONDOWN: view_->PointerButton(kMiddleButton, true, x, y); break;
    case WM_MBUTTONUP: view_->PointerButton(kMiddleButton, false, x, y); break;
    case WM_LBUTTONDBLCLK:
      view_->Pointer().DoubleClick(x, y);
      view_->Process();
      break;
    default: break;
  }
}

LRESULT XXSkin::HostMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT answer = 0;
  if (fullscreen_.Attached() && fullscreen_.Message(message, wparam, lparam, &answer))
    return answer;
  switch (message) {
    case WM_SIZE: OnSize(static_cast<UINT>(wparam), LOWORD(lparam), HIWORD(lparam)); break;
    case WM_ERASEBKGND: return 0;
    case WM_PAINT:
      if (!view_) break;
      Paint(window);
      return 0;
    case WM_MOUSELEAVE:
      if (view_) view_->PointerLeave();
      break;
    case WM_MOUSEWHEEL:
      if (view_) {
        POINT point{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
        ScreenToClient(window, &point);
        view_->Pointer().Wheel(static_cast<short>(HIWORD(wparam)), LOWORD(wparam), MirrorX(point.x),
                               point.y);
      }
      break;
    case WM_GETDLGCODE:
      // The message loop's IsDialogMessageW would take the arrow keys for dialog navigation
      // unless the window asks for them: a list box with the focus answers them itself.
      if (view_ && dynamic_cast<XListBox*>(view_->Pointer().Focus()) != nullptr)
        return CallWindowProcW(previousProc_, window, message, wparam, lparam) | DLGC_WANTARROWS;
      break;
    case WM_KEYDOWN:
      if (view_)
        view_->Pointer().KeyDown(static_cast<int>(wparam), HIWORD(lparam),
                                 static_cast<int>(lparam) < 0 ? 1 : 0);
      break;
    case WM_NCCALCSIZE:
      if (options_.host.customFrame && wparam != 0) return 0;
      break;
    case WM_NCACTIVATE:
      if (dropDowns_.KeepCaptionActive(wparam)) return TRUE;
      if (options_.host.customFrame && !CompositionEnabled()) return TRUE;
      break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      RouteMouse(message, static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam)));
      break;
    case WM_NCHITTEST: {
      if (document_ == nullptr || document_->Root() == nullptr) break;
      POINT point{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      ScreenToClient(window, &point);
      int code = document_->Root()->OnNcHitTest(MirrorX(point.x), point.y);
      if (code != 0) return code;
      break;
    }
    default: break;
  }
  return CallWindowProcW(previousProc_, window, message, wparam, lparam);
}

LRESULT CALLBACK XXSkin::HostProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* skin = static_cast<XXSkin*>(GetPropW(window, kHostProperty));
  if (skin == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  WNDPROC previous = skin->previousProc_;
  if (message == WM_NCDESTROY) {
    skin->Unsubclass();
    return CallWindowProcW(previous, window, message, wparam, lparam);
  }
  return skin->HostMessage(window, message, wparam, lparam);
}

LRESULT CALLBACK XXSkin::MessageProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* skin = static_cast<XXSkin*>(GetPropW(window, kSkinProperty));
  if (message == WM_DESTROY) {
    RemovePropW(window, kSkinProperty);
    if (skin != nullptr) skin->messageWindow_ = nullptr;
    return 0;
  }
  if (skin != nullptr && message == WM_TIMER) {
    if (wparam == kPopupTimer) skin->PollPopupMenu();
    if (wparam == kTooltipDelayTimer || wparam == kTooltipHideTimer)
      skin->OnTooltipTimer(static_cast<int>(wparam));
    if (wparam >= kScriptTimerBase && skin->scripts_)
      skin->scripts_->OnScriptTimer(static_cast<int>(wparam - kScriptTimerBase));
    return 0;  // timer 5's noise is drawn by the painter
  }
  if (skin != nullptr && message == MsgInvalidateAlign()) {
    skin->RunPendingLayout();
    return 0;
  }
  if (skin != nullptr && skin->view_ && message == MsgInvalidate()) {
    skin->view_->Process();
    return 0;
  }
  if (skin != nullptr && message == MsgNextPopupMenu()) {
    skin->OpenNextPopupMenu();
    return 0;
  }
  if (skin != nullptr && skin->view_ && message == MsgProcessCommand()) {
    skin->view_->ProcessCommands();
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace qorin
