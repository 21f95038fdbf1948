// What the installer makes of the system's answers: the Windows version class, the platform
// name, the account type, and the texts it hands to Windows (command lines, long paths).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "system_calls.h"

namespace qorin {

// 1 Windows 2000, 2-5 XP (3-5 with service pack 1-3), 6 version 5.2, 7-9 Vista (service pack
// 0-2), 10 server 6.0, 11-12 Windows 7 (service pack 0-1), 13 server 6.1, 14 version 6.2, 15 8.1,
// 16 server 6.3, 17 version 10; 18 anything else or no answer.
int WindowsVersionClass(const std::optional<XOsVersion>& version);
constexpr int kFirstVistaClass = 7;
constexpr int kFirstAfterVistaClass = 10;  // server 6.0 and later

// "ARM64", "x64" or "x86" from IsWow64Process2's machine, else GetNativeSystemInfo's
// architecture.
std::u16string PlatformName(std::optional<uint16_t> nativeMachine,
                            std::optional<uint16_t> architecture);
constexpr uint16_t kArchitectureAmd64 = 9;  // PROCESSOR_ARCHITECTURE_AMD64

// "User", "Guest", "Power" or "Admin": the last group tested that matches; "" for none.
std::u16string AccountTypeName(std::optional<unsigned> groups);

// The program in double quotes, a space, the arguments.
std::u16string ExecCommandLine(std::u16string_view program, std::u16string_view arguments);

// "\\?\" before a local path, "\\?\UNC\" instead of the "\\" of a network path; a path that is
// already extended stays.
std::u16string ExtendedLengthPath(std::u16string_view path);
// Whether a path names no folder an uninstaller may delete: nothing at all, the root of a drive
// (C: or C:\ or \\?\C:\ or a bare \) or of a share (\\server\share); "/" counts as "\", and
// "." or ".." after the root do not make it a folder.
bool IsRootPath(std::u16string_view path);

}  // namespace qorin
