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

// A fresh folder for one run's files under the temporary folder.
std::wstring MakeRunFolder() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  static unsigned counter = 0;
  std::wstring folder = std::wstring(temp) + L"qorin-e2e-" +
                        std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder + L"\\";
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

 private:
  HANDLE handle_ = nullptr;
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

ObservedRun RunObserved(const RunOptions& options) {
  ObservedRun run;
  std::wstring folder = MakeRunFolder();
  Helper receiver(folder, L"xrecv", L"");
  Helper answerer(folder, L"boxanswer", L"--press " + options.press);
  if (!receiver.WaitReady() || !answerer.WaitReady()) return run;

  Process program;
  run.started = program.Start(options.program, options.arguments);
  if (run.started) {
    run.timedOut = !program.Wait(options.timeoutMs);
    run.exitCode = program.ExitCode();
  }
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
