#include "process_entry.h"

#include <objbase.h>
#include <windows.h>

#include "debug_log.h"
#include "display_dpi.h"
#include "elevation.h"
#include "main_wnd.h"

namespace qorin {

void ReadScreenDpi() {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return;
  SetDisplayDpi(GetDeviceCaps(screen, LOGPIXELSX));
  ReleaseDC(nullptr, screen);
}

int RunStartup(IXStartupHost& host, const std::wstring& commandLine) {
  if (!host.InitialiseCom()) return kExitCoInitializeFailed;
  SetErrorMode(SEM_FAILCRITICALERRORS);
  DebugLog(L"pelra-start");
  int exitCode = 0;
  if (host.IsElevated()) {
    DebugLog(L"pelra-(IsElevated2() == TRUE )");
    exitCode = host.RunInstaller(commandLine);
  } else {
    DebugLog(L"pelra-(IsElevated2() == FALSE )");
    unsigned long error = 0;
    if (!host.RunElevated(commandLine, &error)) {
      DebugLog(L"pelra-(RunElevated() == FALSE ), err=%u", static_cast<unsigned>(error));
      exitCode = host.RunInstaller(commandLine);
    }
  }
  host.UninitialiseCom();
  DebugLog(L"pelra exit : %d", exitCode);
  return exitCode;
}

bool XWin32StartupHost::InitialiseCom() {
  return SUCCEEDED(CoInitialize(nullptr));
}
void XWin32StartupHost::UninitialiseCom() {
  CoUninitialize();
}
bool XWin32StartupHost::IsElevated() {
  return IsElevated2();
}

bool XWin32StartupHost::RunElevated(const std::wstring& commandLine, unsigned long* error) {
  if (qorin::RunElevated(L"runas", ModulePath().c_str(), commandLine.c_str())) return true;
  *error = GetLastError();
  return false;
}

int XWin32StartupHost::RunInstaller(const std::wstring& commandLine) {
  CMainWnd window(commandLine);
  if (!window.Initialise()) return kExitInitialiseFailed;
  if (window.Handle() != nullptr) window.RunMessageLoop();
  return window.ExitCode();
}

}  // namespace qorin
