// The end-to-end tests' packages: a stub with a configuration, languages and a skin written
// into a fresh folder of its own, run under observation.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "helper_win.h"
#include "observed_run.h"
#include "package_writer.h"

namespace qorin::e2e {

using helpers::ReadWholeFile;
using helpers::WriteWholeFile;

inline const char kIntegrityText[] = "Installer intergrity check has failed. \r\n\r\n";
// The skin's trace line when the scripts define no OnGetLanguage (no error for the installer).
inline const char kNoOnGetLanguage[] =
    "@@rXXSkin::CallFunc() - 함수를 찾을 수 없음: OnGetLanguage@v";

inline std::vector<uint8_t> Utf16File(const std::wstring& text) {
  std::vector<uint8_t> out = {0xFF, 0xFE};
  for (wchar_t c : text) {
    out.push_back(static_cast<uint8_t>(c));
    out.push_back(static_cast<uint8_t>(c >> 8));
  }
  return out;
}

inline std::string AsString(const std::vector<uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

inline std::vector<uint8_t> Bytes(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

// The developer log without the skin's layout lines.
inline std::vector<std::string> WithoutLayout(std::vector<std::string> texts) {
  texts.erase(std::remove_if(texts.begin(), texts.end(),
                             [](const std::string& t) { return t.rfind("skin layout ", 0) == 0; }),
              texts.end());
  return texts;
}

// The display DPI of the prefix for the processes started while it lives.
class PrefixDpi {
 public:
  explicit PrefixDpi(DWORD dpi) { Set(dpi); }
  ~PrefixDpi() { Set(96); }

 private:
  static void Set(DWORD dpi) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
      return;
    RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                   sizeof dpi);
    RegCloseKey(key);
  }
};

// The Unix path of a Windows path, through Wine's own export.
inline std::string UnixPath(const std::wstring& path) {
  using Convert = char*(CDECL*)(const wchar_t*);
  FARPROC found = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
  auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(found));
  if (convert == nullptr) return {};
  char* unix = convert(path.c_str());
  std::string out = unix != nullptr ? unix : "";
  HeapFree(GetProcessHeap(), 0, unix);
  return out;
}

// Runs a shell command of the Linux host: Wine starts Unix programs too, but does not report
// their exit, so the command's success is seen in a marker file it writes last. The Unix side
// sees Wine's PATH, so the host's is set first.
inline bool RunHostShell(const std::string& command, const std::wstring& marker) {
  std::string script =
      "PATH=/usr/bin:/bin; " + command + " && echo done > '" + UnixPath(marker) + "'";
  std::wstring line = L"Z:\\bin\\sh -c \"" + helpers::FromUtf8(script) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info))
    return false;
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  for (int i = 0; i < 600 && !helpers::FileExists(marker); ++i) Sleep(50);
  return helpers::FileExists(marker);
}

class StubStartup : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    // Wine reuses process IDs: the time keeps folders of earlier runs apart.
    folder_ = std::wstring(temp) + L"qorin-startup-" + std::to_wstring(GetTickCount64()) + L"-" +
              helpers::FromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
              L"\\";
    CreateDirectoryW(folder_.c_str(), nullptr);
    std::string stub = ReadWholeFile(BuildFile(L"qorin-stub.exe"));
    parts_.stub.assign(stub.begin(), stub.end());
    parts_.config = "setup.ini";
    parts_.packTime = 1700000000;
    config_ =
        L"[config]\r\nname_eng = QorinE2E\r\ntitle = Qorin E2E Setup\r\nlang_folder = lang\r\n"
        L"skin_file_name = skin.xml\r\n";
    skin_ =
        "<XSkin><Head><WindowSize Width=\"520\" Height=\"380\"/></Head><Body>"
        "<Static Name=\"strip\" Align=\"bottom\" Height=\"40\"/><Static Align=\"client\"/>"
        "</Body></XSkin>";
    languages_ = {{"lang/English.ini", Utf16File(L"[INSTALLER]\r\nLANG_NAME = English\r\n")},
                  {"lang/Korean.ini", Utf16File(L"[INSTALLER]\r\nLANG_NAME = 한국어\r\n")}};
  }

  std::vector<uint8_t> Package() {
    std::vector<pack::DataFile> files = languages_;
    files.insert(files.end(), extraFiles_.begin(), extraFiles_.end());
    files.push_back({"setup.ini", Utf16File(config_)});
    files.push_back({"skin.xml", Bytes(skin_)});
    parts_.data = pack::WriteZip(files, parts_.packTime);
    return pack::BuildPackage(parts_);
  }
  // The payload built beside the tests (e2e-payload.7z, e2e-crafted.7z); false when missing.
  bool UsePayload(const wchar_t* name) {
    std::string bytes = ReadWholeFile(BuildFile(name));
    parts_.payload.assign(bytes.begin(), bytes.end());
    return !bytes.empty();
  }
  std::wstring Write(const std::wstring& name, const std::vector<uint8_t>& bytes) {
    std::wstring path = folder_ + name;
    EXPECT_TRUE(WriteWholeFile(path, AsString(bytes)));
    return path;
  }
  static RunOptions Options(const std::wstring& program) {
    RunOptions options;
    options.program = program;
    options.timeoutMs = 30000;
    return options;
  }
  // Waits until the installer window is shown, then acts on it.
  static RunOptions WindowOptions(const std::wstring& program, std::vector<WindowAction> actions) {
    RunOptions options = Options(program);
    options.windowClass = L"QORINCLASS";
    options.actions = std::move(actions);
    return options;
  }
  static std::vector<WindowAction> CloseSoon() {
    return {{WindowAction::kWait, 400}, {WindowAction::kClose}};
  }

  std::wstring folder_;
  pack::PackageParts parts_;
  std::wstring config_;
  std::string skin_;
  std::vector<pack::DataFile> languages_;
  std::vector<pack::DataFile> extraFiles_;  // more files of the data archive
};

}  // namespace qorin::e2e
