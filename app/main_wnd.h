// CMainWnd: the installer window and the owner of the package, its configuration and languages.
//
//   Initialise: module folder as current folder ─► developer side file ─► package check
//     ─► ReadData ─► temporary relaunch? ─► window "QORINCLASS" ─► title, right-to-left
//     ─► skin (skin_file_name, "INSTALLER" texts) ─► fit into the work area, show topmost for
//     300 ms ─► centre
#pragma once

#include <windows.h>

#include <string>

#include "install_flow.h"
#include "installer_data.h"
#include "installer_system_win32.h"
#include "package.h"
#include "skin_language_table.h"
#include "skin_window_win32.h"

namespace qorin {

constexpr UINT_PTR kTimerReload = 1;
constexpr UINT_PTR kTimerTopmost = 2;
constexpr UINT kTopmostMs = 300;

class CMainWnd {
 public:
  // Trims the command line and loads the rich-edit library from the system folder.
  explicit CMainWnd(const std::wstring& commandLine);
  ~CMainWnd();
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
  void OnCommand(unsigned id);
  void Do(XWindowAction action);
  bool CreateMainWindow();
  bool LoadSkin();
  void ApplyRightToLeft();
  void ShowBuiltWindow();
  void FitIntoWorkArea();
  void CentreOnWorkArea();
  void Reload();
  void Close();

  std::wstring commandLine_;
  XInstallerSystemWin32 system_;
  XPackage package_{system_.Bundle()};
  XInstallerData data_{package_, system_.Bundle()};
  HWND window_ = nullptr;
  XSkinLanguageTable skinLanguage_{data_.Table(), u"INSTALLER"};
  XXSkin skin_;
  XInstallFlow flow_;
  bool quit_ = false;
  int exitCode_ = 0;
};

}  // namespace qorin
