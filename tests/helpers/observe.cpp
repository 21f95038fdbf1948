// observe: runs one program under observation and prints what a developer would see: the lines
// received by "XRecv" and "XScriptDebugConsole", every message box (answered with --press),
// and the exit code, which it returns as its own.
//
//   observe [--press BUTTON] [--timeout MS] [--window CLASS [--close-after MS]] [--follow 1]
//   [--shot FILE.bmp [--settle MS] [--click X,Y | --pause MS]...] PROGRAM [ARGUMENTS...]
//
// With --window, the window of that class is reported when it shows, and closed (WM_CLOSE)
// --close-after milliseconds later. With --shot FILE its client area is written to FILE as a
// BMP --settle milliseconds (1000) after it shows, and then it is closed; each --click X,Y
// first presses the left button at that point of the client area (700 ms after the window shows,
// then 300 ms apart); --pause MS waits longer between two of them. With --follow 1 the run
// lasts until the stub's relaunched copies have ended too.
//
// A relative PROGRAM is taken from the folder of observe.exe (the build folder).
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "helper_win.h"
#include "observed_run.h"

namespace {

std::wstring QuoteArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
  std::wstring quoted = L"\"";
  for (wchar_t c : argument) {
    if (c == L'"') quoted += L'\\';
    quoted += c;
  }
  return quoted + L"\"";
}

// "X,Y" in client coordinates: a pointer move there.
qorin::e2e::WindowAction ClickAt(const wchar_t* text) {
  wchar_t* end = nullptr;
  unsigned x = std::wcstoul(text, &end, 10);
  unsigned y = *end == L',' ? std::wcstoul(end + 1, nullptr, 10) : 0;
  return {qorin::e2e::WindowAction::kMove, (x & 0xFFFF) << 16 | (y & 0xFFFF)};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  qorin::e2e::RunOptions options;
  std::wstring shotPath;
  unsigned settleMs = 1000;
  std::vector<qorin::e2e::WindowAction> clicks;
  int i = 1;
  for (; i + 1 < argc && argv[i][0] == L'-' && argv[i][1] == L'-'; i += 2) {
    std::wstring flag = argv[i];
    if (flag == L"--press")
      options.press = argv[i + 1];
    else if (flag == L"--timeout")
      options.timeoutMs = std::wcstoul(argv[i + 1], nullptr, 10);
    else if (flag == L"--window")
      options.windowClass = argv[i + 1];
    else if (flag == L"--follow")
      options.followRelaunch = argv[i + 1][0] == L'1';
    else if (flag == L"--shot")
      shotPath = argv[i + 1];
    else if (flag == L"--click")
      clicks.push_back(ClickAt(argv[i + 1]));
    else if (flag == L"--pause")
      clicks.push_back({qorin::e2e::WindowAction::kWait,
                        static_cast<unsigned>(std::wcstoul(argv[i + 1], nullptr, 10))});
    else if (flag == L"--settle")
      settleMs = static_cast<unsigned>(std::wcstoul(argv[i + 1], nullptr, 10));
    else if (flag == L"--close-after")
      options.actions = {{qorin::e2e::WindowAction::kWait,
                          static_cast<unsigned>(std::wcstoul(argv[i + 1], nullptr, 10))},
                         {qorin::e2e::WindowAction::kClose}};
  }
  if (i >= argc) {
    std::fputs(
        "usage: observe [--press BUTTON] [--timeout MS] [--window CLASS [--close-after MS]] "
        "[--follow 1] [--shot FILE.bmp [--settle MS] [--click X,Y | --pause MS]...] PROGRAM "
        "[ARGUMENTS...]\n",
        stderr);
    return 2;
  }
  if (!shotPath.empty()) {
    using qorin::e2e::WindowAction;
    options.actions.clear();
    for (const WindowAction& at : clicks) {
      if (at.kind == WindowAction::kWait) {
        options.actions.push_back(at);
        continue;
      }
      options.actions.insert(options.actions.end(),
                             {{WindowAction::kWait, options.actions.empty() ? 700u : 300u},
                              at,
                              {WindowAction::kDown},
                              {WindowAction::kUp}});
    }
    options.actions.insert(
        options.actions.end(),
        {{WindowAction::kWait, settleMs}, {WindowAction::kShot}, {WindowAction::kClose}});
  }
  std::wstring program = argv[i++];
  bool absolute =
      program.size() > 1 && (program[1] == L':' || program[0] == L'\\' || program[0] == L'/');
  options.program = absolute ? program : qorin::e2e::BuildFile(program.c_str());
  for (; i < argc; ++i) {
    if (!options.arguments.empty()) options.arguments += L' ';
    options.arguments += QuoteArgument(argv[i]);
  }

  qorin::e2e::ObservedRun run = qorin::e2e::RunObserved(options);
  if (!run.started) {
    std::fprintf(stderr, "observe: could not start %s\n",
                 qorin::helpers::ToUtf8(options.program).c_str());
    return 1;
  }
  for (const auto& line : run.log) std::printf("[%s] %s\n", line.window.c_str(), line.text.c_str());
  for (const auto& box : run.boxes) {
    std::printf("[message box] %s: %s (pressed %s)\n", box.caption.c_str(), box.text.c_str(),
                box.pressed.c_str());
  }
  if (run.windowSeen) {
    std::printf("[window] \"%s\" shown %lu ms after the start\n", run.windowTitle.c_str(),
                run.windowShownMs);
  }
  if (!shotPath.empty()) {
    bool written = !run.shots.empty() && qorin::e2e::WriteBmp(run.shots.front(), shotPath);
    std::printf("[shot] %s\n", written ? "written" : "failed");
  }
  if (run.timedOut)
    std::printf("[timeout] the program was still running after %lu ms\n", options.timeoutMs);
  std::printf("[exit code] %lu\n", run.exitCode);
  std::printf("[run] %lu ms\n", run.runMs);
  return static_cast<int>(run.exitCode);
}
