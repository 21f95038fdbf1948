#include "installer_system_win32.h"

#include <windows.h>

#include "debug_log.h"

namespace qorin {
namespace {

std::wstring Wide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}
std::u16string Narrow16(std::wstring_view text) {
  return std::u16string(text.begin(), text.end());
}

}  // namespace

void XInstallerSystemWin32::ShowMessageBox(std::u16string_view text, std::u16string_view caption,
                                           unsigned style) {
  MessageBoxW(nullptr, Wide(text).c_str(), Wide(caption).c_str(), style);
}

void XInstallerSystemWin32::ScriptConsoleLog(std::u16string_view text) {
  std::wstring line = Wide(text.substr(0, kDebugLogMaxChars));
  SendCopyDataText(L"XScriptDebugConsole", kConsoleKindInstaller, line.c_str());
}

uint16_t XInstallerSystemWin32::UserDefaultUILanguage() {
  return GetUserDefaultUILanguage();
}

std::u16string XInstallerSystemWin32::GetEnvironment(std::u16string_view name) {
  std::wstring key = Wide(name);
  DWORD size = GetEnvironmentVariableW(key.c_str(), nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  value.resize(GetEnvironmentVariableW(key.c_str(), value.data(), size));
  return Narrow16(value);
}

std::u16string XInstallerSystemWin32::ProgramFilesDir() {
  wchar_t value[MAX_PATH] = {};
  DWORD size = sizeof value;
  LONG result = RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion",
                             L"ProgramFilesDir", RRF_RT_REG_SZ, nullptr, value, &size);
  return result == ERROR_SUCCESS && value[0] != 0 ? Narrow16(value) : u"C:\\Program Files";
}

std::vector<std::u16string> XInstallerSystemWin32::ListFiles(const std::u16string& folder,
                                                             std::u16string_view pattern) {
  std::wstring search = Wide(folder);
  if (!search.empty() && search.back() != L'\\') search += L'\\';
  search += Wide(pattern);
  std::vector<std::u16string> names;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(search.c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
      names.push_back(Narrow16(found.cFileName));
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return names;
}

bool XInstallerSystemWin32::FileExists(const std::u16string& path) {
  DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::u16string XInstallerSystemWin32::FullPathName(const std::u16string& path) {
  std::wstring relative = Wide(path);
  DWORD size = GetFullPathNameW(relative.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  full.resize(GetFullPathNameW(relative.c_str(), size, full.data(), nullptr));
  return Narrow16(full);
}

}  // namespace qorin
