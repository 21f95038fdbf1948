// libFuzzer: arbitrary bytes as a PNG image, decoded into a bitmap of the size it announces.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "png_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qorin::XMemoryReadStream stream(data, static_cast<int64_t>(size));
  qorin::XPngSimple decoder;
  qorin::XDecodeRequest request;
  if (decoder.Open(stream, request) && int64_t{request.width} * request.height <= (1 << 22)) {
    int bpp = request.bitCount / 8;
    int stride = ((request.width * request.bitCount + 31) / 32) * 4;
    std::vector<uint8_t> bits(static_cast<size_t>(stride) * request.height);
    decoder.Decode(stream, request, bits.data(), stride, stride - request.width * bpp, bpp);
  }
  decoder.Close();
  return 0;
}
