// Process entry of the installer stub.
#include <windows.h>

#include "debug_log.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  DebugLog(L"pelra-start");
  return 0;
}
