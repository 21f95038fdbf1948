// Process entry of the installer stub.
#include <windows.h>

#include <clocale>

#include "process_entry.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  std::setlocale(LC_ALL, "");
  qorin::ReadScreenDpi();
  qorin::XWin32StartupHost host;
  return qorin::RunStartup(host, commandLine != nullptr ? commandLine : L"");
}
