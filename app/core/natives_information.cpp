// Natives of general information: time, command line, small checks.
#include "install_path.h"
#include "installer_natives.h"

namespace qorin {

bool GetPackingDate(XInstallerNativeContext& c, const XNativeCall& call) {
  int64_t time = c.package.Info().packTime;
  if (time == 0) time = c.window.Now();
  call.SetText(c.window.FormatLocalTime(time, call.Text(0)));
  return true;
}

bool GetTime(XInstallerNativeContext& c, const XNativeCall& call) {
  call.SetInt(static_cast<int32_t>(static_cast<uint32_t>(c.window.Now())));
  return true;
}

bool GetCommandLineV(XInstallerNativeContext& c, const XNativeCall& call) {
  c.window.Log(u"GetCommandLine() =='" + c.commandLine + u"'");
  call.SetText(c.commandLine);
  return true;
}

bool GetCommandLineI(XInstallerNativeContext& c, const XNativeCall& call) {
  std::vector<std::u16string> arguments = c.window.Arguments();
  int32_t n = call.Int(0);
  call.SetText(n >= 0 && n < static_cast<int32_t>(arguments.size())
                   ? arguments[static_cast<size_t>(n)]
                   : u"");
  return true;
}

bool IsValidEmailNative(XInstallerNativeContext&, const XNativeCall& call) {
  call.SetBool(IsValidEmail(call.Text(0)));
  return true;
}

bool IsShiftPressing(XInstallerNativeContext& c, const XNativeCall& call) {
  call.SetBool(c.window.ShiftDown());
  return true;
}

}  // namespace qorin
