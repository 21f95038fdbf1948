// Inputs shared by the package-data tests: compressible text, binary and random bytes, and raw
// Deflate streams made by zlib.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qorin::test {

std::vector<uint8_t> TextData(size_t size, uint32_t seed = 1);
std::vector<uint8_t> BinaryData(size_t size, uint32_t seed = 2);
std::vector<uint8_t> RandomData(size_t size, uint32_t seed = 3);

// Raw Deflate (no zlib header) at a zlib level; strategy as zlib's (Z_DEFAULT_STRATEGY = 0).
std::vector<uint8_t> ZlibDeflate(const std::vector<uint8_t>& data, int level, int strategy = 0);

std::vector<uint8_t> Bytes(const std::string& text);

// A text file as the package's text files are: UTF-16LE with the byte-order mark FF FE.
std::vector<uint8_t> Utf16LeFile(std::u16string_view text);

// Appends one PNG chunk: big-endian length, type, data, CRC-32 of type and data.
void AppendPngChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data);
// An opaque RGBA PNG of one colour (R 0x20, G 0x40, B 0x80); with a frame width, the right half
// of each frame another one (R 0x80).
std::vector<uint8_t> OpaquePng(uint32_t width, uint32_t height, uint32_t frame = 0);
void AppendBigEndian32(std::vector<uint8_t>& out, uint32_t value);

}  // namespace qorin::test
