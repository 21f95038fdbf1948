// The process, file, system and network natives of a real stub under Wine: programs started and
// closed, files deleted and moved aside, shortcuts read back, the platform as the script sees
// it, the version check against a local web server.
#include <objbase.h>
#include <shlobj.h>

#include "stub_fixture.h"
#include "worker_thread.h"

namespace qorin::e2e {
namespace {

// A package whose skin runs one script at start-up; its texts are on the script console.
class SystemCalls : public StubStartup {
 protected:
  void UseScript(const std::string& body) {
    skin_ = "<XSkin><Head/><Body/><?script " + body + " ?></XSkin>";
  }
  std::vector<std::string> Console(const ObservedRun& run) {
    std::vector<std::string> lines;
    for (const std::string& text : run.Texts("XScriptDebugConsole")) {
      if (text.rfind("script print() - ", 0) == 0) lines.push_back(text.substr(17));
    }
    return lines;
  }
  static bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }
};

// A program of the build started beside the test; ended when the test ends.
class Started {
 public:
  explicit Started(const std::wstring& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring line = commandLine;
    CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                   &info_);
  }
  ~Started() {
    if (info_.hProcess == nullptr) return;
    TerminateProcess(info_.hProcess, 0);
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
  }
  Started(const Started&) = delete;
  Started& operator=(const Started&) = delete;
  // Waits until a top-level window of the class exists.
  static bool WaitForWindow(const wchar_t* windowClass) {
    for (int i = 0; i < 200 && FindWindowW(windowClass, nullptr) == nullptr; ++i) Sleep(50);
    return FindWindowW(windowClass, nullptr) != nullptr;
  }

 private:
  PROCESS_INFORMATION info_{};
};

TEST_F(SystemCalls, ProgramsWindowsAndMutexes) {
  Started product(Quoted(BuildFile(L"fake_product.exe")) + L" --window QorinFakeProduct");
  Started stubborn(Quoted(BuildFile(L"fake_product.exe")) + L" --window QorinStubborn --stubborn");
  ASSERT_TRUE(Started::WaitForWindow(L"QorinFakeProduct"));
  ASSERT_TRUE(Started::WaitForWindow(L"QorinStubborn"));
  HANDLE mutex = CreateMutexW(nullptr, FALSE, L"QorinE2EMutex");
  UseScript(
      "void OnInit() { "
      "print('exec ' + ExecWait(GetCommandLine(1), '--exit 7')); "
      "print('missing ' + ExecWait(GetCommandLine(2), '')); "
      "if (FindWindow('QorinFakeProduct') != 0) print('found'); "
      "print('close ' + CloseApp('QorinFakeProduct') + FindWindow('QorinFakeProduct')); "
      "print('none ' + CloseApp('QorinNoSuchWindow')); "
      "print('asked ' + CloseApp('QorinStubborn', 'Close the product first')); "
      "print('wait'); WaitAppExit('QorinStubborn', 300); "
      "print('mutex ' + MutexExist('QorinE2EMutex') + MutexExist('QorinE2ENoMutex')); "
      "Sleep(20); DoExit(4); } "
      "SetEventHandler(SKINEVENT_ONINIT, 'OnInit();');");
  RunOptions options = Options(Write(L"programs.exe", Package()));
  std::wstring missing = folder_ + L"missing.exe";
  options.arguments = Quoted(BuildFile(L"fake_product.exe")) + L" " + Quoted(missing);
  options.press = L"Cancel";
  ObservedRun run = RunObserved(options);
  CloseHandle(mutex);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 4u);
  EXPECT_EQ(Console(run), (std::vector<std::string>{"exec 7", "missing 0", "found", "close 10",
                                                    "none 1", "asked 0", "wait", "mutex 10"}));
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].caption, "Qorin E2E Setup");
  EXPECT_EQ(run.boxes[0].text, "Close the product first");
  std::vector<std::string> log = run.Texts();
  std::string program = helpers::ToUtf8(BuildFile(L"fake_product.exe"));
  auto exec = std::find(log.begin(), log.end(), "before execWait();");
  ASSERT_NE(exec, log.end());
  ASSERT_LT(exec + 1, log.end());
  EXPECT_EQ(exec[1].rfind("@@rExecWait('" + program + "', '--exit 7')==FALSE, ", 0), 0u) << exec[1];
  bool missingLogged = std::any_of(log.begin(), log.end(), [&](const std::string& line) {
    return line.rfind("@@rExecWait('" + helpers::ToUtf8(missing) + "', '')==FALSE, ", 0) == 0;
  });
  EXPECT_TRUE(missingLogged) << "only the log tells a missing program from one returning 0";
}

// A blocking call keeps the window alive; closing the window ends the call's worker, and the
// installer with it, while the program it waited for runs on.
TEST_F(SystemCalls, ClosingTheWindowEndsABlockingCall) {
  UseScript(
      "void OnInit() { print('waiting'); "
      "print('returned ' + ExecWait(GetCommandLine(1), '--window QorinWaitedFor')); } "
      "SetEventHandler(SKINEVENT_ONINIT, 'OnInit();');");
  RunOptions options = Options(Write(L"blocking.exe", Package()));
  options.arguments = Quoted(BuildFile(L"fake_product.exe"));
  XWorkerThread closer;
  closer.Start([] {
    ASSERT_TRUE(Started::WaitForWindow(L"QorinWaitedFor"));
    HWND installer = nullptr;
    for (int i = 0; i < 100 && installer == nullptr; ++i, Sleep(50))
      installer = FindWindowW(L"QORINCLASS", nullptr);
    Sleep(300);
    PostMessageW(installer, WM_CLOSE, 0, 0);
  });
  ObservedRun run = RunObserved(options);
  closer.Join();
  bool waitedForRuns = FindWindowW(L"QorinWaitedFor", nullptr) != nullptr;
  if (HWND waited = FindWindowW(L"QorinWaitedFor", nullptr)) PostMessageW(waited, WM_CLOSE, 0, 0);
  ASSERT_FALSE(run.timedOut) << "the worker was ended";
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_TRUE(waitedForRuns);
  std::vector<std::string> console = Console(run);
  ASSERT_FALSE(console.empty());
  EXPECT_EQ(console[0], "waiting");
}

// Reads a shell link back: target|arguments|working folder|description.
std::string ReadShortcut(const std::wstring& path) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  std::wstring fields[4];
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
    wchar_t text[MAX_PATH] = {};
    link->GetPath(text, MAX_PATH, nullptr, 0), fields[0] = text;
    link->GetArguments(text, MAX_PATH), fields[1] = text;
    link->GetWorkingDirectory(text, MAX_PATH), fields[2] = text;
    link->GetDescription(text, MAX_PATH), fields[3] = text;
  }
  if (file != nullptr) file->Release();
  if (link != nullptr) link->Release();
  CoUninitialize();
  return helpers::ToUtf8(fields[0] + L"|" + fields[1] + L"|" + fields[2] + L"|" + fields[3]);
}

TEST_F(SystemCalls, FilesFoldersAndShortcuts) {
  std::wstring f = folder_ + L"files";
  CreateDirectoryW(f.c_str(), nullptr);
  for (const wchar_t* name : {L"\\a.log", L"\\b.log"}) WriteWholeFile(f + name, "log");
  ASSERT_TRUE(WriteWholeFile(f + L"\\keep.txt", "[S]\r\nk = value\r\n"));
  std::wstring deep = f + L"\\tree";
  for (int i = 0; i < 40; ++i) {
    CreateDirectoryW(deep.c_str(), nullptr);
    WriteWholeFile(deep + L"\\file.txt", "x");
    deep += L"\\level";
  }
  CreateDirectoryW(deep.c_str(), nullptr);
  WriteWholeFile(deep + L"\\readonly.txt", "x");
  SetFileAttributesW((deep + L"\\readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  std::wstring running = f + L"\\running.exe";
  ASSERT_TRUE(CopyFileW(BuildFile(L"fake_product.exe").c_str(), running.c_str(), FALSE));
  Started product(Quoted(running) + L" --window QorinRunningProduct");
  ASSERT_TRUE(Started::WaitForWindow(L"QorinRunningProduct"));
  UseScript(
      "void OnInit() { string f = GetCommandLine(1); "
      "print('wild ' + DeleteFile(f + '/*.log') + DeleteFile(f + '/*.none') + "
      "DeleteFile(f + '/none.txt')); "
      "print('moved ' + DeleteOrMoveFile(f + '/running.exe')); "
      "print('tree ' + DeleteFolderRec(f + '/tree')); "
      "DigPath(f + '/new/a/b'); "
      "print('isfile ' + IsFile(f + '/keep.txt') + IsFile(f + '/new/a')); "
      "print('copy ' + CopyFile(f + '/keep.txt', f + '/copy.txt')); "
      "print('rmdir ' + RemoveDirectory(f + '/new/a/b') + RemoveDirectory(f + '/new')); "
      "print('ini ' + GetIniStr(f + '/keep.txt', 's', 'K') + GetIniStr(f + '/no.ini', 's', 'k')); "
      "print('link ' + CreateShortcut(f + '/app.lnk', f + '/keep.txt', '--flag', 'The product')); "
      "DoExit(0); } "
      "SetEventHandler(SKINEVENT_ONINIT, 'OnInit();');");
  RunOptions options = Options(Write(L"files.exe", Package()));
  options.arguments = Quoted(f);
  ObservedRun run = RunObserved(options);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(Console(run), (std::vector<std::string>{"wild 110", "moved 1", "tree 1", "isfile 10",
                                                    "copy 1", "rmdir 10", "ini value", "link 1"}));
  EXPECT_FALSE(helpers::FileExists(f + L"\\a.log"));
  EXPECT_FALSE(helpers::FileExists(running)) << "out of the installation folder";
  EXPECT_EQ(GetFileAttributesW((f + L"\\tree").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesW((f + L"\\new\\a").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ReadWholeFile(f + L"\\copy.txt"), "[S]\r\nk = value\r\n");
  std::vector<std::string> log = run.Texts();
  EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& line) {
    return line.rfind("CopyFile('", 0) == 0 && line.find("') success") != std::string::npos;
  }));
  std::string target = helpers::ToUtf8(f + L"\\keep.txt");
  EXPECT_EQ(ReadShortcut(f + L"\\app.lnk"),
            target + "|--flag|" + helpers::ToUtf8(f) + "|The product");
}

// What the script learns of the system matches what this test program sees, built as the stub
// is: a 64-bit program is on a 64-bit system, a 32-bit one sees it through WOW64. "/32" and
// "/arm" must be the whole command line.
TEST_F(SystemCalls, PlatformAsTheCommandLineShowsIt) {
  BOOL wow64 = sizeof(void*) == 8;
  if (!wow64) IsWow64Process(GetCurrentProcess(), &wow64);
  UseScript(
      "void OnInit() { print(GetPlatform() + ' ' + Is64BitOS() + ' ' + IsXPOrLess() + "
      "IsVistaOrLess() + ' ' + GetAccountType()); DoExit(0); } "
      "SetEventHandler(SKINEVENT_ONINIT, 'OnInit();');");
  std::wstring program = Write(L"platform.exe", Package());
  std::string native = wow64 ? "x64 1" : "x86 0";
  for (auto [arguments, expected] : {std::pair<const wchar_t*, std::string>{L"", native},
                                     {L"/32", "x86 0"},
                                     {L"/arm", wow64 ? "ARM64 1" : "ARM64 0"},
                                     {L"/32 /S", native}}) {
    RunOptions options = Options(program);
    options.arguments = arguments;
    ObservedRun run = RunObserved(options);
    ASSERT_EQ(Console(run).size(), 1u) << helpers::ToUtf8(arguments);
    EXPECT_EQ(Console(run)[0], expected + " 00 Admin") << helpers::ToUtf8(arguments);
  }
}

// The tests' web server (http_server.py) on the host, ended with the test.
class WebServer {
 public:
  WebServer(const std::wstring& folder, int port) : folder_(folder) {
    std::string command = "setsid python3 '" + std::string(QORIN_HTTP_SERVER) + "' " +
                          std::to_string(port) + " '" + UnixPath(folder + L"port.txt") + "' '" +
                          UnixPath(folder + L"requests.txt") + "' </dev/null >/dev/null 2>&1 &";
    RunHostShell(command + " sleep 0", folder + L"server-started");
    for (int i = 0; i < 100 && port_.empty(); ++i, Sleep(50)) {
      port_ = ReadWholeFile(folder + L"port.txt");
    }
  }
  ~WebServer() {
    if (port_.empty()) return;
    RunHostShell("python3 -c \\\"import urllib.request as u; u.urlopen('http://127.0.0.1:" + port_ +
                     "/stop')\\\"",
                 folder_ + L"server-stopped");
  }
  std::wstring Url(const std::string& path) const {
    return helpers::FromUtf8("http://127.0.0.1:" + port_ + path);
  }
  bool Listening() const { return !port_.empty(); }
  std::string Requests() const { return ReadWholeFile(folder_ + L"requests.txt"); }

 private:
  std::wstring folder_;
  std::string port_;
};

TEST_F(SystemCalls, VersionCheckAndTouch) {
  WebServer server(folder_, 0);
  ASSERT_TRUE(server.Listening());
  parts_.config = "setup.ini";
  extraFiles_.push_back({"version.ini", Bytes("[Version]\r\nBuild=100\r\n")});
  UseScript(
      "void OnCheckVersion(int remote, int local) { print('newer ' + remote + ' ' + local); } "
      "void OnInit() { TouchURL('QorinAgent/1.0', GetCommandLine(1) + '/touch?n=1'); "
      "CheckVersionAsync(GetCommandLine(3), 'Version', 'Build', GetCommandLine(2), 'Version', "
      "'Build'); } "
      "SetEventHandler(SKINEVENT_ONINIT, 'OnInit();');");
  std::wstring program = Write(L"version.exe", Package());
  struct Case {
    std::wstring url;
    const char* local;
    std::vector<std::string> console;
    const char* callback;
  } cases[] = {
      {server.Url("/newer.ini"), "version.ini", {"newer 200 100"}, "OnCheckVersion(200, 100);"},
      {server.Url("/equal.ini"), "version.ini", {"newer 100 100"}, "OnCheckVersion(100, 100);"},
      {server.Url("/moved"), "version.ini", {"newer 200 100"}, "OnCheckVersion(200, 100);"},
      {server.Url("/nokey.ini"), "version.ini", {}, nullptr},
      {server.Url("/loop"), "version.ini", {}, nullptr},
      {server.Url("/huge"), "version.ini", {}, nullptr},
      {server.Url("/missing.ini"), "version.ini", {}, nullptr},
      {server.Url("/unasked.ini"), "none.ini", {}, nullptr},
      {L"http://127.0.0.1:9/newer.ini", "version.ini", {}, nullptr},
  };
  for (const Case& c : cases) {
    RunOptions options =
        WindowOptions(program, {{WindowAction::kWait, 1500}, {WindowAction::kClose}});
    options.arguments =
        Quoted(server.Url("")) + L" " + Quoted(c.url) + L" " + helpers::FromUtf8(c.local);
    ObservedRun run = RunObserved(options);
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(Console(run), c.console) << helpers::ToUtf8(c.url);
    if (c.callback != nullptr) {
      EXPECT_TRUE(Contains(run.Texts("XScriptDebugConsole"), c.callback));
    }
    std::vector<std::string> log = run.Texts();
    EXPECT_TRUE(Contains(log, "CheckVersionAsync(" + helpers::ToUtf8(c.url) + ");"));
    EXPECT_TRUE(Contains(log, "TouchURL: " + helpers::ToUtf8(server.Url("/touch?n=1"))));
  }
  std::string requests = server.Requests();
  EXPECT_NE(requests.find("GET /touch?n=1 QorinAgent/1.0\n"), std::string::npos) << requests;
  EXPECT_NE(requests.find("GET /newer.ini QorinE2E\n"), std::string::npos)
      << "the version file is asked for with the product's name";
  EXPECT_EQ(requests.find("/unasked.ini"), std::string::npos) << "no local version, no request";
  size_t loops = 0;
  for (size_t at = requests.find("GET /loop "); at != std::string::npos;
       at = requests.find("GET /loop ", at + 1))
    ++loops;
  EXPECT_EQ(loops, 6u) << "the request and five redirects";
  EXPECT_NE(requests.find("ABANDONED /huge"), std::string::npos) << "not read to its end";
}

// A drive letter of the prefix for a scratch folder while it lives: a link in the prefix's
// "dosdevices" folder, made on the host (DefineDosDeviceW fails under Wine: tests/wine/README.md).
class ScratchDrive {
 public:
  ScratchDrive(const std::wstring& folder, const std::wstring& markers) : markers_(markers) {
    std::string link = "\"$WINEPREFIX/dosdevices/q:\"";
    defined_ =
        GetLogicalDrives() & (1u << ('Q' - 'A'))
            ? false
            : RunHostShell("test -n \"$WINEPREFIX\" && ln -s '" + UnixPath(folder) + "' " + link,
                           markers + L"drive-made");
  }
  ~ScratchDrive() {
    if (defined_) RunHostShell("rm -f \"$WINEPREFIX/dosdevices/q:\"", markers_ + L"drive-gone");
  }
  ScratchDrive(const ScratchDrive&) = delete;
  ScratchDrive& operator=(const ScratchDrive&) = delete;
  bool Defined() const { return defined_; }

 private:
  std::wstring markers_;
  bool defined_ = false;
};

// What no uninstaller means is refused and logged: the root of a drive however written, no path
// at all, a registry root and a key right under one. The scratch drive's files and the user's
// keys stay; a folder that is itself a link is unlinked, its target kept.
TEST_F(SystemCalls, DestructiveCallsRefuseRoots) {
  CreateDirectoryW((folder_ + L"target").c_str(), nullptr);
  ASSERT_TRUE(WriteWholeFile(folder_ + L"target\\t.txt", "t"));
  ASSERT_TRUE(
      RunHostShell("ln -s '" + UnixPath(folder_ + L"target") + "' '" + UnixPath(folder_) + "link'",
                   folder_ + L"linked"));
  std::wstring scratch = folder_ + L"scratch";
  CreateDirectoryW(scratch.c_str(), nullptr);
  ASSERT_TRUE(WriteWholeFile(scratch + L"\\keep.txt", "keep"));
  ScratchDrive drive(scratch, folder_);
  ASSERT_TRUE(drive.Defined());
  ASSERT_TRUE(helpers::FileExists(L"Q:\\keep.txt"));
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\QorinE2EKeep", 0, nullptr, 0, KEY_WRITE,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  UseScript(
      "string empty; void OnInit() { print('' + DeleteFolderRec('Q:\\') + DeleteFolderRec('Q:') + "
      "DeleteFolderRec('Q:/') + DeleteFolderRec(empty) + RegDeleteKey('HKCU/') + "
      "RegDeleteKey('HKCU/Software/' + empty)); print('' + DeleteFolderRec(GetCommandLine(1))); "
      "DoExit(0); } "
      "SetEventHandler(SKINEVENT_ONINIT, 'OnInit();');");
  RunOptions options = Options(Write(L"roots.exe", Package()));
  options.arguments = Quoted(folder_ + L"link");
  ObservedRun run = RunObserved(options);
  ASSERT_FALSE(run.timedOut);
  std::vector<std::string> console = Console(run);
  ASSERT_EQ(console.size(), 2u);
  EXPECT_EQ(console[0], "000000");
  EXPECT_TRUE(helpers::FileExists(scratch + L"\\keep.txt"));
  EXPECT_TRUE(helpers::FileExists(folder_ + L"target\\t.txt")) << "the link's target stays";
  // Windows removes the link; Wine cannot (tests/wine/README.md): the answer says which.
  bool gone = GetFileAttributesW((folder_ + L"link").c_str()) == INVALID_FILE_ATTRIBUTES;
  EXPECT_EQ(console[1], gone ? "1" : "0");
  std::printf("[ wine     ] the link itself %s\n", gone ? "was removed" : "stays");
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\QorinE2EKeep", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  RegCloseKey(key);
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QorinE2EKeep");
  std::vector<std::string> log = run.Texts();
  EXPECT_TRUE(Contains(log, "@@rDeleteFolderRec('Q:\\') refused: no folder, or a drive or share"));
  EXPECT_TRUE(Contains(log, "@@rRegDeleteKey('HKCU/') refused: a root or a shared key"));
}

// LoadRTF streams a packaged RTF file into the rich-edit window a Window control hosts; a
// missing file or a control that hosts no window is logged.
TEST_F(SystemCalls, LoadRtfFillsTheHostedRichEdit) {
  extraFiles_.push_back({"licence.rtf", Bytes("{\\rtf1\\ansi Hello \\b bold\\b0  world}")});
  skin_ =
      "<XSkin><Head/><Body><Window ID=\"RTF\" WindowClass=\"RichEdit20W\" Align=\"fixed\" "
      "Position=\"0,0,200,100\"/><Static ID=\"PLAIN\"/></Body><?script "
      "void OnInit() { LoadRTF(RTF, 'licence.rtf'); print(GetText(RTF)); "
      "LoadRTF(PLAIN, 'licence.rtf'); LoadRTF(RTF, 'missing.rtf'); DoExit(0); } "
      "SetEventHandler(SKINEVENT_ONINIT, 'OnInit();'); ?></XSkin>";
  ObservedRun run = RunObserved(Options(Write(L"rtf.exe", Package())));
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(Console(run), std::vector<std::string>{"Hello bold world"});
  std::vector<std::string> log = run.Texts();
  EXPECT_EQ(std::count(log.begin(), log.end(), "LoadRTF(licence.rtf);==FALSE"), 1);
  EXPECT_TRUE(Contains(log, "LoadRTF(missing.rtf);==FALSE"));
}

// A server that sends a byte a second (for 100 seconds) holds TouchURL no longer than its
// deadline.
TEST_F(SystemCalls, TouchEndsWithinItsDeadline) {
  WebServer server(folder_, 0);
  ASSERT_TRUE(server.Listening());
  UseScript(
      "void OnInit() { TouchURL('QorinAgent/1.0', GetCommandLine(1)); DoExit(3); } "
      "SetEventHandler(SKINEVENT_ONINIT, 'OnInit();');");
  RunOptions options = Options(Write(L"touch.exe", Package()));
  options.arguments = Quoted(server.Url("/trickle"));
  options.timeoutMs = 40000;
  ObservedRun run = RunObserved(options);
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 3u);
}

// Host texts that arrive while the script waits in a message box run at once, nested: the
// extraction's questions (names with quote marks, one built to break out of its statement),
// OnSuccess and OnCheckVersion all come while the box is open.
TEST_F(SystemCalls, HostTextsArriveWhileAScriptWaits) {
  WebServer server(folder_, 0);
  ASSERT_TRUE(server.Listening());
  ASSERT_TRUE(UsePayload(L"e2e-quoted.7z"));
  parts_.config = "setup.ini";
  extraFiles_.push_back({"version.ini", Bytes("[Version]\r\nBuild=100\r\n")});
  UseScript(
      "int waiting; int arrived; void P(string a, string b) { print('P ' + a); } "
      "string OnOpenFileToWrite(string n) { print('open ' + n + ' ' + waiting); "
      "if (n == 'a.txt') { CheckVersionAsync('version.ini', 'Version', 'Build', "
      "GetCommandLine(1), 'Version', 'Build'); return GetInstallPath() + 'b.txt'; } "
      "if (n != 'it' + \"'\" + 's.txt' && n != '0-big.bin') "
      "return GetInstallPath() + 'quoted.txt'; } "
      "void Arrived() { arrived++; if (arrived == 2) DoExit(7); } "
      "void OnSuccess() { print('success ' + waiting); Arrived(); } "
      "void OnFailed(string e) { print('failed ' + e); DoExit(1); } "
      "void OnCheckVersion(int remote, int local) { print('version ' + remote + ' ' + waiting); "
      "Arrived(); } "
      "void OnTimer(int id) { KillTimer(1); waiting = 1; MessageBox('waiting'); waiting = 0; "
      "print('box closed ' + arrived); } "
      "void OnInit() { SetInstallPath(GetCommandLine(2)); StartInstall(); SetTimer(1, 1); } "
      "SetEventHandler(SKINEVENT_ONINIT, 'OnInit();');");
  std::wstring target = folder_ + L"waited";
  RunOptions options = Options(Write(L"waits.exe", Package()));
  options.arguments = Quoted(server.Url("/newer.ini")) + L" " + Quoted(target);
  options.press = L"None";  // the box stays open until DoExit closes the window
  ObservedRun run = RunObserved(options);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 7u);
  std::vector<std::string> console = Console(run);
  for (const char* line : {"open a.txt 1", "open it's.txt 1",
                           "open x\");P(\"injected\", GetInstallPath());P(\"x\", \" 1", "success 1",
                           "version 200 1", "box closed 2"})
    EXPECT_TRUE(Contains(console, line)) << line;
  EXPECT_FALSE(Contains(console, "P injected"));
  EXPECT_EQ(ReadWholeFile(target + L"\\b.txt"), "a\r\n") << "redirected, not the default";
  EXPECT_FALSE(helpers::FileExists(target + L"\\a.txt"));
  EXPECT_EQ(ReadWholeFile(target + L"\\it's.txt"), "its\r\n");
  EXPECT_EQ(ReadWholeFile(target + L"\\quoted.txt"), "x\r\n");
}

// A skin that fails to load is reported to the stub's error-report endpoint; the shipped stub
// has none and sends nothing.
TEST_F(SystemCalls, SkinLoadFailureIsReported) {
  WebServer server(folder_, 18931);
  ASSERT_TRUE(server.Listening());
  skin_ = "<XSkin><Head/><Body/><?script int x = ; ?></XSkin>";
  std::string stub = ReadWholeFile(BuildFile(L"qorin-stub-reporting.exe"));
  parts_.stub.assign(stub.begin(), stub.end());
  ObservedRun run = RunObserved(Options(Write(L"report me.exe", Package())));
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 1u);
  std::string requests = server.Requests();
  EXPECT_NE(requests.find("GET /error/app.php?name=qorin&buildDate="), std::string::npos)
      << requests;
  EXPECT_NE(requests.find("&version=20200106&log=report%20me.exe;%20Error%20At"), std::string::npos)
      << requests;
}

}  // namespace
}  // namespace qorin::e2e
