// The installer system on Windows: message boxes, the script console window, the UI language,
// environment and registry through the Win32 API; files through the base layer's file access.
#pragma once

#include "installer_system.h"

namespace qorin {

class XDialogsWin32 final : public IXDialogs {
 public:
  void ShowMessageBox(std::u16string_view text, std::u16string_view caption,
                      unsigned style) override;
};

class XConsoleWin32 final : public IXConsole {
 public:
  void ScriptConsoleLog(std::u16string_view text) override;
};

class XEnvironmentWin32 final : public IXEnvironment {
 public:
  uint16_t UserDefaultUILanguage() override;
  std::u16string GetEnvironment(std::u16string_view name) override;
  std::u16string ProgramFilesDir() override;
};

// The process's system, as the installer window holds it.
struct XInstallerSystemWin32 {
  XDialogsWin32 dialogs;
  XConsoleWin32 console;
  XEnvironmentWin32 environment;
  XInstallerSystem Bundle() { return {dialogs, console, environment, SystemFileAccess()}; }
};

// Console kind of the installer's own lines.
constexpr unsigned long kConsoleKindInstaller = 1;

}  // namespace qorin
