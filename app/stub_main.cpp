// Process entry of the installer stub.
#include <windows.h>

#include <clocale>
#include <cstdlib>

#include "process_entry.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  std::setlocale(LC_ALL, "");
  qorin::ReadScreenDpi();
  qorin::XWin32StartupHost host;
  return qorin::RunStartup(host, commandLine != nullptr ? commandLine : L"");
}

// libstdc++'s default terminate handler prints an uncaught exception's demangled type on
// stderr, which a windowed stub does not have; defining it here keeps its demangler (some
// 48 KiB) out of the stub. An uncaught exception still ends the process.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
  std::abort();
}
}  // namespace __gnu_cxx
