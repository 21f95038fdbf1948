// The payload: a 7z archive inside the package file, read with the LZMA SDK. The reader sees
// only the byte range [offset, offset + size) of the file, as if it were the whole archive.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qorin {

struct XSevenZipEntry {
  std::u16string name;  // "/" or "\" between folders, as stored
  bool isFolder = false;
  uint64_t size = 0;
  bool hasCrc = false;
  uint32_t crc = 0;
  bool hasTime = false;
  int64_t unixTime = 0;  // modification time, seconds since 1970
  bool hasAttributes = false;
  uint32_t attributes = 0;                          // Windows file attributes
  uint32_t block = kNoBlock;                        // the solid block holding its bytes
  static constexpr uint32_t kNoBlock = 0xFFFFFFFF;  // folders and empty files
};

class XSevenZipReader {
 public:
  XSevenZipReader();
  ~XSevenZipReader();
  XSevenZipReader(const XSevenZipReader&) = delete;
  XSevenZipReader& operator=(const XSevenZipReader&) = delete;

  // size -1: to the end of the file.
  bool Open(const std::u16string& path, int64_t offset = 0, int64_t size = -1);
  void Close();

  size_t EntryCount() const;
  XSevenZipEntry GetEntry(size_t index) const;
  // Extracts one file; solid blocks are decoded once and kept for the following entries. After a
  // failure the reader is not asked for that block again (the SDK would answer from its cache).
  bool Extract(size_t index, std::vector<uint8_t>* bytes);

  int LastError() const { return error_; }  // the SDK's SRes

 private:
  struct State;
  std::unique_ptr<State> state_;
  int error_ = 0;
};

}  // namespace qorin
