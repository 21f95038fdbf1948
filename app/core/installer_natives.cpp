#include "installer_natives.h"

#include <new>

namespace qorin {
namespace {

const XInstallerNative kNatives[] = {
    {u"StartInstall@v", StartInstall},
    {u"DoExit@v", DoExitV},
    {u"DoExit@i", DoExitI},
    {u"DoSelectFolder@ss", DoSelectFolder},
    {u"SetInstallPath@s", SetInstallPath},
    {u"GetInstallPath@v", GetInstallPath},
    {u"RemoveEndBS@s", RemoveEndBSNative},
    {u"SetName@s", SetName},
    {u"GetAppVersion@v", GetAppVersion},
    {u"GetBetaVersion@v", GetBetaVersion},
    {u"GetTargetMachine@v", GetTargetMachine},
    {u"DigPath@s", DigPathNative},
    {u"LoadRTF@is", LoadRTF},
    {u"SetLanguage@s", SetLanguage},
    {u"SetTitle@s", SetTitle},
    {u"GetLanguageAsLocal@v", GetLanguageAsLocal},
    {u"GetLanguage@v", GetLanguage},
    {u"Is64BitOS@v", Is64BitOS},
    {u"GetPlatform@v", GetPlatform},
    {u"LANG@s", LangNative},
    {u"GetRegStr@s", GetRegStr},
    {u"GetRegStr64@s", GetRegStr64},
    {u"GetRegInt@s", GetRegInt},
    {u"GetRegInt64@s", GetRegInt64},
    {u"SetRegStr@ss", SetRegStr},
    {u"SetRegStr64@ss", SetRegStr64},
    {u"SetRegInt@si", SetRegInt},
    {u"SetRegInt64@si", SetRegInt64},
    {u"MessageBox@s", MessageBoxS},
    {u"MessageBox@i", MessageBoxI},
    {u"MessageBox@si", MessageBoxSI},
    {u"CreateShortcut@ssss", CreateShortcut},
    {u"ExecWait@ss", ExecWait},
    {u"Sleep@i", SleepNative},
    {u"TouchURL@ss", TouchURL},
    {u"ShellExecute@s", ShellExecuteNative},
    {u"RunNonElevated@ss", RunNonElevated},
    {u"GetPackingDate@s", GetPackingDate},
    {u"GetIniStr@sss", GetIniStr},
    {u"CloseApp@ss", CloseAppAsking},
    {u"CloseApp@s", CloseAppOnce},
    {u"WaitAppExit@si", WaitAppExit},
    {u"DeleteFile@s", DeleteFileNative},
    {u"DeleteOrMoveFile@s", DeleteOrMoveFile},
    {u"RemoveDirectory@s", RemoveDirectoryNative},
    {u"DeleteFolderRec@s", DeleteFolderRec},
    {u"RegDeleteKey@s", RegDeleteKeyNative},
    {u"RegDeleteKey64@s", RegDeleteKey64},
    {u"GetAccountType@v", GetAccountType},
    {u"IsXPOrLess@v", IsXPOrLess},
    {u"IsVistaOrLess@v", IsVistaOrLess},
    {u"GetTime@v", GetTime},
    {u"HideWindow@v", HideWindow},
    {u"GetCommandLine@v", GetCommandLineV},
    {u"GetCommandLine@i", GetCommandLineI},
    {u"IsFile@s", IsFile},
    {u"CheckVersionAsync@ssssss", CheckVersionAsync},
    {u"FindWindow@s", FindWindowNative},
    {u"CopyFile@ss", CopyFileNative},
    {u"ShowMainWindow@i", ShowMainWindow},
    {u"SetFocusByID@i", SetFocusByID},
    {u"GetControlText@i", GetControlText},
    {u"SetControlEnable@ii", SetControlEnable},
    {u"IsValidEmail@s", IsValidEmailNative},
    {u"IsShiftPressing@v", IsShiftPressing},
    {u"MutexExist@s", MutexExist},
};

}  // namespace

std::span<const XInstallerNative> InstallerNatives() {
  return kNatives;
}

XHostCallResult XInstallerNatives::Call(std::u16string_view key, const XNativeCall& call) {
  static const XNativeTable<XInstallerNativeFn> table(kNatives);
  const XInstallerNative* row = table.Find(key);
  if (row == nullptr || row->handler == nullptr) return kHostCallNotHandled;
  try {
    return row->handler(context_, call) ? kHostCallHandled : kHostCallNotHandled;
  } catch (const std::bad_alloc&) {
    return kHostCallOutOfMemory;
  }
}

}  // namespace qorin
