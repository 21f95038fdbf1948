// The installer system on Windows: message boxes, the script console window, the UI language,
// environment, registry and files through the Win32 API.
#pragma once

#include "installer_system.h"

namespace qorin {

class XInstallerSystemWin32 final : public IXInstallerSystem {
 public:
  void ShowMessageBox(std::u16string_view text, std::u16string_view caption,
                      unsigned style) override;
  void ScriptConsoleLog(std::u16string_view text) override;
  uint16_t UserDefaultUILanguage() override;
  std::u16string GetEnvironment(std::u16string_view name) override;
  std::u16string ProgramFilesDir() override;
  std::vector<std::u16string> ListFiles(const std::u16string& folder,
                                        std::u16string_view pattern) override;
  bool FileExists(const std::u16string& path) override;
  std::u16string FullPathName(const std::u16string& path) override;
};

// Console kind of the installer's own lines.
constexpr unsigned long kConsoleKindInstaller = 1;

}  // namespace qorin
