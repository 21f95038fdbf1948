#include "main_wnd.h"

#include <process.h>
#include <richedit.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "controls.h"
#include "debug_log.h"
#include "elevation.h"
#include "extraction_worker_win32.h"
#include "install_path.h"
#include "installer_commands.h"
#include "path.h"
#include "script_literal.h"
#include "text.h"
#include "utf.h"
#include "wide_text_win32.h"
#include "window_placement.h"

namespace qorin {
namespace {

constexpr wchar_t kWindowClass[] = L"QORINCLASS";
constexpr DWORD kWindowStyle =
    WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;

// The command line without white space at either end.
std::wstring Trim(const std::wstring& text) {
  return Wide(TrimSpace(FromWide(text)));
}

// The rich-edit library for LoadRTF; loaded once and kept until the process ends.
void LoadRichEdit() {
  static bool loaded = false;
  if (loaded) return;
  loaded = true;
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  for (const wchar_t* name : {L"MSFTEDIT.dll", L"RichEd32.dll", L"RichEd20.dll"}) {
    if (LoadLibraryW((std::wstring(system) + L"\\" + name).c_str()) != nullptr) return;
  }
}

unsigned __stdcall RunWork(void* work) {
  (*static_cast<const std::function<void()>*>(work))();
  return 0;
}

MONITORINFO MonitorOf(HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
  return info;
}

}  // namespace

CMainWnd::CMainWnd(const std::wstring& commandLine) : commandLine_(Trim(commandLine)) {
  LoadRichEdit();
  HttpMessages();
}

CMainWnd::~CMainWnd() {
  if (window_ != nullptr) DestroyWindow(window_);
}

bool CMainWnd::Initialise() {
  std::wstring module = ModulePath();
  std::wstring folder = module.substr(0, module.find_last_of(L"\\/") + 1);
  SetCurrentDirectoryW(folder.c_str());

  std::u16string commandLine = FromWide(commandLine_);
  package_.DeveloperSideFile(FromWide(module), &commandLine);
  commandLine_ = Wide(commandLine);
  const PackageInfo& info = package_.Info();
  if (info.packaged && !package_.CheckPackage()) return false;
  if (!data_.ReadData(info.configName)) return false;

  const XInstallerConfig& config = data_.Config();
  installPath_ = data_.ExpandInstallPath(config.instPath);
  commandLine16_ = FromWide(commandLine_);
  if (info.packaged && config.launchInTemp != 0 && !IsRunningAsTempCopy()) {
    if (RelaunchInTemp(Wide(config.nameEng), commandLine_)) {
      DebugLog(L"RelaunchInTemp() : %s", Wide(config.nameEng).c_str());
      return true;
    }
    DebugLog(L"@@rRelaunchInTemp()==FALSE, err=%u", static_cast<unsigned>(GetLastError()));
  }

  if (!CreateMainWindow()) return false;
  if (!config.title.empty()) SetWindowTextW(window_, Wide(config.title).c_str());
  ApplyRightToLeft();
  data_.Table().SetApplication(config.nameLocal, config.appVersion);
  if (!LoadSkin()) return false;
  if (skin_ == nullptr) return true;  // the scripts chose another language: the reload builds
  if (exitRequested_) return true;
  ShowBuiltWindow();
  CentreOnWorkArea();
  return true;
}

bool CMainWnd::CreateMainWindow() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kWindowClass;
  if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  window_ = CreateWindowExW(0, kWindowClass, L"QORIN", kWindowStyle, 0, 0, 0, 0, nullptr, nullptr,
                            instance, this);
  if (window_ == nullptr)
    DebugLog(L"@@rCreateWindowExW()==NULL, err=%u", static_cast<unsigned>(GetLastError()));
  system_.messageBox.SetOwner(window_);
  return window_ != nullptr;
}

// The configured skin from the data archive in memory, or from the developer folder. A skin that
// cannot be loaded shows its error text in a box with an empty caption.
bool CMainWnd::LoadSkin() {
  skin_ = std::make_unique<XXSkin>();
  XSkinWindowOptions options;
  options.callback = this;
  options.messageBox = &system_.messageBox;
  options.language = &skinLanguage_;
  for (const NamedCommand& command : kNamedCommands)
    options.ids.emplace_back(command.name, command.id);
  options.log = [](const std::wstring& line) { DebugLog(L"%s", line.c_str()); };
  if (data_.Config().customFrame != 0) {
    options.host.customFrame = true;
    options.host.fullScreenHandling = true;
    options.host.windowRegion = true;
  }
  const PackageInfo& info = package_.Info();
  const std::u16string& skinFile = data_.Config().skinFileName;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const std::vector<uint8_t>& archive = package_.DataArchive();
  bool loaded = info.packaged ? skin_->LoadFromMemory(instance, window_, archive.data(),
                                                      archive.size(), skinFile, u"", options)
                              : skin_->LoadFromFolder(instance, window_, info.developerFolder,
                                                      skinFile, u"", options);
  if (loaded) return true;
  // The scripts-loaded slot stopped the load to switch languages: the posted reload builds.
  if (skin_->GetError().code == XSKIN_ERR_SCRIPT_CALLER && !askLanguage_ && reloadPosted_) {
    skin_.reset();
    return true;
  }
  std::wstring text = Wide(skin_->GetErrorText());
  DebugLog(L"@@rskin load failed: %s", text.c_str());
  XMessageBoxWin32().ShowMessageBox(FromWide(text), u"", MB_OK);  // no owner: no window shows
  SendErrorReport(kErrorReportEndpoint, u"qorin", u"20200106",
                  std::u16string(FileNamePart(FromWide(ModulePath()))) + u"; " + FromWide(text));
  return false;
}

void CMainWnd::ApplyRightToLeft() {
  LONG_PTR style = GetWindowLongPtrW(window_, GWL_EXSTYLE);
  style = data_.Table().RightToLeft() ? (style | WS_EX_LAYOUTRTL)
                                      : (style & ~static_cast<LONG_PTR>(WS_EX_LAYOUTRTL));
  SetWindowLongPtrW(window_, GWL_EXSTYLE, style);
}

void CMainWnd::ShowBuiltWindow() {
  SetFocus(window_);
  FitIntoWorkArea();
  if (!showMainWindow_) return;
  ShowWindow(window_, SW_SHOW);
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetTimer(window_, kTimerTopmost, kTopmostMs, nullptr);
}

// A window larger than the work area gets its extent; a smaller one is shifted just enough to
// lie inside.
XRect CMainWnd::WindowRect() const {
  RECT r;
  GetWindowRect(window_, &r);
  return {r.left, r.top, r.right, r.bottom};
}

XRect CMainWnd::WorkArea() const {
  RECT r = MonitorOf(window_).rcWork;
  return {r.left, r.top, r.right, r.bottom};
}

void CMainWnd::FitIntoWorkArea() {
  XRect now = WindowRect(), fit = FitIntoArea(now, WorkArea());
  if (!(fit == now)) MoveWindow(window_, fit.left, fit.top, fit.Width(), fit.Height(), TRUE);
}

void CMainWnd::CentreOnWorkArea() {
  XRect centred = CentredOn(WindowRect(), WorkArea());
  SetWindowPos(window_, nullptr, centred.left, centred.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMainWnd::RunMessageLoop() {
  HACCEL accelerators =
      LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kAcceleratorTable));
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Keys for another top-level window of the skin (a combo box's open list) are its own:
    // Escape there closes the list, not the installer.
    bool ours = message.hwnd == nullptr || GetAncestor(message.hwnd, GA_ROOT) == window_;
    if (!ours || (!TranslateAcceleratorW(window_, accelerators, &message) &&
                  !IsDialogMessageW(window_, &message))) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (quit_) break;
  }
}

LRESULT CALLBACK CMainWnd::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    static_cast<CMainWnd*>(create->lpCreateParams)->window_ = window;
  }
  auto* self = reinterpret_cast<CMainWnd*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  return self->Handle(window, message, wparam, lparam);
}

LRESULT CMainWnd::Handle(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT answer = 0;
  if (OnExtractMessage(message, wparam, lparam, &answer)) return answer;
  if (OnHttpMessage(message, wparam, lparam)) return 0;
  static const UINT comboChanged = RegisterWindowMessageW(L"WM_XSKINNOTIFY_COMBOBOX_CHANGED");
  if (message == comboChanged) {
    AControlBase* combo = skin_ != nullptr && skin_->Document() != nullptr
                              ? skin_->Document()->FindControl(static_cast<int>(wparam))
                              : nullptr;
    if (combo != nullptr) XInstallFlow::ComboChanged(*this, combo->id, combo->GetText());
    return 0;
  }
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wparam) == 0 || HIWORD(wparam) == 1) OnWindowCommand(LOWORD(wparam));
      if (HIWORD(wparam) == EN_CHANGE && skin_ && skin_->Scripts())
        skin_->Scripts()->RunEvent(SKINEVENT_ONEDITCHANGE);
      return 0;
    case WM_CLOSE:
      if (!flow_.MayClose()) return 0;  // swallowed while files are written
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      quit_ = true;
      window_ = nullptr;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      return 0;
    case WM_TIMER:
      KillTimer(window, wparam);
      if (wparam == kTimerTopmost)
        SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      if (wparam == kTimerReload) Reload();
      return 0;
    default: break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

void CMainWnd::OnWindowCommand(unsigned id) {
  Do(flow_.OnCommand(id));
}

void CMainWnd::Do(XWindowAction action) {
  switch (action) {
    case XWindowAction::kClose: Close(); break;
    case XWindowAction::kMinimize: ShowWindow(window_, SW_MINIMIZE); break;
    case XWindowAction::kPostReload: PostMessageW(window_, WM_COMMAND, kCmdReload, 0); break;
    case XWindowAction::kReload: Reload(); break;
    case XWindowAction::kEnterKey: RunScriptText(u"OnEnterKey();"); break;
    case XWindowAction::kInstall: DoInstall(); break;
    case XWindowAction::kLanguageMenu: ShowLanguageMenu(); break;
    case XWindowAction::kNone: break;
  }
}

void CMainWnd::Close() {
  PostMessageW(window_, WM_CLOSE, 0, 0);
}

void CMainWnd::Reload() {
  DebugLog(L"CMainWnd::Reload() : %s", Wide(data_.Languages().SelectedName()).c_str());
  reloadPosted_ = false;
  if (!data_.LoadLanguageTable()) {
    DebugLog(L"@@rCMainWnd::Reload() : the language table could not be loaded");
    return;
  }
  const XInstallerConfig& config = data_.Config();
  data_.Table().SetApplication(config.nameLocal, config.appVersion);
  ApplyRightToLeft();
  skin_.reset();
  if (!LoadSkin()) {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    return;
  }
  if (skin_ != nullptr && !exitRequested_) ShowBuiltWindow();
}

bool CMainWnd::RunHostText(std::u16string_view text) {
  return skin_ != nullptr && skin_->Scripts() != nullptr && skin_->Scripts()->RunHostText(text);
}

const XScriptValue& CMainWnd::LastResult() {
  static const XScriptValue kNothing;
  return skin_ != nullptr && skin_->Scripts() != nullptr ? skin_->Scripts()->LastResult()
                                                         : kNothing;
}

void CMainWnd::SetNamedText(std::u16string_view name, const std::u16string& text) {
  if (AControlBase* control = NamedControl(name)) control->SetText(text);
}

void CMainWnd::SetNamedProgress(std::u16string_view name, int position) {
  if (auto* bar = dynamic_cast<XProgress*>(NamedControl(name))) bar->SetPos(position);
}

void CMainWnd::AddNamedListItem(std::u16string_view name, const std::u16string& text) {
  auto* list = dynamic_cast<XListBox*>(NamedControl(name));
  if (list == nullptr) return;
  list->AddItem(text);
  list->EnsureVisible(list->model.Count() - 1);
}

// DoInstall: once, from idle; the extraction worker comes with the payload extraction.
void CMainWnd::DoInstall() {
  if (!flow_.StartExtraction()) {
    DebugLog(L"DoInstall() 중복 호출");
    return;
  }
  EnableMenuItem(GetSystemMenu(window_, FALSE), SC_CLOSE, MF_GRAYED | MF_DISABLED);
  RunScriptText(u"OnBeforeExtract();");
  if (exitRequested_) return;
  const PackageInfo& info = package_.Info();
  XExtractionJob job{info.packagePath, info.packaged ? int64_t{info.stubSize} : 0, info.archiveSize,
                     WithFinalSeparator(installPath_)};
  if (!StartExtractionWorker(window_, std::move(job)))
    DebugLog(L"@@rDoInstall() : the extraction thread did not start");
}

// One item per language (1000 + index), the selected one checked; a choice reloads, even the
// language already selected.
void CMainWnd::ShowLanguageMenu() {
  std::vector<XLanguageItem>& items = data_.Languages().Items();
  if (items.empty()) return;
  HMENU menu = CreatePopupMenu();
  for (size_t i = 0; i < items.size(); ++i) {
    UINT flags = MF_STRING | (static_cast<int>(i) == data_.Languages().Selected() ? MF_CHECKED : 0);
    AppendMenuW(menu, flags, 1000 + i, Wide(items[i].displayName).c_str());
  }
  int chosen = skin_ ? skin_->TrackPopupMenu(menu) : 0;
  DestroyMenu(menu);
  if (chosen < 1000 || chosen >= 1000 + static_cast<int>(items.size())) return;
  data_.Languages().SelectByName(
      WithoutExtension(items[static_cast<size_t>(chosen - 1000)].fileName));
  Reload();
}

bool CMainWnd::OnExtractMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* answer) {
  const XExtractMessages& m = ExtractMessages();
  if (message == m.openFile) {
    outputPath_ = flow_.OpenFile(*this, reinterpret_cast<const char16_t*>(wparam),
                                 reinterpret_cast<const char16_t*>(lparam));
    *answer = reinterpret_cast<LRESULT>(outputPath_.c_str());
  } else if (message == m.progress) {
    flow_.Progress(*this, wparam, static_cast<uint64_t>(lparam));
  } else if (message == m.completed) {
    EnableMenuItem(GetSystemMenu(window_, FALSE), SC_CLOSE, MF_ENABLED);
    flow_.Completed(*this, static_cast<int>(wparam), reinterpret_cast<const char16_t*>(lparam),
                    data_.Table());
  } else if (message == m.cantOpen) {
    std::u16string text =
        data_.Table().LookupWith(u"MSG_FILE_OPEN_ERROR", reinterpret_cast<const char16_t*>(wparam));
    *answer = system_.messageBox.ShowMessageBox(text, data_.Config().title,
                                                MB_ICONERROR | MB_ABORTRETRYIGNORE);
  } else {
    return false;
  }
  return true;
}

AControlBase* CMainWnd::NamedControl(std::u16string_view name) {
  if (!skin_ || skin_->Document() == nullptr) return nullptr;
  std::optional<int> number = skin_->Document()->Ids().Lookup(name);
  return number ? skin_->Document()->FindControl(*number) : nullptr;
}

// --- The skin's host ---------------------------------------------------------------------

int CMainWnd::CallFunction(std::u16string_view key, XScriptValue* const* args, int32_t count,
                           XScriptValue* result) {
  // The outermost native makes the window busy; a host text that runs nested while it waits
  // (the extraction's question, OnSuccess) calls natives too, and leaves the window busy.
  bool outermost = !flow_.Busy();
  AControlBase* root = skin_ && skin_->Document() ? skin_->Document()->Root() : nullptr;
  if (outermost) {
    flow_.SetBusy(true);
    if (root != nullptr) root->Enable(false);
  }
  XHostCallResult answer = natives_.Call(key, XNativeCall{args, count, result});
  if (outermost) {
    if (root != nullptr) root->Enable(true);
    flow_.SetBusy(false);
  }
  return answer;
}

// The worker runs while this thread waits in 10 ms steps and dispatches what arrives for at most
// 10 ms each time, so the window repaints and moves; commands are ignored (busy). A window that
// is gone meanwhile ends the worker.
void CMainWnd::RunBlocking(const std::function<void()>& work) {
  auto thread = reinterpret_cast<HANDLE>(
      _beginthreadex(nullptr, 0, RunWork, const_cast<std::function<void()>*>(&work), 0, nullptr));
  if (thread == nullptr) return work();
  while (WaitForSingleObject(thread, 10) == WAIT_TIMEOUT) {
    DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < 10 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));
        break;
      }
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (window_ == nullptr || !IsWindow(window_)) {
      TerminateThread(thread, 1);
      break;
    }
  }
  CloseHandle(thread);
}

// Each check downloads into a buffer of its own, so an earlier request still running never
// writes into the one whose answer is read.
void CMainWnd::StartVersionCheck(const XVersionCheck& check) {
  versionCheck_ = check;
  versionDownload_ = std::make_shared<std::vector<uint8_t>>();
  XHttpOptions options;
  options.userAgent = data_.Config().nameEng;
  options.mostBytes = kMostVersionFileBytes;
  options.deadline = kVersionCheckDeadlineMs;
  versionRequest_ = HttpGetAsync(check.url, versionDownload_, window_, options);
}

bool CMainWnd::OnHttpMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != HttpMessages().complete) return false;
  if (versionRequest_ == 0 || static_cast<long>(wparam) != versionRequest_ || lparam != 1) {
    return true;
  }
  versionRequest_ = 0;
  std::optional<std::u16string> answer = VersionCheckAnswer(versionCheck_, *versionDownload_);
  if (answer) {
    RunScriptText(*answer);
    system_.Bundle().console.ScriptConsoleLog(*answer);
  }
  return true;
}

// The shell folders of the scripts' constants; the texts come from the install flow.
void CMainWnd::DefineConstants() {
  std::vector<std::pair<std::u16string, std::u16string>> folders;
  for (auto [name, csidl] : {std::pair{u"COMMON_PROGRAMS", 23}, {u"COMMON_DESKTOPDIRECTORY", 25}}) {
    wchar_t path[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, 0, path)))
      folders.emplace_back(name, FromWide(path));
  }
  XInstallFlow::DefineConstants(*this, folders);
}

void CMainWnd::RunConfigScript() {
  const std::u16string& name = data_.Config().configScript;
  if (name.empty()) return;
  XByteBuffer bytes;
  if (!package_.ReadWholeFile(name, &bytes)) {
    DebugLog(L"config script 로드 실패:%s", Wide(name).c_str());
    return;
  }
  std::u16string text = DecodeTextFile(bytes.data(), bytes.length);
  if (text.empty()) {
    DebugLog(L"config script 읽기 실패");
    return;
  }
  RunScriptText(text);
}

// The scripts are loaded: constants, the configuration script, and once per process the
// script's choice of language.
bool CMainWnd::OnLoaded() {
  DefineConstants();
  RunConfigScript();
  if (!askLanguage_) return true;
  askLanguage_ = false;
  RunScriptText(u"OnGetLanguage();");
  std::u16string chosen(ToText(skin_->Scripts()->LastResult()));
  if (chosen.empty() || EqualsIgnoreAsciiCase(chosen, data_.Languages().SelectedName()))
    return true;
  data_.Languages().SelectByName(chosen);
  reloadPosted_ = true;
  PostMessageW(window_, WM_COMMAND, kCmdReload, 0);
  return false;
}

// --- What the installer's natives ask --------------------------------------------------------

AControlBase* CMainWnd::Control(int id) {
  return skin_ && skin_->Document() ? skin_->Document()->FindControl(id) : nullptr;
}

void CMainWnd::PostCommand(unsigned id) {
  PostMessageW(window_, WM_COMMAND, id, 0);
}

void CMainWnd::RequestExit(std::optional<int> code) {
  exitRequested_ = true;
  flow_.Reset();
  if (code) exitCode_ = *code;
  PostMessageW(window_, WM_CLOSE, 0, 0);
}

void CMainWnd::ShowMainWindow(bool show) {
  showMainWindow_ = show;
  ShowWindow(window_, show ? SW_SHOW : SW_HIDE);
}

void CMainWnd::HideWindow() {
  ShowWindow(window_, SW_HIDE);
}

void CMainWnd::SetTitle(const std::u16string& title) {
  SetWindowTextW(window_, Wide(title).c_str());
}

namespace {

int CALLBACK SelectInitialFolder(HWND dialog, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

}  // namespace

std::u16string CMainWnd::SelectFolder(const std::u16string& initial, const std::u16string& title) {
  std::wstring start = Wide(initial), caption = Wide(title);
  BROWSEINFOW info{};
  info.hwndOwner = window_;
  info.lpszTitle = caption.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT | BIF_NEWDIALOGSTYLE;
  info.lpfn = SelectInitialFolder;
  info.lParam = reinterpret_cast<LPARAM>(start.c_str());
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
  if (chosen == nullptr) return {};
  wchar_t path[MAX_PATH] = {};
  bool ok = SHGetPathFromIDListW(chosen, path);
  CoTaskMemFree(chosen);
  return ok ? FromWide(path) : std::u16string();
}

bool CMainWnd::FocusControl(int id) {
  AControlBase* control = Control(id);
  return control != nullptr && control->OnSetFocus() != 0;
}

bool CMainWnd::EnableControl(int id, bool enable) {
  AControlBase* control = Control(id);
  if (control != nullptr) control->Enable(enable);
  return control != nullptr;
}

std::optional<std::u16string> CMainWnd::ControlText(int id) {
  AControlBase* control = Control(id);
  if (control == nullptr) return std::nullopt;
  return control->GetText();
}

namespace {

struct RtfSource {
  const std::vector<uint8_t>& bytes;
  size_t at = 0;
};

DWORD CALLBACK ReadRtf(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
  auto* source = reinterpret_cast<RtfSource*>(cookie);
  size_t count = std::min(source->bytes.size() - source->at, static_cast<size_t>(wanted));
  std::memcpy(buffer, source->bytes.data() + source->at, count);
  source->at += count;
  *given = static_cast<LONG>(count);
  return 0;
}

}  // namespace

// The bytes streamed as RTF into the rich-edit window a Window control hosts.
bool CMainWnd::LoadRtf(int id, const std::vector<uint8_t>& bytes) {
  auto* hosted = dynamic_cast<XWindow*>(Control(id));
  if (hosted == nullptr || hosted->window == nullptr) return false;
  RtfSource source{bytes};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, ReadRtf};
  SendMessageW(static_cast<HWND>(hosted->window), EM_STREAMIN, SF_RTF,
               reinterpret_cast<LPARAM>(&stream));
  return stream.dwError == 0;
}

bool CMainWnd::ShiftDown() {
  return (GetKeyState(VK_LSHIFT) & 0x8000) != 0 || (GetKeyState(VK_RSHIFT) & 0x8000) != 0;
}

int64_t CMainWnd::Now() {
  return static_cast<int64_t>(_time64(nullptr));
}

std::u16string CMainWnd::FormatLocalTime(int64_t time, const std::u16string& format) {
  __time64_t value = time;
  struct tm local;
  if (_localtime64_s(&local, &value) != 0) return {};
  wchar_t text[1025] = {};
  size_t length = wcsftime(text, 1024, Wide(format).c_str(), &local);
  return FromWide(std::wstring_view(text, length));
}

std::vector<std::u16string> CMainWnd::Arguments() {
  std::vector<std::u16string> arguments;
  for (int i = 0; i < __argc; ++i) arguments.push_back(FromWide(__wargv[i]));
  return arguments;
}

void CMainWnd::Log(const std::u16string& line) {
  DebugLog(L"%s", Wide(line).c_str());
}

}  // namespace qorin
