// The install flow's decisions, apart from the window that carries them out:
//
//   commands (accelerators, controls, scripts) ──► XInstallFlow ──► window actions
//   extraction events (open file, progress,    ──►      │ ──► host texts ("OnOpenFileToWrite(…);",
//     finished)                                         │      "OnSuccess();", "OnFailed(…);"),
//                                                       │      the state texts of named controls
//                                                  state: idle ─► extracting ─► succeeded | failed
//
// CMainWnd feeds it WM_COMMAND, WM_CLOSE and the extraction worker's messages and does what it
// answers. Every text from data goes into a host text as a literal (ScriptLiteral), never pasted.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace qorin {

class XLanguageTable;
class XScriptValue;

// What the flow asks of the window around it: the scripts and the controls named by ID.
class IXFlowHost {
 public:
  virtual ~IXFlowHost() = default;
  // Runs a statement in the scripts (an undefined function is no error); false when it failed.
  virtual bool RunHostText(std::u16string_view text) = 0;
  // The value of the last statement of the last text that ended (Undef after a failure).
  virtual const XScriptValue& LastResult() = 0;
  // The text of the control whose ID has the name; nothing when there is none.
  virtual void SetNamedText(std::u16string_view name, const std::u16string& text) = 0;
  // The position of the progress bar whose ID has the name (repainted when it changed).
  virtual void SetNamedProgress(std::u16string_view name, int position) = 0;
  // A new last item of the list box whose ID has the name, scrolled into view.
  virtual void AddNamedListItem(std::u16string_view name, const std::u16string& text) = 0;
};

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

  // The extraction asks where a payload file goes: the script's OnOpenFileToWrite may redirect
  // it (a text) or skip it (""); anything else keeps defaultPath. The answer is shown and listed.
  std::u16string OpenFile(IXFlowHost& host, std::u16string_view name,
                          std::u16string_view defaultPath) const;
  // PROGRESS_INSTALL in tenths of a percent, and the state text in whole percent (0% while
  // there is nothing).
  void Progress(IXFlowHost& host, uint64_t done, uint64_t total) const;
  // A combo box's pick: "OnComboChanged(id, text);" with the picked text as a literal.
  static void ComboChanged(IXFlowHost& host, int id, std::u16string_view text);
  // The extraction ended: OnSuccess, or OnFailed with the code's text in the language.
  void Completed(IXFlowHost& host, int code, std::u16string_view name, XLanguageTable& texts);
  // The scripts' constants: the shell folders the window found (name, path; an empty path is
  // left out) and the message box numbers.
  static void DefineConstants(IXFlowHost& host,
                              std::span<const std::pair<std::u16string, std::u16string>> folders);

  // What the window does with a command.
  XWindowAction OnCommand(unsigned id) const;
  // Whether WM_CLOSE may close the window: not while files are being written.
  bool MayClose() const { return state_ != XInstallState::kExtracting; }

 private:
  XInstallState state_ = XInstallState::kIdle;
  bool busy_ = false;
};

}  // namespace qorin
