#include "elevation.h"

#include <shellapi.h>

#include <cwctype>

namespace qorin {

bool IsElevated2() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return true;
  DWORD elevation = 0;
  DWORD size = sizeof elevation;
  BOOL asked = GetTokenInformation(token, TokenElevation, &elevation, size, &size);
  CloseHandle(token);
  return !asked || elevation != 0;
}

bool RunElevated(const wchar_t* verb, const wchar_t* file, const wchar_t* parameters) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;  // 60 bytes in a 32-bit process
  info.lpVerb = verb;
  info.lpFile = file;
  info.lpParameters = parameters;
  info.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&info) != FALSE;
}

std::wstring ModulePath() {
  wchar_t path[1040] = {};
  GetModuleFileNameW(nullptr, path, 1040);
  return path;
}

bool IsTempCopyPath(std::wstring path) {
  for (wchar_t& c : path) c = static_cast<wchar_t>(std::towlower(c));
  return path.find(kTempCopySuffix) != std::wstring::npos;
}

bool IsRunningAsTempCopy() {
  return IsTempCopyPath(ModulePath());
}

bool RelaunchInTemp(const std::wstring& nameEng, const std::wstring& commandLine) {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);  // ends in a backslash
  std::wstring copy = std::wstring(temp) + nameEng + kTempCopySuffix;
  if (!CopyFileW(ModulePath().c_str(), copy.c_str(), FALSE)) return false;
  HINSTANCE started =
      ShellExecuteW(nullptr, L"open", copy.c_str(), commandLine.c_str(), nullptr, SW_SHOW);
  return reinterpret_cast<INT_PTR>(started) > 32;
}

}  // namespace qorin
