#include "debug_log.h"

#include <cstdarg>
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

void DebugLog(const wchar_t* format, ...) {
  wchar_t text[kDebugLogMaxChars + 1] = {};
  va_list args;
  va_start(args, format);
  // The runtime's own _vsnwprintf, not the C99 one: its %s is a wide string, as the log
  // lines' format strings expect. It does not terminate a text that fills the buffer; the
  // zero-filled last character does.
  _vsnwprintf(text, kDebugLogMaxChars, format, args);
  va_end(args);
  SendCopyDataText(L"XRecv", kDebugLogChannel, text);
}
