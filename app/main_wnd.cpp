#include "main_wnd.h"

#include "debug_log.h"
#include "elevation.h"
#include "installer_commands.h"
#include "text.h"
#include "wide_text_win32.h"

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

MONITORINFO MonitorOf(HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
  return info;
}

}  // namespace

CMainWnd::CMainWnd(const std::wstring& commandLine) : commandLine_(Trim(commandLine)) {
  LoadRichEdit();
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
  return window_ != nullptr;
}

// The configured skin from the data archive in memory, or from the developer folder. A skin that
// cannot be loaded shows its error text in a box with an empty caption.
bool CMainWnd::LoadSkin() {
  XSkinWindowOptions options;
  options.language = &skinLanguage_;
  for (const NamedCommand& command : kNamedCommands)
    options.ids.emplace_back(command.name, command.id);
  options.log = [](const std::wstring& line) { DebugLog(L"%s", line.c_str()); };
  const PackageInfo& info = package_.Info();
  const std::u16string& skinFile = data_.Config().skinFileName;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const std::vector<uint8_t>& archive = package_.DataArchive();
  bool loaded = info.packaged ? skin_.LoadFromMemory(instance, window_, archive.data(),
                                                     archive.size(), skinFile, u"", options)
                              : skin_.LoadFromFolder(instance, window_, info.developerFolder,
                                                     skinFile, u"", options);
  if (loaded) return true;
  std::wstring text = Wide(skin_.GetErrorText());
  DebugLog(L"@@rskin load failed: %s", text.c_str());
  MessageBoxW(nullptr, text.c_str(), L"", MB_OK);
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
  ShowWindow(window_, SW_SHOW);
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetTimer(window_, kTimerTopmost, kTopmostMs, nullptr);
}

// A window larger than the work area gets its extent; a smaller one is shifted just enough to
// lie inside.
void CMainWnd::FitIntoWorkArea() {
  RECT area = MonitorOf(window_).rcWork, now;
  GetWindowRect(window_, &now);
  RECT fit = now;
  auto fitAxis = [](LONG& low, LONG& high, LONG areaLow, LONG areaHigh) {
    if (high - low > areaHigh - areaLow) {
      low = areaLow;
      high = areaHigh;
    } else if (low < areaLow) {
      high += areaLow - low;
      low = areaLow;
    } else if (high > areaHigh) {
      low -= high - areaHigh;
      high = areaHigh;
    }
  };
  fitAxis(fit.left, fit.right, area.left, area.right);
  fitAxis(fit.top, fit.bottom, area.top, area.bottom);
  if (!EqualRect(&fit, &now))
    MoveWindow(window_, fit.left, fit.top, fit.right - fit.left, fit.bottom - fit.top, TRUE);
}

void CMainWnd::CentreOnWorkArea() {
  RECT area = MonitorOf(window_).rcWork, now;
  GetWindowRect(window_, &now);
  int width = now.right - now.left, height = now.bottom - now.top;
  int left = area.left + (area.right - area.left - width) / 2;
  int top = area.top + (area.bottom - area.top - height) / 2;
  SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMainWnd::RunMessageLoop() {
  HACCEL accelerators =
      LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kAcceleratorTable));
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!TranslateAcceleratorW(window_, accelerators, &message) &&
        !IsDialogMessageW(window_, &message)) {
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
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wparam) == 0 || HIWORD(wparam) == 1) OnCommand(LOWORD(wparam));
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

void CMainWnd::OnCommand(unsigned id) {
  Do(flow_.OnCommand(id));
}

void CMainWnd::Do(XWindowAction action) {
  switch (action) {
    case XWindowAction::kClose: Close(); break;
    case XWindowAction::kMinimize: ShowWindow(window_, SW_MINIMIZE); break;
    case XWindowAction::kPostReload: PostMessageW(window_, WM_COMMAND, kCmdReload, 0); break;
    case XWindowAction::kReload: Reload(); break;
    case XWindowAction::kNone: break;
  }
}

void CMainWnd::Close() {
  PostMessageW(window_, WM_CLOSE, 0, 0);
}

void CMainWnd::Reload() {
  DebugLog(L"CMainWnd::Reload() : %s", Wide(data_.Languages().SelectedName()).c_str());
  if (!data_.LoadLanguageTable()) {
    DebugLog(L"@@rCMainWnd::Reload() : the language table could not be loaded");
    return;
  }
  const XInstallerConfig& config = data_.Config();
  data_.Table().SetApplication(config.nameLocal, config.appVersion);
  ApplyRightToLeft();
  ShowBuiltWindow();
}

}  // namespace qorin
