// libFuzzer: arbitrary bytes through Inflate, whole and split in two.
#include <cstddef>
#include <cstdint>

#include "inflate_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qorin::InflateDecoder decoder;
  decoder.ResetDecoder();
  decoder.DecodeChunk(data, size);
  decoder.ResetDecoder();
  size_t half = size / 2;
  if (decoder.DecodeChunk(data, half) == 0) decoder.DecodeChunk(data + half, size - half);
  return 0;
}
