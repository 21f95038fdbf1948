// Developer log of the installer. Each line goes by WM_COPYDATA (dwData 1, UTF-16 text with its
// terminating zero) to a window of class "#32770" titled "XRecv", an external developer tool.
// Without that window a call costs only the window search. Failure lines begin with "@@r".
#pragma once

#include <windows.h>

#include "copy_data_win32.h"

constexpr ULONG_PTR kDebugLogChannel = 1;
constexpr int kDebugLogMaxChars = 4096;

// Formats with the wide printf rules of the C runtime (%s takes a wide string).
void DebugLog(const wchar_t* format, ...);
