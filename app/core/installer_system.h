// What the portable installer logic asks of the system. The stub implements it with the Win32
// API (app/win32/installer_system_win32.cpp); tests supply their own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qorin {

// Message box styles, with the Win32 values.
constexpr unsigned kBoxIconWarning = 0x30;    // MB_ICONWARNING
constexpr unsigned kBoxSystemModal = 0x1000;  // MB_SYSTEMMODAL

class IXInstallerSystem {
 public:
  virtual ~IXInstallerSystem() = default;
  virtual void ShowMessageBox(std::u16string_view text, std::u16string_view caption,
                              unsigned style) = 0;
  // A line for the script console window "XScriptDebugConsole".
  virtual void ScriptConsoleLog(std::u16string_view text) = 0;
  virtual uint16_t UserDefaultUILanguage() = 0;
  virtual std::u16string GetEnvironment(std::u16string_view name) = 0;
  // HKLM\Software\Microsoft\Windows\CurrentVersion ProgramFilesDir, "C:\Program Files" if absent.
  virtual std::u16string ProgramFilesDir() = 0;
  // Names (without folder) of the files in folder matching a pattern such as "*.ini".
  virtual std::vector<std::u16string> ListFiles(const std::u16string& folder,
                                                std::u16string_view pattern) = 0;
  virtual bool FileExists(const std::u16string& path) = 0;
  virtual std::u16string FullPathName(const std::u16string& path) = 0;
};

}  // namespace qorin
