// The stub's start-up observed from outside: packages built here, run under Wine with the log
// receiver and the message-box answerer, closed from outside like a user would.
#include "stub_fixture.h"

namespace qorin::e2e {
namespace {

TEST_F(StubStartup, SoundPackageShowsItsWindowUntilClosed) {
  ObservedRun run = RunObserved(WindowOptions(Write(L"setup.exe", Package()), CloseSoon()));
  ASSERT_TRUE(run.started);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_TRUE(run.windowSeen);
  EXPECT_EQ(run.windowTitle, "Qorin E2E Setup");
  EXPECT_EQ(run.windowExStyle & WS_EX_LAYOUTRTL, 0);
  EXPECT_EQ(
      WithoutLayout(run.Texts()),
      (std::vector<std::string>{"pelra-start", "pelra-(IsElevated2() == TRUE )", "pelra exit : 0"}))
      << "Wine runs the stub elevated, as its manifest asks";
  EXPECT_TRUE(run.boxes.empty());
  std::printf("[ figures  ] window shown %lu ms after the start\n", run.windowShownMs);
}

TEST_F(StubStartup, SkinSizesTheWindowForTheDisplayDpi) {
  ObservedRun normal = RunObserved(WindowOptions(Write(L"dpi96.exe", Package()), CloseSoon()));
  EXPECT_EQ(normal.exitCode, 0u);
  EXPECT_EQ(normal.windowSize.cx, 520);
  EXPECT_EQ(normal.windowSize.cy, 380);
  PrefixDpi large(144);
  ObservedRun scaled = RunObserved(WindowOptions(Write(L"dpi144.exe", Package()), CloseSoon()));
  EXPECT_EQ(scaled.exitCode, 0u);
  EXPECT_EQ(scaled.windowSize.cx, 780) << "520 at 144 DPI";
  EXPECT_EQ(scaled.windowSize.cy, 570);
}

// The skin subclasses the window: each new size lays the tree out once (the bottom strip
// follows the client area), the same size again does nothing.
TEST_F(StubStartup, ResizeLaysTheSkinOutOncePerNewSize) {
  ObservedRun run = RunObserved(
      WindowOptions(Write(L"resize.exe", Package()), {{WindowAction::kWait, 300},
                                                      {WindowAction::kResize, 600u << 16 | 400},
                                                      {WindowAction::kWait, 300},
                                                      {WindowAction::kResize, 600u << 16 | 400},
                                                      {WindowAction::kWait, 300},
                                                      {WindowAction::kClose}}));
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 0u);
  std::vector<std::string> layouts;
  for (const std::string& text : run.Texts()) {
    if (text.rfind("skin layout ", 0) == 0) layouts.push_back(text);
  }
  ASSERT_EQ(layouts.size(), 2u) << "the first size, then 600 x 400 once";
  // The client area is the window less its frame: the strip spans it at its bottom.
  int width = 0, height = 0;
  ASSERT_EQ(std::sscanf(layouts[1].c_str(), "skin layout %dx%d", &width, &height), 2);
  EXPECT_LT(width, 600);
  EXPECT_EQ(layouts[1], "skin layout " + std::to_string(width) + "x" + std::to_string(height) +
                            ", strip=0," + std::to_string(height - 40) + "," +
                            std::to_string(width) + "," + std::to_string(height));
}

// The skin's scripts run at load, print to the script console, and their size handler runs
// after every layout.
TEST_F(StubStartup, SkinScriptsRunAndHearSizeChanges) {
  skin_ =
      "<XSkin><Head><WindowSize Width=\"520\" Height=\"380\"/></Head><Body><Static Name=\"s\"/>"
      "</Body><?script void OnSize() { print('size ' + GetText(999) + 'ok'); } "
      "SetEventHandler(SKINEVENT_ONSIZE, 'OnSize();'); SetEventHandler(5, 'x();'); "
      "print('loaded'); ?></XSkin>";
  ObservedRun run = RunObserved(
      WindowOptions(Write(L"scripted.exe", Package()), {{WindowAction::kWait, 300},
                                                        {WindowAction::kResize, 600u << 16 | 400},
                                                        {WindowAction::kWait, 300},
                                                        {WindowAction::kClose}}));
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 0u);
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].caption, "XSkin");
  EXPECT_EQ(run.boxes[0].text, "SetEventHandler failed - event:5, handler:x();");
  EXPECT_EQ(run.Texts("XScriptDebugConsole"),
            (std::vector<std::string>{"script print() - loaded", kNoOnGetLanguage,
                                      "script print() - size ok", "script print() - size ok"}));
}

// The package's scripts reach the installer: DoExit(3) from the init handler ends the process
// with 3 before the window shows; GetCommandLine answers the trimmed line.
TEST_F(StubStartup, ScriptsExitWithTheirCode) {
  skin_ =
      "<XSkin><Head/><Body/><?script void OnInit() { print('line ' + GetCommandLine() + "
      "GetCommandLine(1)); DoExit(3); } SetEventHandler(SKINEVENT_ONINIT, 'OnInit();'); ?>"
      "</XSkin>";
  RunOptions options = Options(Write(L"exit3.exe", Package()));
  options.arguments = L"  /S  ";
  ObservedRun run = RunObserved(options);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 3u);
  EXPECT_EQ(run.Texts("XScriptDebugConsole"),
            (std::vector<std::string>{kNoOnGetLanguage, "script print() - line /S/S"}));
  EXPECT_EQ(run.Texts().back(), "pelra exit : 3");
}

// OnGetLanguage choosing another language rebuilds the window in it.
TEST_F(StubStartup, ScriptChoosesTheLanguage) {
  skin_ =
      "<XSkin><Head/><Body/><?script string OnGetLanguage() { return 'Korean'; } "
      "print('lang ' + GetLanguage()); ?></XSkin>";
  ObservedRun run = RunObserved(WindowOptions(Write(L"korean.exe", Package()), CloseSoon()));
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_TRUE(run.windowSeen);
  std::vector<std::string> log = run.Texts();
  EXPECT_NE(std::find(log.begin(), log.end(), "CMainWnd::Reload() : Korean"), log.end());
  EXPECT_EQ(
      run.Texts("XScriptDebugConsole"),
      (std::vector<std::string>{"script print() - lang english", "script print() - lang korean"}));
}

// A silent install: the script hides the window, sets the folder from the command line and
// starts the extraction; one file is redirected, one skipped; OnSuccess exits with its code.
TEST_F(StubStartup, SilentInstallWritesThePayload) {
  ASSERT_TRUE(UsePayload(L"e2e-payload.7z"));
  skin_ =
      "<XSkin><Head/><Body><Static ID=\"STATIC_INSTALL_STATE\"/></Body><?script "
      "void OnInit() { ShowMainWindow(0); SetInstallPath(GetCommandLine(1)); "
      "print('start ' + StartInstall()); } "
      "string OnOpenFileToWrite(string name) { if (name == 'skip.txt') return ''; "
      "if (name == 'readme.txt') return GetInstallPath() + 'moved\\readme.txt'; } "
      "void OnSuccess() { print('success ' + GetControlText(STATIC_INSTALL_STATE)); "
      "SetRegStr('HKCU/Software/QorinE2E/InstallPath', GetInstallPath()); DoExit(7); } "
      "void OnFailed(string e) { print('failed ' + e); DoExit(1); } "
      "SetEventHandler(SKINEVENT_ONINIT, 'OnInit();'); ?></XSkin>";
  std::wstring target = folder_ + L"installed";
  RunOptions options = Options(Write(L"silent.exe", Package()));
  options.arguments = L"\"" + target + L"\" /S";
  ObservedRun run = RunObserved(options);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 7u);
  std::vector<std::string> console = run.Texts("XScriptDebugConsole");
  for (const char* line : {"script print() - start 1", "script print() - success 100%"})
    EXPECT_NE(std::find(console.begin(), console.end(), line), console.end()) << line;
  std::vector<std::string> log = run.Texts();
  EXPECT_NE(std::find(log.begin(), log.end(), "ExtractThreadProc()-end"), log.end());
  EXPECT_EQ(ReadWholeFile(target + L"\\bin\\app.dat").size(), 3000u);
  EXPECT_EQ(ReadWholeFile(target + L"\\docs\\한국어.txt"), "안녕하세요\r\n");
  EXPECT_TRUE(helpers::FileExists(target + L"\\empty.txt"));
  EXPECT_EQ(ReadWholeFile(target + L"\\moved\\readme.txt"), "Qorin end-to-end payload.\r\n");
  EXPECT_FALSE(helpers::FileExists(target + L"\\readme.txt"));
  EXPECT_FALSE(helpers::FileExists(target + L"\\skip.txt")) << "skipped by the script";
  std::string big = ReadWholeFile(target + L"\\big.bin");
  EXPECT_EQ(big.size(), 1572864u) << "a file larger than one solid block";
  EXPECT_EQ(big, ReadWholeFile(BuildFile(L"e2e-payload\\big.bin")));
  auto seconds = [](const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 |
            data.ftLastWriteTime.dwLowDateTime) /
           10000000;
  };
  EXPECT_EQ(seconds(target + L"\\big.bin"), seconds(BuildFile(L"e2e-payload\\big.bin")))
      << "the modification time is kept";
  wchar_t written[MAX_PATH] = {};
  DWORD size = sizeof written;
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\QorinE2E", L"InstallPath", RRF_RT_REG_SZ,
                         nullptr, written, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::wstring(written), target + L"\\") << "the script wrote the registry";
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QorinE2E");
}

// The install script of the failure tests: silent, OnFailed reports and stays.
constexpr char kInstallScript[] =
    "<XSkin><Head/><Body/><?script "
    "void OnInit() { SetInstallPath(GetCommandLine(1)); print('start ' + StartInstall()); "
    "StartInstall(); } "
    "void OnSuccess() { print('success'); DoExit(0); } "
    "void OnFailed(string e) { print('failed ' + e); DoExit(5); } "
    "SetEventHandler(SKINEVENT_ONINIT, 'OnInit();'); ?></XSkin>";

TEST_F(StubStartup, PayloadNamesLeavingTheFolderWriteNothing) {
  ASSERT_TRUE(UsePayload(L"e2e-crafted.7z"));
  languages_[0].bytes = Utf16File(
      L"[INSTALLER]\r\nLANG_NAME = English\r\n"
      L"ERR_CANT_OPEN_FILE = Can't open \"${str1}\"\r\n");  // quote marks reach OnFailed
  skin_ = kInstallScript;
  std::wstring target = folder_ + L"inside\\target";
  RunOptions options = Options(Write(L"crafted.exe", Package()));
  options.arguments = L"\"" + target + L"\"";
  ObservedRun run = RunObserved(options);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 5u);
  std::vector<std::string> console = run.Texts("XScriptDebugConsole");
  EXPECT_NE(std::find(console.begin(), console.end(),
                      "script print() - failed Can't open \"..\\escaped.txt\""),
            console.end());
  EXPECT_FALSE(helpers::FileExists(target + L"\\good.txt")) << "names are checked first";
  EXPECT_FALSE(helpers::FileExists(folder_ + L"inside\\escaped.txt"));
  EXPECT_FALSE(helpers::FileExists(L"C:\\drive.txt"));
  EXPECT_FALSE(helpers::FileExists(L"C:\\rooted.txt"));
  std::vector<std::string> log = run.Texts();
  EXPECT_NE(std::find(log.begin(), log.end(), "DoInstall() 중복 호출"), log.end())
      << "the second StartInstall";
}

// A flipped byte in the payload's packed data: the decoder's error reaches OnFailed.
TEST_F(StubStartup, BrokenPayloadEndsInOnFailed) {
  std::string payload = ReadWholeFile(BuildFile(L"e2e-payload.7z"));
  ASSERT_GT(payload.size(), 64u);
  payload[40] ^= 0x55;
  parts_.payload.assign(payload.begin(), payload.end());
  skin_ = kInstallScript;
  // The package check covers the payload: in developer mode the side file names the payload
  // as a plain archive, so the broken data reaches the extraction.
  CreateDirectoryW((folder_ + L"dev").c_str(), nullptr);
  CreateDirectoryW((folder_ + L"dev\\lang").c_str(), nullptr);
  Write(L"dev\\setup.ini", Utf16File(config_));
  Write(L"dev\\skin.xml", Bytes(skin_));
  Write(L"dev\\lang\\English.ini", languages_[0].bytes);
  Write(L"dev-payload.7z", parts_.payload);
  std::wstring stub = Write(L"dev-stub.exe", parts_.stub);
  Write(L"dev-stub.ini", Bytes("[DEBUG]\r\nPARAM = " + helpers::ToUtf8(folder_) +
                               "dev\\setup.ini\r\nARCHIVE_PATH_TO_TEST = " +
                               helpers::ToUtf8(folder_) + "dev-payload.7z\r\n"));
  RunOptions options = Options(stub);
  options.arguments = L"\"" + folder_ + L"broken-target\"";
  ObservedRun run = RunObserved(options);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 5u) << "OnFailed ran";
  std::vector<std::string> console = run.Texts("XScriptDebugConsole");
  bool failed = std::any_of(console.begin(), console.end(), [](const std::string& t) {
    return t.rfind("script print() - failed ERROR:0x10", 0) == 0;  // 256 + the SDK's code
  });
  EXPECT_TRUE(failed);
}

// A file that another process holds open (as a running program is) is moved aside to ".bak1"
// and the new one written in its place.
TEST_F(StubStartup, FileInUseIsMovedAside) {
  ASSERT_TRUE(UsePayload(L"e2e-payload.7z"));
  skin_ = kInstallScript;
  std::wstring target = folder_ + L"busy";
  CreateDirectoryW(target.c_str(), nullptr);
  std::wstring held = target + L"\\readme.txt";
  ASSERT_TRUE(WriteWholeFile(held, "old"));
  HANDLE handle = CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  std::wstring readOnly = target + L"\\empty.txt";  // moved aside, then its backup deleted
  ASSERT_TRUE(WriteWholeFile(readOnly, "old"));
  SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  RunOptions options = Options(Write(L"busy.exe", Package()));
  options.arguments = L"\"" + target + L"\"";
  ObservedRun run = RunObserved(options);
  CloseHandle(handle);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 0u) << "OnSuccess";
  EXPECT_EQ(ReadWholeFile(held), "Qorin end-to-end payload.\r\n");
  EXPECT_EQ(ReadWholeFile(readOnly), "");
  EXPECT_FALSE(helpers::FileExists(readOnly + L".bak1")) << "a read-only backup goes too";
  std::printf("[ wine     ] the moved-aside file %s after the install\n",
              helpers::FileExists(held + L".bak1") ? "stays as .bak1" : "is gone");
}

// A folder of the payload that is already a link inside the installation folder is not written
// through: the install fails and the link's target stays empty.
TEST_F(StubStartup, LinksInsideTheFolderAreNotWrittenThrough) {
  ASSERT_TRUE(UsePayload(L"e2e-payload.7z"));
  skin_ = kInstallScript;
  std::wstring target = folder_ + L"linked";
  CreateDirectoryW(target.c_str(), nullptr);
  CreateDirectoryW((folder_ + L"outside").c_str(), nullptr);
  ASSERT_TRUE(
      RunHostShell("ln -s '" + UnixPath(folder_ + L"outside") + "' '" + UnixPath(target) + "/bin'",
                   folder_ + L"linked-made"));
  RunOptions options = Options(Write(L"linked.exe", Package()));
  options.arguments = L"\"" + target + L"\"";
  ObservedRun run = RunObserved(options);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 5u) << "OnFailed";
  EXPECT_FALSE(helpers::FileExists(folder_ + L"outside\\app.dat"));
}

// DoExit(3) while the files are being written ends the process with 3 (WM_CLOSE is not
// swallowed: DoExit sets the state back to idle first).
TEST_F(StubStartup, DoExitDuringExtractionEndsWithItsCode) {
  ASSERT_TRUE(UsePayload(L"e2e-payload.7z"));
  skin_ =
      "<XSkin><Head/><Body/><?script "
      "void OnInit() { SetInstallPath(GetCommandLine(1)); StartInstall(); } "
      "string OnOpenFileToWrite(string name) { DoExit(3); return ''; } "
      "SetEventHandler(SKINEVENT_ONINIT, 'OnInit();'); ?></XSkin>";
  RunOptions options = Options(Write(L"exit-during.exe", Package()));
  options.arguments = L"\"" + folder_ + L"during\"";
  ObservedRun run = RunObserved(options);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 3u);
}

TEST_F(StubStartup, SkinScriptErrorFailsTheLoad) {
  skin_ = "<XSkin><Head/><Body/><?script int x = ; ?></XSkin>";
  ObservedRun run = RunObserved(Options(Write(L"script-error.exe", Package())));
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 1u);
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].text,
            "Error At Do XScript Line:1 Col:9 (ErrCode:203 ErrHint:'' Line:1 Col:9 Tok:(none) "
            "[int x = ; ] )");
}

TEST_F(StubStartup, BrokenSkinShowsItsErrorAndExits1) {
  skin_ = "<XSkin><Head/>\r\n</XSkin>";
  ObservedRun run = RunObserved(Options(Write(L"broken-skin.exe", Package())));
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 1u);
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].caption, "");
  EXPECT_EQ(run.boxes[0].text, "<Body>태그를 찾을 수 없습니다. Line:1 Col:1");
}

// Start-up reads the whole covered range for crc_total: the time to the window grows with the
// payload. The figure is printed, not judged.
TEST_F(StubStartup, WindowTimeWith50MiBPayload) {
  parts_.payload.resize(50u << 20);
  uint32_t state = 1;
  for (uint8_t& b : parts_.payload)
    b = static_cast<uint8_t>((state = state * 1664525u + 1013904223u) >> 24);
  ObservedRun run = RunObserved(WindowOptions(Write(L"large.exe", Package()), CloseSoon()));
  ASSERT_TRUE(run.windowSeen);
  EXPECT_EQ(run.exitCode, 0u);
  std::printf("[ figures  ] 50 MiB payload: window shown %lu ms after the start\n",
              run.windowShownMs);
}

TEST_F(StubStartup, RightToLeftLanguageMirrorsTheWindow) {
  languages_ = {{"lang/English.ini",
                 Utf16File(L"[INSTALLER]\r\n[GENERAL]\r\nIS_RIGHT_TO_LEFT_TEXT = 1\r\n")}};
  ObservedRun run = RunObserved(WindowOptions(Write(L"setup.exe", Package()), CloseSoon()));
  ASSERT_TRUE(run.windowSeen);
  EXPECT_NE(run.windowExStyle & WS_EX_LAYOUTRTL, 0);
}

TEST_F(StubStartup, ChangedByteFailsTheIntegrityCheck) {
  std::vector<uint8_t> bytes = Package();
  bytes[600] ^= 0x01;
  std::wstring path = Write(L"broken.exe", bytes);
  ObservedRun run = RunObserved(Options(path));
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 1u);
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].caption, "QORIN");
  EXPECT_EQ(run.boxes[0].text, kIntegrityText + helpers::ToUtf8(path));
  EXPECT_EQ(run.Texts().back(), "pelra exit : 1");
}

TEST_F(StubStartup, PackageSignedAfterPackingPasses) {
  std::wstring unsignedPath = Write(L"unsigned.exe", Package());
  std::string dir = UnixPath(folder_);
  ASSERT_FALSE(dir.empty());
  ASSERT_TRUE(RunHostShell(
      "cd '" + dir +
          "' && openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 "
          "-subj /CN=QorinTest >/dev/null 2>&1 && osslsigncode sign -certs cert.pem -key key.pem "
          "-in unsigned.exe -out signed.exe >/dev/null 2>&1",
      folder_ + L"signed.done"));
  std::wstring signedPath = folder_ + L"signed.exe";
  ASSERT_GT(ReadWholeFile(signedPath).size(), ReadWholeFile(unsignedPath).size());
  ObservedRun run = RunObserved(WindowOptions(signedPath, CloseSoon()));
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_TRUE(run.windowSeen);
  EXPECT_TRUE(run.boxes.empty());
}

TEST_F(StubStartup, PackageWithoutLanguagesFailsReadData) {
  languages_.clear();
  ObservedRun run = RunObserved(Options(Write(L"nolang.exe", Package())));
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 1u);
  ASSERT_EQ(run.boxes.size(), 2u);
  EXPECT_EQ(run.boxes[0].text, "Critial Error - no language file found.");
  EXPECT_EQ(run.boxes[0].caption, "QORIN");
  EXPECT_EQ(run.boxes[1].text, "Error at ReadData");
  EXPECT_EQ(run.boxes[1].caption, "PELRA");
}

TEST_F(StubStartup, MissingConfigurationIsReportedOnTheScriptConsole) {
  parts_.config = "missing.ini";
  ObservedRun run = RunObserved(Options(Write(L"noconfig.exe", Package())));
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(run.Texts("XScriptDebugConsole"),
            std::vector<std::string>{"ReadWholeFile()-실패:missing.ini"});
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].text, "Error at ReadData");
}

// A crafted package whose CRCs are recomputed: the configuration's central directory entry says
// Deflate and a size that, with the two terminating zeros, would wrap the 32-bit size_t. The
// stub must refuse it as any unreadable configuration, never write past a buffer.
TEST_F(StubStartup, ConfigurationClaimingHugeSizesFailsReadData) {
  std::vector<uint8_t> noise(4200000);  // 4.2 MB: the Deflate ratio would allow 4 GiB
  uint32_t seed = 1;
  for (uint8_t& b : noise) b = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
  std::vector<pack::DataFile> files = {{"setup.ini", noise}};
  files.insert(files.end(), languages_.begin(), languages_.end());
  std::vector<uint8_t> zip = pack::WriteZip(files, parts_.packTime);
  auto put = [&zip](size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) zip[at + i] = static_cast<uint8_t>(value >> (8 * i));
  };
  size_t central = zip[zip.size() - 6] | zip[zip.size() - 5] << 8 | zip[zip.size() - 4] << 16 |
                   size_t{zip[zip.size() - 3]} << 24;
  put(8, 8, 2);             // local header: Deflate
  put(central + 10, 8, 2);  // central header: Deflate
  for (uint32_t size : {0xFFFFFFFFu, 0xFFFFFFFEu, 0x40000001u}) {
    put(central + 24, size, 4);
    parts_.data = zip;
    ObservedRun run = RunObserved(Options(Write(L"huge.exe", pack::BuildPackage(parts_))));
    ASSERT_FALSE(run.timedOut) << size;
    EXPECT_EQ(run.exitCode, 1u) << size;
    EXPECT_EQ(run.Texts("XScriptDebugConsole"),
              std::vector<std::string>{"ReadWholeFile()-풀기실패:setup.ini"})
        << size;
    ASSERT_EQ(run.boxes.size(), 1u) << size;
    EXPECT_EQ(run.boxes[0].text, "Error at ReadData") << size;
  }
}

TEST_F(StubStartup, LaunchInTempRelaunchesACopyOnce) {
  config_ += L"launch_in_temp = 1\r\n";
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::wstring copy = std::wstring(temp) + L"QorinE2E~qorin~temp~.exe";
  DeleteFileW(copy.c_str());
  RunOptions options = WindowOptions(Write(L"setup.exe", Package()), CloseSoon());
  options.windowOfAnyProcess = true;
  options.arguments = L"  /S  ";
  ObservedRun run = RunObserved(options);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 0u) << "the first process ends at once";
  EXPECT_TRUE(run.windowSeen) << "the copy shows the window";
  EXPECT_TRUE(helpers::FileExists(copy));
  std::vector<std::string> texts = run.Texts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "pelra-start"), 2)
      << "the copy does not relaunch again";
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "pelra exit : 0"), 2);
  EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                          [](const std::string& t) { return t.rfind("RelaunchInTemp()", 0) == 0; }),
            1);
  DeleteFileW(copy.c_str());
}

TEST_F(StubStartup, DeveloperModeRunsFromLooseFiles) {
  CreateDirectoryW((folder_ + L"loose").c_str(), nullptr);
  CreateDirectoryW((folder_ + L"loose\\lang").c_str(), nullptr);
  Write(L"loose\\setup.ini", Utf16File(config_));
  Write(L"loose\\lang\\English.ini", languages_[0].bytes);
  Write(L"loose\\skin.xml", Bytes(skin_));
  std::wstring stub = Write(L"dev-setup.exe", parts_.stub);  // a bare stub: no package
  Write(L"dev-setup.ini",
        Bytes("[DEBUG]\r\nPARAM = " + helpers::ToUtf8(folder_) + "loose\\setup.ini\r\n"));
  ObservedRun run = RunObserved(WindowOptions(stub, CloseSoon()));
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_TRUE(run.windowSeen);
  EXPECT_EQ(run.windowTitle, "Qorin E2E Setup");
  EXPECT_TRUE(run.boxes.empty());
}

TEST_F(StubStartup, DeveloperSideFileNamingAnotherPackageChecksThatFile) {
  std::vector<uint8_t> broken = Package();
  broken[700] ^= 0x01;
  std::wstring other = Write(L"other.exe", broken);
  std::wstring stub = Write(L"side-setup.exe", parts_.stub);
  Write(L"side-setup.ini", Bytes("[DEBUG]\r\nPARAM = " + helpers::ToUtf8(other) + "\r\n"));
  ObservedRun run = RunObserved(Options(stub));
  EXPECT_EQ(run.exitCode, 1u);
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].text, kIntegrityText + helpers::ToUtf8(other));
}

TEST_F(StubStartup, EscapeClosesTheIdleWindow) {
  ObservedRun run =
      RunObserved(WindowOptions(Write(L"setup.exe", Package()),
                                {{WindowAction::kWait, 400}, {WindowAction::kKey, VK_ESCAPE}}));
  ASSERT_FALSE(run.timedOut) << "Escape must close the window by itself";
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.Texts().back(), "pelra exit : 0");
}

TEST_F(StubStartup, CtrlRReloadsTheLanguage) {
  ObservedRun run =
      RunObserved(WindowOptions(Write(L"setup.exe", Package()), {{WindowAction::kWait, 400},
                                                                 {WindowAction::kCtrlKey, 'R'},
                                                                 {WindowAction::kWait, 500},
                                                                 {WindowAction::kClose}}));
  ASSERT_FALSE(run.timedOut);
  std::vector<std::string> texts = run.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "CMainWnd::Reload() : English"), texts.end());
  EXPECT_EQ(run.exitCode, 0u);
}

}  // namespace
}  // namespace qorin::e2e
