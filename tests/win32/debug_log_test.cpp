// DebugLog as a receiver sees it: one WM_COPYDATA per line to the "XRecv" dialog window.
#include "debug_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Received {
  ULONG_PTR channel;
  DWORD bytes;
  std::wstring text;
};

std::vector<Received> g_received;

LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COPYDATA) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
    const auto* text = static_cast<const wchar_t*>(data->lpData);
    g_received.push_back({data->dwData, data->cbData, std::wstring(text, data->cbData / 2)});
    return TRUE;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

// A window of the dialog class titled "XRecv", in this process: SendMessageW from the same
// thread calls its procedure directly.
class ReceiverWindow {
 public:
  ReceiverWindow() {
    window_ = CreateWindowExW(0, L"#32770", L"XRecv", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ReceiverProc));
    g_received.clear();
  }
  ~ReceiverWindow() { DestroyWindow(window_); }
  bool ok() const { return window_ != nullptr; }

 private:
  HWND window_;
};

TEST(DebugLog, SendsFormattedTextWithTerminatingZero) {
  ReceiverWindow receiver;
  ASSERT_TRUE(receiver.ok());
  DebugLog(L"pelra exit : %d", 7);
  DebugLog(L"@@rExecWait('%s', '%s')==FALSE, %dms", L"a.exe", L"/x", 12);
  ASSERT_EQ(g_received.size(), 2u);
  EXPECT_EQ(g_received[0].channel, 1u);
  EXPECT_EQ(g_received[0].text, std::wstring(L"pelra exit : 7") + L'\0');
  EXPECT_EQ(g_received[0].bytes, (14u + 1) * 2);
  EXPECT_EQ(g_received[1].text, std::wstring(L"@@rExecWait('a.exe', '/x')==FALSE, 12ms") + L'\0');
}

TEST(DebugLog, LongTextIsCutAt4096Characters) {
  ReceiverWindow receiver;
  std::wstring longText(5000, L'x');
  DebugLog(L"%s", longText.c_str());
  ASSERT_EQ(g_received.size(), 1u);
  EXPECT_EQ(g_received[0].bytes, (4096u + 1) * 2);
  EXPECT_EQ(g_received[0].text, std::wstring(4096, L'x') + L'\0');
}

TEST(DebugLog, WithoutReceiverNothingIsSent) {
  g_received.clear();
  DebugLog(L"nobody listens");
  EXPECT_TRUE(g_received.empty());
}

}  // namespace
