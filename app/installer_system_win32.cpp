#include "installer_system_win32.h"

#include <windows.h>

#include "debug_log.h"
#include "wide_text_win32.h"

namespace qorin {

void XConsoleWin32::ScriptConsoleLog(std::u16string_view text) {
  std::wstring line = Wide(text.substr(0, kDebugLogMaxChars));
  SendCopyDataText(L"XScriptDebugConsole", kConsoleKindInstaller, line.c_str());
}

uint16_t XEnvironmentWin32::UserDefaultUILanguage() {
  return GetUserDefaultUILanguage();
}

std::u16string XEnvironmentWin32::GetEnvironment(std::u16string_view name) {
  std::wstring key = Wide(name);
  DWORD size = GetEnvironmentVariableW(key.c_str(), nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  value.resize(GetEnvironmentVariableW(key.c_str(), value.data(), size));
  return FromWide(value);
}

std::u16string XEnvironmentWin32::ProgramFilesDir() {
  wchar_t value[MAX_PATH] = {};
  DWORD size = sizeof value;
  LONG result = RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion",
                             L"ProgramFilesDir", RRF_RT_REG_SZ, nullptr, value, &size);
  return result == ERROR_SUCCESS && value[0] != 0 ? FromWide(value) : u"C:\\Program Files";
}

}  // namespace qorin
