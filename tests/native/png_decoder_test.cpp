// The PNG decoder on images written here (zlib for the data, every filter type chosen per row),
// the pixel layout it produces, and what it refuses.
#include "png_decoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>

#include "crc32.h"
#include "image_decode.h"
#include "test_data.h"

namespace qorin {
namespace {

uint8_t PaethPredictor(int a, int b, int c) {
  int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// A PNG writer for tests: pixels in file order (R G B [A], or indices), filter type per row
// cycling through `filters`, the zlib stream split into IDAT chunks of `idatSize` bytes.
struct PngSpec {
  uint32_t width = 3, height = 4;
  uint8_t colourType = 2, bitDepth = 8, interlace = 0;
  std::vector<uint8_t> pixels;
  std::vector<int> filters = {0};
  std::vector<uint8_t> palette, transparency;
  size_t idatSize = 1 << 20;
  bool text = false;
};

int Channels(const PngSpec& spec) {
  return spec.colourType == 6 ? 4 : spec.colourType == 2 ? 3 : 1;
}

std::vector<uint8_t> WritePng(const PngSpec& spec) {
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<uint8_t> header;
  test::AppendBigEndian32(header, spec.width);
  test::AppendBigEndian32(header, spec.height);
  header.insert(header.end(), {spec.bitDepth, spec.colourType, 0, 0, spec.interlace});
  test::AppendPngChunk(png, "IHDR", header);
  if (spec.text)
    test::AppendPngChunk(png, "tEXt", {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'h', 'i'});
  if (!spec.palette.empty()) test::AppendPngChunk(png, "PLTE", spec.palette);
  if (!spec.transparency.empty()) test::AppendPngChunk(png, "tRNS", spec.transparency);
  int bpp = Channels(spec);
  size_t rowBytes = spec.width * bpp;
  std::vector<uint8_t> raw;
  for (uint32_t y = 0; y < spec.height; ++y) {
    int filter = spec.filters[y % spec.filters.size()];
    raw.push_back(static_cast<uint8_t>(filter));
    for (size_t i = 0; i < rowBytes; ++i) {
      auto at = [&](uint32_t row, size_t index) { return spec.pixels[row * rowBytes + index]; };
      int x = at(y, i), a = i >= size_t(bpp) ? at(y, i - bpp) : 0, b = y > 0 ? at(y - 1, i) : 0;
      int c = (y > 0 && i >= size_t(bpp)) ? at(y - 1, i - bpp) : 0;
      int predicted = filter == 1   ? a
                      : filter == 2 ? b
                      : filter == 3 ? (a + b) / 2
                      : filter == 4 ? PaethPredictor(a, b, c)
                                    : 0;
      raw.push_back(static_cast<uint8_t>(x - predicted));
    }
  }
  uLongf size = compressBound(raw.size());
  std::vector<uint8_t> z(size);
  compress2(z.data(), &size, raw.data(), raw.size(), 9);
  z.resize(size);
  for (size_t at = 0; at < z.size(); at += spec.idatSize) {
    test::AppendPngChunk(
        png, "IDAT",
        std::vector<uint8_t>(z.begin() + at, z.begin() + std::min(z.size(), at + spec.idatSize)));
  }
  test::AppendPngChunk(png, "IEND", {});
  return png;
}

struct Decoded {
  bool opened = false, decoded = false;
  int error = 0, bitCount = 0, width = 0, height = 0;
  std::vector<uint8_t> bits;
};

Decoded Decode(const std::vector<uint8_t>& png, int bytesPerPixel = 0) {
  XMemoryReadStream stream(png.data(), static_cast<int64_t>(png.size()));
  XPngSimple decoder;
  XDecodeRequest request;
  Decoded out;
  out.opened = decoder.Open(stream, request);
  out.error = decoder.DetailedError();
  if (!out.opened) return out;
  out.bitCount = request.bitCount;
  out.width = request.width;
  out.height = request.height;
  int bpp = bytesPerPixel != 0 ? bytesPerPixel : request.bitCount / 8;
  int stride = ((request.width * bpp * 8 + 31) / 32) * 4;
  out.bits.assign(static_cast<size_t>(stride) * request.height, 0);
  out.decoded =
      decoder.Decode(stream, request, out.bits.data(), stride, stride - request.width * bpp, bpp);
  out.error = decoder.DetailedError();
  decoder.Close();
  return out;
}

std::vector<uint8_t> Pattern(size_t count, uint32_t seed) {
  std::vector<uint8_t> out(count);
  for (auto& b : out) b = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
  return out;
}

// The expected bitmap: B G R [A] rows, padded to 4 bytes.
std::vector<uint8_t> Expected(const PngSpec& spec, int outBpp) {
  int stride = ((spec.width * outBpp * 8 + 31) / 32) * 4;
  std::vector<uint8_t> out(static_cast<size_t>(stride) * spec.height, 0);
  for (uint32_t y = 0; y < spec.height; ++y) {
    for (uint32_t x = 0; x < spec.width; ++x) {
      uint8_t* o = &out[y * stride + x * outBpp];
      if (spec.colourType == 3) {
        uint8_t i = spec.pixels[y * spec.width + x];
        o[0] = spec.palette[3 * i + 2], o[1] = spec.palette[3 * i + 1], o[2] = spec.palette[3 * i];
        if (outBpp == 4) o[3] = i < spec.transparency.size() ? spec.transparency[i] : 255;
      } else {
        const uint8_t* p = &spec.pixels[(y * spec.width + x) * Channels(spec)];
        o[0] = p[2], o[1] = p[1], o[2] = p[0];
        if (outBpp == 4) o[3] = p[3];
      }
    }
  }
  return out;
}

TEST(PngDecode, TruecolourGivesBgrAndBgraWithEveryFilter) {
  for (uint8_t colourType : {uint8_t{2}, uint8_t{6}}) {
    PngSpec spec;
    spec.width = 7;
    spec.height = 10;
    spec.colourType = colourType;
    spec.pixels = Pattern(spec.width * spec.height * Channels(spec), colourType);
    spec.filters = {2, 0, 1, 2, 3, 4};  // the first row uses Up: against a zero row
    Decoded out = Decode(WritePng(spec));
    ASSERT_TRUE(out.decoded) << "error " << out.error;
    EXPECT_EQ(out.bitCount, colourType == 2 ? 24 : 32);
    EXPECT_EQ(out.bits, Expected(spec, colourType == 2 ? 3 : 4))
        << "colour type " << int(colourType);
  }
}

TEST(PngDecode, IdatChunksSplitInsideRowsAndPixels) {
  PngSpec spec;
  spec.width = 33;
  spec.height = 20;
  spec.colourType = 6;
  spec.pixels = Pattern(spec.width * spec.height * 4, 9);
  spec.filters = {4, 3, 1};
  for (size_t size : {size_t{1}, size_t{7}, size_t{100}}) {
    spec.idatSize = size;
    Decoded out = Decode(WritePng(spec));
    ASSERT_TRUE(out.decoded) << size;
    EXPECT_EQ(out.bits, Expected(spec, 4)) << "IDAT size " << size;
  }
}

TEST(PngDecode, IndexedWithAndWithoutTransparency) {
  PngSpec spec;
  spec.width = 5;
  spec.height = 3;
  spec.colourType = 3;
  spec.palette = Pattern(3 * 4, 5);
  spec.pixels = {0, 1, 2, 3, 0, 1, 1, 2, 2, 3, 3, 0, 1, 2, 3};
  spec.filters = {0, 1, 4};  // filtered indices are reconstructed before the palette lookup
  Decoded plain = Decode(WritePng(spec));
  ASSERT_TRUE(plain.decoded);
  EXPECT_EQ(plain.bitCount, 32);
  EXPECT_EQ(plain.bits, Expected(spec, 4)) << "every alpha 255";
  spec.transparency = {0, 128};
  Decoded transparent = Decode(WritePng(spec));
  ASSERT_TRUE(transparent.decoded);
  EXPECT_EQ(transparent.bits, Expected(spec, 4)) << "indices 0 and 1 take the stored alpha";
  EXPECT_EQ(transparent.bits[3], 0);
  EXPECT_EQ(transparent.bits[7], 128);
  EXPECT_EQ(transparent.bits[11], 255);
  EXPECT_EQ(Decode(WritePng(spec), 3).bits, Expected(spec, 3)) << "into a 24-bit bitmap";
}

TEST(PngDecode, TextChunksAreSkippedUnchecked) {
  PngSpec spec;
  spec.pixels = Pattern(3 * 4 * 3, 2);
  spec.text = true;
  std::vector<uint8_t> png = WritePng(spec);
  png[33 + 8 + 9] ^= 0x20;  // a byte of the tEXt data, after signature and IHDR
  EXPECT_TRUE(Decode(png).decoded);
}

struct Refusal {
  const char* name;
  void (*change)(PngSpec&);
  int error;
};

TEST(PngRefusals, HeadersTheDecoderDoesNotTake) {
  const Refusal cases[] = {
      {"16-bit RGBA", [](PngSpec& s) { s.colourType = 6, s.bitDepth = 16; }, XPNG_ERR_UNSUPPORTED},
      {"bit depth 5", [](PngSpec& s) { s.bitDepth = 5; }, XPNG_ERR_MALFORMED},
      {"greyscale", [](PngSpec& s) { s.colourType = 0; }, XPNG_ERR_UNSUPPORTED},
      {"grey with alpha", [](PngSpec& s) { s.colourType = 4; }, XPNG_ERR_UNSUPPORTED},
      {"interlaced", [](PngSpec& s) { s.interlace = 1; }, XPNG_ERR_UNSUPPORTED},
      {"zero width", [](PngSpec& s) { s.width = 0; }, XPNG_ERR_MALFORMED},
  };
  for (const Refusal& c : cases) {
    PngSpec spec;
    spec.pixels = Pattern(3 * 4 * 4, 1);
    c.change(spec);
    Decoded out = Decode(WritePng(spec));
    EXPECT_FALSE(out.opened) << c.name;
    EXPECT_EQ(out.error, c.error) << c.name;
  }
  std::vector<uint8_t> notPng = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0};
  EXPECT_EQ(Decode(notPng).error, XPNG_ERR_NOT_PNG);
}

TEST(PngRefusals, CorruptDataFailsCleanly) {
  PngSpec spec;
  spec.width = 16;
  spec.height = 16;
  spec.pixels = Pattern(16 * 16 * 3, 4);
  std::vector<uint8_t> good = WritePng(spec);
  size_t idat = 33 + 8;  // first byte of the IDAT data

  std::vector<uint8_t> changed = good;
  changed[idat + 20] ^= 0x01;
  Decoded out = Decode(changed);
  EXPECT_FALSE(out.decoded);
  EXPECT_TRUE(out.error == XPNG_ERR_CRC || out.error == XPNG_ERR_READ) << out.error;

  for (size_t cut = 34; cut < good.size(); cut += 7) {
    std::vector<uint8_t> truncated(good.begin(), good.begin() + cut);
    Decoded t = Decode(truncated);
    EXPECT_FALSE(t.decoded) << "cut at " << cut;
  }

  PngSpec indexed;
  indexed.colourType = 3;
  indexed.pixels = Pattern(12, 3);
  for (auto& p : indexed.pixels) p &= 1;
  EXPECT_EQ(Decode(WritePng(indexed)).error, XPNG_ERR_UNSUPPORTED)
      << "indexed data before any PLTE";

  PngSpec badFilter;
  badFilter.pixels = Pattern(36, 6);
  badFilter.filters = {5};
  Decoded f = Decode(WritePng(badFilter));
  EXPECT_FALSE(f.decoded);
  EXPECT_EQ(f.error, XPNG_ERR_MALFORMED) << "a filter type above 4";
  std::vector<uint8_t> png = WritePng(badFilter);
  XBitmap bitmap;
  EXPECT_FALSE(DecodeImage(png.data(), png.size(), &bitmap));
  EXPECT_EQ(bitmap.lastError, uint32_t{XPNG_ERR_MALFORMED})
      << "the decoder's code reaches the bitmap";
}

TEST(PngRefusals, DecodeTwiceOrWithoutOpenFails) {
  PngSpec spec;
  spec.pixels = Pattern(36, 8);
  std::vector<uint8_t> png = WritePng(spec);
  XMemoryReadStream stream(png.data(), static_cast<int64_t>(png.size()));
  XPngSimple decoder;
  XDecodeRequest request;
  std::vector<uint8_t> bits(4 * 12);
  EXPECT_FALSE(decoder.Decode(stream, request, bits.data(), 12, 3, 3)) << "not opened";
  ASSERT_TRUE(decoder.Open(stream, request));
  EXPECT_FALSE(decoder.Open(stream, request)) << "already open";
  EXPECT_TRUE(decoder.Decode(stream, request, bits.data(), 12, 3, 3));
  EXPECT_FALSE(decoder.Decode(stream, request, bits.data(), 12, 3, 3)) << "finished";
  decoder.Close();
}

}  // namespace
}  // namespace qorin
