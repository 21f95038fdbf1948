// Single file-system calls and shell links through the Win32 API.
#pragma once

#include <windows.h>

#include "system_calls.h"

namespace qorin {

class XFileOperationsWin32 final : public IXFileOperations {
 public:
  bool Delete(const std::u16string& path) override;
  bool Move(const std::u16string& from, const std::u16string& to) override;
  bool Copy(const std::u16string& from, const std::u16string& to) override;
  bool RemoveFolder(const std::u16string& path) override;
  bool CreateFolder(const std::u16string& path) override;
  std::optional<uint32_t> Attributes(const std::u16string& path) override;
  bool SetAttributes(const std::u16string& path, uint32_t attributes) override;
  std::vector<XFoundEntry> Find(const std::u16string& pattern) override;
  std::u16string TempFolder() override;
  std::u16string TempFileName(const std::u16string& folder, const std::u16string& prefix) override;
  std::u16string Canonicalize(const std::u16string& path) override;
  bool CreateShortcut(const XShortcut& shortcut) override;
  uint32_t LastError() override;
};

}  // namespace qorin
