// A stand-in for a vendor's product, for the installer's process natives:
//   fake_product --exit N                 ends with exit code N
//   fake_product --window CLASS           shows a top-level window of the class until closed
//   fake_product --window CLASS --stubborn   the same window, refusing WM_CLOSE
// A window gives up after 60 s, so that a failed test leaves nothing running.
#include <windows.h>

#include <string>

#include "helper_win.h"

namespace {

bool stubborn = false;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CLOSE && stubborn) return 0;
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wparam, lparam);
}

int ShowWindowOfClass(const std::wstring& name) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = name.c_str();
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, name.c_str(), L"Fake product", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                10, 10, 200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (window == nullptr) return 2;
  SetTimer(window, 1, 60000, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER) break;
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace

int wmain() {
  using qorin::helpers::Option;
  std::wstring exitCode = Option(L"exit", L"");
  if (!exitCode.empty()) return std::stoi(exitCode);
  stubborn = GetCommandLineW() != nullptr && wcsstr(GetCommandLineW(), L"--stubborn") != nullptr;
  return ShowWindowOfClass(Option(L"window", L"QorinFakeProduct"));
}
