#include "observed_run.h"

#include <string_view>

#include "helper_win.h"
#include "observe_format.h"

namespace qorin::e2e {
namespace {

using helpers::FileExists;

constexpr DWORD kHelperStartMs = 20000;

std::wstring Quote(const std::wstring& text) {
  return L"\"" + text + L"\"";
}

// A new folder for one run's files under the temporary folder. Wine reuses small process IDs,
// so the name also carries the time: a stop file left by an earlier run must never be found.
std::wstring MakeRunFolder() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  static unsigned counter = 0;
  while (true) {
    std::wstring folder = std::wstring(temp) + L"qorin-e2e-" +
                          std::to_wstring(GetCurrentProcessId()) + L"-" +
                          std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++counter);
    if (CreateDirectoryW(folder.c_str(), nullptr)) return folder + L"\\";
  }
}

class Process {
 public:
  bool Start(const std::wstring& program, const std::wstring& arguments) {
    std::wstring line = Quote(program) + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
      return false;
    }
    CloseHandle(info.hThread);
    handle_ = info.hProcess;
    id_ = info.dwProcessId;
    return true;
  }
  ~Process() {
    if (handle_ != nullptr) {
      if (WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT) TerminateProcess(handle_, 259);
      CloseHandle(handle_);
    }
  }
  // False when the process is still running after the wait.
  bool Wait(DWORD ms) { return WaitForSingleObject(handle_, ms) == WAIT_OBJECT_0; }
  DWORD ExitCode() const {
    DWORD code = 0;
    GetExitCodeProcess(handle_, &code);
    return code;
  }
  bool Running() const {
    return handle_ != nullptr && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
  }
  DWORD Id() const { return id_; }

 private:
  HANDLE handle_ = nullptr;
  DWORD id_ = 0;
};

// One observation helper: started with its log, ready and stop files, stopped through the stop
// file.
class Helper {
 public:
  Helper(const std::wstring& folder, const wchar_t* name, const std::wstring& extra)
      : log_(folder + name + L".log"),
        ready_(folder + name + L".ready"),
        stop_(folder + name + L".stop") {
    std::wstring args = L"--log " + Quote(log_) + L" --ready " + Quote(ready_) + L" --stop " +
                        Quote(stop_) + L" " + extra;
    started_ = process_.Start(BuildFile((std::wstring(name) + L".exe").c_str()), args);
  }
  bool WaitReady() {
    ULONGLONG deadline = GetTickCount64() + kHelperStartMs;
    while (started_ && !FileExists(ready_)) {
      if (GetTickCount64() > deadline || !process_.Running()) return false;
      Sleep(20);
    }
    return started_;
  }
  std::vector<std::vector<std::string>> Stop() {
    helpers::WriteWholeFile(stop_, "stop\n");
    process_.Wait(10000);
    return Records();
  }
  // What the helper has written so far.
  std::vector<std::vector<std::string>> Records() const {
    std::vector<std::vector<std::string>> records;
    for (const std::string& line : observe::SplitLines(helpers::ReadWholeFile(log_))) {
      records.push_back(observe::SplitFields(line));
    }
    return records;
  }

 private:
  std::wstring log_, ready_, stop_;
  Process process_;
  bool started_ = false;
};

std::vector<std::string> SplitButtons(const std::string& labels) {
  std::vector<std::string> buttons;
  size_t start = 0;
  while (start < labels.size()) {
    size_t bar = labels.find('|', start);
    if (bar == std::string::npos) bar = labels.size();
    buttons.push_back(labels.substr(start, bar - start));
    start = bar + 1;
  }
  return buttons;
}

// Every stub has ended: the first one and each copy it relaunched ("RelaunchInTemp() : ...")
// wrote "pelra exit".
bool AllStubsEnded(const Helper& receiver) {
  int expected = 1, ended = 0;
  for (const auto& fields : receiver.Records()) {
    if (fields.size() != 4) continue;
    if (fields[3].rfind("RelaunchInTemp() : ", 0) == 0) ++expected;
    if (fields[3].rfind("pelra exit : ", 0) == 0) ++ended;
  }
  return ended >= expected;
}

}  // namespace

std::wstring BuildFile(const wchar_t* name) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring folder(self);
  folder.resize(folder.find_last_of(L"\\/") + 1);
  return folder + name;
}

std::vector<std::string> ObservedRun::Texts(const std::string& window) const {
  std::vector<std::string> texts;
  for (const LogLine& line : log) {
    if (line.window == window) texts.push_back(line.text);
  }
  return texts;
}

namespace {

struct WindowSearch {
  const std::wstring* windowClass;
  DWORD process;  // 0: any
  HWND found;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  wchar_t name[128] = {};
  GetClassNameW(window, name, 128);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (IsWindowVisible(window) && *search->windowClass == name &&
      (search->process == 0 || search->process == process)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

void SendKey(WORD key, bool withControl) {
  std::vector<INPUT> inputs;
  auto add = [&](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  if (withControl) add(VK_CONTROL, false);
  add(key, false);
  add(key, true);
  if (withControl) add(VK_CONTROL, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void SendMouse(DWORD flags, int screenX = 0, int screenY = 0, int wheel = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  input.mi.mouseData = static_cast<DWORD>(wheel);
  if (flags & MOUSEEVENTF_ABSOLUTE) {
    input.mi.dx = MulDiv(screenX, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screenY, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  }
  SendInput(1, &input, sizeof input);
}

// A client point counted from the window's visual left edge, on the screen.
POINT ScreenPoint(HWND window, int x, int y) {
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  if (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) origin.x -= client.right - 1;
  return {origin.x + x, origin.y + y};
}

struct ProcessWindows {
  DWORD process;
  std::vector<WindowSeen>* seen;
};

BOOL CALLBACK AddProcessWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ProcessWindows*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->process || !IsWindowVisible(window)) return TRUE;
  wchar_t name[128] = {};
  GetClassNameW(window, name, 128);
  WindowSeen seen{qorin::helpers::ToUtf8(name), {}};
  GetWindowRect(window, &seen.rect);
  GetClientRect(window, &seen.client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&seen.client), 2);
  search->seen->push_back(seen);
  return TRUE;
}

// The actions in order; a window that is gone meanwhile (its program ended) ends them.
void Perform(HWND window, const std::vector<WindowAction>& actions, ObservedRun* run) {
  for (const WindowAction& action : actions) {
    switch (action.kind) {
      case WindowAction::kWait:
        for (ULONGLONG end = GetTickCount64() + action.value; GetTickCount64() < end; Sleep(20)) {
          if (!IsWindow(window)) return;
        }
        break;
      case WindowAction::kKey:
        PostMessageW(window, WM_KEYDOWN, action.value, 1);
        PostMessageW(window, WM_KEYUP, action.value, 0xC0000001);
        break;
      case WindowAction::kCtrlKey:
        SetForegroundWindow(window);
        Sleep(100);
        SendKey(static_cast<WORD>(action.value), true);
        break;
      case WindowAction::kClose: PostMessageW(window, WM_CLOSE, 0, 0); break;
      case WindowAction::kResize:
        SetWindowPos(window, nullptr, 0, 0, static_cast<int>(action.value >> 16),
                     static_cast<int>(action.value & 0xFFFF),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
      case WindowAction::kShot: run->shots.push_back(TakeShot(window)); break;
      case WindowAction::kMove: {
        POINT p = ScreenPoint(window, static_cast<int>(action.value >> 16),
                              static_cast<int>(action.value & 0xFFFF));
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, p.x, p.y);
        break;
      }
      case WindowAction::kHitTest: {
        POINT p = ScreenPoint(window, static_cast<int>(action.value >> 16),
                              static_cast<int>(action.value & 0xFFFF));
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y), SMTO_ABORTIFHUNG, 5000,
                            &answer);
        run->hitTests.push_back(static_cast<LRESULT>(answer));
        break;
      }
      case WindowAction::kDown: SendMouse(MOUSEEVENTF_LEFTDOWN); break;
      case WindowAction::kUp: SendMouse(MOUSEEVENTF_LEFTUP); break;
      case WindowAction::kWheel:
        SendMouse(MOUSEEVENTF_WHEEL, 0, 0, static_cast<int>(action.value) * WHEEL_DELTA);
        break;
      case WindowAction::kShowWindow: ShowWindow(window, static_cast<int>(action.value)); break;
      case WindowAction::kTypeKey: SendKey(static_cast<WORD>(action.value), false); break;
      case WindowAction::kWindows: {
        ProcessWindows search{0, &run->windows.emplace_back()};
        GetWindowThreadProcessId(window, &search.process);
        EnumWindows(AddProcessWindow, reinterpret_cast<LPARAM>(&search));
        break;
      }
    }
  }
}

}  // namespace

Shot TakeShot(HWND window) {
  Shot shot;
  RECT client{};
  if (!IsWindow(window) || !GetClientRect(window, &client)) return shot;
  shot.width = client.right, shot.height = client.bottom;
  if (shot.width <= 0 || shot.height <= 0) return shot;
  HDC source = GetDC(window);
  SetLayout(source, 0);  // a mirrored window's DC would mirror the copy
  BITMAPINFO info{};
  info.bmiHeader = {
      sizeof(BITMAPINFOHEADER), shot.width, -shot.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(source);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, shot.width, shot.height, source, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* pixels = static_cast<const unsigned*>(bits);
  shot.pixels.assign(pixels, pixels + static_cast<size_t>(shot.width) * shot.height);
  for (unsigned& p : shot.pixels) p &= 0xFFFFFF;
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(bitmap);
  ReleaseDC(window, source);
  return shot;
}

bool WriteBmp(const Shot& shot, const std::wstring& path) {
  if (shot.width <= 0 || shot.height <= 0) return false;
  int stride = (shot.width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER header{sizeof header, shot.width, -shot.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(stride) * shot.height;
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) &&
            WriteFile(out, &header, sizeof header, &written, nullptr);
  std::vector<unsigned char> row(static_cast<size_t>(stride));
  for (int y = 0; y < shot.height && ok; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      unsigned p = shot.At(x, y);
      row[x * 3] = p & 0xFF, row[x * 3 + 1] = (p >> 8) & 0xFF, row[x * 3 + 2] = (p >> 16) & 0xFF;
    }
    ok = WriteFile(out, row.data(), static_cast<DWORD>(stride), &written, nullptr) != 0;
  }
  CloseHandle(out);
  return ok;
}

ObservedRun RunObserved(const RunOptions& options) {
  ObservedRun run;
  std::wstring folder = MakeRunFolder();
  Helper receiver(folder, L"xrecv", L"");
  Helper answerer(folder, L"boxanswer", L"--press " + options.press);
  if (!receiver.WaitReady() || !answerer.WaitReady()) return run;

  Process program;
  ULONGLONG start = GetTickCount64();
  run.started = program.Start(options.program, options.arguments);
  bool exited = !run.started;
  HWND window = nullptr;
  bool watch = !options.windowClass.empty();
  while (run.started && GetTickCount64() < start + options.timeoutMs) {
    if (!exited && program.Wait(0)) {
      exited = true;
      run.exitCode = program.ExitCode();
    }
    if (watch && window == nullptr) {
      WindowSearch search{&options.windowClass, options.windowOfAnyProcess ? 0 : program.Id(),
                          nullptr};
      EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
      if ((window = search.found) != nullptr) {
        run.windowSeen = true;
        run.windowShownMs = static_cast<DWORD>(GetTickCount64() - start);
        wchar_t title[256] = {};
        GetWindowTextW(window, title, 256);
        run.windowTitle = helpers::ToUtf8(title);
        run.windowExStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
        RECT outer{};
        GetWindowRect(window, &outer);
        run.windowSize = {outer.right - outer.left, outer.bottom - outer.top};
        MONITORINFO monitor{sizeof monitor, {}, {}, 0};
        if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
          run.workArea = monitor.rcWork;
        Perform(window, options.actions, &run);
      }
    }
    bool windowDone = !watch || (window != nullptr && !IsWindow(window)) ||
                      (window == nullptr && exited && !options.windowOfAnyProcess);
    if (exited && windowDone && (!options.followRelaunch || AllStubsEnded(receiver))) break;
    Sleep(20);
  }
  if (!exited) run.exitCode = program.ExitCode();
  run.runMs = static_cast<DWORD>(GetTickCount64() - start);
  run.timedOut = run.started && (!exited || (watch && window != nullptr && IsWindow(window)));
  // Let the last log lines of a process that just ended arrive.
  Sleep(100);
  for (const auto& fields : receiver.Stop()) {
    if (fields.size() != 4) continue;
    run.log.push_back({fields[0], std::stoul(fields[1]), std::stoul(fields[2]), fields[3]});
  }
  for (const auto& fields : answerer.Stop()) {
    if (fields.size() != 4) continue;
    run.boxes.push_back({fields[0], fields[1], SplitButtons(fields[2]), fields[3]});
  }
  return run;
}

}  // namespace qorin::e2e
