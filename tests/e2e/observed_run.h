// End-to-end harness: runs a program of the build under observation, as its developers would
// watch it. xrecv receives the developer log and the script console, boxanswer reads and
// answers message boxes; the run returns the exit code and both records.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qorin::e2e {

struct LogLine {
  std::string window;         // "XRecv" or "XScriptDebugConsole"
  unsigned long channel = 0;  // dwData
  unsigned long bytes = 0;    // cbData
  std::string text;           // UTF-8, up to the terminating zero
};

struct MessageBoxSeen {
  std::string caption;
  std::string text;
  std::vector<std::string> buttons;
  std::string pressed;
};

// Done to the program's window once it is visible, in order.
struct WindowAction {
  enum Kind {
    kWait,
    kKey,
    kCtrlKey,
    kClose,
    kResize,
    kShot,
    kMove,
    kDown,
    kUp,
    kHitTest,
    kWheel,
    kShowWindow,
    kTypeKey,
    kWindows
  } kind;
  // Milliseconds for kWait, a virtual key for kKey and kCtrlKey, width << 16 | height for
  // kResize (the window's outer size), x << 16 | y for kMove (client coordinates from the
  // window's visual left edge, also in a mirrored window). kShot records the client area;
  // kDown and kUp press and release the left button through SendInput; kHitTest records the
  // window's WM_NCHITTEST answer for the point given as for kMove; kWheel turns the wheel by
  // notches (a negative int as unsigned: towards the user); kShowWindow calls ShowWindow with
  // the value (SW_MAXIMIZE, SW_RESTORE); kTypeKey types a virtual key through SendInput (to
  // the window with the focus); kWindows records the program's visible top-level windows.
  unsigned value = 0;
};

// A top-level window of the program as a kWindows action saw it.
struct WindowSeen {
  std::string className;
  RECT rect{};    // screen coordinates
  RECT client{};  // the client area, screen coordinates
};

// A picture of the window's client area as the screen shows it, left to right.
struct Shot {
  int width = 0, height = 0;
  std::vector<unsigned> pixels;  // 0x00RRGGBB, rows top-down
  unsigned At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

struct RunOptions {
  std::wstring program;    // full path
  std::wstring arguments;  // the command line after the program name
  DWORD timeoutMs = 60000;
  std::wstring press = L"OK";  // the button boxanswer presses ("None": none)
  // When set, the run watches for a visible top-level window of this class, records it, and
  // performs the actions on it; the run ends when the program has exited and that window is gone.
  std::wstring windowClass;
  // Also a window of another process (a program that relaunches itself); the run then waits
  // for the window even after the program has exited.
  bool windowOfAnyProcess = false;
  // The run also waits for the copies a stub starts of itself (a relaunch from the temporary
  // folder): until the developer log has a "pelra exit" for each of them.
  bool followRelaunch = false;
  std::vector<WindowAction> actions;
};

struct ObservedRun {
  bool started = false;
  bool timedOut = false;
  DWORD exitCode = 0;
  std::vector<LogLine> log;
  std::vector<MessageBoxSeen> boxes;
  bool windowSeen = false;
  std::string windowTitle;
  LONG_PTR windowExStyle = 0;
  SIZE windowSize = {0, 0};       // outer size when first seen
  DWORD windowShownMs = 0;        // from the program's start until its window was visible
  DWORD runMs = 0;                // from the start until the program and its window were gone
  std::vector<Shot> shots;        // one per kShot action
  std::vector<LRESULT> hitTests;  // one per kHitTest action
  std::vector<std::vector<WindowSeen>> windows;  // one list per kWindows action
  RECT workArea{};                               // of the window's monitor, when it showed

  // Texts received by one window, in order.
  std::vector<std::string> Texts(const std::string& window = "XRecv") const;
};

ObservedRun RunObserved(const RunOptions& options);

// The client area of a window, copied from its device context.
Shot TakeShot(HWND window);
// Writes a 24-bit BMP file.
bool WriteBmp(const Shot& shot, const std::wstring& path);

// A program that lies beside the running test program (the build folder).
std::wstring BuildFile(const wchar_t* name);

}  // namespace qorin::e2e
