// CMainWnd: the installer window and the owner of the package, its configuration and languages.
//
//   Initialise: module folder as current folder ─► developer side file ─► package check
//     ─► ReadData ─► temporary relaunch? ─► window "QORINCLASS" ─► title, right-to-left
//     ─► skin (skin_file_name, "INSTALLER" texts) ─► fit into the work area, show topmost for
//     300 ms ─► centre
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "http_win32.h"
#include "install_flow.h"
#include "installer_data.h"
#include "installer_natives.h"
#include "installer_system_win32.h"
#include "installer_window.h"
#include "package.h"
#include "processes_win32.h"
#include "registry_win32.h"
#include "skin_language_table.h"
#include "skin_window_win32.h"
#include "system_info_win32.h"

namespace qorin {

constexpr UINT_PTR kTimerReload = 1;
constexpr UINT_PTR kTimerTopmost = 2;
constexpr UINT kTopmostMs = 300;

// The installer window is the skin's host (IXSkinCallback) and what the installer's natives
// act on (IXInstallerWindow).
class CMainWnd final : public IXSkinCallback, public IXInstallerWindow, public IXFlowHost {
 public:
  // Trims the command line and loads the rich-edit library from the system folder.
  explicit CMainWnd(const std::wstring& commandLine);
  ~CMainWnd() override;
  CMainWnd(const CMainWnd&) = delete;
  CMainWnd& operator=(const CMainWnd&) = delete;

  // False: the process exits with code 1 (the reason was shown). True without a window: the
  // temporary copy carries on.
  bool Initialise();
  void RunMessageLoop();

  HWND Handle() const { return window_; }
  int ExitCode() const { return exitCode_; }
  const std::wstring& CommandLine() const { return commandLine_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void OnWindowCommand(unsigned id);
  void Do(XWindowAction action);
  bool CreateMainWindow();
  bool LoadSkin();
  void ApplyRightToLeft();
  void ShowBuiltWindow();
  // The window's rectangle and its monitor's work area; placed by window_placement's rules.
  XRect WindowRect() const;
  XRect WorkArea() const;
  void FitIntoWorkArea();
  void CentreOnWorkArea();
  void Reload();
  void Close();
  void DoInstall();
  void ShowLanguageMenu();
  // The worker's messages; false for any other message.
  bool OnExtractMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* answer);
  // A control by the name of its ID ("PROGRESS_INSTALL"), or null.
  AControlBase* NamedControl(std::u16string_view name);
  void RunScriptText(std::u16string_view text) { RunHostText(text); }
  void DefineConstants();
  void RunConfigScript();

 public:
  // IXSkinCallback
  int CallFunction(std::u16string_view key, XScriptValue* const* args, int32_t count,
                   XScriptValue* result) override;
  bool OnLoaded() override;

  // IXFlowHost
  bool RunHostText(std::u16string_view text) override;
  const XScriptValue& LastResult() override;
  void SetNamedText(std::u16string_view name, const std::u16string& text) override;
  void SetNamedProgress(std::u16string_view name, int position) override;
  void AddNamedListItem(std::u16string_view name, const std::u16string& text) override;

  // IXInstallerWindow
  void PostCommand(unsigned id) override;
  void RequestExit(std::optional<int> exitCode) override;
  void ShowMainWindow(bool show) override;
  void HideWindow() override;
  void SetTitle(const std::u16string& title) override;
  std::u16string SelectFolder(const std::u16string& initial, const std::u16string& title) override;
  bool FocusControl(int id) override;
  bool EnableControl(int id, bool enable) override;
  std::optional<std::u16string> ControlText(int id) override;
  bool LoadRtf(int id, const std::vector<uint8_t>& bytes) override;
  bool ShiftDown() override;
  int64_t Now() override;
  std::u16string FormatLocalTime(int64_t time, const std::u16string& format) override;
  std::vector<std::u16string> Arguments() override;
  void Log(const std::u16string& line) override;
  void RunBlocking(const std::function<void()>& work) override;
  void StartVersionCheck(const XVersionCheck& check) override;

 private:
  // The version check's download answered; false for any other message.
  bool OnHttpMessage(UINT message, WPARAM wparam, LPARAM lparam);
  AControlBase* Control(int id);

  std::wstring commandLine_;
  XInstallerSystemWin32 system_;
  XPackage package_{system_.Bundle()};
  XInstallerData data_{package_, system_.Bundle()};
  HWND window_ = nullptr;
  XSkinLanguageTable skinLanguage_{data_.Table(), u"INSTALLER"};
  std::unique_ptr<XXSkin> skin_;
  XInstallFlow flow_;
  std::u16string installPath_;
  std::u16string outputPath_;  // the answer to the worker's last open-file message
  std::u16string commandLine16_;
  XRegistryWin32 registry_;
  XProcessesWin32 processes_;
  XSystemInfoWin32 systemInfo_;
  XWebWin32 web_;
  XInstallerNatives natives_{{data_, package_, *this, system_.messageBox, registry_,
                              XSystemCalls{processes_, systemInfo_, web_}, SystemFileAccess(),
                              installPath_, commandLine16_}};
  // The last version check: only its request's answer is used.
  XVersionCheck versionCheck_;
  long versionRequest_ = 0;
  std::shared_ptr<std::vector<uint8_t>> versionDownload_;
  bool exitRequested_ = false;
  bool askLanguage_ = true;
  bool reloadPosted_ = false;
  bool showMainWindow_ = true;
  bool quit_ = false;
  int exitCode_ = 0;
};

}  // namespace qorin
