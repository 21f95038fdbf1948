#include "registry_win32.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "wide_text_win32.h"

namespace qorin {
namespace {

constexpr REGSAM kWriteAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;  // 0x2001F

HKEY RootKey(XRegistryRoot root) {
  switch (root) {
    case XRegistryRoot::kClassesRoot: return HKEY_CLASSES_ROOT;
    case XRegistryRoot::kCurrentUser: return HKEY_CURRENT_USER;
    default: return HKEY_LOCAL_MACHINE;
  }
}

REGSAM View(bool view64) {
  return view64 ? KEY_WOW64_64KEY : 0;
}

// Opened, else created, with the access; reads then fall back to the 64-bit view.
HKEY OpenValueKey(const XRegistryPath& path, REGSAM access, bool view64, bool reading) {
  HKEY root = RootKey(path.root), key = nullptr;
  std::wstring name = Wide(path.key);
  access |= View(view64);
  if (RegOpenKeyExW(root, name.c_str(), 0, access, &key) == ERROR_SUCCESS) return key;
  if (RegCreateKeyExW(root, name.c_str(), 0, nullptr, 0, access, nullptr, &key, nullptr) ==
      ERROR_SUCCESS)
    return key;
  if (reading &&
      RegOpenKeyExW(root, name.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) == ERROR_SUCCESS)
    return key;
  return nullptr;
}

using DeleteKeyEx = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);

DeleteKeyEx FindDeleteKeyEx() {
  static const DeleteKeyEx found = reinterpret_cast<DeleteKeyEx>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"advapi32.dll"), "RegDeleteKeyExW")));
  return found;
}

// Subkeys first (index 0 again and again), then the key itself.
LONG DeleteTree(HKEY parent, const std::wstring& name, REGSAM view) {
  HKEY key = nullptr;
  LONG result = RegOpenKeyExW(parent, name.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | view, &key);
  if (result != ERROR_SUCCESS) return result;
  wchar_t child[261];
  for (;;) {
    DWORD length = 261;
    if (RegEnumKeyExW(key, 0, child, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    if (DeleteTree(key, child, view) != ERROR_SUCCESS) break;
  }
  RegCloseKey(key);
  DeleteKeyEx deleteEx = FindDeleteKeyEx();
  return deleteEx != nullptr ? deleteEx(parent, name.c_str(), view, 0)
                             : RegDeleteKeyW(parent, name.c_str());
}

}  // namespace

std::u16string XRegistryWin32::ReadText(const XRegistryPath& path, bool view64) {
  HKEY key = OpenValueKey(path, KEY_READ, view64, true);
  if (key == nullptr) return {};
  std::wstring value = Wide(path.value);
  DWORD type = 0, size = 0;
  std::u16string text;
  if (RegQueryValueExW(key, value.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      size != 0 && (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ)) {
    // The stored bytes need not end in a NUL nor be even in number: whole characters up to the
    // first NUL, never past what was read.
    std::vector<wchar_t> chars(size / 2 + 1, L'\0');
    DWORD read = static_cast<DWORD>(chars.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(chars.data()),
                         &read) == ERROR_SUCCESS) {
      std::wstring whole(chars.data(), std::min<size_t>(read / 2, chars.size()));
      text = FromWide(whole.substr(0, whole.find(L'\0')).c_str());
    }
  }
  RegCloseKey(key);
  return text;
}

int32_t XRegistryWin32::ReadInt(const XRegistryPath& path, bool view64) {
  HKEY key = OpenValueKey(path, KEY_READ, view64, true);
  if (key == nullptr) return 0;
  int32_t number = 0;
  DWORD size = sizeof number;
  if (RegQueryValueExW(key, Wide(path.value).c_str(), nullptr, nullptr,
                       reinterpret_cast<BYTE*>(&number), &size) != ERROR_SUCCESS)
    number = 0;
  RegCloseKey(key);
  return number;
}

bool XRegistryWin32::WriteText(const XRegistryPath& path, std::u16string_view text, bool view64) {
  HKEY key = OpenValueKey(path, kWriteAccess, view64, false);
  if (key == nullptr) return false;
  std::wstring data = Wide(text);
  bool ok = RegSetValueExW(key, Wide(path.value).c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(data.c_str()),
                           static_cast<DWORD>(data.size() * 2)) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok;
}

bool XRegistryWin32::WriteInt(const XRegistryPath& path, int32_t value, bool view64) {
  HKEY key = OpenValueKey(path, kWriteAccess, view64, false);
  if (key == nullptr) return false;
  DWORD data = static_cast<DWORD>(value);
  bool ok = RegSetValueExW(key, Wide(path.value).c_str(), 0, REG_DWORD,
                           reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok;
}

bool XRegistryWin32::DeleteKey(const XRegistryPath& path, bool view64) {
  return DeleteTree(RootKey(path.root), Wide(path.key), View(view64)) == ERROR_SUCCESS;
}

}  // namespace qorin
