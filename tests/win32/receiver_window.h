// A log receiver window inside the test process: a "#32770" window titled "XRecv" (or any
// title) whose WM_COPYDATA texts are kept. SendMessageW from the same thread calls its
// procedure directly, so what was sent is there as soon as the call returns.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qorin::test {

struct Received {
  ULONG_PTR channel;
  DWORD bytes;
  std::wstring text;  // cbData / 2 characters, the terminating zero included
};

class ReceiverWindow {
 public:
  explicit ReceiverWindow(const wchar_t* title = L"XRecv") {
    window_ = CreateWindowExW(0, L"#32770", title, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc));
  }
  ~ReceiverWindow() { DestroyWindow(window_); }
  ReceiverWindow(const ReceiverWindow&) = delete;
  ReceiverWindow& operator=(const ReceiverWindow&) = delete;

  bool ok() const { return window_ != nullptr; }
  std::vector<Received> received;

  // The texts without their terminating zeros.
  std::vector<std::wstring> Texts() const {
    std::vector<std::wstring> texts;
    for (const Received& r : received) texts.push_back(r.text.substr(0, r.text.find(L'\0')));
    return texts;
  }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_COPYDATA) {
      auto* self = reinterpret_cast<ReceiverWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
      const auto* text = static_cast<const wchar_t*>(data->lpData);
      self->received.push_back({data->dwData, data->cbData, std::wstring(text, data->cbData / 2)});
      return TRUE;
    }
    return DefWindowProcW(window, message, wparam, lparam);
  }
  HWND window_;
};

}  // namespace qorin::test
