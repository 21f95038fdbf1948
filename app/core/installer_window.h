// What the installer's natives ask of the installer window and the desktop: the window's own
// actions, its skin controls, dialogs, the keyboard and the clock. CMainWnd implements it with
// the Win32 API; tests record what is asked.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "version_check.h"

namespace qorin {

class IXInstallerWindow {
 public:
  virtual ~IXInstallerWindow() = default;
  virtual void PostCommand(unsigned id) = 0;
  // The script asks to end: state back to idle, WM_CLOSE posted; a code replaces the exit code.
  virtual void RequestExit(std::optional<int> exitCode) = 0;
  virtual void ShowMainWindow(bool show) = 0;  // also stores the show-main-window flag
  virtual void HideWindow() = 0;
  virtual void SetTitle(const std::u16string& title) = 0;
  // The shell's folder dialog; "" when cancelled.
  virtual std::u16string SelectFolder(const std::u16string& initial,
                                      const std::u16string& title) = 0;
  virtual bool FocusControl(int id) = 0;
  virtual bool EnableControl(int id, bool enable) = 0;
  virtual std::optional<std::u16string> ControlText(int id) = 0;
  // Streams RTF bytes into the rich-edit window hosted by a control; false on failure.
  virtual bool LoadRtf(int id, const std::vector<uint8_t>& bytes) = 0;
  virtual bool ShiftDown() = 0;
  virtual int64_t Now() = 0;  // seconds since 1970
  // The local time formatted with the C library's wide strftime rules; "" on failure.
  virtual std::u16string FormatLocalTime(int64_t time, const std::u16string& format) = 0;
  // The process's argument vector as the C runtime split it.
  virtual std::vector<std::u16string> Arguments() = 0;
  virtual void Log(const std::u16string& line) = 0;  // the developer log
  // Runs the work on a worker thread while the window keeps painting; returns when the work is
  // done or the window is gone.
  virtual void RunBlocking(const std::function<void()>& work) = 0;
  // Starts the download of the version check; its answer runs the script's OnCheckVersion.
  virtual void StartVersionCheck(const XVersionCheck& check) = 0;
};

}  // namespace qorin
