// The installer's natives: one row per signature key in registration order, the handler beside
// it (grouped by area in natives_*.cpp). A key that is not in the table is not handled, so the
// call goes on to the skin's natives.
//
//   script call "DoExit@i" ─► skin ─► CMainWnd (busy flag) ─► XInstallerNatives::Call ─► handler
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "installer_data.h"
#include "installer_window.h"
#include "native_call.h"
#include "native_table.h"
#include "package.h"
#include "registry.h"
#include "skin_callback.h"
#include "system_calls.h"

namespace qorin {

// What the handlers work on: the installer's data and window.
struct XInstallerNativeContext {
  XInstallerData& data;
  XPackage& package;
  IXInstallerWindow& window;
  IXMessageBox& messageBox;  // owned by the installer's window
  IXRegistry& registry;
  XSystemCalls system;
  IXFileAccess& fileAccess;
  std::u16string& installPath;
  const std::u16string& commandLine;
};

// Answers whether the call was handled.
using XInstallerNativeFn = bool (*)(XInstallerNativeContext& context, const XNativeCall& call);

using XInstallerNative = XNativeRow<XInstallerNativeFn>;

std::span<const XInstallerNative> InstallerNatives();

// Handlers by area.
bool StartInstall(XInstallerNativeContext& c, const XNativeCall& call);
bool DoExitV(XInstallerNativeContext& c, const XNativeCall& call);
bool DoExitI(XInstallerNativeContext& c, const XNativeCall& call);
bool DoSelectFolder(XInstallerNativeContext& c, const XNativeCall& call);
bool SetInstallPath(XInstallerNativeContext& c, const XNativeCall& call);
bool GetInstallPath(XInstallerNativeContext& c, const XNativeCall& call);
bool RemoveEndBSNative(XInstallerNativeContext& c, const XNativeCall& call);
bool SetName(XInstallerNativeContext& c, const XNativeCall& call);
bool GetAppVersion(XInstallerNativeContext& c, const XNativeCall& call);
bool GetBetaVersion(XInstallerNativeContext& c, const XNativeCall& call);
bool GetTargetMachine(XInstallerNativeContext& c, const XNativeCall& call);
bool LoadRTF(XInstallerNativeContext& c, const XNativeCall& call);
bool SetTitle(XInstallerNativeContext& c, const XNativeCall& call);
bool MessageBoxS(XInstallerNativeContext& c, const XNativeCall& call);
bool MessageBoxI(XInstallerNativeContext& c, const XNativeCall& call);
bool MessageBoxSI(XInstallerNativeContext& c, const XNativeCall& call);
bool HideWindow(XInstallerNativeContext& c, const XNativeCall& call);
bool ShowMainWindow(XInstallerNativeContext& c, const XNativeCall& call);
bool SetFocusByID(XInstallerNativeContext& c, const XNativeCall& call);
bool GetControlText(XInstallerNativeContext& c, const XNativeCall& call);
bool SetControlEnable(XInstallerNativeContext& c, const XNativeCall& call);
bool LangNative(XInstallerNativeContext& c, const XNativeCall& call);
bool SetLanguage(XInstallerNativeContext& c, const XNativeCall& call);
bool GetLanguage(XInstallerNativeContext& c, const XNativeCall& call);
bool GetLanguageAsLocal(XInstallerNativeContext& c, const XNativeCall& call);
bool GetPackingDate(XInstallerNativeContext& c, const XNativeCall& call);
bool GetTime(XInstallerNativeContext& c, const XNativeCall& call);
bool GetCommandLineV(XInstallerNativeContext& c, const XNativeCall& call);
bool GetCommandLineI(XInstallerNativeContext& c, const XNativeCall& call);
bool IsValidEmailNative(XInstallerNativeContext& c, const XNativeCall& call);
bool IsShiftPressing(XInstallerNativeContext& c, const XNativeCall& call);
bool GetRegStr(XInstallerNativeContext& c, const XNativeCall& call);
bool GetRegStr64(XInstallerNativeContext& c, const XNativeCall& call);
bool GetRegInt(XInstallerNativeContext& c, const XNativeCall& call);
bool GetRegInt64(XInstallerNativeContext& c, const XNativeCall& call);
bool SetRegStr(XInstallerNativeContext& c, const XNativeCall& call);
bool SetRegStr64(XInstallerNativeContext& c, const XNativeCall& call);
bool SetRegInt(XInstallerNativeContext& c, const XNativeCall& call);
bool SetRegInt64(XInstallerNativeContext& c, const XNativeCall& call);
bool RegDeleteKeyNative(XInstallerNativeContext& c, const XNativeCall& call);
bool RegDeleteKey64(XInstallerNativeContext& c, const XNativeCall& call);
bool ExecWait(XInstallerNativeContext& c, const XNativeCall& call);
bool SleepNative(XInstallerNativeContext& c, const XNativeCall& call);
bool ShellExecuteNative(XInstallerNativeContext& c, const XNativeCall& call);
bool RunNonElevated(XInstallerNativeContext& c, const XNativeCall& call);
bool CreateShortcut(XInstallerNativeContext& c, const XNativeCall& call);
bool CloseAppAsking(XInstallerNativeContext& c, const XNativeCall& call);
bool CloseAppOnce(XInstallerNativeContext& c, const XNativeCall& call);
bool WaitAppExit(XInstallerNativeContext& c, const XNativeCall& call);
bool FindWindowNative(XInstallerNativeContext& c, const XNativeCall& call);
bool MutexExist(XInstallerNativeContext& c, const XNativeCall& call);
bool DeleteFileNative(XInstallerNativeContext& c, const XNativeCall& call);
bool DeleteOrMoveFile(XInstallerNativeContext& c, const XNativeCall& call);
bool RemoveDirectoryNative(XInstallerNativeContext& c, const XNativeCall& call);
bool DeleteFolderRec(XInstallerNativeContext& c, const XNativeCall& call);
bool CopyFileNative(XInstallerNativeContext& c, const XNativeCall& call);
bool DigPathNative(XInstallerNativeContext& c, const XNativeCall& call);
bool IsFile(XInstallerNativeContext& c, const XNativeCall& call);
bool GetIniStr(XInstallerNativeContext& c, const XNativeCall& call);
bool GetAccountType(XInstallerNativeContext& c, const XNativeCall& call);
bool IsXPOrLess(XInstallerNativeContext& c, const XNativeCall& call);
bool IsVistaOrLess(XInstallerNativeContext& c, const XNativeCall& call);
bool Is64BitOS(XInstallerNativeContext& c, const XNativeCall& call);
bool GetPlatform(XInstallerNativeContext& c, const XNativeCall& call);
bool TouchURL(XInstallerNativeContext& c, const XNativeCall& call);
bool CheckVersionAsync(XInstallerNativeContext& c, const XNativeCall& call);

// The dispatcher.
class XInstallerNatives {
 public:
  explicit XInstallerNatives(XInstallerNativeContext context) : context_(context) {}
  // A handler's allocation failure is caught here and answered kHostCallOutOfMemory.
  XHostCallResult Call(std::u16string_view key, const XNativeCall& call);

 private:
  XInstallerNativeContext context_;
};

}  // namespace qorin
