// The file operations the portable code needs from the system: streams for the package and the
// extraction, and the single calls of the installer's file functions (whose decisions stay in
// app/core: wildcards, moving aside, tree deletion). file_access_win32.cpp implements them with
// the Win32 API (and its open retries) for the stub, file_access_posix.cpp for the native build;
// tests derive from a forwarding fake and answer some questions themselves.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qorin {

// A found directory entry.
struct XFoundEntry {
  std::u16string name;
  bool folder = false;
  bool reparsePoint = false;  // a junction or symbolic link
};

constexpr uint32_t kErrorPathNotFound = 3;          // ERROR_PATH_NOT_FOUND
constexpr uint32_t kErrorAccessDenied = 5;          // ERROR_ACCESS_DENIED
constexpr uint32_t kAttributeReadOnly = 0x1;        // FILE_ATTRIBUTE_READONLY
constexpr uint32_t kAttributeFolder = 0x10;         // FILE_ATTRIBUTE_DIRECTORY
constexpr uint32_t kAttributeNormal = 0x80;         // FILE_ATTRIBUTE_NORMAL
constexpr uint32_t kAttributeReparsePoint = 0x400;  // FILE_ATTRIBUTE_REPARSE_POINT

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
  // "." and ".." resolved in the text (PathCanonicalizeW), the path left relative if it was.
  virtual std::u16string Canonicalize(const std::u16string& path) = 0;
  // Names (without folder) of the files in folder matching a pattern such as "*.ini".
  virtual std::vector<std::u16string> ListFiles(const std::u16string& folder,
                                                std::u16string_view pattern) = 0;
  // FindFirstFileW/FindNextFileW of a pattern ("*", "?"), "." and ".." included as Windows
  // gives them.
  virtual std::vector<XFoundEntry> Find(const std::u16string& pattern) = 0;
  // A folder with every missing level; true when it exists afterwards.
  virtual bool MakeFolders(const std::u16string& path) = 0;
  virtual bool CreateFolder(const std::u16string& path) = 0;  // one level
  virtual bool RemoveFolder(const std::u16string& path) = 0;  // empty only (or a link)
  virtual bool Rename(const std::u16string& from, const std::u16string& to) = 0;
  virtual bool Copy(const std::u16string& from, const std::u16string& to) = 0;  // overwrites
  virtual bool Remove(const std::u16string& path) = 0;                          // a file
  virtual std::optional<uint32_t> Attributes(const std::u16string& path) = 0;
  // Windows file attributes (natively only read-only is kept).
  virtual bool SetAttributes(const std::u16string& path, uint32_t attributes) = 0;
  // A junction or symbolic link is at path itself (not followed).
  virtual bool IsLink(const std::u16string& path) = 0;
  virtual std::u16string TempFolder() = 0;  // with its final "\"
  // GetTempFileNameW: a fresh empty file in the folder; "" on failure.
  virtual std::u16string TempFileName(const std::u16string& folder,
                                      const std::u16string& prefix) = 0;
  // The system error of the last call that failed.
  virtual uint32_t LastError() = 0;
};

// The process's own implementation.
IXFileAccess& SystemFileAccess();

}  // namespace qorin
