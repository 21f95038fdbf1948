// The installer's natives: the table against the list of keys, the folder rules, and the calls
// as a script makes them.
#include "installer_natives.h"

#include <gtest/gtest.h>

#include <map>

#include "fake_system.h"
#include "install_path.h"
#include "installer_commands.h"
#include "system_rules.h"
#include "utf.h"

namespace qorin {
namespace {

struct FakeWindow : IXInstallerWindow, IXMessageBox {
  std::vector<std::u16string> log, boxes;
  std::vector<unsigned> commands;
  std::optional<int> exitCode;
  bool exited = false;
  std::u16string chosenFolder = u"D:\\";
  void PostCommand(unsigned id) override { commands.push_back(id); }
  void RequestExit(std::optional<int> code) override { exited = true, exitCode = code; }
  void ShowMainWindow(bool) override {}
  void HideWindow() override {}
  void SetTitle(const std::u16string&) override {}
  int ShowMessageBox(std::u16string_view text, std::u16string_view caption, unsigned) override {
    boxes.push_back(std::u16string(caption) + u"|" + std::u16string(text));
    if (answers.empty()) return answer;
    int next = answers.front();
    answers.erase(answers.begin());
    return next;
  }
  int answer = 6;
  std::vector<int> answers;
  std::u16string SelectFolder(const std::u16string&, const std::u16string&) override {
    return chosenFolder;
  }
  bool FocusControl(int) override { return false; }
  bool EnableControl(int, bool) override { return false; }
  std::optional<std::u16string> ControlText(int) override { return std::nullopt; }
  bool LoadRtf(int, const std::vector<uint8_t>&) override { return false; }
  bool ShiftDown() override { return false; }
  int64_t Now() override { return 0x100000005; }
  std::u16string FormatLocalTime(int64_t, const std::u16string&) override { return u""; }
  std::vector<std::u16string> Arguments() override { return {u"C:\\setup.exe", u"/S"}; }
  void Log(const std::u16string& line) override { log.push_back(line); }
  void RunBlocking(const std::function<void()>& work) override {
    ++blockingCalls;
    work();
  }
  void StartVersionCheck(const XVersionCheck& check) override { versionChecks.push_back(check); }
  int blockingCalls = 0;
  std::vector<XVersionCheck> versionChecks;
};

struct Natives {
  test::FakeSystem system;
  XPackage package{system};
  XInstallerData data{package, system};
  FakeWindow window;
  std::u16string installPath, commandLine = u"/S";
  struct : IXRegistry {
    std::map<std::u16string, std::u16string> values;  // "root|key|value" -> text
    std::u16string Name(const XRegistryPath& p, bool view64) {
      return DisplayInt(static_cast<int>(p.root)) + (view64 ? u"|64|" : u"|32|") + p.key + u"|" +
             p.value;
    }
    bool starved = false;  // reading throws std::bad_alloc
    std::u16string ReadText(const XRegistryPath& p, bool v) override {
      if (starved) throw std::bad_alloc();
      return values[Name(p, v)];
    }
    int32_t ReadInt(const XRegistryPath& p, bool v) override {
      return static_cast<int32_t>(values[Name(p, v)].size());
    }
    bool WriteText(const XRegistryPath& p, std::u16string_view t, bool v) override {
      values[Name(p, v)] = t;
      return true;
    }
    bool WriteInt(const XRegistryPath&, int32_t, bool) override { return false; }
    bool DeleteKey(const XRegistryPath& p, bool v) override { return values.erase(Name(p, v)) > 0; }
  } registry;
  struct : IXProcesses, IXSystemInfo, IXWeb {
    std::optional<uint32_t> exitCode;
    std::vector<uintptr_t> windows;  // FindTopWindow answers, the last one repeated
    std::vector<std::u16string> commandLines, touched;
    uint32_t ticks = 1000;
    std::optional<uint32_t> RunAndWait(const std::u16string& line) override {
      commandLines.push_back(line);
      ticks += 25;
      return exitCode;
    }
    bool ShellOpen(const std::u16string&, const std::u16string&) override { return true; }
    bool CreateShortcut(const XShortcut&) override { return false; }
    uintptr_t FindTopWindow(const std::u16string&) override {
      uintptr_t w = windows.empty() ? 0 : windows.front();
      if (windows.size() > 1) windows.erase(windows.begin());
      return w;
    }
    void AskToClose(uintptr_t) override {}
    void Sleep(uint32_t ms) override { ticks += ms; }
    uint32_t Ticks() override { return ticks; }
    bool MutexExists(const std::u16string&) override { return false; }
    std::optional<XOsVersion> OsVersion() override { return XOsVersion{true, 6, 0, 2, 1}; }
    std::optional<uint16_t> NativeMachine() override { return std::nullopt; }
    std::optional<uint16_t> NativeArchitecture() override { return 9; }
    std::optional<unsigned> AccountGroups() override { return kGroupUsers; }
    std::u16string WindowsFolder() override { return u"C:\\Windows"; }
    bool NetworkAvailable() override { return true; }
    bool Touch(const std::u16string& url, const std::u16string& agent) override {
      touched.push_back(agent + u" " + url);
      return true;
    }
  } os;
  // No files but the real ones read through streams: every single call fails (folders
  // removed are recorded).
  struct NoFiles : test::ForwardingFiles {
    bool Remove(const std::u16string&) override { return false; }
    bool Rename(const std::u16string&, const std::u16string&) override { return false; }
    bool Copy(const std::u16string&, const std::u16string&) override { return false; }
    std::vector<std::u16string> removedFolders;
    bool RemoveFolder(const std::u16string& path) override {
      removedFolders.push_back(path);
      return false;
    }
    bool CreateFolder(const std::u16string&) override { return false; }
    std::optional<uint32_t> Attributes(const std::u16string&) override { return std::nullopt; }
    bool SetAttributes(const std::u16string&, uint32_t) override { return false; }
    std::vector<XFoundEntry> Find(const std::u16string&) override { return {}; }
    std::u16string TempFolder() override { return u""; }
    std::u16string TempFileName(const std::u16string&, const std::u16string&) override {
      return u"";
    }
    std::u16string Canonicalize(const std::u16string& p) override { return p; }
    uint32_t LastError() override { return 0; }
  } files;
  XInstallerNatives natives{{data, package, window, window, registry, XSystemCalls{os, os, os},
                             files, installPath, commandLine}};

  // An argument: a text or an integer.
  struct Arg {
    Arg(const char16_t* t) : text(t), isText(true) {}
    Arg(int n) : number(n) {}
    std::u16string text;
    int number = 0;
    bool isText = false;
  };

  // Calls a key with integer and text arguments; the result as text ("" for none).
  std::u16string Call(std::u16string_view key, std::vector<Arg> args = {},
                      bool* handled = nullptr) {
    std::vector<XScriptValue> values(args.size());
    std::vector<XScriptValue*> pointers;
    for (size_t i = 0; i < args.size(); ++i) {
      if (args[i].isText) {
        values[i].SetString(args[i].text);
      } else {
        values[i].SetInt(args[i].number);
      }
      pointers.push_back(&values[i]);
    }
    XScriptValue result;
    bool done = natives.Call(key, {pointers.data(), static_cast<int32_t>(pointers.size()),
                                   &result}) == kHostCallHandled;
    if (handled != nullptr) *handled = done;
    return result.Is(XScriptType::Int) ? DisplayInt(result.Int()) : std::u16string(ToText(result));
  }
};

TEST(InstallerNatives, TableInRegistrationOrder) {
  const char16_t* keys[] = {u"StartInstall@v",
                            u"DoExit@v",
                            u"DoExit@i",
                            u"DoSelectFolder@ss",
                            u"SetInstallPath@s",
                            u"GetInstallPath@v",
                            u"RemoveEndBS@s",
                            u"SetName@s",
                            u"GetAppVersion@v",
                            u"GetBetaVersion@v",
                            u"GetTargetMachine@v",
                            u"DigPath@s",
                            u"LoadRTF@is",
                            u"SetLanguage@s",
                            u"SetTitle@s",
                            u"GetLanguageAsLocal@v",
                            u"GetLanguage@v",
                            u"Is64BitOS@v",
                            u"GetPlatform@v",
                            u"LANG@s",
                            u"GetRegStr@s",
                            u"GetRegStr64@s",
                            u"GetRegInt@s",
                            u"GetRegInt64@s",
                            u"SetRegStr@ss",
                            u"SetRegStr64@ss",
                            u"SetRegInt@si",
                            u"SetRegInt64@si",
                            u"MessageBox@s",
                            u"MessageBox@i",
                            u"MessageBox@si",
                            u"CreateShortcut@ssss",
                            u"ExecWait@ss",
                            u"Sleep@i",
                            u"TouchURL@ss",
                            u"ShellExecute@s",
                            u"RunNonElevated@ss",
                            u"GetPackingDate@s",
                            u"GetIniStr@sss",
                            u"CloseApp@ss",
                            u"CloseApp@s",
                            u"WaitAppExit@si",
                            u"DeleteFile@s",
                            u"DeleteOrMoveFile@s",
                            u"RemoveDirectory@s",
                            u"DeleteFolderRec@s",
                            u"RegDeleteKey@s",
                            u"RegDeleteKey64@s",
                            u"GetAccountType@v",
                            u"IsXPOrLess@v",
                            u"IsVistaOrLess@v",
                            u"GetTime@v",
                            u"HideWindow@v",
                            u"GetCommandLine@v",
                            u"GetCommandLine@i",
                            u"IsFile@s",
                            u"CheckVersionAsync@ssssss",
                            u"FindWindow@s",
                            u"CopyFile@ss",
                            u"ShowMainWindow@i",
                            u"SetFocusByID@i",
                            u"GetControlText@i",
                            u"SetControlEnable@ii",
                            u"IsValidEmail@s",
                            u"IsShiftPressing@v",
                            u"MutexExist@s"};
  auto table = InstallerNatives();
  ASSERT_EQ(table.size(), std::size(keys));
  for (size_t i = 0; i < table.size(); ++i) EXPECT_EQ(std::u16string(table[i].key), keys[i]) << i;
}

TEST(InstallerNatives, FolderRulesAndTexts) {
  for (const char16_t* good : {u"C:\\App", u"c:/x", u"한:\\폴더"})
    EXPECT_TRUE(IsValidInstallPath(good));
  for (const char16_t* bad : {u"C:\\", u"C:\\\\App", u"\\\\server\\share", u"1:\\x", u"C:"})
    EXPECT_FALSE(IsValidInstallPath(bad));
  EXPECT_EQ(WithFinalSeparator(u"C:/Games/App"), u"C:/Games/App\\");
  EXPECT_EQ(WithFinalSeparator(u""), u"");
  EXPECT_EQ(RemoveEndBS(u"C:\\x\\"), u"C:\\x");
  EXPECT_EQ(RemoveEndBS(u"C:\\x"), u"C:\\x");
  EXPECT_TRUE(IsValidEmail(u"  first.last@host  "));
  EXPECT_TRUE(IsValidEmail(u"a.b@host")) << "a dot before the @ is enough";
  EXPECT_FALSE(IsValidEmail(u"@host.com"));
  EXPECT_FALSE(IsValidEmail(u"name@host"));
}

TEST(InstallerNatives, CallsAsScriptsMakeThem) {
  Natives n;
  bool handled = true;
  n.Call(u"StartInstall@v", {}, &handled);
  EXPECT_FALSE(handled) << "no name yet";
  EXPECT_EQ(n.window.boxes.back(), u"|call SetName() first");
  n.Call(u"SetName@s", {u"Demo"});
  n.Call(u"StartInstall@v", {}, &handled);
  EXPECT_EQ(n.window.boxes.back(), u"|call SetInstallPath() first");
  EXPECT_EQ(n.Call(u"SetInstallPath@s", {u"C:\\"}), u"0");
  EXPECT_EQ(n.Call(u"StartInstall@v"), u"0") << "a bare drive root";
  EXPECT_TRUE(n.window.commands.empty());
  EXPECT_EQ(n.Call(u"SetInstallPath@s", {u"C:/Games/Demo"}), u"1");
  EXPECT_EQ(n.Call(u"GetInstallPath@v"), u"C:/Games/Demo\\");
  EXPECT_EQ(n.Call(u"StartInstall@v"), u"1");
  EXPECT_EQ(n.window.commands, std::vector<unsigned>{kCmdStartInstall});
  EXPECT_EQ(n.Call(u"DoSelectFolder@ss", {u"C:\\", u"Where?"}), u"D:\\Demo");
  EXPECT_EQ(n.Call(u"MessageBox@si", {u"Sure?", 4}), u"6");
  n.Call(u"DoExit@i", {3});
  EXPECT_EQ(n.window.exitCode, 3);
  EXPECT_EQ(n.Call(u"GetCommandLine@i", {0}), u"C:\\setup.exe");
  EXPECT_EQ(n.Call(u"GetCommandLine@i", {99}), u"");
  EXPECT_EQ(n.Call(u"GetCommandLine@v"), u"/S");
  EXPECT_EQ(n.window.log.back(), u"GetCommandLine() =='/S'");
  EXPECT_EQ(n.Call(u"GetTime@v"), u"5") << "truncated to 32 bits";
  n.Call(u"DoExit@s", {u"x"}, &handled);
  EXPECT_FALSE(handled) << "no such signature";
}

TEST(InstallerNatives, ProgramsWindowsAndSystem) {
  Natives n;
  n.os.exitCode = 7;
  EXPECT_EQ(n.Call(u"ExecWait@ss", {u"C:\\p.exe", u"/x"}), u"7");
  EXPECT_EQ(n.os.commandLines.back(), u"\"C:\\p.exe\" /x");
  EXPECT_EQ(n.window.log,
            (std::vector<std::u16string>{u"before execWait();",
                                         u"@@rExecWait('C:\\p.exe', '/x')==FALSE, 25ms"}));
  n.os.exitCode.reset();
  EXPECT_EQ(n.Call(u"ExecWait@ss", {u"C:\\missing.exe", u""}), u"0") << "as if it returned 0";
  EXPECT_EQ(n.window.log.back(), u"@@rExecWait('C:\\missing.exe', '')==FALSE, 25ms");
  n.os.exitCode = 0;
  n.Call(u"ExecWait@ss", {u"C:\\p.exe", u""});
  EXPECT_EQ(n.window.log.back(), u"ExecWait('C:\\p.exe', '')==TRUE, 25ms");
  n.Call(u"Sleep@i", {5});
  EXPECT_EQ(n.window.blockingCalls, 4);

  EXPECT_EQ(n.Call(u"CloseApp@s", {u"Product"}), u"1") << "no window";
  n.os.windows = {11, 11};
  EXPECT_EQ(n.Call(u"CloseApp@s", {u"Product"}), u"0") << "still there after one attempt";
  n.os.windows = {11, 12, 12, 12};
  EXPECT_EQ(n.Call(u"CloseApp@s", {u"Product"}), u"0") << "another window is tried once";
  n.data.Config().title = u"Setup";
  n.os.windows = {11, 11, 11, 11, 0};
  n.window.answer = 1;  // OK, then Cancel
  n.window.answers = {1, 2};
  EXPECT_EQ(n.Call(u"CloseApp@ss", {u"Product", u"Close it"}), u"0");
  EXPECT_EQ(n.window.boxes, (std::vector<std::u16string>{u"Setup|Close it", u"Setup|Close it"}));

  EXPECT_EQ(n.Call(u"Is64BitOS@v"), u"1");
  EXPECT_EQ(n.Call(u"GetPlatform@v"), u"x64");
  EXPECT_EQ(n.Call(u"IsVistaOrLess@v") + n.Call(u"IsXPOrLess@v"), u"10");
  EXPECT_EQ(n.Call(u"GetAccountType@v"), u"User");
  n.commandLine = u"/32";
  EXPECT_EQ(n.Call(u"Is64BitOS@v") + n.Call(u"GetPlatform@v"), u"0x86");
  n.commandLine = u"/arm";
  EXPECT_EQ(n.Call(u"Is64BitOS@v") + n.Call(u"GetPlatform@v"), u"1ARM64");
  n.commandLine = u"/32 /S";
  EXPECT_EQ(n.Call(u"GetPlatform@v"), u"x64") << "only the exact command line";

  n.Call(u"TouchURL@ss", {u"Agent/1", u"http://h/t"});
  EXPECT_EQ(n.os.touched, std::vector<std::u16string>{u"Agent/1 http://h/t"});
  n.Call(u"CheckVersionAsync@ssssss",
         {u"missing.ini", u"Version", u"Build", u"http://h/v.ini", u"Version", u"Build"});
  EXPECT_EQ(n.window.log.back(), u"CheckVersionAsync(http://h/v.ini);");
  EXPECT_TRUE(n.window.versionChecks.empty()) << "no local version, no request";
  n.Call(u"RunNonElevated@ss", {u"C:/Program Files/Q/q.exe", u"/a"});
  EXPECT_EQ(n.window.log[n.window.log.size() - 2],
            u"RunNonElevated-'C:\\Program Files\\Q\\q.exe','/a'")
      << "\"/\" in the program's path becomes \"\\\", as for shortcuts";
}

TEST(InstallerNatives, RegistryPathsAndCalls) {
  auto value = ParseRegistryValuePath(u"HKLM/SOFTWARE/Corvala/ProgramFolder");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->root, XRegistryRoot::kLocalMachine);
  EXPECT_EQ(value->key, u"SOFTWARE\\Corvala");
  EXPECT_EQ(value->value, u"ProgramFolder");
  auto defaultValue = ParseRegistryValuePath(u"HKEY_CURRENT_USER\\Software\\Corvala\\");
  ASSERT_TRUE(defaultValue);
  EXPECT_EQ(defaultValue->key, u"Software\\Corvala");
  EXPECT_EQ(defaultValue->value, u"") << "a final separator names the default value";
  auto underRoot = ParseRegistryValuePath(u"HKCR\\.txt");
  ASSERT_TRUE(underRoot);
  EXPECT_EQ(underRoot->key, u"");
  EXPECT_EQ(underRoot->value, u".txt");
  EXPECT_FALSE(ParseRegistryValuePath(u"hklm/SOFTWARE/x")) << "roots keep their case";
  EXPECT_FALSE(ParseRegistryValuePath(u"HKLM"));
  EXPECT_FALSE(ParseRegistryValuePath(u"HKU/x/y"));
  EXPECT_EQ(ParseRegistryKeyPath(u"HKLM/SOFTWARE/Corvala/")->key, u"SOFTWARE\\Corvala\\");

  Natives n;
  EXPECT_EQ(n.Call(u"SetRegStr64@ss", {u"HKCU/Software/Q/Name", u"v"}), u"1");
  EXPECT_EQ(n.Call(u"GetRegStr64@s", {u"HKCU\\Software\\Q\\Name"}), u"v");
  EXPECT_EQ(n.Call(u"GetRegStr@s", {u"HKCU/Software/Q/Name"}), u"") << "the other view";
  EXPECT_EQ(n.Call(u"SetRegStr@ss", {u"hkcu/Software/Q/Name", u"v"}), u"0");
  EXPECT_EQ(n.Call(u"GetRegInt@s", {u"nowhere"}), u"0");
  // A native out of memory is answered as such: the exception goes no further than the table.
  n.registry.starved = true;
  XScriptValue path, result;
  path.SetString(u"HKCU/Software/Q/Name");
  XScriptValue* args[] = {&path};
  EXPECT_EQ(n.natives.Call(u"GetRegStr64@s", {args, 1, &result}), kHostCallOutOfMemory);
  // Keys no uninstaller means: roots, keys right under them, the shared ones below SOFTWARE.
  n.registry.values[u"1|32|Software|"] = u"hive";
  for (const char16_t* key :
       {u"HKCU/", u"HKCU", u"HKCU/Software/", u"HKLM/SOFTWARE/Microsoft", u"HKLM/software/classes/",
        u"HKLM/SOFTWARE/WOW6432Node", u"HKLM/SOFTWARE/Wow6432Node/Policies/"}) {
    EXPECT_EQ(n.Call(u"RegDeleteKey@s", {key}), u"0") << Utf16ToUtf8(key);
  }
  EXPECT_EQ(
      n.window.log.back(),
      u"@@rRegDeleteKey('HKLM/SOFTWARE/Wow6432Node/Policies/') refused: a root or a shared key");
  n.registry.values[u"0|32|SOFTWARE\\Microsoft\\Corvala|"] = u"ours";
  EXPECT_EQ(n.Call(u"RegDeleteKey@s", {u"HKLM/SOFTWARE/Microsoft/Corvala"}), u"1");
  // Folders no uninstaller means: nothing, a drive's or a share's root, however written.
  for (const char16_t* folder :
       {u"", u"C:", u"C:\\", u"c:/", u"\\", u"C:\\Windows\\..", u"\\\\server\\share\\",
        u"\\\\?\\C:\\", u"//server/share/./", u"\\\\?\\UNC\\server\\share"}) {
    EXPECT_EQ(n.Call(u"DeleteFolderRec@s", {folder}), u"0") << Utf16ToUtf8(folder);
    EXPECT_TRUE(n.window.log.back().ends_with(u"refused: no folder, or a drive or share"));
  }
  n.Call(u"DeleteFolderRec@s", {u"C:/app/sub/"});
  EXPECT_EQ(n.files.removedFolders, std::vector<std::u16string>{u"\\\\?\\C:\\app\\sub"})
      << "\"/\" becomes \"\\\" before the path is made extended";
  for (const char16_t* folder : {u"C:\\app", u"\\\\server\\share\\app", u"C:\\a\\..\\b", u"sub"})
    EXPECT_FALSE(IsRootPath(folder)) << Utf16ToUtf8(folder);
}

}  // namespace
}  // namespace qorin
