// The Win32 side of the installer system, and the portable package code on Windows: file
// streams with their sharing retries, the OEM code page, message boxes with their texts.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "code_page.h"
#include "file_stream.h"
#include "installer_system_win32.h"
#include "registry_win32.h"
#include "zip_reader.h"

namespace qorin {
namespace {

std::u16string U16(const std::wstring& text) {
  return std::u16string(text.begin(), text.end());
}

std::wstring TempFolder() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder =
      std::wstring(temp) + L"qorin-sys-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD put = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(file);
}

TEST(InstallerSystemWin32, EnvironmentProgramFilesAndUiLanguage) {
  XEnvironmentWin32 system;
  SetEnvironmentVariableW(L"QORIN_TEST_VALUE", L"D:\\Apps");
  EXPECT_EQ(system.GetEnvironment(u"QORIN_TEST_VALUE"), u"D:\\Apps");
  EXPECT_EQ(system.GetEnvironment(u"QORIN_TEST_UNSET"), u"");
  std::u16string programFiles = system.ProgramFilesDir();
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  EXPECT_EQ(programFiles.substr(1), wow64 ? u":\\Program Files (x86)" : u":\\Program Files")
      << "the folder of the programs of this one's bitness";
  EXPECT_EQ(system.UserDefaultUILanguage(), GetUserDefaultUILanguage());
}

TEST(InstallerSystemWin32, FilesListedAndFound) {
  IXFileAccess& system = SystemFileAccess();
  std::wstring folder = TempFolder();
  WriteBytes(folder + L"English.ini", "x");
  WriteBytes(folder + L"Korean.lang", "x");
  CreateDirectoryW((folder + L"sub.ini").c_str(), nullptr);
  EXPECT_EQ(system.ListFiles(U16(folder), u"*.ini"), std::vector<std::u16string>{u"English.ini"});
  EXPECT_TRUE(system.FileExists(U16(folder + L"Korean.lang")));
  EXPECT_FALSE(system.FileExists(U16(folder + L"sub.ini"))) << "a folder is no file";
  SetCurrentDirectoryW(folder.c_str());
  EXPECT_EQ(system.FullPathName(u"dev\\setup.config"), U16(folder + L"dev\\setup.config"));
}

TEST(FileStreamWin32, ReadsAFileAnotherProcessHoldsForWriting) {
  std::wstring path = TempFolder() + L"locked.bin";
  WriteBytes(path, std::string(20000, 'q'));
  // Held with write access and read+write sharing: the plain read-sharing open fails with a
  // sharing violation, one of the retries succeeds.
  HANDLE holder =
      CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  XFileReadStream stream;
  ASSERT_TRUE(stream.Open(U16(path)));
  EXPECT_EQ(stream.GetSize(), 20000);
  char buffer[10];
  uint32_t got = 0;
  ASSERT_EQ(stream.Seek(8190), 8190);
  ASSERT_TRUE(stream.Read(buffer, 10, &got));
  EXPECT_EQ(got, 10u);
  EXPECT_EQ(stream.FileReadCount(), 2u) << "a 2-byte refill to the 8 KiB boundary, then 8 KiB";
  EXPECT_FALSE(stream.Open(U16(path))) << "already open";
  CloseHandle(holder);
}

TEST(FileStreamWin32, WriteStreamReplacesAReadOnlyFile) {
  std::wstring path = TempFolder() + L"readonly.txt";
  WriteBytes(path, "old");
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
  XFileWriteStream stream;
  ASSERT_TRUE(stream.Create(U16(path)));
  ASSERT_TRUE(stream.Write("new", 3));
  ASSERT_TRUE(stream.Close(1700000000));
  XFileReadStream read;
  ASSERT_TRUE(read.Open(U16(path)));
  char buffer[8] = {};
  uint32_t got = 0;
  read.Read(buffer, 8, &got);
  EXPECT_EQ(std::string(buffer, got), "new");
}

TEST(CodePageWin32, OemConversionRoundTrips) {
  std::optional<std::string> oem = SystemCodePage().ToOem(u"lang\\English.ini");
  ASSERT_TRUE(oem.has_value());
  EXPECT_EQ(*oem, "lang\\English.ini");
  EXPECT_EQ(SystemCodePage().FromOem(*oem), u"lang\\English.ini");
}

// Message boxes shown by this process, read back by a watcher thread that presses OK.
struct SeenBox {
  std::wstring caption, text;
  bool systemModal = false;
};

DWORD WINAPI WatchForBox(void* param) {
  auto* seen = static_cast<SeenBox*>(param);
  for (int i = 0; i < 400; ++i) {
    HWND box = FindWindowW(L"#32770", nullptr);
    if (box != nullptr && IsWindowVisible(box)) {
      wchar_t caption[128] = {}, text[512] = {};
      GetWindowTextW(box, caption, 128);
      HWND child = nullptr;
      while ((child = FindWindowExW(box, child, L"Static", nullptr)) != nullptr) {
        GetWindowTextW(child, text, 512);
        if (text[0] != 0) break;
      }
      seen->caption = caption;
      seen->text = text;
      seen->systemModal = (GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      return 0;
    }
    Sleep(25);
  }
  return 1;
}

TEST(InstallerSystemWin32, MessageBoxShowsTextAndCaption) {
  XMessageBoxWin32 system;
  SeenBox seen;
  HANDLE watcher = CreateThread(nullptr, 0, WatchForBox, &seen, 0, nullptr);
  system.ShowMessageBox(u"Installer intergrity check has failed. \r\n\r\nC:\\setup.exe", u"QORIN",
                        kBoxSystemModal | kBoxIconWarning);
  WaitForSingleObject(watcher, 15000);
  CloseHandle(watcher);
  EXPECT_EQ(seen.caption, L"QORIN");
  EXPECT_EQ(seen.text, L"Installer intergrity check has failed. \r\n\r\nC:\\setup.exe");
  EXPECT_TRUE(seen.systemModal) << "MB_SYSTEMMODAL boxes stay on top";
}

}  // namespace
}  // namespace qorin

namespace qorin {
namespace {

// The registry of the Wine prefix, under HKCU so that no rights are needed.
TEST(RegistryWin32, WritesReadsAndDeletesKeysWithTheirSubkeys) {
  XRegistryWin32 registry;
  auto path = [](const char16_t* text) { return *ParseRegistryValuePath(text); };
  EXPECT_TRUE(registry.WriteText(path(u"HKCU/Software/QorinTest/Name"), u"한국어", false));
  EXPECT_EQ(registry.ReadText(path(u"HKCU/Software/QorinTest/Name"), false), u"한국어");
  EXPECT_TRUE(registry.WriteInt(path(u"HKCU/Software/QorinTest/Deep/Count"), -7, false));
  EXPECT_EQ(registry.ReadInt(path(u"HKCU/Software/QorinTest/Deep/Count"), false), -7);
  EXPECT_EQ(registry.ReadInt(path(u"HKCU/Software/QorinTest/Name"), false), 0)
      << "longer than 4 bytes";
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\QorinTest", 0, KEY_SET_VALUE, &key),
            ERROR_SUCCESS);
  const wchar_t expand[] = L"%SystemRoot%\\x";
  RegSetValueExW(key, L"Expand", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(expand),
                 sizeof expand);
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"default"), 16);
  RegSetValueExW(key, L"Odd", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"odd!"), 7);  // no NUL
  RegCloseKey(key);
  EXPECT_EQ(registry.ReadText(path(u"HKCU/Software/QorinTest/Odd"), false), u"odd")
      << "whole characters of an odd byte count";
  EXPECT_EQ(registry.ReadText(path(u"HKCU/Software/QorinTest/Expand"), false), u"%SystemRoot%\\x")
      << "not expanded";
  EXPECT_EQ(registry.ReadText(path(u"HKCU/Software/QorinTest/"), false), u"default");
  EXPECT_TRUE(registry.DeleteKey(*ParseRegistryKeyPath(u"HKCU/Software/QorinTest/"), false));
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\QorinTest", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  EXPECT_FALSE(registry.DeleteKey(*ParseRegistryKeyPath(u"HKCU/Software/QorinTest"), false));
}

// HKLM\SOFTWARE has two views on a 64-bit system: the 32-bit stub's own is WOW6432Node, the x64
// stub's own is the 64-bit one, as for any program of its bitness.
TEST(RegistryWin32, ViewsAndAKeyThatRefusesDeletion) {
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  XRegistryWin32 registry;
  XRegistryPath value = *ParseRegistryValuePath(u"HKLM/SOFTWARE/QorinViewTest/Name");
  ASSERT_TRUE(registry.WriteText(value, u"64", true));
  ASSERT_TRUE(registry.WriteText(value, u"32", false));
  EXPECT_EQ(registry.ReadText(value, true), wow64 ? u"64" : u"32");
  EXPECT_EQ(registry.ReadText(value, false), u"32");
  XRegistryPath key = *ParseRegistryKeyPath(u"HKLM/SOFTWARE/QorinViewTest");
  EXPECT_TRUE(registry.DeleteKey(key, false));
  EXPECT_EQ(registry.ReadText(value, true), wow64 ? u"64" : u"") << "the other view stays";
  registry.DeleteKey(key, true);

  // A subkey whose security refuses deletion stops the recursive delete: its parent stays.
  ASSERT_TRUE(registry.WriteText(*ParseRegistryValuePath(u"HKCU/Software/QorinLocked/Inner/V"),
                                 u"x", false));
  HKEY inner = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\QorinLocked\\Inner", 0, WRITE_DAC, &inner),
            ERROR_SUCCESS);
  SECURITY_DESCRIPTOR descriptor;
  InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  alignas(8) BYTE aclBuffer[256];
  auto* acl = reinterpret_cast<ACL*>(aclBuffer);
  InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION);
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
  AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ | WRITE_DAC, everyone);
  SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
  LONG locked = RegSetKeySecurity(inner, DACL_SECURITY_INFORMATION, &descriptor);
  RegCloseKey(inner);
  bool deleted = registry.DeleteKey(*ParseRegistryKeyPath(u"HKCU/Software/QorinLocked"), false);
  HKEY parent = nullptr;
  bool parentStays = RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\QorinLocked", 0, KEY_READ,
                                   &parent) == ERROR_SUCCESS;
  if (parent != nullptr) RegCloseKey(parent);
  // Unlock and clean up.
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\QorinLocked\\Inner", 0, WRITE_DAC, &inner) ==
      ERROR_SUCCESS) {
    SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
    RegSetKeySecurity(inner, DACL_SECURITY_INFORMATION, &descriptor);
    RegCloseKey(inner);
  }
  FreeSid(everyone);
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QorinLocked");
  ASSERT_EQ(locked, ERROR_SUCCESS);
  if (!parentStays) GTEST_SKIP() << "this Wine does not enforce registry key security";
  EXPECT_FALSE(deleted);
}

}  // namespace
}  // namespace qorin
