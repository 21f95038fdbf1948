// xrecv: stands in for the developer tools that receive the installer's logs. It creates two
// hidden dialog windows (class "#32770") titled "XRecv" and "XScriptDebugConsole" and appends
// every WM_COPYDATA text they receive to the log file, one line each (see observe_format.h).
//
//   xrecv --log FILE --ready FILE --stop FILE [--timeout MS]
//
// The ready file is written once both windows exist; the program ends when the stop file
// appears or the timeout (default 120 s) passes.
#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "helper_win.h"
#include "observe_format.h"

namespace {

using qorin::helpers::LineWriter;

LineWriter* g_log = nullptr;

// An in-memory dialog template with no controls: the window gets the dialog class "#32770".
std::vector<WORD> DialogTemplate(const wchar_t* title) {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
  dialog->style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  dialog->cx = 200;
  dialog->cy = 60;
  words.push_back(0);  // no menu
  words.push_back(0);  // the standard dialog class
  for (const wchar_t* c = title; *c != 0; ++c) words.push_back(static_cast<WORD>(*c));
  words.push_back(0);
  return words;
}

std::string WindowTitle(HWND window) {
  wchar_t title[256] = {};
  GetWindowTextW(window, title, 256);
  return qorin::helpers::ToUtf8(title);
}

void Record(HWND window, const COPYDATASTRUCT& data) {
  size_t chars = data.cbData / sizeof(wchar_t);
  const auto* text = static_cast<const wchar_t*>(data.lpData);
  // The text is the sender's up to its terminating zero; without one, all of cbData.
  size_t length = text == nullptr ? 0 : wcsnlen(text, chars);
  g_log->Write(qorin::observe::JoinFields({
      WindowTitle(window),
      std::to_string(data.dwData),
      std::to_string(data.cbData),
      qorin::helpers::ToUtf8(std::wstring_view(text == nullptr ? L"" : text, length)),
  }));
}

INT_PTR CALLBACK ReceiverProc(HWND window, UINT message, WPARAM, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COPYDATA:
      Record(window, *reinterpret_cast<const COPYDATASTRUCT*>(lparam));
      SetWindowLongPtrW(window, DWLP_MSGRESULT, TRUE);
      return TRUE;
    default: return FALSE;
  }
}

HWND CreateReceiver(const wchar_t* title) {
  std::vector<WORD> words = DialogTemplate(title);
  return CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                    reinterpret_cast<DLGTEMPLATE*>(words.data()), nullptr,
                                    ReceiverProc, 0);
}

}  // namespace

int wmain() {
  using namespace qorin::helpers;
  std::wstring logPath = Option(L"log");
  if (logPath.empty()) return 2;
  LineWriter log(logPath);
  if (!log.ok()) return 1;
  g_log = &log;

  HWND devLog = CreateReceiver(L"XRecv");
  HWND console = CreateReceiver(L"XScriptDebugConsole");
  if (devLog == nullptr || console == nullptr) return 1;

  std::wstring ready = Option(L"ready");
  if (!ready.empty()) WriteWholeFile(ready, "ready\n");

  StopCondition stop(Option(L"stop"),
                     std::wcstoul(Option(L"timeout", L"120000").c_str(), nullptr, 10));
  SetTimer(nullptr, 0, 50, nullptr);
  MSG message;
  while (!stop.Reached() && GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  DestroyWindow(devLog);
  DestroyWindow(console);
  return 0;
}
