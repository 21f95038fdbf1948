// File operations for the native build.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "file_os.h"
#include "utf.h"

namespace qorin::os {

FileHandle OpenForReading(const std::u16string& path) {
  int fd = ::open(Utf16ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return kNoFile;
  struct stat info;
  if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(fd);
    return kNoFile;
  }
  return fd;
}

FileHandle CreateForWriting(const std::u16string& path) {
  int fd = ::open(Utf16ToUtf8(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  return fd < 0 ? kNoFile : fd;
}

bool Read(FileHandle file, void* buffer, uint32_t length, uint32_t* bytesRead) {
  ssize_t got = ::read(static_cast<int>(file), buffer, length);
  *bytesRead = got > 0 ? static_cast<uint32_t>(got) : 0;
  return got >= 0;
}

bool Write(FileHandle file, const void* buffer, uint32_t length) {
  const auto* p = static_cast<const char*>(buffer);
  while (length != 0) {
    ssize_t put = ::write(static_cast<int>(file), p, length);
    if (put <= 0) return false;
    p += put;
    length -= static_cast<uint32_t>(put);
  }
  return true;
}

int64_t SeekTo(FileHandle file, int64_t position) {
  off_t at = ::lseek(static_cast<int>(file), static_cast<off_t>(position), SEEK_SET);
  return at < 0 ? -1 : static_cast<int64_t>(at);
}

int64_t Size(FileHandle file) {
  struct stat info;
  return fstat(static_cast<int>(file), &info) != 0 ? -1 : static_cast<int64_t>(info.st_size);
}

bool SetLastWriteTime(FileHandle file, int64_t unixSeconds) {
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(unixSeconds);
  times[1].tv_nsec = 0;
  return futimens(static_cast<int>(file), times) == 0;
}

void Close(FileHandle file) {
  ::close(static_cast<int>(file));
}

bool FileExists(const std::u16string& path) {
  struct stat info;
  return stat(Utf16ToUtf8(path).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

}  // namespace qorin::os
