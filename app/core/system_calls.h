// What the installer's process and system natives ask of Windows, as three narrow interfaces
// (files are the base layer's IXFileAccess). The stub answers with the Win32 API (app/*_win32.cpp);
// the native tests fake them. The decisions (wildcards, retries, version classes, platform names)
// stay in app/core.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "file_access.h"

namespace qorin {

struct XShortcut {
  std::u16string link, target, workingFolder, arguments, description;
};

// Programs, the shell (open, shortcuts), top-level windows, mutexes and the clock.
class IXProcesses {
 public:
  virtual ~IXProcesses() = default;
  // CreateProcessW of the command line, waited for; its exit code, nothing if it did not start.
  virtual std::optional<uint32_t> RunAndWait(const std::u16string& commandLine) = 0;
  // ShellExecuteW "open"; true when it answered more than 32.
  virtual bool ShellOpen(const std::u16string& file, const std::u16string& parameters) = 0;
  // An IShellLinkW saved at shortcut.link.
  virtual bool CreateShortcut(const XShortcut& shortcut) = 0;
  // A top-level window of the class, 0 if none.
  virtual uintptr_t FindTopWindow(const std::u16string& windowClass) = 0;
  // WM_CLOSE, abandoned when the window hangs or after 5 s.
  virtual void AskToClose(uintptr_t window) = 0;
  virtual void Sleep(uint32_t ms) = 0;
  virtual uint32_t Ticks() = 0;  // milliseconds, wrapping
  virtual bool MutexExists(const std::u16string& name) = 0;
};

// The Windows version as RtlGetVersion reports it.
struct XOsVersion {
  bool nt = true;
  uint32_t major = 0, minor = 0;
  uint16_t servicePack = 0;
  uint8_t productType = 1;  // 1 workstation
};

// Membership bits of the built-in local groups, in the order they are tested.
enum XAccountGroup : unsigned {
  kGroupUsers = 1,
  kGroupGuests = 2,
  kGroupPowerUsers = 4,
  kGroupAdministrators = 8,
};

// What the system is; each answer is asked once per process by the caller's rules.
class IXSystemInfo {
 public:
  virtual ~IXSystemInfo() = default;
  virtual std::optional<XOsVersion> OsVersion() = 0;
  // IsWow64Process2's native machine (IMAGE_FILE_MACHINE_*); nothing without that function.
  virtual std::optional<uint16_t> NativeMachine() = 0;
  // GetNativeSystemInfo's processor architecture; nothing without that function.
  virtual std::optional<uint16_t> NativeArchitecture() = 0;
  // XAccountGroup bits of the thread's or process's token; nothing when neither opens.
  virtual std::optional<unsigned> AccountGroups() = 0;
  virtual std::u16string WindowsFolder() = 0;  // "" when unknown
};

// The network: the connectivity test and a synchronous GET whose answer is discarded.
class IXWeb {
 public:
  virtual ~IXWeb() = default;
  virtual bool NetworkAvailable() = 0;
  virtual bool Touch(const std::u16string& url, const std::u16string& userAgent) = 0;
};

// The system calls of the installer's natives, together.
// (Files are the base layer's IXFileAccess, which the natives' context carries beside these.)
struct XSystemCalls {
  IXProcesses& processes;
  IXSystemInfo& info;
  IXWeb& web;
};

}  // namespace qorin
