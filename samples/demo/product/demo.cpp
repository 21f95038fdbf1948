// Corvala Demo: the small product that the demo install package installs. It shows a window of
// the class "CorvalaDemoWindow" and, as real products do, leaves settings behind: a registry key
// under HKCU and a folder under the user's application data. "demo.exe --cleanup" removes both;
// the uninstall package runs it before deleting the product's files.
#include <shlobj.h>
#include <windows.h>

#include <string>

namespace {

constexpr wchar_t kWindowClass[] = L"CorvalaDemoWindow";
constexpr wchar_t kSettingsKey[] = L"Software\\Corvala Demo";

std::wstring SettingsFolder() {
  wchar_t appData[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
  return std::wstring(appData) + L"\\Corvala Demo";
}

void WriteSettings() {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) == ERROR_SUCCESS) {
    DWORD runs = 1;
    RegSetValueExW(key, L"Runs", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&runs), sizeof runs);
    RegCloseKey(key);
  }
  std::wstring folder = SettingsFolder();
  CreateDirectoryW(folder.c_str(), nullptr);
  HANDLE file = CreateFileW((folder + L"\\settings.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    const char text[] = "[Demo]\r\nTheme=light\r\n";
    DWORD written = 0;
    WriteFile(file, text, sizeof text - 1, &written, nullptr);
    CloseHandle(file);
  }
}

int CleanUp() {
  RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
  std::wstring folder = SettingsFolder();
  DeleteFileW((folder + L"\\settings.ini").c_str());
  return RemoveDirectoryW(folder.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ? 0 : 1;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT area;
    GetClientRect(window, &area);
    DrawTextW(dc, L"Corvala Demo 1.2", -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
  if (commandLine != nullptr && std::wstring(commandLine) == L"--cleanup") return CleanUp();
  WriteSettings();
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassW(&windowClass);
  HWND window =
      CreateWindowExW(0, kWindowClass, L"Corvala Demo", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                      CW_USEDEFAULT, 360, 200, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, show);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
