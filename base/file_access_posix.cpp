// File operations for the native build (the qorin tool and the native tests).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "file_access.h"
#include "utf.h"

namespace qorin {
namespace {

// Paths as the installer writes them: "\" separates folders here too.
std::string NativePath(const std::u16string& path) {
  std::string out = Utf16ToUtf8(path);
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

int Fd(IXFileAccess::Handle file) {
  return static_cast<int>(file);
}

class PosixFileAccess final : public IXFileAccess {
 public:
  Handle OpenForReading(const std::u16string& path) override {
    int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return kNoFile;
    struct stat info;
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
      ::close(fd);
      return kNoFile;
    }
    return fd;
  }

  Handle CreateForWriting(const std::u16string& path) override {
    int fd = ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    return fd < 0 ? kNoFile : fd;
  }

  bool Read(Handle file, void* buffer, uint32_t length, uint32_t* bytesRead) override {
    ssize_t got = ::read(Fd(file), buffer, length);
    *bytesRead = got > 0 ? static_cast<uint32_t>(got) : 0;
    return got >= 0;
  }

  bool Write(Handle file, const void* buffer, uint32_t length) override {
    const auto* p = static_cast<const char*>(buffer);
    while (length != 0) {
      ssize_t put = ::write(Fd(file), p, length);
      if (put <= 0) return false;
      p += put;
      length -= static_cast<uint32_t>(put);
    }
    return true;
  }

  int64_t SeekTo(Handle file, int64_t position) override {
    off_t at = ::lseek(Fd(file), static_cast<off_t>(position), SEEK_SET);
    return at < 0 ? -1 : static_cast<int64_t>(at);
  }

  int64_t Size(Handle file) override {
    struct stat info;
    return fstat(Fd(file), &info) != 0 ? -1 : static_cast<int64_t>(info.st_size);
  }

  bool SetLastWriteTime(Handle file, int64_t unixSeconds) override {
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(unixSeconds);
    times[1].tv_nsec = 0;
    return futimens(Fd(file), times) == 0;
  }

  void Close(Handle file) override { ::close(Fd(file)); }

  bool FileExists(const std::u16string& path) override {
    struct stat info;
    return stat(NativePath(path).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
  }

  std::u16string FullPathName(const std::u16string& path) override {
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(NativePath(path), error);
    return error ? path : Utf8ToUtf16(full.string());
  }

  bool MakeFolders(const std::u16string& path) override {
    std::error_code error;
    std::filesystem::path folder(NativePath(path));
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
  }

  bool Rename(const std::u16string& from, const std::u16string& to) override {
    return ::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0;
  }

  bool Remove(const std::u16string& path) override {
    return ::unlink(NativePath(path).c_str()) == 0;
  }

  bool IsLink(const std::u16string& path) override {
    struct stat info;
    return lstat(NativePath(path).c_str(), &info) == 0 && S_ISLNK(info.st_mode);
  }

  bool SetAttributes(const std::u16string& path, uint32_t attributes) override {
    constexpr uint32_t kReadOnly = 1;
    return ::chmod(NativePath(path).c_str(), (attributes & kReadOnly) != 0 ? 0444 : 0644) == 0;
  }

  // Patterns are "*" followed by a suffix ("*.ini"), compared as written.
  std::vector<std::u16string> ListFiles(const std::u16string& folder,
                                        std::u16string_view pattern) override {
    std::vector<std::u16string> names;
    size_t star = pattern.find(u'*');
    std::string suffix =
        Utf16ToUtf8(star == std::u16string_view::npos ? pattern : pattern.substr(star + 1));
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(NativePath(folder), error)) {
      std::string name = entry.path().filename().string();
      if (entry.is_regular_file() && name.size() >= suffix.size() &&
          name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
        names.push_back(Utf8ToUtf16(name));
      }
    }
    return names;
  }
};

}  // namespace

IXFileAccess& SystemFileAccess() {
  static PosixFileAccess files;
  return files;
}

}  // namespace qorin
