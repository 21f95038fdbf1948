// The install flow's decisions, apart from the window that carries them out:
//
//   commands (accelerators, controls, scripts) ──► XInstallFlow ──► window actions
//   extraction events (started, finished)      ──►      │
//                                                  state: idle ─► extracting ─► succeeded | failed
//
// CMainWnd feeds it WM_COMMAND and WM_CLOSE and does what it answers; the extraction and the
// script texts it runs join here with the install flow itself.
#pragma once

namespace qorin {

enum class XInstallState : int { kIdle = 0, kExtracting = 1, kSucceeded = 2, kFailed = 3 };

enum class XWindowAction {
  kNone,
  kClose,         // post WM_CLOSE to the window
  kMinimize,      // minimise the window
  kPostReload,    // post the reload command, so the accelerator's message is done first
  kReload,        // reload the language table and show the window again
  kEnterKey,      // run "OnEnterKey();"
  kInstall,       // DoInstall: start the extraction
  kLanguageMenu,  // the language menu
};

class XInstallFlow {
 public:
  XInstallState State() const { return state_; }

  // While a blocking call runs, commands are ignored.
  void SetBusy(bool busy) { busy_ = busy; }
  bool Busy() const { return busy_; }

  // DoInstall: false (a second call) unless idle; then extracting.
  bool StartExtraction() {
    if (state_ != XInstallState::kIdle) return false;
    state_ = XInstallState::kExtracting;
    return true;
  }
  void ExtractionStarted() { state_ = XInstallState::kExtracting; }
  // DoExit: an exit the script asks for closes the window in any state.
  void Reset() { state_ = XInstallState::kIdle; }
  void ExtractionFinished(bool success) {
    state_ = success ? XInstallState::kSucceeded : XInstallState::kFailed;
  }

  // What the window does with a command.
  XWindowAction OnCommand(unsigned id) const;
  // Whether WM_CLOSE may close the window: not while files are being written.
  bool MayClose() const { return state_ != XInstallState::kExtracting; }

 private:
  XInstallState state_ = XInstallState::kIdle;
  bool busy_ = false;
};

}  // namespace qorin
