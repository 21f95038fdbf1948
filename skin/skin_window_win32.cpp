#include "skin_window_win32.h"

#include <shellapi.h>

#include <string>

#include "copy_data_win32.h"
#include "display_dpi.h"
#include "gdi_text_measure_win32.h"
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

XXSkin::XXSkin() = default;

XXSkin::~XXSkin() {
  Unsubclass();
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
  int dpi = DisplayDpi();
  document_->SetDpi(dpi);
  measure_ = std::make_unique<XGdiTextMeasure>(dpi);
  document_->SetTextMeasure(measure_.get());
  for (const auto& [name, number] : options_.ids) document_->Ids().Add(name, number);
  XSkinError& error = document_->Errors();
  if (!controlIdFile.empty() && !document_->LoadIdFile(controlIdFile)) return false;
  if (!Subclass()) return error.Set(XSKIN_ERR_INTERNAL, u"subclass");
  if (options_.host.customFrame) ApplyCustomFrame();
  if (options_.host.extendFrame) ExtendFrame(host_);
  if (!CreateMessageWindow()) return error.Set(XSKIN_ERR_INTERNAL, u"XSKIN_CLASS");
  scripts_ = std::make_unique<XSkinScripts>(*document_, *this, options_.callback);
  if (!document_->Load(skinFileName)) return false;
  const XSkinHead& head = document_->Head();
  if (head.hasWindowSize) {
    SetWindowPos(host_, nullptr, 0, 0, head.width, head.height,
                 SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  if (!scripts_->LoadScripts()) return false;
  if (!options_.host.keepArchiveOpen) resources_.ReleaseArchive();
  if (options_.callback != nullptr && !options_.callback->OnLoaded())
    return error.Set(XSKIN_ERR_SCRIPT_CALLER);
  scripts_->RunEvent(SKINEVENT_ONINIT, true);
  loaded_ = true;
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

// The layout runs only when the client size really changed.
void XXSkin::OnSize(UINT kind, int width, int height) {
  if (!loaded_ || document_ == nullptr || document_->Root() == nullptr) return;
  if (kind == SIZE_MINIMIZED) width = height = 0;
  if (width == lastSize_.cx && height == lastSize_.cy) return;
  lastSize_ = {width, height};
  document_->Root()->SetRect({0, 0, width, height});
  document_->Layout().LayoutAll(width, height);
  ++layoutRuns_;
  scripts_->RunEvent(SKINEVENT_ONGUIINIT, true);
  scripts_->RunEvent(SKINEVENT_ONSIZE);
  if (!options_.log) return;
  std::wstring line = L"skin layout " + std::to_wstring(width) + L"x" + std::to_wstring(height);
  if (!document_->Root()->children.empty()) {
    const AControlBase* first = document_->Root()->children.front();
    const XRect& r = first->layout->placed;
    line += L", " + Wide(first->name) + L"=" + std::to_wstring(r.left) + L"," +
            std::to_wstring(r.top) + L"," + std::to_wstring(r.right) + L"," +
            std::to_wstring(r.bottom);
  }
  options_.log(line);
}

void XXSkin::RunPendingLayout() {
  if (document_ == nullptr || document_->Root() == nullptr) return;
  document_->Layout().LayoutIn(document_->Root()->rect);
  document_->TakePendingLayout();  // repainting them comes with the painter
}

void XXSkin::ShowMessage(std::u16string_view text, std::u16string_view caption) {
  ::MessageBoxW(host_, Wide(text).c_str(), Wide(caption).c_str(), MB_OK);
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
  if (document_ == nullptr || document_->Root() == nullptr) return;
  AControlBase* control = document_->Root()->ControlAt(x, y);
  if (control == nullptr) return;
  switch (message) {
    case WM_MOUSEMOVE: control->OnMouseMove(x, y); break;
    case WM_LBUTTONDOWN: control->OnLButtonDown(x, y); break;
    case WM_LBUTTONUP: control->OnLButtonUp(x, y); break;
    case WM_LBUTTONDBLCLK: control->OnLButtonDblClk(x, y); break;
    case WM_RBUTTONDOWN: control->OnRButtonDown(x, y); break;
    case WM_RBUTTONUP: control->OnRButtonUp(x, y); break;
    default: break;
  }
}

LRESULT XXSkin::HostMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE: OnSize(static_cast<UINT>(wparam), LOWORD(lparam), HIWORD(lparam)); break;
    case WM_ERASEBKGND: return 0;
    case WM_PAINT: {
      // Until the painter draws the controls, the window shows the dialog colour.
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      FillRect(dc, &paint.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
      EndPaint(window, &paint);
      return 0;
    }
    case WM_NCCALCSIZE:
      if (options_.host.customFrame && wparam != 0) return 0;
      break;
    case WM_NCACTIVATE:
      if (options_.host.customFrame && !CompositionEnabled()) return TRUE;
      break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      RouteMouse(message, static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam)));
      break;
    case WM_NCHITTEST: {
      if (document_ == nullptr || document_->Root() == nullptr) break;
      POINT point{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      ScreenToClient(window, &point);
      int code = document_->Root()->OnNcHitTest(point.x, point.y);
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
    if (wparam >= kScriptTimerBase && skin->scripts_)
      skin->scripts_->OnScriptTimer(static_cast<int>(wparam - kScriptTimerBase));
    return 0;  // timer 5's noise is drawn by the painter
  }
  if (skin != nullptr && message == MsgInvalidateAlign()) {
    skin->RunPendingLayout();
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace qorin
