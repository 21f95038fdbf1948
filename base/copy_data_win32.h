// Text for the developer's receiver windows ("XRecv", "XScriptDebugConsole"): one WM_COPYDATA
// with the channel as dwData and the UTF-16 text with its terminating zero, sent to the top-level
// "#32770" window of that title when it exists. Without one, the text is dropped.
#pragma once

#include <windows.h>

void SendCopyDataText(const wchar_t* receiverTitle, ULONG_PTR channel, const wchar_t* text);
