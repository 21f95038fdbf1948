// Natives of the install flow and the window.
#include "install_path.h"
#include "installer_commands.h"
#include "installer_natives.h"

namespace qorin {

// Extraction starts after the current script call returns (the command is posted).
bool StartInstall(XInstallerNativeContext& c, const XNativeCall& call) {
  const char16_t* missing = c.data.Config().nameEng.empty() ? u"call SetName() first"
                            : c.installPath.empty()         ? u"call SetInstallPath() first"
                                                            : nullptr;
  if (missing != nullptr) {
    c.messageBox.ShowMessageBox(missing, u"", 0);
    return false;
  }
  bool valid = IsValidInstallPath(c.installPath);
  call.SetBool(valid);
  if (valid) c.window.PostCommand(kCmdStartInstall);
  return true;
}

bool DoExitV(XInstallerNativeContext& c, const XNativeCall&) {
  c.window.RequestExit(std::nullopt);
  return true;
}

bool DoExitI(XInstallerNativeContext& c, const XNativeCall& call) {
  c.window.RequestExit(call.Int(0));
  return true;
}

bool DoSelectFolder(XInstallerNativeContext& c, const XNativeCall& call) {
  std::u16string folder = c.window.SelectFolder(call.Text(0), call.Text(1));
  if (IsDriveRoot(folder)) folder = WithFinalSeparator(folder) + c.data.Config().nameEng;
  call.SetText(folder);
  return true;
}

bool SetInstallPath(XInstallerNativeContext& c, const XNativeCall& call) {
  c.installPath = call.Text(0);
  call.SetBool(IsValidInstallPath(c.installPath));
  return true;
}

bool GetInstallPath(XInstallerNativeContext& c, const XNativeCall& call) {
  call.SetText(WithFinalSeparator(c.installPath));
  return true;
}

bool RemoveEndBSNative(XInstallerNativeContext&, const XNativeCall& call) {
  call.SetText(RemoveEndBS(call.Text(0)));
  return true;
}

bool SetName(XInstallerNativeContext& c, const XNativeCall& call) {
  c.data.Config().nameEng = call.Text(0);
  return true;
}

bool GetAppVersion(XInstallerNativeContext& c, const XNativeCall& call) {
  call.SetText(c.data.Config().appVersion);
  return true;
}

bool GetBetaVersion(XInstallerNativeContext& c, const XNativeCall& call) {
  call.SetInt(static_cast<int32_t>(c.data.Config().betaVersion));
  return true;
}

bool GetTargetMachine(XInstallerNativeContext& c, const XNativeCall& call) {
  call.SetText(c.data.Config().targetMachine);
  return true;
}

bool LoadRTF(XInstallerNativeContext& c, const XNativeCall& call) {
  XByteBuffer bytes;
  std::u16string file = call.Text(1);
  bool loaded = c.package.ReadWholeFile(file, &bytes) &&
                c.window.LoadRtf(call.Int(0), {bytes.data(), bytes.data() + bytes.length});
  if (!loaded) c.window.Log(u"LoadRTF(" + file + u");==FALSE");
  return true;
}

bool SetTitle(XInstallerNativeContext& c, const XNativeCall& call) {
  c.data.Config().title = call.Text(0);
  c.window.SetTitle(c.data.Config().title);
  return true;
}

bool MessageBoxS(XInstallerNativeContext& c, const XNativeCall& call) {
  c.messageBox.ShowMessageBox(call.Text(0), c.data.Config().title, 0);
  return true;
}

bool MessageBoxI(XInstallerNativeContext& c, const XNativeCall& call) {
  c.messageBox.ShowMessageBox(DisplayInt(call.Int(0)), c.data.Config().title, 0);
  return true;
}

bool MessageBoxSI(XInstallerNativeContext& c, const XNativeCall& call) {
  call.SetInt(c.messageBox.ShowMessageBox(call.Text(0), c.data.Config().title,
                                          static_cast<unsigned>(call.Int(1))));
  return true;
}

bool HideWindow(XInstallerNativeContext& c, const XNativeCall&) {
  c.window.HideWindow();
  return true;
}

bool ShowMainWindow(XInstallerNativeContext& c, const XNativeCall& call) {
  c.window.ShowMainWindow(call.Int(0) != 0);
  return true;
}

bool SetFocusByID(XInstallerNativeContext& c, const XNativeCall& call) {
  c.window.FocusControl(call.Int(0));
  return true;
}

bool GetControlText(XInstallerNativeContext& c, const XNativeCall& call) {
  call.SetText(c.window.ControlText(call.Int(0)).value_or(u""));
  return true;
}

bool SetControlEnable(XInstallerNativeContext& c, const XNativeCall& call) {
  c.window.EnableControl(call.Int(0), call.Int(1) != 0);
  return true;
}

}  // namespace qorin
