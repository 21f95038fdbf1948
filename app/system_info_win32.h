// What the system is, asked of Windows once per process: the version through RtlGetVersion,
// the native machine through IsWow64Process2 or GetNativeSystemInfo (all looked up at run time,
// so the stub starts on systems without them), the token's groups, the Windows folder.
#pragma once

#include "system_calls.h"

namespace qorin {

class XSystemInfoWin32 final : public IXSystemInfo {
 public:
  std::optional<XOsVersion> OsVersion() override;
  std::optional<uint16_t> NativeMachine() override;
  std::optional<uint16_t> NativeArchitecture() override;
  std::optional<unsigned> AccountGroups() override;
  std::u16string WindowsFolder() override;
};

}  // namespace qorin
