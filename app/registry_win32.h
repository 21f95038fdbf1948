// The registry through advapi32: keys opened (or created) with the access the installer's
// functions need, reads falling back to the 64-bit view, recursive deletion.
#pragma once

#include "registry.h"

namespace qorin {

class XRegistryWin32 final : public IXRegistry {
 public:
  std::u16string ReadText(const XRegistryPath& path, bool view64) override;
  int32_t ReadInt(const XRegistryPath& path, bool view64) override;
  bool WriteText(const XRegistryPath& path, std::u16string_view text, bool view64) override;
  bool WriteInt(const XRegistryPath& path, int32_t value, bool view64) override;
  bool DeleteKey(const XRegistryPath& path, bool view64) override;
};

}  // namespace qorin
