// File operations for the stub, with the Win32 API.
#include <windows.h>

#include "file_os.h"

namespace qorin::os {
namespace {

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

HANDLE OpenShared(const std::u16string& path, DWORD share, DWORD flags) {
  return CreateFileW(Wide(path), GENERIC_READ, share, nullptr, OPEN_EXISTING, flags, nullptr);
}

FileHandle ToHandle(HANDLE file) {
  return file == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<FileHandle>(file);
}

HANDLE FromHandle(FileHandle file) {
  return reinterpret_cast<HANDLE>(file);
}

}  // namespace

FileHandle OpenForReading(const std::u16string& path) {
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
    file = OpenShared(path, share, share == 0 ? FILE_FLAG_SEQUENTIAL_SCAN : FILE_ATTRIBUTE_NORMAL);
    if (file != INVALID_HANDLE_VALUE) return ToHandle(file);
  }
  return kNoFile;
}

FileHandle CreateForWriting(const std::u16string& path) {
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

bool Read(FileHandle file, void* buffer, uint32_t length, uint32_t* bytesRead) {
  DWORD got = 0;
  BOOL ok = ReadFile(FromHandle(file), buffer, length, &got, nullptr);
  *bytesRead = ok ? got : 0;
  return ok != FALSE;
}

bool Write(FileHandle file, const void* buffer, uint32_t length) {
  DWORD put = 0;
  return WriteFile(FromHandle(file), buffer, length, &put, nullptr) && put == length;
}

int64_t SeekTo(FileHandle file, int64_t position) {
  LARGE_INTEGER target, now;
  target.QuadPart = position;
  if (!SetFilePointerEx(FromHandle(file), target, &now, FILE_BEGIN)) return -1;
  return now.QuadPart;
}

int64_t Size(FileHandle file) {
  LARGE_INTEGER size;
  return GetFileSizeEx(FromHandle(file), &size) ? size.QuadPart : -1;
}

bool SetLastWriteTime(FileHandle file, int64_t unixSeconds) {
  // FILETIME counts 100 ns steps since 1601-01-01.
  ULARGE_INTEGER ticks;
  ticks.QuadPart = (static_cast<uint64_t>(unixSeconds) + 11644473600ull) * 10000000ull;
  FILETIME time{ticks.LowPart, ticks.HighPart};
  return SetFileTime(FromHandle(file), nullptr, nullptr, &time) != FALSE;
}

void Close(FileHandle file) {
  CloseHandle(FromHandle(file));
}

bool FileExists(const std::u16string& path) {
  DWORD attributes = GetFileAttributesW(Wide(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace qorin::os
