// What the portable installer logic asks of the system, as a few narrow interfaces. The stub
// implements them with the Win32 API (app/installer_system_win32.cpp), the qorin tool on the
// console (tools/cli), tests with fakes. Each piece of logic takes only the ones it uses; the
// XInstallerSystem bundle carries them together where one object needs several.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "file_access.h"
#include "message_box.h"

namespace qorin {

// The developer's view: lines for the script console window "XScriptDebugConsole".
class IXConsole {
 public:
  virtual ~IXConsole() = default;
  virtual void ScriptConsoleLog(std::u16string_view text) = 0;
};

// The user's settings and the process environment.
class IXEnvironment {
 public:
  virtual ~IXEnvironment() = default;
  virtual uint16_t UserDefaultUILanguage() = 0;
  virtual std::u16string GetEnvironment(std::u16string_view name) = 0;
  // HKLM\Software\Microsoft\Windows\CurrentVersion ProgramFilesDir, "C:\Program Files" if absent.
  virtual std::u16string ProgramFilesDir() = 0;
};

struct XInstallerSystem {
  IXMessageBox& messageBox;
  IXConsole& console;
  IXEnvironment& environment;
  IXFileAccess& files;
};

}  // namespace qorin
