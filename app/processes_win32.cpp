#include "processes_win32.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include "wide_text_win32.h"

namespace qorin {
namespace {

// A COM interface pointer released at the end of its scope.
template <typename T>
struct XComPointer {
  T* p = nullptr;
  ~XComPointer() {
    if (p != nullptr) p->Release();
  }
  T* operator->() const { return p; }
};

// The three identifiers a shortcut needs, here rather than from libuuid, whose one object holds
// every identifier the system headers name (3 KiB in the stub).
constexpr CLSID kShellLink = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kShellLinkW = {0x000214F9, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kPersistFile = {0x0000010B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

}  // namespace

// Called on the blocking call's worker (RunBlocking), which owns no window: the window's own
// thread keeps it drawn meanwhile.
std::optional<uint32_t> XProcessesWin32::RunAndWait(const std::u16string& commandLine) {
  std::wstring line = Wide(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return std::nullopt;
  }
  CloseHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 0;
  bool read = GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hProcess);
  return read ? std::optional<uint32_t>(exitCode) : std::nullopt;
}

bool XProcessesWin32::ShellOpen(const std::u16string& file, const std::u16string& parameters) {
  std::wstring wideFile = Wide(file), wideParameters = Wide(parameters);
  HINSTANCE result =
      ShellExecuteW(nullptr, L"open", wideFile.c_str(),
                    parameters.empty() ? nullptr : wideParameters.c_str(), nullptr, SW_SHOW);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

uintptr_t XProcessesWin32::FindTopWindow(const std::u16string& windowClass) {
  return reinterpret_cast<uintptr_t>(FindWindowW(Wide(windowClass).c_str(), nullptr));
}

void XProcessesWin32::AskToClose(uintptr_t window) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(reinterpret_cast<HWND>(window), WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000,
                      &answer);
}

void XProcessesWin32::Sleep(uint32_t ms) {
  ::Sleep(ms);
}

uint32_t XProcessesWin32::Ticks() {
  return GetTickCount();
}

bool XProcessesWin32::MutexExists(const std::u16string& name) {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, Wide(name).c_str());
  bool exists = mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
  if (mutex != nullptr) CloseHandle(mutex);
  return exists;
}

bool XProcessesWin32::CreateShortcut(const XShortcut& shortcut) {
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  bool saved = false;
  {
    XComPointer<IShellLinkW> link;
    XComPointer<IPersistFile> file;
    std::wstring target = Wide(shortcut.target);
    if (SUCCEEDED(CoCreateInstance(kShellLink, nullptr, CLSCTX_INPROC_SERVER, kShellLinkW,
                                   reinterpret_cast<void**>(&link.p)))) {
      link->SetPath(target.c_str());
      link->SetWorkingDirectory(Wide(shortcut.workingFolder).c_str());
      link->SetShowCmd(SW_SHOW);
      link->SetIconLocation(target.c_str(), 0);
      if (!shortcut.description.empty()) link->SetDescription(Wide(shortcut.description).c_str());
      if (!shortcut.arguments.empty()) link->SetArguments(Wide(shortcut.arguments).c_str());
      saved = SUCCEEDED(link->QueryInterface(kPersistFile, reinterpret_cast<void**>(&file.p))) &&
              SUCCEEDED(file->Save(Wide(shortcut.link).c_str(), TRUE));
    }
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return saved;
}

}  // namespace qorin
