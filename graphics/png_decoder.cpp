#include "png_decoder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "crc32.h"
#include "inflate_decoder.h"

namespace qorin {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

uint32_t BigEndian32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

uint8_t Paeth(int a, int b, int c) {
  int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
  return static_cast<uint8_t>(pb <= pc ? b : c);
}

// PNG filter reconstruction of one byte: x filtered, a left, b above, c above-left.
uint8_t Reconstruct(int filter, uint8_t x, uint8_t a, uint8_t b, uint8_t c) {
  switch (filter) {
    case 1: return static_cast<uint8_t>(x + a);
    case 2: return static_cast<uint8_t>(x + b);
    case 3: return static_cast<uint8_t>(x + ((a + b) >> 1));
    case 4: return static_cast<uint8_t>(x + Paeth(a, b, c));
    default: return x;
  }
}

// Channel map: source R G B A is stored as B G R A (an index, one channel, stays where it is).
constexpr int kMap[4] = {2, 0, -2, 0};
constexpr int kNoMap[4] = {0, 0, 0, 0};

// A whole truecolour row at once, the filter chosen outside the loop; the same bytes as the
// byte-by-byte path.
template <int Filter, int Channels>
void ReconstructRow(const uint8_t* in, uint8_t* out, const uint8_t* above, int rowBytes) {
  for (int p = 0; p < rowBytes; p += Channels) {
    for (int k = 0; k < Channels; ++k) {
      int at = p + k + (Channels == 1 ? kNoMap[k] : kMap[k]);
      uint8_t a = p >= Channels ? out[at - Channels] : 0;
      uint8_t b = above[at];
      uint8_t c = p >= Channels ? above[at - Channels] : 0;
      out[at] = Reconstruct(Filter, in[p + k], a, b, c);
    }
  }
}

template <int Channels>
void ReconstructRowFor(int filter, const uint8_t* in, uint8_t* out, const uint8_t* above,
                       int rowBytes) {
  switch (filter) {
    case 0: ReconstructRow<0, Channels>(in, out, above, rowBytes); break;
    case 1: ReconstructRow<1, Channels>(in, out, above, rowBytes); break;
    case 2: ReconstructRow<2, Channels>(in, out, above, rowBytes); break;
    case 3: ReconstructRow<3, Channels>(in, out, above, rowBytes); break;
    default: ReconstructRow<4, Channels>(in, out, above, rowBytes); break;
  }
}

}  // namespace

struct XPngSimple::State {
  XReadStream* stream = nullptr;
  int error = 0;
  uint32_t width = 0, height = 0;
  uint8_t bitDepth = 0, colourType = 0, compression = 0, filterMethod = 0, interlace = 0;
  uint32_t crc = 0;
  InflateDecoder inflater;
  bool finished = false;
  uint32_t zlibHeaderLeft = 2;
  int channels = 3;  // source bytes per pixel of truecolour images
  bool indexed = false;

  // Output.
  uint8_t* bits = nullptr;
  int stride = 0, rowBytes = 0, outBytesPerPixel = 0;

  // Row state, continued across IDAT chunks.
  uint32_t row = 0;
  bool needFilter = true;
  int filter = 0;
  int rowPos = 0;  // bytes (truecolour) or pixels (indexed) done in this row
  uint8_t left[4] = {}, upLeft[4] = {};
  std::vector<uint8_t> zeroRow;
  std::vector<uint8_t> indices, previousIndices;  // indexed images filter their indices

  std::vector<uint8_t> palette;       // 768 bytes once a PLTE chunk was read
  std::vector<uint8_t> transparency;  // 256 bytes once a tRNS chunk was read
  std::vector<uint8_t> chunk;

  bool Fail(int code) {
    error = code;
    return false;
  }

  bool Read(void* buffer, uint32_t length) {
    uint32_t got = 0;
    return stream->Read(buffer, length, &got) && got == length;
  }
  bool ReadCrc(void* buffer, uint32_t length) {
    if (!Read(buffer, length)) return false;
    crc = Crc32(crc, buffer, length);
    return true;
  }
  bool CheckCrc(int mismatch) {
    uint8_t stored[4];
    if (!Read(stored, 4)) return Fail(XPNG_ERR_READ);
    return BigEndian32(stored) == crc || Fail(mismatch);
  }
  bool ChunkHeader(uint32_t* length, char type[4]) {
    uint8_t header[8];
    if (!Read(header, 8)) return false;
    *length = BigEndian32(header);
    std::memcpy(type, header + 4, 4);
    crc = Crc32(0, header + 4, 4);
    return true;
  }

  bool Header();
  bool ChunkLoop();
  bool Palette(uint32_t length);
  bool Transparency(uint32_t length);
  bool ImageData(uint32_t length);
  bool Consume(const uint8_t* data, size_t size);
  void StartRow();
  void PutIndex(uint8_t index);
};

bool XPngSimple::State::Header() {
  uint8_t signature[8];
  if (!Read(signature, 8) || std::memcmp(signature, kSignature, 8) != 0)
    return Fail(XPNG_ERR_NOT_PNG);
  uint32_t length;
  char type[4];
  uint8_t fields[13];
  if (!ChunkHeader(&length, type) || std::memcmp(type, "IHDR", 4) != 0 || !ReadCrc(fields, 13)) {
    return Fail(XPNG_ERR_MALFORMED);
  }
  uint8_t stored[4];
  if (!Read(stored, 4) || BigEndian32(stored) != crc) return Fail(XPNG_ERR_MALFORMED);
  width = BigEndian32(fields);
  height = BigEndian32(fields + 4);
  bitDepth = fields[8];
  colourType = fields[9];
  compression = fields[10];
  filterMethod = fields[11];
  interlace = fields[12];
  if (width == 0 || height == 0) return Fail(XPNG_ERR_MALFORMED);
  if (bitDepth != 1 && bitDepth != 2 && bitDepth != 4 && bitDepth != 8 && bitDepth != 16)
    return Fail(XPNG_ERR_MALFORMED);
  if ((colourType != 2 && colourType != 3 && colourType != 6) || bitDepth != 8)
    return Fail(XPNG_ERR_UNSUPPORTED);
  if (compression != 0 || filterMethod != 0) return Fail(XPNG_ERR_MALFORMED);
  if (interlace != 0) return Fail(XPNG_ERR_UNSUPPORTED);
  // Images beyond 32767 pixels a side are no skin images; the bitmap could not hold them anyway.
  if (width > 0x7FFF || height > 0x7FFF) return Fail(XPNG_ERR_UNSUPPORTED);
  inflater.ResetDecoder();
  channels = colourType == 6 ? 4 : 3;
  indexed = colourType == 3;
  return true;
}

bool XPngSimple::State::ChunkLoop() {
  while (true) {
    uint32_t length;
    char type[4];
    if (!ChunkHeader(&length, type)) return Fail(XPNG_ERR_READ);
    bool ok;
    if (std::memcmp(type, "IDAT", 4) == 0) {
      ok = ImageData(length);
    } else if (std::memcmp(type, "PLTE", 4) == 0) {
      ok = Palette(length);
    } else if (std::memcmp(type, "tRNS", 4) == 0) {
      ok = Transparency(length);
    } else if (std::memcmp(type, "IEND", 4) == 0) {
      finished = true;
      return true;
    } else {
      // Other chunks are skipped unread: their CRCs are not checked.
      int64_t target = stream->GetPosition() + int64_t{length} + 4;
      ok = stream->Seek(target) == target || Fail(XPNG_ERR_READ);
    }
    if (!ok) return false;
  }
}

bool XPngSimple::State::Palette(uint32_t length) {
  if (length >= 769) return Fail(XPNG_ERR_MALFORMED);
  if (palette.empty()) palette.assign(768, 0);
  if (!ReadCrc(palette.data(), length)) return Fail(XPNG_ERR_READ);
  return CheckCrc(XPNG_ERR_CRC);
}

bool XPngSimple::State::Transparency(uint32_t length) {
  if (length >= 257) return Fail(XPNG_ERR_MALFORMED);
  if (transparency.empty()) transparency.assign(256, 255);
  if (!ReadCrc(transparency.data(), length)) return Fail(XPNG_ERR_READ);
  return CheckCrc(XPNG_ERR_CRC);
}

bool XPngSimple::State::ImageData(uint32_t length) {
  // The two zlib header bytes open the first IDAT data; a first chunk shorter than that leaves
  // the rest of the header to the next one.
  if (zlibHeaderLeft > 0) {
    uint32_t take = std::min<uint32_t>(zlibHeaderLeft, length);
    uint8_t header[2];
    if (!ReadCrc(header, take)) return Fail(XPNG_ERR_READ);
    zlibHeaderLeft -= take;
    length -= take;
  }
  if (zeroRow.empty()) zeroRow.assign(static_cast<size_t>(stride), 0);
  // A chunk cannot be larger than the rest of the file: checked before allocating for it.
  int64_t size = stream->GetSize();
  if (size >= 0 && int64_t{length} > size - stream->GetPosition()) return Fail(XPNG_ERR_READ);
  try {
    chunk.resize(length);
  } catch (const std::bad_alloc&) {
    return Fail(XPNG_ERR_READ);
  }
  if (!ReadCrc(chunk.data(), length)) return Fail(XPNG_ERR_READ);
  int result = inflater.DecodeChunk(chunk.data(), length);
  // The zlib stream's Adler-32 follows the Deflate data; it is not checked, and the decoder
  // reports it as input after the end.
  if (result != XINFLATE_OK && result != XINFLATE_ERR_AFTER_END) return Fail(XPNG_ERR_READ);
  if (!CheckCrc(XPNG_ERR_CRC)) return false;
  if (indexed && palette.empty()) return Fail(XPNG_ERR_UNSUPPORTED);
  return Consume(inflater.Output(), inflater.OutputSize());
}

void XPngSimple::State::StartRow() {
  std::memset(left, 0, sizeof left);
  std::memset(upLeft, 0, sizeof upLeft);
  rowPos = 0;
  needFilter = false;
}

void XPngSimple::State::PutIndex(uint8_t index) {
  uint8_t* out = bits + size_t{row} * stride + size_t(rowPos) * outBytesPerPixel;
  out[0] = palette[3 * index + 2];
  out[1] = palette[3 * index + 1];
  out[2] = palette[3 * index];
  if (outBytesPerPixel == 4) out[3] = transparency.empty() ? 255 : transparency[index];
}

bool XPngSimple::State::Consume(const uint8_t* data, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    if (row >= height) return true;  // data beyond the last row is ignored
    // A whole truecolour row in this piece: reconstructed in one pass.
    if (!needFilter && !indexed && rowPos == 0 && size - i >= static_cast<size_t>(rowBytes)) {
      const uint8_t* above = row == 0 ? zeroRow.data() : bits + size_t{row - 1} * stride;
      uint8_t* out = bits + size_t{row} * stride;
      if (channels == 3) {
        ReconstructRowFor<3>(filter, data + i, out, above, rowBytes);
      } else {
        ReconstructRowFor<4>(filter, data + i, out, above, rowBytes);
      }
      i += static_cast<size_t>(rowBytes) - 1;
      ++row;
      needFilter = true;
      continue;
    }
    // A whole indexed row: indices reconstructed in one pass, then looked up.
    if (!needFilter && indexed && rowPos == 0 && size - i >= width) {
      ReconstructRowFor<1>(filter, data + i, indices.data(), previousIndices.data(),
                           static_cast<int>(width));
      for (rowPos = 0; rowPos < static_cast<int>(width); ++rowPos) PutIndex(indices[rowPos]);
      indices.swap(previousIndices);
      i += width - 1;
      ++row;
      needFilter = true;
      continue;
    }
    uint8_t x = data[i];
    if (needFilter) {
      if (x > 4) return Fail(XPNG_ERR_MALFORMED);
      filter = x;
      StartRow();
      continue;
    }
    if (indexed) {
      int pixel = rowPos;
      uint8_t a = pixel > 0 ? indices[pixel - 1] : 0;
      uint8_t c = pixel > 0 ? previousIndices[pixel - 1] : 0;
      uint8_t value = Reconstruct(filter, x, a, previousIndices[pixel], c);
      indices[pixel] = value;
      PutIndex(value);
      if (++rowPos == static_cast<int>(width)) {
        indices.swap(previousIndices);
        ++row;
        needFilter = true;
      }
      continue;
    }
    const uint8_t* above = row == 0 ? zeroRow.data() : bits + size_t{row - 1} * stride;
    int k = rowPos % channels;
    int at = rowPos + kMap[k];
    uint8_t b = above[at];
    uint8_t value = Reconstruct(filter, x, left[k], b, upLeft[k]);
    bits[size_t{row} * stride + at] = value;
    left[k] = value;
    upLeft[k] = b;
    if (++rowPos == rowBytes) {
      ++row;
      needFilter = true;
    }
  }
  return true;
}

XPngSimple::XPngSimple() = default;
XPngSimple::~XPngSimple() = default;

bool XPngSimple::Open(XReadStream& stream, XDecodeRequest& request) {
  if (state_) return false;
  state_ = std::make_unique<State>();
  state_->stream = &stream;
  if (!state_->Header()) return false;
  request.width = static_cast<int>(state_->width);
  request.height = static_cast<int>(state_->height);
  request.bitCount = state_->colourType == 2 ? 24 : 32;
  return true;
}

bool XPngSimple::Decode(XReadStream& stream, XDecodeRequest&, uint8_t* bits, int stride,
                        int padding, int bytesPerPixel) {
  if (!state_ || state_->finished || state_->error != 0 || bits == nullptr) return false;
  State& s = *state_;
  s.stream = &stream;
  s.bits = bits;
  s.stride = stride;
  s.rowBytes = stride - padding;
  s.outBytesPerPixel = bytesPerPixel;
  // Truecolour is written channel for channel: the bitmap must have the image's own depth.
  bool fits = s.indexed ? (bytesPerPixel == 3 || bytesPerPixel == 4) : bytesPerPixel == s.channels;
  if (!fits || s.rowBytes != static_cast<int>(s.width) * bytesPerPixel)
    return s.Fail(XPNG_ERR_UNSUPPORTED);
  if (s.indexed) {
    s.indices.assign(s.width, 0);
    s.previousIndices.assign(s.width, 0);
  }
  return s.ChunkLoop();
}

void XPngSimple::Close() {
  state_.reset();
}

uint32_t XPngSimple::GetLastError() {
  return static_cast<uint32_t>(DetailedError());
}

int XPngSimple::DetailedError() const {
  return state_ ? state_->error : 0;
}

}  // namespace qorin
