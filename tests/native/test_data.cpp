#include "test_data.h"

#include <zlib.h>

#include <stdexcept>

namespace qorin::test {
namespace {

uint32_t Next(uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 8;
}

}  // namespace

std::vector<uint8_t> TextData(size_t size, uint32_t seed) {
  static const char* const kWords[] = {"install",   "the ",    "package ",  "window ",
                                       "skin ",     "Qorin ",  "registry ", "folder\r\n",
                                       "progress ", "script; "};
  std::vector<uint8_t> out;
  while (out.size() < size) {
    const char* word = kWords[Next(seed) % 10];
    while (*word != 0 && out.size() < size) out.push_back(static_cast<uint8_t>(*word++));
  }
  return out;
}

std::vector<uint8_t> BinaryData(size_t size, uint32_t seed) {
  // Machine-code-like: runs of small values with occasional repeats of earlier stretches.
  std::vector<uint8_t> out;
  while (out.size() < size) {
    uint32_t r = Next(seed);
    if (out.size() > 64 && r % 4 == 0) {
      size_t from = out.size() - 1 - r % 60;
      size_t length = 3 + (r >> 8) % 20;
      for (size_t i = 0; i < length && out.size() < size; ++i) out.push_back(out[from + i]);
    } else {
      out.push_back(static_cast<uint8_t>((r % 7 == 0) ? r >> 4 : r % 16));
    }
  }
  return out;
}

std::vector<uint8_t> RandomData(size_t size, uint32_t seed) {
  std::vector<uint8_t> out(size);
  for (auto& b : out) b = static_cast<uint8_t>(Next(seed));
  return out;
}

std::vector<uint8_t> ZlibDeflate(const std::vector<uint8_t>& data, int level, int strategy) {
  z_stream z{};
  if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, strategy) != Z_OK)
    throw std::runtime_error("deflateInit2");
  std::vector<uint8_t> out(deflateBound(&z, data.size()) + 16);
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  if (deflate(&z, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate");
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

std::vector<uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

std::vector<uint8_t> Utf16LeFile(std::u16string_view text) {
  std::vector<uint8_t> out = {0xFF, 0xFE};
  for (char16_t c : text)
    out.insert(out.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8)});
  return out;
}

void AppendBigEndian32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift : {24, 16, 8, 0}) out.push_back(static_cast<uint8_t>(value >> shift));
}

void AppendPngChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
  AppendBigEndian32(png, static_cast<uint32_t>(data.size()));
  std::vector<uint8_t> typed(type, type + 4);
  typed.insert(typed.end(), data.begin(), data.end());
  png.insert(png.end(), typed.begin(), typed.end());
  AppendBigEndian32(png,
                    static_cast<uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

std::vector<uint8_t> OpaquePng(uint32_t width, uint32_t height, uint32_t frame) {
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  AppendBigEndian32(header, width);
  AppendBigEndian32(header, height);
  header.insert(header.end(), {8, 6, 0, 0, 0});
  AppendPngChunk(png, "IHDR", header);
  std::vector<uint8_t> rows;
  for (uint32_t y = 0; y < height; ++y) {
    rows.push_back(0);
    for (uint32_t x = 0; x < width; ++x) {
      bool right = frame != 0 && x % frame >= frame / 2;
      rows.insert(rows.end(), {uint8_t(right ? 0x80 : 0x20), 0x40, 0x80, 0xFF});
    }
  }
  uLongf size = compressBound(static_cast<uLong>(rows.size()));
  std::vector<uint8_t> packed(size);
  compress(packed.data(), &size, rows.data(), static_cast<uLong>(rows.size()));
  packed.resize(size);
  AppendPngChunk(png, "IDAT", packed);
  AppendPngChunk(png, "IEND", {});
  return png;
}

}  // namespace qorin::test
