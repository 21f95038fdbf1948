// The registry as the installer's scripts name it: "HKLM/SOFTWARE/Vendor/Value" (any "/" or
// "\"), a root of exact case (HKLM, HKCR, HKCU or their long names), the key, the value name (""
// for the key's default value). The functions with "64" address the 64-bit view.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qorin {

enum class XRegistryRoot { kLocalMachine, kClassesRoot, kCurrentUser };

struct XRegistryPath {
  XRegistryRoot root = XRegistryRoot::kLocalMachine;
  std::u16string key;
  std::u16string value;  // value functions only
};

// The key between the first and the last "\", the value after the last; nothing for another
// root or a path without "\".
std::optional<XRegistryPath> ParseRegistryValuePath(std::u16string_view text);
// The key is everything after the first "\" (a final "\" may stay).
std::optional<XRegistryPath> ParseRegistryKeyPath(std::u16string_view text);

// Keys no uninstaller means to delete: a root, a key right under one ("HKLM/SOFTWARE", or
// "HKLM/SOFTWARE/" + an empty name), and the shared keys below SOFTWARE (Microsoft, Classes,
// Policies, WOW6432Node and the same three below WOW6432Node).
bool IsSharedRegistryKey(const XRegistryPath& path);

// Reads, writes and deletes with the Win32 registry functions (registry_win32.cpp); tests fake it.
class IXRegistry {
 public:
  virtual ~IXRegistry() = default;
  // REG_SZ, REG_EXPAND_SZ (unexpanded) or the first string of REG_MULTI_SZ; "" otherwise.
  virtual std::u16string ReadText(const XRegistryPath& path, bool view64) = 0;
  // The value read into 4 bytes as a signed integer; 0 when missing or longer.
  virtual int32_t ReadInt(const XRegistryPath& path, bool view64) = 0;
  virtual bool WriteText(const XRegistryPath& path, std::u16string_view text, bool view64) = 0;
  virtual bool WriteInt(const XRegistryPath& path, int32_t value, bool view64) = 0;
  // The key with all its subkeys; true when the key itself was deleted.
  virtual bool DeleteKey(const XRegistryPath& path, bool view64) = 0;
};

}  // namespace qorin
