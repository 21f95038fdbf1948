#include "file_operations_win32.h"

#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

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

}  // namespace

bool XFileOperationsWin32::Delete(const std::u16string& path) {
  return ::DeleteFileW(Wide(path).c_str());
}

bool XFileOperationsWin32::Move(const std::u16string& from, const std::u16string& to) {
  return ::MoveFileW(Wide(from).c_str(), Wide(to).c_str());
}

bool XFileOperationsWin32::Copy(const std::u16string& from, const std::u16string& to) {
  return ::CopyFileW(Wide(from).c_str(), Wide(to).c_str(), FALSE);
}

bool XFileOperationsWin32::RemoveFolder(const std::u16string& path) {
  return ::RemoveDirectoryW(Wide(path).c_str());
}

bool XFileOperationsWin32::CreateFolder(const std::u16string& path) {
  return ::CreateDirectoryW(Wide(path).c_str(), nullptr);
}

std::optional<uint32_t> XFileOperationsWin32::Attributes(const std::u16string& path) {
  DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

bool XFileOperationsWin32::SetAttributes(const std::u16string& path, uint32_t attributes) {
  return SetFileAttributesW(Wide(path).c_str(), attributes);
}

std::vector<XFoundEntry> XFileOperationsWin32::Find(const std::u16string& pattern) {
  std::vector<XFoundEntry> entries;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Wide(pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    entries.push_back({FromWide(found.cFileName),
                       (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                       (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return entries;
}

std::u16string XFileOperationsWin32::TempFolder() {
  wchar_t folder[MAX_PATH + 1];
  DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  return length == 0 || length > MAX_PATH ? u"" : FromWide({folder, length});
}

std::u16string XFileOperationsWin32::TempFileName(const std::u16string& folder,
                                                  const std::u16string& prefix) {
  wchar_t name[MAX_PATH];
  if (GetTempFileNameW(Wide(folder).c_str(), Wide(prefix).c_str(), 0, name) == 0) return u"";
  return FromWide(name);
}

std::u16string XFileOperationsWin32::Canonicalize(const std::u16string& path) {
  wchar_t canonical[MAX_PATH];
  if (path.size() >= MAX_PATH || !PathCanonicalizeW(canonical, Wide(path).c_str())) return path;
  return FromWide(canonical);
}

bool XFileOperationsWin32::CreateShortcut(const XShortcut& shortcut) {
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  bool saved = false;
  {
    XComPointer<IShellLinkW> link;
    XComPointer<IPersistFile> file;
    std::wstring target = Wide(shortcut.target);
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link.p)))) {
      link->SetPath(target.c_str());
      link->SetWorkingDirectory(Wide(shortcut.workingFolder).c_str());
      link->SetShowCmd(SW_SHOW);
      link->SetIconLocation(target.c_str(), 0);
      if (!shortcut.description.empty()) link->SetDescription(Wide(shortcut.description).c_str());
      if (!shortcut.arguments.empty()) link->SetArguments(Wide(shortcut.arguments).c_str());
      saved =
          SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p))) &&
          SUCCEEDED(file->Save(Wide(shortcut.link).c_str(), TRUE));
    }
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return saved;
}

uint32_t XFileOperationsWin32::LastError() {
  return GetLastError();
}

}  // namespace qorin
