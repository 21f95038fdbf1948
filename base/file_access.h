// The file operations the portable code needs from the system. file_access_win32.cpp implements
// them with the Win32 API (and its open retries) for the stub, file_access_posix.cpp for the
// native build; tests may derive from either and answer some questions themselves.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qorin {

class IXFileAccess {
 public:
  using Handle = intptr_t;
  static constexpr Handle kNoFile = -1;

  virtual ~IXFileAccess() = default;
  // Existing file, read access, others may read; on Windows retried in long-path form and with
  // other sharing modes.
  virtual Handle OpenForReading(const std::u16string& path) = 0;
  // Created or truncated; on Windows a read-only file is made writable, deleted and created again.
  virtual Handle CreateForWriting(const std::u16string& path) = 0;
  virtual bool Read(Handle file, void* buffer, uint32_t length, uint32_t* bytesRead) = 0;
  virtual bool Write(Handle file, const void* buffer, uint32_t length) = 0;
  virtual int64_t SeekTo(Handle file, int64_t position) = 0;  // -1 on failure
  virtual int64_t Size(Handle file) = 0;                      // -1 on failure
  virtual bool SetLastWriteTime(Handle file, int64_t unixSeconds) = 0;
  virtual void Close(Handle file) = 0;

  // A file (not a folder) exists at path.
  virtual bool FileExists(const std::u16string& path) = 0;
  virtual std::u16string FullPathName(const std::u16string& path) = 0;
  // Names (without folder) of the files in folder matching a pattern such as "*.ini".
  virtual std::vector<std::u16string> ListFiles(const std::u16string& folder,
                                                std::u16string_view pattern) = 0;
  // A folder with every missing level; true when it exists afterwards.
  virtual bool MakeFolders(const std::u16string& path) = 0;
  virtual bool Rename(const std::u16string& from, const std::u16string& to) = 0;
  virtual bool Remove(const std::u16string& path) = 0;
  // Windows file attributes (natively only read-only is kept).
  virtual bool SetAttributes(const std::u16string& path, uint32_t attributes) = 0;
  // A junction or symbolic link is at path itself (not followed).
  virtual bool IsLink(const std::u16string& path) = 0;
};

// The process's own implementation.
IXFileAccess& SystemFileAccess();

}  // namespace qorin
