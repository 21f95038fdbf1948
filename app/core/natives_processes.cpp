// Natives of programs and windows: running and waiting, the shell, shortcuts, closing a running
// product. ExecWait and Sleep run as blocking calls: on a worker, while the window stays alive.
#include "install_path.h"
#include "installer_natives.h"
#include "path.h"
#include "script_value.h"
#include "system_rules.h"

namespace qorin {
namespace {

constexpr unsigned kBoxOkCancel = 1;  // MB_OKCANCEL
constexpr int kAnswerCancel = 2;      // IDCANCEL

std::u16string Quoted(const std::u16string& a, const std::u16string& b) {
  return u"('" + a + u"', '" + b + u"')";
}

// The target's folder as a working folder: no final "\" except after a drive.
std::u16string WorkingFolder(std::u16string_view target) {
  std::u16string folder(FolderPart(target));
  if (folder.size() > 3 && folder.back() == u'\\') folder.pop_back();
  return folder;
}

bool MakeShortcut(XInstallerNativeContext& c, const std::u16string& link,
                  const std::u16string& target, const std::u16string& arguments,
                  const std::u16string& description) {
  return c.system.processes.CreateShortcut(
      {link, target, WorkingFolder(target), arguments, description});
}

// One round per window found: ask it to close, give it 3 s, and see whether it is still there.
int CloseApp(XInstallerNativeContext& c, const std::u16string& windowClass,
             const std::u16string* question) {
  IXProcesses& processes = c.system.processes;
  for (;;) {
    uintptr_t window = processes.FindTopWindow(windowClass);
    if (window == 0) return 1;
    processes.AskToClose(window);
    processes.Sleep(3000);
    if (processes.FindTopWindow(windowClass) != window) continue;
    if (question == nullptr) return 0;
    if (c.messageBox.ShowMessageBox(*question, c.data.Config().title, kBoxOkCancel) ==
        kAnswerCancel) {
      return 0;
    }
  }
}

}  // namespace

bool ExecWait(XInstallerNativeContext& c, const XNativeCall& call) {
  std::u16string program = call.Text(0), arguments = call.Text(1);
  c.window.Log(u"before execWait();");
  IXProcesses& processes = c.system.processes;
  uint32_t start = processes.Ticks();
  std::optional<uint32_t> exitCode;
  std::u16string commandLine = ExecCommandLine(program, arguments);
  c.window.RunBlocking([&] { exitCode = processes.RunAndWait(commandLine); });
  std::u16string elapsed = DisplayInt(static_cast<int32_t>(processes.Ticks() - start)) + u"ms";
  bool success = exitCode == 0u;
  c.window.Log((success ? u"ExecWait" : u"@@rExecWait") + Quoted(program, arguments) +
               (success ? u"==TRUE, " : u"==FALSE, ") + elapsed);
  call.SetInt(static_cast<int32_t>(exitCode.value_or(0)));
  return true;
}

bool SleepNative(XInstallerNativeContext& c, const XNativeCall& call) {
  uint32_t ms = static_cast<uint32_t>(call.Int(0));
  c.window.RunBlocking([&c, ms] { c.system.processes.Sleep(ms); });
  return true;
}

bool ShellExecuteNative(XInstallerNativeContext& c, const XNativeCall& call) {
  std::u16string file = call.Text(0);
  if (!c.system.processes.ShellOpen(file, u""))
    c.window.Log(u"@@rShellExecute('" + file + u"')failed");
  return true;
}

// The desktop shell starts the program through a temporary shortcut, so it runs with the
// shell's rights rather than the installer's.
bool RunNonElevated(XInstallerNativeContext& c, const XNativeCall& call) {
  std::u16string program = call.Path(0), arguments = call.Text(1);
  c.window.Log(u"RunNonElevated-'" + program + u"','" + arguments + u"'");
  std::u16string link = WithFinalSeparator(c.installPath) + u"~temp.lnk";
  bool started = false;
  if (MakeShortcut(c, link, program, arguments, u"")) {
    std::u16string windows = c.system.info.WindowsFolder();
    if (!windows.empty()) {
      started = c.system.processes.ShellOpen(windows + u"\\explorer.exe", link);
      c.system.processes.Sleep(2000);
    }
    c.fileAccess.Remove(link);
  }
  if (!started) c.window.Log(u"@@rRunNonElevated" + Quoted(program, arguments) + u"failed");
  call.SetBool(started);
  return true;
}

bool CreateShortcut(XInstallerNativeContext& c, const XNativeCall& call) {
  bool made = MakeShortcut(c, call.Path(0), call.Path(1), call.Text(2), call.Text(3));
  call.SetBool(made);
  return true;
}

bool CloseAppAsking(XInstallerNativeContext& c, const XNativeCall& call) {
  std::u16string question = call.Text(1);
  call.SetInt(CloseApp(c, call.Text(0), &question));
  return true;
}

bool CloseAppOnce(XInstallerNativeContext& c, const XNativeCall& call) {
  call.SetInt(CloseApp(c, call.Text(0), nullptr));
  return true;
}

bool WaitAppExit(XInstallerNativeContext& c, const XNativeCall& call) {
  std::u16string windowClass = call.Text(0);
  for (int32_t left = call.Int(1); left > 0; left -= 100) {
    if (c.system.processes.FindTopWindow(windowClass) == 0) break;
    c.system.processes.Sleep(100);
  }
  return true;
}

bool FindWindowNative(XInstallerNativeContext& c, const XNativeCall& call) {
  call.SetInt(static_cast<int32_t>(c.system.processes.FindTopWindow(call.Text(0))));
  return true;
}

bool MutexExist(XInstallerNativeContext& c, const XNativeCall& call) {
  call.SetBool(c.system.processes.MutexExists(call.Text(0)));
  return true;
}

}  // namespace qorin
