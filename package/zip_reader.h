// Reader for the package's data archive: a single-disk ZIP without archive comment, entries
// stored or Deflate-compressed, no encryption, no ZIP64.
//
//   [local header, name, extra, data]...  [central header, name, extra, comment]...  [end record]
//                                           ▲ read once at open                      last 22 bytes
//
// Open reads the central directory into entry records; extraction reads one entry's local header
// (once), then its data in 32 KiB chunks, and checks its CRC-32 and size.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "byte_buffer.h"
#include "byte_stream.h"
#include "code_page.h"
#include "inflate_decoder.h"

namespace qorin {

enum XZIP_ERR : int {
  XZIP_OK = 0,
  XZIP_ERR_OPEN = 1,
  XZIP_ERR_TRUNCATED = 2,
  XZIP_ERR_BAD_DIRECTORY = 3,
  XZIP_ERR_NOT_ZIP = 4,
  XZIP_ERR_UNSUPPORTED = 5,
  XZIP_ERR_NO_MEMORY = 6,
  XZIP_ERR_NO_ENTRY = 7,
  XZIP_ERR_SINK = 8,
  XZIP_ERR_CORRUPT = 9,
  XZIP_ERR_CRC = 10,
  XZIP_ERR_NO_BUFFER = 11,
  XZIP_ERR_TOO_MUCH_DATA = 12,
};

struct XZipEntry {
  std::string name;  // OEM code page, "/" replaced by "\"
  uint32_t compressedSize = 0;
  uint32_t uncompressedSize = 0;
  uint32_t crc32 = 0;
  uint16_t method = 0;  // 0 stored, 8 Deflate
  bool encrypted = false;
  uint32_t localHeaderOffset = 0;
  int32_t dataOffset = -1;  // known once the local header has been read
};

class XZipReader {
 public:
  // No file of a data archive (configuration, texts, skin, images) is near this size; an entry
  // that claims more is refused before anything is allocated.
  static constexpr uint32_t kMaxEntrySize = 1u << 30;

  explicit XZipReader(IXCodePage& codePage = SystemCodePage()) : codePage_(codePage) {}

  bool OpenFile(const std::u16string& path);
  // The buffer is not copied and must outlive the reader.
  bool OpenMemory(const uint8_t* buffer, size_t size);
  void CloseArchive();

  int EntryCount() const { return static_cast<int>(entries_.size()); }
  // The first entry whose name equals name, ASCII letter case ignored; "\" separates folders.
  int FindEntry(std::u16string_view name);
  const XZipEntry* GetEntry(int index);
  bool ExtractToMemory(int index, XByteBuffer* buffer);

  int LastError() const { return error_; }
  IXCodePage& CodePage() { return codePage_; }

 private:
  bool Fail(int error);
  bool ReadDirectory();
  bool ReadCentralHeader();
  bool ReadExact(void* buffer, uint32_t length);
  bool LocateData(XZipEntry& entry);
  bool ExtractStored(const XZipEntry& entry, uint8_t* out, uint32_t* crc);
  bool ExtractDeflate(const XZipEntry& entry, uint8_t* out, uint32_t* crc);

  IXCodePage& codePage_;
  std::unique_ptr<XReadStream> source_;
  std::vector<XZipEntry> entries_;
  std::unique_ptr<InflateDecoder> decoder_;
  std::vector<uint8_t> chunk_;
  int error_ = XZIP_OK;
};

}  // namespace qorin
