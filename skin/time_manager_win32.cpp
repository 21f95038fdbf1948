#include "time_manager_win32.h"

namespace qorin {
namespace {

constexpr wchar_t kClass[] = L"XSKIN_TIMEMAN_CLASS";
constexpr wchar_t kTitle[] = L"XSKIN_TIMEMAN_NAME";
constexpr wchar_t kProperty[] = L"XSKIN_TIMEMAN_PROP";

}  // namespace

XTimeManager::~XTimeManager() {
  if (window_ == nullptr) return;
  RemovePropW(window_, kProperty);
  DestroyWindow(window_);
}

bool XTimeManager::Create() {
  if (window_ != nullptr) return true;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = Proc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kClass;
  if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  window_ = CreateWindowExW(0, kClass, kTitle, WS_POPUP, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            instance, nullptr);
  return window_ != nullptr && SetPropW(window_, kProperty, this);
}

bool XTimeManager::Set(UINT_PTR id, UINT milliseconds) {
  return Create() && SetTimer(window_, id, milliseconds, nullptr) != 0;
}

void XTimeManager::Kill(UINT_PTR id) {
  if (window_ != nullptr) KillTimer(window_, id);
}

LRESULT CALLBACK XTimeManager::Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TIMER) {
    if (auto* owner = static_cast<XTimeManager*>(GetPropW(window, kProperty)))
      owner->onTimer_(wparam);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace qorin
