#include "copy_data_win32.h"

#include <cwchar>

void SendCopyDataText(const wchar_t* receiverTitle, ULONG_PTR channel, const wchar_t* text) {
  HWND receiver = FindWindowW(L"#32770", receiverTitle);
  if (receiver == nullptr) return;
  COPYDATASTRUCT data{};
  data.dwData = channel;
  data.cbData = static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t));
  data.lpData = const_cast<wchar_t*>(text);
  SendMessageW(receiver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}
