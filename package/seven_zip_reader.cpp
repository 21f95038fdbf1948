#include "seven_zip_reader.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "file_stream.h"

extern "C" {
#include "7z.h"
#include "7zCrc.h"
}

namespace qorin {
namespace {

constexpr size_t kLookBufferSize = 1 << 16;

void* Allocate(ISzAllocPtr, size_t size) {
  return size == 0 ? nullptr : std::malloc(size);
}
void Release(ISzAllocPtr, void* address) {
  std::free(address);
}
const ISzAlloc kAlloc = {Allocate, Release};

// An ISeekInStream over a byte range of a file stream. `vt` comes first: the SDK passes a
// pointer to it, which is a pointer to the whole record.
struct RangeStream {
  ISeekInStream vt;
  XFileReadStream* file;
  int64_t offset;
  int64_t size;
  int64_t position;
};

SRes RangeRead(ISeekInStreamPtr p, void* buffer, size_t* size) {
  auto* self = reinterpret_cast<RangeStream*>(const_cast<ISeekInStream*>(p));
  int64_t left = self->size - self->position;
  size_t want =
      left <= 0 ? 0 : static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(*size)));
  want = std::min<size_t>(want, 0x7FFFFFFF);
  *size = 0;
  if (want == 0) return SZ_OK;
  if (self->file->Seek(self->offset + self->position) != self->offset + self->position)
    return SZ_ERROR_READ;
  uint32_t got = 0;
  if (!self->file->Read(buffer, static_cast<uint32_t>(want), &got)) return SZ_ERROR_READ;
  self->position += got;
  *size = got;
  return SZ_OK;
}

SRes RangeSeek(ISeekInStreamPtr p, Int64* position, ESzSeek origin) {
  auto* self = reinterpret_cast<RangeStream*>(const_cast<ISeekInStream*>(p));
  int64_t base = origin == SZ_SEEK_SET ? 0 : origin == SZ_SEEK_CUR ? self->position : self->size;
  // Offsets come from the archive's headers: checked before adding.
  if (*position > 0 && base > INT64_MAX - *position) return SZ_ERROR_PARAM;
  int64_t target = base + *position;  // base is never negative
  if (target < 0) return SZ_ERROR_PARAM;
  self->position = target;
  *position = target;
  return SZ_OK;
}

}  // namespace

struct XSevenZipReader::State {
  XFileReadStream file;
  RangeStream range{};
  CLookToRead2 look{};
  CSzArEx db{};
  bool open = false;
  UInt32 blockIndex = 0xFFFFFFFF;
  Byte* outBuffer = nullptr;
  size_t outBufferSize = 0;

  ~State() {
    if (outBuffer != nullptr) ISzAlloc_Free(&kAlloc, outBuffer);
    if (open) SzArEx_Free(&db, &kAlloc);
    if (look.buf != nullptr) ISzAlloc_Free(&kAlloc, look.buf);
  }
};

XSevenZipReader::XSevenZipReader() = default;
XSevenZipReader::~XSevenZipReader() = default;

bool XSevenZipReader::Open(const std::u16string& path, int64_t offset, int64_t size) {
  Close();
  auto state = std::make_unique<State>();
  if (!state->file.Open(path)) {
    error_ = SZ_ERROR_READ;
    return false;
  }
  int64_t fileSize = state->file.GetSize();
  if (size < 0) size = fileSize - offset;
  if (offset < 0 || size < 0 || offset + size > fileSize) {
    error_ = SZ_ERROR_INPUT_EOF;
    return false;
  }
  state->range.vt.Read = RangeRead;
  state->range.vt.Seek = RangeSeek;
  state->range.file = &state->file;
  state->range.offset = offset;
  state->range.size = size;
  LookToRead2_CreateVTable(&state->look, False);
  state->look.buf = static_cast<Byte*>(ISzAlloc_Alloc(&kAlloc, kLookBufferSize));
  if (state->look.buf == nullptr) {
    error_ = SZ_ERROR_MEM;
    return false;
  }
  state->look.bufSize = kLookBufferSize;
  state->look.realStream = &state->range.vt;
  LookToRead2_INIT(&state->look);
  CrcGenerateTable();
  SzArEx_Init(&state->db);
  error_ = SzArEx_Open(&state->db, &state->look.vt, &kAlloc, &kAlloc);
  if (error_ != SZ_OK) return false;
  state->open = true;
  state_ = std::move(state);
  return true;
}

void XSevenZipReader::Close() {
  state_.reset();
}

size_t XSevenZipReader::EntryCount() const {
  return state_ ? state_->db.NumFiles : 0;
}

XSevenZipEntry XSevenZipReader::GetEntry(size_t index) const {
  XSevenZipEntry entry;
  if (!state_ || index >= state_->db.NumFiles) return entry;
  const CSzArEx& db = state_->db;
  size_t length = SzArEx_GetFileNameUtf16(&db, index, nullptr);
  std::vector<UInt16> name(length);
  SzArEx_GetFileNameUtf16(&db, index, name.data());
  for (size_t i = 0; i + 1 < length; ++i) entry.name += static_cast<char16_t>(name[i]);
  entry.isFolder = SzArEx_IsDir(&db, index);
  entry.size = SzArEx_GetFileSize(&db, index);
  entry.hasCrc = SzBitWithVals_Check(&db.CRCs, index);
  entry.crc = entry.hasCrc ? db.CRCs.Vals[index] : 0;
  entry.hasTime = SzBitWithVals_Check(&db.MTime, index);
  if (entry.hasTime) {
    // FILETIME: 100 ns steps since 1601-01-01.
    const CNtfsFileTime& t = db.MTime.Vals[index];
    uint64_t ticks = uint64_t{t.High} << 32 | t.Low;
    entry.unixTime = static_cast<int64_t>(ticks / 10000000) - 11644473600;
  }
  entry.hasAttributes = SzBitWithVals_Check(&db.Attribs, index);
  entry.attributes = entry.hasAttributes ? db.Attribs.Vals[index] : 0;
  entry.block = db.FileToFolder[index];
  return entry;
}

bool XSevenZipReader::Extract(size_t index, std::vector<uint8_t>* bytes) {
  if (!state_ || index >= state_->db.NumFiles) {
    error_ = SZ_ERROR_PARAM;
    return false;
  }
  size_t offset = 0, processed = 0;
  error_ = SzArEx_Extract(&state_->db, &state_->look.vt, static_cast<UInt32>(index),
                          &state_->blockIndex, &state_->outBuffer, &state_->outBufferSize, &offset,
                          &processed, &kAlloc, &kAlloc);
  if (error_ != SZ_OK) return false;
  try {
    bytes->assign(state_->outBuffer + offset, state_->outBuffer + offset + processed);
  } catch (const std::exception&) {
    error_ = SZ_ERROR_MEM;
    return false;
  }
  return true;
}

}  // namespace qorin
