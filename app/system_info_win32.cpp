#include "system_info_win32.h"

#include <windows.h>

#include <vector>

#include "wide_text_win32.h"

namespace qorin {
namespace {

template <typename F>
F Lookup(const wchar_t* module, const char* name) {
  HMODULE handle = GetModuleHandleW(module);
  return handle == nullptr
             ? nullptr
             : reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(handle, name)));
}

std::optional<XOsVersion> AskVersion() {
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
  auto rtlGetVersion = Lookup<RtlGetVersionFn>(L"ntdll.dll", "RtlGetVersion");
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (rtlGetVersion == nullptr || rtlGetVersion(&info) != 0) return std::nullopt;
  return XOsVersion{info.dwPlatformId == VER_PLATFORM_WIN32_NT, info.dwMajorVersion,
                    info.dwMinorVersion, info.wServicePackMajor, info.wProductType};
}

std::optional<uint16_t> AskNativeMachine() {
  using IsWow64Process2Fn = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
  auto isWow64Process2 = Lookup<IsWow64Process2Fn>(L"Kernel32.dll", "IsWow64Process2");
  USHORT process = 0, native = 0;
  if (isWow64Process2 == nullptr || !isWow64Process2(GetCurrentProcess(), &process, &native)) {
    return std::nullopt;
  }
  return native;
}

std::optional<uint16_t> AskNativeArchitecture() {
  using GetNativeSystemInfoFn = void(WINAPI*)(SYSTEM_INFO*);
  auto getNativeSystemInfo = Lookup<GetNativeSystemInfoFn>(L"Kernel32.dll", "GetNativeSystemInfo");
  if (getNativeSystemInfo == nullptr) return std::nullopt;
  SYSTEM_INFO info{};
  getNativeSystemInfo(&info);
  return info.wProcessorArchitecture;
}

// Query access for the groups, duplicate access for CheckTokenMembership's impersonation copy.
HANDLE OpenOwnToken() {
  constexpr DWORD kAccess = TOKEN_QUERY | TOKEN_DUPLICATE;
  HANDLE token = nullptr;
  if (OpenThreadToken(GetCurrentThread(), kAccess, TRUE, &token)) return token;
  return OpenProcessToken(GetCurrentProcess(), kAccess, &token) ? token : nullptr;
}

// The groups of the token, compared one by one: where CheckTokenMembership cannot answer.
bool HasGroup(HANDLE token, PSID group) {
  DWORD size = 0;
  GetTokenInformation(token, TokenGroups, nullptr, 0, &size);
  std::vector<uint8_t> buffer(size);
  if (size == 0 || !GetTokenInformation(token, TokenGroups, buffer.data(), size, &size)) {
    return false;
  }
  const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
  for (DWORD i = 0; i < groups->GroupCount; ++i) {
    if ((groups->Groups[i].Attributes & SE_GROUP_ENABLED) != 0 &&
        EqualSid(groups->Groups[i].Sid, group)) {
      return true;
    }
  }
  return false;
}

// Whether the token holds a built-in local group. CheckTokenMembership wants an impersonation
// token, so it is asked with a duplicate of the process's one.
bool IsMember(HANDLE token, HANDLE impersonation, DWORD alias) {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID group = nullptr;
  if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, alias, 0, 0, 0, 0, 0, 0,
                                &group)) {
    return false;
  }
  BOOL member = FALSE;
  bool asked = impersonation != nullptr && CheckTokenMembership(impersonation, group, &member);
  bool found = asked ? member != FALSE : HasGroup(token, group);
  FreeSid(group);
  return found;
}

}  // namespace

std::optional<XOsVersion> XSystemInfoWin32::OsVersion() {
  static const std::optional<XOsVersion> version = AskVersion();
  return version;
}

std::optional<uint16_t> XSystemInfoWin32::NativeMachine() {
  static const std::optional<uint16_t> machine = AskNativeMachine();
  return machine;
}

std::optional<uint16_t> XSystemInfoWin32::NativeArchitecture() {
  static const std::optional<uint16_t> architecture = AskNativeArchitecture();
  return architecture;
}

std::optional<unsigned> XSystemInfoWin32::AccountGroups() {
  if ((GetVersion() & 0x80000000) != 0) return kGroupAdministrators;  // not Windows NT
  HANDLE token = OpenOwnToken();
  if (token == nullptr) return std::nullopt;
  HANDLE query = nullptr;
  if (!DuplicateToken(token, SecurityIdentification, &query)) query = nullptr;
  static constexpr std::pair<DWORD, unsigned> kAliases[] = {
      {DOMAIN_ALIAS_RID_USERS, kGroupUsers},
      {DOMAIN_ALIAS_RID_GUESTS, kGroupGuests},
      {DOMAIN_ALIAS_RID_POWER_USERS, kGroupPowerUsers},
      {DOMAIN_ALIAS_RID_ADMINS, kGroupAdministrators},
  };
  unsigned groups = 0;
  for (auto [alias, bit] : kAliases) {
    if (IsMember(token, query, alias)) groups |= bit;
  }
  if (query != nullptr) CloseHandle(query);
  CloseHandle(token);
  return groups;
}

std::u16string XSystemInfoWin32::WindowsFolder() {
  wchar_t folder[MAX_PATH];
  UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? u"" : FromWide({folder, length});
}

}  // namespace qorin
