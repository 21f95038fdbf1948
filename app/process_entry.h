// The stub's start-up: prepare the process, make sure it runs elevated, run the installer
// window, return the exit code.
//
//   setlocale ─► screen DPI ─► CoInitialize (fails: 99) ─► SetErrorMode ─► "pelra-start"
//     ─► IsElevated2? ── no ─► RunElevated("runas") ── ok ─► exit 0
//            │ yes                    │ fails: log the error, go on unelevated
//            ▼                        ▼
//        CMainWnd: Initialise (fails: 1) ─► message loop ─► stored exit code ─► "pelra exit : %d"
#pragma once

#include <string>

namespace qorin {

constexpr int kExitCoInitializeFailed = 99;
constexpr int kExitInitialiseFailed = 1;

// The system calls of the start-up, so that the decisions can be tried without Windows' own
// elevation prompt.
class IXStartupHost {
 public:
  virtual ~IXStartupHost() = default;
  virtual bool InitialiseCom() = 0;
  virtual void UninitialiseCom() = 0;
  virtual bool IsElevated() = 0;
  // False with *error set when the relaunch could not be started (for example refused).
  virtual bool RunElevated(const std::wstring& commandLine, unsigned long* error) = 0;
  // Constructs, initialises and runs the installer; returns its exit code.
  virtual int RunInstaller(const std::wstring& commandLine) = 0;
};

// The start-up order, with the exit codes and log lines of the stub. commandLine is the text
// after the program name, untrimmed.
int RunStartup(IXStartupHost& host, const std::wstring& commandLine);

// The real host: COM, the process token, ShellExecuteExW "runas" and CMainWnd.
class XWin32StartupHost final : public IXStartupHost {
 public:
  bool InitialiseCom() override;
  void UninitialiseCom() override;
  bool IsElevated() override;
  bool RunElevated(const std::wstring& commandLine, unsigned long* error) override;
  int RunInstaller(const std::wstring& commandLine) override;
};

// Reads LOGPIXELSX of the screen into the process-wide DPI record.
void ReadScreenDpi();

}  // namespace qorin
