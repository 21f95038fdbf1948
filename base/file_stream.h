// File streams. Reads go through an 8 KiB buffer whose refills stay aligned to 8 KiB boundaries
// of the file; writes collect in an 8 KiB buffer.
#pragma once

#include <string>

#include "byte_stream.h"
#include "file_access.h"

namespace qorin {

class XFileReadStream final : public XReadStream {
 public:
  static constexpr uint32_t kBufferSize = 8192;

  explicit XFileReadStream(IXFileAccess& files = SystemFileAccess()) : files_(files) {}
  ~XFileReadStream() override;
  XFileReadStream(const XFileReadStream&) = delete;
  XFileReadStream& operator=(const XFileReadStream&) = delete;

  bool Open(const std::u16string& path);  // fails on a stream that is already open
  void Close();
  bool IsOpen() const { return file_ != IXFileAccess::kNoFile; }

  bool Read(void* buffer, uint32_t length, uint32_t* bytesRead) override;
  int64_t Seek(int64_t position) override;
  int64_t GetPosition() override { return position_; }
  int64_t GetSize() override;

  // Reads made from the file itself, for tests of the buffering.
  uint32_t FileReadCount() const { return fileReads_; }

 private:
  IXFileAccess& files_;
  IXFileAccess::Handle file_ = IXFileAccess::kNoFile;
  uint8_t buffer_[kBufferSize];
  uint32_t fill_ = 0;     // bytes in the buffer
  uint32_t cursor_ = 0;   // read position inside the buffer
  int64_t position_ = 0;  // logical position
  int64_t size_ = -1;
  uint32_t fileReads_ = 0;
};

class XFileWriteStream final : public XWriteStream {
 public:
  static constexpr uint32_t kBufferSize = 8192;

  explicit XFileWriteStream(IXFileAccess& files = SystemFileAccess()) : files_(files) {}
  ~XFileWriteStream() override;
  XFileWriteStream(const XFileWriteStream&) = delete;
  XFileWriteStream& operator=(const XFileWriteStream&) = delete;

  bool Create(const std::u16string& path);
  // Flushes, sets the last-write time when one is given (seconds since 1970), closes.
  bool Close(int64_t lastWriteTime = -1);

  bool Write(const void* buffer, uint32_t length) override;
  int64_t Seek(int64_t position) override;
  int64_t GetPosition() override { return position_; }
  int64_t GetSize() override;

 private:
  bool Flush();

  IXFileAccess& files_;
  IXFileAccess::Handle file_ = IXFileAccess::kNoFile;
  uint8_t buffer_[kBufferSize];
  uint32_t fill_ = 0;
  int64_t position_ = 0;
  std::u16string name_;
};

}  // namespace qorin
