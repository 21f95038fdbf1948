// File operations for the stub, with the Win32 API.
#include <shlwapi.h>
#include <windows.h>

#include "file_access.h"

namespace qorin {
namespace {

using Handle = IXFileAccess::Handle;
constexpr Handle kNoFile = IXFileAccess::kNoFile;

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::u16string FromWide(const wchar_t* text) {
  return reinterpret_cast<const char16_t*>(text);
}

HANDLE OpenShared(const std::u16string& path, DWORD share, DWORD flags) {
  return CreateFileW(Wide(path), GENERIC_READ, share, nullptr, OPEN_EXISTING, flags, nullptr);
}

Handle ToHandle(HANDLE file) {
  return file == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<Handle>(file);
}

HANDLE FromHandle(Handle file) {
  return reinterpret_cast<HANDLE>(file);
}

class Win32FileAccess final : public IXFileAccess {
 public:
  Handle OpenForReading(const std::u16string& path) override {
    HANDLE file = OpenShared(path, FILE_SHARE_READ, FILE_FLAG_SEQUENTIAL_SCAN);
    if (file != INVALID_HANDLE_VALUE) return ToHandle(file);
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      // Paths longer than MAX_PATH open only in the long-path form.
      return ToHandle(OpenShared(u"\\\\?\\" + path, FILE_SHARE_READ, FILE_FLAG_SEQUENTIAL_SCAN));
    }
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) return kNoFile;
    // Another process holds the file: try the sharing modes it may have left us.
    static constexpr DWORD kShares[] = {0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE};
    for (DWORD share : kShares) {
      file =
          OpenShared(path, share, share == 0 ? FILE_FLAG_SEQUENTIAL_SCAN : FILE_ATTRIBUTE_NORMAL);
      if (file != INVALID_HANDLE_VALUE) return ToHandle(file);
    }
    return kNoFile;
  }

  Handle CreateForWriting(const std::u16string& path) override {
    auto create = [&] {
      return CreateFileW(Wide(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    HANDLE file = create();
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED) {
      SetFileAttributesW(Wide(path), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(Wide(path));
      file = create();
    }
    return ToHandle(file);
  }

  bool Read(Handle file, void* buffer, uint32_t length, uint32_t* bytesRead) override {
    DWORD got = 0;
    BOOL ok = ReadFile(FromHandle(file), buffer, length, &got, nullptr);
    *bytesRead = ok ? got : 0;
    return ok != FALSE;
  }

  bool Write(Handle file, const void* buffer, uint32_t length) override {
    DWORD put = 0;
    return WriteFile(FromHandle(file), buffer, length, &put, nullptr) && put == length;
  }

  int64_t SeekTo(Handle file, int64_t position) override {
    LARGE_INTEGER target, now;
    target.QuadPart = position;
    if (!SetFilePointerEx(FromHandle(file), target, &now, FILE_BEGIN)) return -1;
    return now.QuadPart;
  }

  int64_t Size(Handle file) override {
    LARGE_INTEGER size;
    return GetFileSizeEx(FromHandle(file), &size) ? size.QuadPart : -1;
  }

  bool SetLastWriteTime(Handle file, int64_t unixSeconds) override {
    // FILETIME counts 100 ns steps since 1601-01-01.
    ULARGE_INTEGER ticks;
    ticks.QuadPart = (static_cast<uint64_t>(unixSeconds) + 11644473600ull) * 10000000ull;
    FILETIME time{ticks.LowPart, ticks.HighPart};
    return SetFileTime(FromHandle(file), nullptr, nullptr, &time) != FALSE;
  }

  void Close(Handle file) override { CloseHandle(FromHandle(file)); }

  bool FileExists(const std::u16string& path) override {
    DWORD attributes = GetFileAttributesW(Wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }

  std::u16string FullPathName(const std::u16string& path) override {
    DWORD size = GetFullPathNameW(Wide(path), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::u16string full(size, u'\0');
    full.resize(
        GetFullPathNameW(Wide(path), size, reinterpret_cast<wchar_t*>(full.data()), nullptr));
    return full;
  }

  bool MakeFolders(const std::u16string& path) override {
    std::u16string folder = path;
    while (!folder.empty() && (folder.back() == u'\\' || folder.back() == u'/')) folder.pop_back();
    if (folder.empty()) return false;
    DWORD attributes = GetFileAttributesW(Wide(folder));
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    size_t cut = folder.find_last_of(u"\\/");
    if (cut != std::u16string::npos && cut > 0 && folder[cut - 1] != u':')
      MakeFolders(folder.substr(0, cut));
    return CreateDirectoryW(Wide(folder), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
  }

  bool Rename(const std::u16string& from, const std::u16string& to) override {
    return MoveFileW(Wide(from), Wide(to)) != FALSE;
  }

  bool Remove(const std::u16string& path) override { return DeleteFileW(Wide(path)) != FALSE; }

  bool Copy(const std::u16string& from, const std::u16string& to) override {
    return CopyFileW(Wide(from), Wide(to), FALSE) != FALSE;
  }

  bool RemoveFolder(const std::u16string& path) override {
    return RemoveDirectoryW(Wide(path)) != FALSE;
  }

  bool CreateFolder(const std::u16string& path) override {
    return CreateDirectoryW(Wide(path), nullptr) != FALSE;
  }

  std::optional<uint32_t> Attributes(const std::u16string& path) override {
    DWORD attributes = GetFileAttributesW(Wide(path));
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return attributes;
  }

  std::vector<XFoundEntry> Find(const std::u16string& pattern) override {
    std::vector<XFoundEntry> entries;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Wide(pattern), &found);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
      entries.push_back({FromWide(found.cFileName),
                         (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                         (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return entries;
  }

  std::u16string TempFolder() override {
    wchar_t folder[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    return length == 0 || length > MAX_PATH ? u"" : FromWide(folder);
  }

  std::u16string TempFileName(const std::u16string& folder, const std::u16string& prefix) override {
    wchar_t name[MAX_PATH];
    if (GetTempFileNameW(Wide(folder), Wide(prefix), 0, name) == 0) return u"";
    return FromWide(name);
  }

  std::u16string Canonicalize(const std::u16string& path) override {
    wchar_t canonical[MAX_PATH];
    if (path.size() >= MAX_PATH || !PathCanonicalizeW(canonical, Wide(path))) return path;
    return FromWide(canonical);
  }

  uint32_t LastError() override { return GetLastError(); }

  bool IsLink(const std::u16string& path) override {
    DWORD attributes = GetFileAttributesW(Wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  }

  bool SetAttributes(const std::u16string& path, uint32_t attributes) override {
    return SetFileAttributesW(Wide(path), attributes) != FALSE;
  }

  std::vector<std::u16string> ListFiles(const std::u16string& folder,
                                        std::u16string_view pattern) override {
    std::u16string search = folder;
    if (!search.empty() && search.back() != u'\\') search += u'\\';
    search += pattern;
    std::vector<std::u16string> names;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(Wide(search), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        names.push_back(FromWide(found.cFileName));
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
  }
};

}  // namespace

IXFileAccess& SystemFileAccess() {
  static Win32FileAccess files;
  return files;
}

}  // namespace qorin
