// Natives that describe the system. The command line "/32" makes a 64-bit system look like a
// 32-bit one, "/arm" like an ARM64 one; either must be the whole command line.
#include "installer_natives.h"
#include "system_rules.h"

namespace qorin {
namespace {

// The system information caches its answers: they are asked of Windows once per process.
int VersionClass(XInstallerNativeContext& c) {
  return WindowsVersionClass(c.system.info.OsVersion());
}

}  // namespace

bool GetAccountType(XInstallerNativeContext& c, const XNativeCall& call) {
  call.SetText(AccountTypeName(c.system.info.AccountGroups()));
  return true;
}

bool IsXPOrLess(XInstallerNativeContext& c, const XNativeCall& call) {
  call.SetBool(VersionClass(c) < kFirstVistaClass);
  return true;
}

bool IsVistaOrLess(XInstallerNativeContext& c, const XNativeCall& call) {
  call.SetBool(VersionClass(c) < kFirstAfterVistaClass);
  return true;
}

bool Is64BitOS(XInstallerNativeContext& c, const XNativeCall& call) {
  bool is64 = c.commandLine != u"/32" && c.system.info.NativeArchitecture() == kArchitectureAmd64;
  call.SetBool(is64);
  return true;
}

bool GetPlatform(XInstallerNativeContext& c, const XNativeCall& call) {
  if (c.commandLine == u"/32") {
    call.SetText(u"x86");
  } else if (c.commandLine == u"/arm") {
    call.SetText(u"ARM64");
  } else {
    call.SetText(PlatformName(c.system.info.NativeMachine(), c.system.info.NativeArchitecture()));
  }
  return true;
}

}  // namespace qorin
