// The stub's executable as Windows loads it: a 32-bit GUI program whose manifest asks for
// administrator rights, system DPI awareness, common controls 6 and the supported systems.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::wstring StubPath() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self);
  path.resize(path.find_last_of(L"\\/") + 1);
  return path + L"qorin-stub.exe";
}

class StubImage : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExW(StubPath().c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr) << "cannot load the stub, error " << GetLastError();
  }
  void TearDown() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }

  std::string Manifest() const {
    HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(module_, found);
    return std::string(static_cast<const char*>(LockResource(loaded)),
                       SizeofResource(module_, found));
  }

  HMODULE module_ = nullptr;
};

// The stub is built for the processor of this test program: i386 or x64.
TEST_F(StubImage, IsAGuiProgramForThisProcessor) {
  HANDLE file = CreateFileW(StubPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  char header[4096] = {};
  DWORD got = 0;
  ReadFile(file, header, sizeof header, &got, nullptr);
  CloseHandle(file);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(header);
  ASSERT_EQ(dos->e_magic, IMAGE_DOS_SIGNATURE);
  ASSERT_LT(static_cast<DWORD>(dos->e_lfanew), got - sizeof(IMAGE_NT_HEADERS));
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(header + dos->e_lfanew);
  EXPECT_EQ(nt->FileHeader.Machine,
            sizeof(void*) == 8 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386);
  EXPECT_EQ(nt->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR_MAGIC);
  EXPECT_EQ(nt->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
  EXPECT_NE(nt->FileHeader.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE, 0)
      << "solid blocks of the payload need the address space";
}

TEST_F(StubImage, ManifestAsksForWhatTheInstallerNeeds) {
  std::string manifest = Manifest();
  ASSERT_FALSE(manifest.empty());
  EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
  EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos);
  for (const char* system : {"e2011457-1546-43c5-a5fe-008deee3d3f0",     // Vista
                             "35138b9a-5d96-4fbd-8e2d-a2440225f93a",     // 7
                             "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",     // 8
                             "1f676c76-80e1-4239-95bb-83d0f6d0da78",     // 8.1
                             "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}) {  // 10
    EXPECT_NE(manifest.find(system), std::string::npos) << system;
  }
}

}  // namespace
