#include "debug_log.h"

#include <cstdarg>
#include <cwchar>

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
