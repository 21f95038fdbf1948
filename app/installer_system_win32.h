// The installer system on Windows: message boxes, the script console window, the UI language,
// environment and registry through the Win32 API; files through the base layer's file access.
#pragma once

#include "installer_system.h"
#include "message_box_win32.h"

namespace qorin {

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
// Its message boxes are owned by the installer's window once it exists (SetOwner).
struct XInstallerSystemWin32 {
  XMessageBoxWin32 messageBox;
  XConsoleWin32 console;
  XEnvironmentWin32 environment;
  XInstallerSystem Bundle() { return {messageBox, console, environment, SystemFileAccess()}; }
};

// Console kind of the installer's own lines.
constexpr unsigned long kConsoleKindInstaller = 1;

}  // namespace qorin
