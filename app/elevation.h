// Elevation and the relaunch from a temporary copy.
#pragma once

#include <windows.h>

#include <string>

namespace qorin {

constexpr wchar_t kTempCopySuffix[] = L"~qorin~temp~.exe";

// True when the token reports elevation, and also when it cannot be asked: then no relaunch is
// tried.
bool IsElevated2();
// ShellExecuteExW with the verb; the caller reads GetLastError when it fails.
bool RunElevated(const wchar_t* verb, const wchar_t* file, const wchar_t* parameters);

std::wstring ModulePath();
// Whether a module path names the temporary copy (any letter case).
bool IsTempCopyPath(std::wstring path);
bool IsRunningAsTempCopy();
// Copies the module to the temporary folder as nameEng + kTempCopySuffix and starts the copy
// with the command line. The copy is never deleted by the stub.
bool RelaunchInTemp(const std::wstring& nameEng, const std::wstring& commandLine);

}  // namespace qorin
