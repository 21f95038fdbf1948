#include "file_stream.h"

#include <algorithm>
#include <cstring>

namespace qorin {

XFileReadStream::~XFileReadStream() {
  Close();
}

bool XFileReadStream::Open(const std::u16string& path) {
  if (IsOpen()) return false;
  file_ = files_.OpenForReading(path);
  fill_ = cursor_ = 0;
  position_ = 0;
  size_ = -1;
  return IsOpen();
}

void XFileReadStream::Close() {
  if (IsOpen()) files_.Close(file_);
  file_ = IXFileAccess::kNoFile;
}

bool XFileReadStream::Read(void* buffer, uint32_t length, uint32_t* bytesRead) {
  *bytesRead = 0;
  if (!IsOpen() || position_ < 0) return false;
  auto* out = static_cast<uint8_t*>(buffer);
  while (length != 0) {
    if (cursor_ < fill_) {
      uint32_t take = std::min(length, fill_ - cursor_);
      std::memcpy(out, buffer_ + cursor_, take);
      cursor_ += take;
      out += take;
      length -= take;
      position_ += take;
      *bytesRead += take;
      continue;
    }
    uint32_t got = 0;
    ++fileReads_;
    fill_ = cursor_ = 0;
    if (length >= kBufferSize) {
      if (!files_.Read(file_, out, length, &got)) return false;
      out += got;
      length -= got;
      position_ += got;
      *bytesRead += got;
    } else {
      uint32_t want = kBufferSize - static_cast<uint32_t>(position_ % kBufferSize);
      if (!files_.Read(file_, buffer_, want, &got)) return false;
      fill_ = got;
    }
    if (got == 0) break;  // end of file
  }
  return true;
}

int64_t XFileReadStream::Seek(int64_t position) {
  if (!IsOpen() || position < 0) return position_;
  // The buffer holds the file bytes [position_ - cursor_, position_ - cursor_ + fill_).
  int64_t bufferStart = position_ - cursor_;
  if (position_ >= 0 && position >= bufferStart && position < bufferStart + fill_) {
    cursor_ = static_cast<uint32_t>(position - bufferStart);
    position_ = position;
    return position_;
  }
  fill_ = cursor_ = 0;
  position_ = files_.SeekTo(file_, position);
  return position_;
}

int64_t XFileReadStream::GetSize() {
  if (!IsOpen()) return -1;
  if (size_ < 0) size_ = files_.Size(file_);
  return size_;
}

XFileWriteStream::~XFileWriteStream() {
  Close();
}

bool XFileWriteStream::Create(const std::u16string& path) {
  if (file_ != IXFileAccess::kNoFile) return false;
  file_ = files_.CreateForWriting(path);
  if (file_ == IXFileAccess::kNoFile) return false;
  name_ = path;
  fill_ = 0;
  position_ = 0;
  return true;
}

bool XFileWriteStream::Flush() {
  if (fill_ == 0) return true;
  bool ok = files_.Write(file_, buffer_, fill_);
  fill_ = 0;
  return ok;
}

bool XFileWriteStream::Close(int64_t lastWriteTime) {
  if (file_ == IXFileAccess::kNoFile) return false;
  bool ok = Flush();
  if (lastWriteTime >= 0) ok = files_.SetLastWriteTime(file_, lastWriteTime) && ok;
  files_.Close(file_);
  file_ = IXFileAccess::kNoFile;
  name_.clear();
  return ok;
}

bool XFileWriteStream::Write(const void* buffer, uint32_t length) {
  if (file_ == IXFileAccess::kNoFile) return false;
  if (length <= kBufferSize - fill_) {
    std::memcpy(buffer_ + fill_, buffer, length);
    fill_ += length;
  } else if (!Flush() || !files_.Write(file_, buffer, length)) {
    return false;
  }
  position_ += length;
  return true;
}

int64_t XFileWriteStream::Seek(int64_t position) {
  if (file_ == IXFileAccess::kNoFile || !Flush()) return -1;
  if (position < 0) return position_;
  position_ = files_.SeekTo(file_, position);
  return position_;
}

int64_t XFileWriteStream::GetSize() {
  if (file_ == IXFileAccess::kNoFile || !Flush()) return -1;
  return files_.Size(file_);
}

}  // namespace qorin
