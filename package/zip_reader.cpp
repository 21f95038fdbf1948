#include "zip_reader.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

#include "byte_order.h"
#include "crc32.h"
#include "file_stream.h"
#include "path.h"
#include "text.h"

namespace qorin {
namespace {

constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kChunkSize = 32768;
constexpr uint32_t kDirectoryAttribute = 0x10;
// Deflate cannot expand a byte into more than about 1032 bytes; a header that claims more is
// corrupt, and its size is not worth allocating.
constexpr uint64_t kMaxDeflateRatio = 1032;

int CompareIgnoreAsciiCase(const std::string& a, const std::string& b) {
  for (size_t i = 0;; ++i) {
    unsigned char x = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
    unsigned char y = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
    if (x >= 'A' && x <= 'Z') x += 32;
    if (y >= 'A' && y <= 'Z') y += 32;
    if (x != y || x == 0) return x - y;
  }
}

}  // namespace

bool XZipReader::Fail(int error) {
  error_ = error;
  return false;
}

bool XZipReader::OpenFile(const std::u16string& path) {
  CloseArchive();
  auto stream = std::make_unique<XFileReadStream>();
  if (!stream->Open(path)) return Fail(XZIP_ERR_OPEN);
  source_ = std::move(stream);
  if (ReadDirectory()) return true;
  int error = error_;
  CloseArchive();
  return Fail(error);
}

bool XZipReader::OpenMemory(const uint8_t* buffer, size_t size) {
  CloseArchive();
  source_ = std::make_unique<XMemoryReadStream>(buffer, static_cast<int64_t>(size));
  if (ReadDirectory()) return true;
  int error = error_;
  CloseArchive();
  return Fail(error);
}

void XZipReader::CloseArchive() {
  entries_.clear();
  decoder_.reset();
  source_.reset();
  error_ = XZIP_OK;
}

bool XZipReader::ReadExact(void* buffer, uint32_t length) {
  uint32_t got = 0;
  return source_->Read(buffer, length, &got) && got == length;
}

bool XZipReader::ReadDirectory() {
  uint8_t record[42];
  if (source_->Seek(0) != 0 || !ReadExact(record, 4)) return Fail(XZIP_ERR_OPEN);
  if (LoadLe32(record) != kLocalSignature) return Fail(XZIP_ERR_NOT_ZIP);
  if (source_->GetSize() < 22) return Fail(XZIP_ERR_TRUNCATED);
  if (SeekFrom(*source_, -22, kSeekEnd) < 0 || !ReadExact(record, 4)) return Fail(XZIP_ERR_OPEN);
  if (LoadLe32(record) != kEndSignature) return Fail(XZIP_ERR_NOT_ZIP);
  if (!ReadExact(record, 18)) return Fail(XZIP_ERR_TRUNCATED);
  // The directory offset lies at offset 16 of the end record, 12 after its signature.
  if (source_->Seek(LoadLe32(record + 12)) != LoadLe32(record + 12))
    return Fail(XZIP_ERR_TRUNCATED);
  try {
    entries_.reserve(1024);
  } catch (const std::bad_alloc&) {
    return Fail(XZIP_ERR_NO_MEMORY);
  }
  while (true) {
    if (!ReadExact(record, 4)) return Fail(XZIP_ERR_OPEN);
    uint32_t signature = LoadLe32(record);
    if (signature == kEndSignature) return true;
    if (signature != kCentralSignature) return Fail(XZIP_ERR_BAD_DIRECTORY);
    if (!ReadCentralHeader()) return false;
  }
}

// Offsets below are from the start of the central header; `header` holds the 42 bytes after
// its 4-byte signature.
bool XZipReader::ReadCentralHeader() {
  uint8_t header[42];
  if (!ReadExact(header, 42)) return Fail(XZIP_ERR_BAD_DIRECTORY);
  auto field16 = [&](int offset) { return LoadLe16(header + offset - 4); };
  auto field32 = [&](int offset) { return LoadLe32(header + offset - 4); };
  XZipEntry entry;
  entry.method = field16(10);
  entry.encrypted = (field16(8) & 1) != 0;
  if ((entry.method != 0 && entry.method != 8) || entry.encrypted)
    return Fail(XZIP_ERR_UNSUPPORTED);
  entry.crc32 = field32(16);
  entry.compressedSize = field32(20);
  entry.uncompressedSize = field32(24);
  entry.localHeaderOffset = field32(42);
  uint16_t nameLength = field16(28);
  uint32_t skip = uint32_t{field16(30)} + field16(32);
  entry.name.resize(nameLength);
  if (!ReadExact(entry.name.data(), nameLength)) return Fail(XZIP_ERR_BAD_DIRECTORY);
  int64_t after = source_->GetPosition() + skip;
  if (SeekFrom(*source_, skip, kSeekCurrent) != after) return Fail(XZIP_ERR_BAD_DIRECTORY);
  if ((field32(38) & kDirectoryAttribute) != 0) return true;
  ToBackslashes(entry.name);
  try {
    entries_.push_back(std::move(entry));
  } catch (const std::bad_alloc&) {
    return Fail(XZIP_ERR_NO_MEMORY);
  }
  return true;
}

int XZipReader::FindEntry(std::u16string_view name) {
  std::optional<std::string> oem = codePage_.ToOem(name);
  if (!oem) {
    error_ = XZIP_ERR_NO_ENTRY;
    return -1;
  }
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (CompareIgnoreAsciiCase(entries_[i].name, *oem) == 0) return static_cast<int>(i);
  }
  return -1;
}

const XZipEntry* XZipReader::GetEntry(int index) {
  if (index < 0 || index >= EntryCount()) {
    error_ = XZIP_ERR_NO_ENTRY;
    return nullptr;
  }
  return &entries_[static_cast<size_t>(index)];
}

bool XZipReader::LocateData(XZipEntry& entry) {
  if (entry.dataOffset >= 0) return true;
  uint8_t header[26];
  if (source_->Seek(entry.localHeaderOffset) != entry.localHeaderOffset)
    return Fail(XZIP_ERR_TRUNCATED);
  if (!ReadExact(header, 4)) return Fail(XZIP_ERR_TRUNCATED);
  if (LoadLe32(header) != kLocalSignature) return Fail(XZIP_ERR_BAD_DIRECTORY);
  if (!ReadExact(header, 26)) return Fail(XZIP_ERR_TRUNCATED);
  // Name and extra lengths lie at offsets 26 and 28 of the local header.
  uint32_t skip = uint32_t{LoadLe16(header + 22)} + LoadLe16(header + 24);
  int64_t data = source_->GetPosition() + skip;
  if (data > INT32_MAX || SeekFrom(*source_, skip, kSeekCurrent) != data)
    return Fail(XZIP_ERR_TRUNCATED);
  entry.dataOffset = static_cast<int32_t>(data);
  return true;
}

bool XZipReader::ExtractToMemory(int index, XByteBuffer* buffer) {
  if (source_ == nullptr || GetEntry(index) == nullptr) return Fail(XZIP_ERR_NO_ENTRY);
  XZipEntry& entry = entries_[static_cast<size_t>(index)];
  // Sizes come from the archive: check them against the source before allocating anything.
  if (int64_t{entry.compressedSize} > source_->GetSize()) return Fail(XZIP_ERR_TRUNCATED);
  if (entry.method == 0 && entry.uncompressedSize > entry.compressedSize) {
    return Fail(XZIP_ERR_TOO_MUCH_DATA);
  }
  if (entry.method == 8 &&
      entry.uncompressedSize > uint64_t{entry.compressedSize} * kMaxDeflateRatio + 64) {
    return Fail(XZIP_ERR_CORRUPT);
  }
  // The size plus the two terminating zeros may not fit a 32-bit process's size_t.
  uint64_t bufferSize = uint64_t{entry.uncompressedSize} + 2;
  if (entry.uncompressedSize > kMaxEntrySize || bufferSize > buffer->storage.max_size())
    return Fail(XZIP_ERR_NO_BUFFER);
  try {
    buffer->storage.assign(static_cast<size_t>(bufferSize), 0);
    chunk_.resize(kChunkSize);
  } catch (const std::exception&) {  // bad_alloc, or length_error beyond what vector takes
    return Fail(XZIP_ERR_NO_BUFFER);
  }
  buffer->length = entry.uncompressedSize;
  if (!LocateData(entry)) return false;
  if (source_->Seek(entry.dataOffset) != entry.dataOffset) return Fail(XZIP_ERR_TRUNCATED);
  uint32_t crc = 0;
  bool ok = entry.method == 0 ? ExtractStored(entry, buffer->data(), &crc)
                              : ExtractDeflate(entry, buffer->data(), &crc);
  if (!ok) return false;
  if (crc != entry.crc32) return Fail(XZIP_ERR_CRC);
  return true;
}

bool XZipReader::ExtractStored(const XZipEntry& entry, uint8_t* out, uint32_t* crc) {
  uint32_t compressedLeft = entry.compressedSize;
  uint32_t space = entry.uncompressedSize;
  while (compressedLeft != 0) {
    if (space == 0) return Fail(XZIP_ERR_TOO_MUCH_DATA);
    uint32_t take = std::min({kChunkSize, compressedLeft, space});
    if (!ReadExact(out, take)) return Fail(XZIP_ERR_TRUNCATED);
    *crc = Crc32(*crc, out, take);
    out += take;
    compressedLeft -= take;
    space -= take;
  }
  return space == 0 || Fail(XZIP_ERR_TOO_MUCH_DATA);
}

bool XZipReader::ExtractDeflate(const XZipEntry& entry, uint8_t* out, uint32_t* crc) {
  if (decoder_ == nullptr) {
    decoder_ = std::unique_ptr<InflateDecoder>(new (std::nothrow) InflateDecoder());
    if (decoder_ == nullptr) return Fail(XZIP_ERR_NO_BUFFER);
  }
  decoder_->ResetDecoder();
  // The size is known: the decoder writes straight into the entry's buffer.
  decoder_->SetWholeOutput(out, entry.uncompressedSize);
  uint32_t compressedLeft = entry.compressedSize;
  uint32_t space = entry.uncompressedSize;
  while (compressedLeft != 0) {
    uint32_t take = std::min(kChunkSize, compressedLeft);
    if (!ReadExact(chunk_.data(), take)) return Fail(XZIP_ERR_TRUNCATED);
    int result = decoder_->DecodeChunk(chunk_.data(), take);
    if (result != XINFLATE_OK) {
      return Fail(result == XINFLATE_ERR_OUTPUT_FULL ? XZIP_ERR_TOO_MUCH_DATA : XZIP_ERR_CORRUPT);
    }
    size_t produced = decoder_->OutputSize();
    *crc = Crc32(*crc, decoder_->Output(), produced);
    space -= static_cast<uint32_t>(produced);
    compressedLeft -= take;
  }
  if (*crc != entry.crc32) return Fail(XZIP_ERR_CRC);
  return space == 0 || Fail(XZIP_ERR_CORRUPT);
}

}  // namespace qorin
