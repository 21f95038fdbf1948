// File operations for the native build (the qorin tool and the native tests).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
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

// "*" any run, "?" one character, as FindFirstFileW matches names.
bool Matches(std::u16string_view pattern, std::u16string_view name) {
  if (pattern.empty()) return name.empty();
  if (pattern[0] == u'*') {
    for (size_t skip = 0; skip <= name.size(); ++skip) {
      if (Matches(pattern.substr(1), name.substr(skip))) return true;
    }
    return false;
  }
  return !name.empty() && (pattern[0] == u'?' || pattern[0] == name[0]) &&
         Matches(pattern.substr(1), name.substr(1));
}

// errno as the nearest Windows error.
uint32_t WindowsError(int error) {
  switch (error) {
    case ENOENT: return 2;  // ERROR_FILE_NOT_FOUND
    case ENOTDIR: return kErrorPathNotFound;
    case EACCES:
    case EPERM: return kErrorAccessDenied;
    case EEXIST: return 183;     // ERROR_ALREADY_EXISTS
    case ENOTEMPTY: return 145;  // ERROR_DIR_NOT_EMPTY
    default: return 31;          // ERROR_GEN_FAILURE
  }
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

  bool Copy(const std::u16string& from, const std::u16string& to) override {
    std::error_code error;
    return std::filesystem::copy_file(NativePath(from), NativePath(to),
                                      std::filesystem::copy_options::overwrite_existing, error);
  }

  bool RemoveFolder(const std::u16string& path) override {
    std::string native = NativePath(path);
    return IsLink(path) ? ::unlink(native.c_str()) == 0 : ::rmdir(native.c_str()) == 0;
  }

  bool CreateFolder(const std::u16string& path) override {
    return ::mkdir(NativePath(path).c_str(), 0755) == 0;
  }

  std::optional<uint32_t> Attributes(const std::u16string& path) override {
    struct stat info;
    std::string native = NativePath(path);
    if (lstat(native.c_str(), &info) != 0) return std::nullopt;
    uint32_t attributes = 0;
    if (S_ISLNK(info.st_mode)) {
      attributes |= kAttributeReparsePoint;
      if (stat(native.c_str(), &info) != 0) return attributes;
    }
    if (S_ISDIR(info.st_mode)) attributes |= kAttributeFolder;
    if ((info.st_mode & S_IWUSR) == 0) attributes |= kAttributeReadOnly;
    return attributes == 0 ? kAttributeNormal : attributes;
  }

  std::vector<XFoundEntry> Find(const std::u16string& pattern) override {
    std::vector<XFoundEntry> found;
    size_t cut = pattern.find_last_of(u"\\/");
    std::u16string folder = cut == std::u16string::npos ? u"." : pattern.substr(0, cut);
    std::u16string_view names = std::u16string_view(pattern).substr(cut + 1);
    std::error_code error;
    std::filesystem::directory_iterator entries(NativePath(folder), error);
    if (error) return found;
    for (const char16_t* dot : {u".", u".."}) {
      if (Matches(names, dot)) found.push_back({dot, true, false});
    }
    for (const auto& entry : entries) {
      std::u16string name = Utf8ToUtf16(entry.path().filename().string());
      if (!Matches(names, name)) continue;
      std::error_code ignored;
      found.push_back({name, entry.is_directory(ignored), entry.is_symlink(ignored)});
    }
    return found;
  }

  std::u16string TempFolder() override {
    std::error_code error;
    std::string folder = std::filesystem::temp_directory_path(error).string();
    return error ? u"" : Utf8ToUtf16(folder) + u"/";
  }

  std::u16string TempFileName(const std::u16string& folder, const std::u16string& prefix) override {
    std::string name = NativePath(folder) + Utf16ToUtf8(prefix) + "XXXXXX";
    int fd = ::mkstemp(name.data());
    if (fd < 0) return u"";
    ::close(fd);
    return Utf8ToUtf16(name);
  }

  std::u16string Canonicalize(const std::u16string& path) override {
    return Utf8ToUtf16(std::filesystem::path(NativePath(path)).lexically_normal().string());
  }

  uint32_t LastError() override { return WindowsError(errno); }

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
