// Programs, top-level windows and mutexes through the Win32 API.
#pragma once

#include <windows.h>

#include "system_calls.h"

namespace qorin {

class XProcessesWin32 final : public IXProcesses {
 public:
  std::optional<uint32_t> RunAndWait(const std::u16string& commandLine) override;
  bool ShellOpen(const std::u16string& file, const std::u16string& parameters) override;
  bool CreateShortcut(const XShortcut& shortcut) override;
  uintptr_t FindTopWindow(const std::u16string& windowClass) override;
  void AskToClose(uintptr_t window) override;
  void Sleep(uint32_t ms) override;
  uint32_t Ticks() override;
  bool MutexExists(const std::u16string& name) override;
};

}  // namespace qorin
