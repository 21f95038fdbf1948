// The few file operations the streams need from the system. file_os_posix.cpp implements them
// for the native build, file_os_win32.cpp with the Win32 API (and its open retries) for the stub.
#pragma once

#include <cstdint>
#include <string>

namespace qorin::os {

using FileHandle = intptr_t;
constexpr FileHandle kNoFile = -1;

// Existing file, read access, others may read; on Windows retried in long-path form and with
// other sharing modes.
FileHandle OpenForReading(const std::u16string& path);
// Created or truncated; on Windows a read-only file is made writable, deleted and created again.
FileHandle CreateForWriting(const std::u16string& path);
bool Read(FileHandle file, void* buffer, uint32_t length, uint32_t* bytesRead);
bool Write(FileHandle file, const void* buffer, uint32_t length);
int64_t SeekTo(FileHandle file, int64_t position);  // -1 on failure
int64_t Size(FileHandle file);                      // -1 on failure
bool SetLastWriteTime(FileHandle file, int64_t unixSeconds);
void Close(FileHandle file);

bool FileExists(const std::u16string& path);

}  // namespace qorin::os
