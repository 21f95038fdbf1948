// libFuzzer: arbitrary bytes through Inflate, whole and split in two. Where zlib decodes the
// bytes to the end of a stream without error, Inflate must produce the same output, also into
// one exact buffer.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "inflate_decoder.h"

namespace {

bool ZlibInflate(const uint8_t* data, size_t size, std::vector<uint8_t>* out) {
  z_stream z{};
  if (inflateInit2(&z, -15) != Z_OK) return false;
  out->resize(1 << 20);
  z.next_in = const_cast<Bytef*>(data);
  z.avail_in = static_cast<uInt>(size);
  z.next_out = out->data();
  z.avail_out = static_cast<uInt>(out->size());
  int result = inflate(&z, Z_FINISH);
  out->resize(z.total_out);
  bool whole = result == Z_STREAM_END && z.avail_in == 0;
  inflateEnd(&z);
  return whole;
}

std::vector<uint8_t> Decode(const uint8_t* data, size_t size, size_t split, int* error) {
  qorin::InflateDecoder decoder;
  decoder.ResetDecoder();
  std::vector<uint8_t> out;
  *error = decoder.DecodeChunk(data, split);
  out.assign(decoder.Output(), decoder.Output() + decoder.OutputSize());
  if (*error == 0) {
    *error = decoder.DecodeChunk(data + split, size - split);
    out.insert(out.end(), decoder.Output(), decoder.Output() + decoder.OutputSize());
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int wholeError = 0, splitError = 0;
  std::vector<uint8_t> whole = Decode(data, size, size, &wholeError);
  std::vector<uint8_t> split = Decode(data, size, size / 2, &splitError);
  if (wholeError == 0 && splitError == 0 && whole != split) std::abort();
  std::vector<uint8_t> expected;
  if (ZlibInflate(data, size, &expected) && expected.size() < (1u << 20)) {
    if (wholeError != 0 || whole != expected) std::abort();
    // The ZIP reader's way: one exact buffer, in two calls.
    std::vector<uint8_t> exact(expected.size() + 1);
    qorin::InflateDecoder decoder;
    decoder.ResetDecoder();
    decoder.SetWholeOutput(exact.data(), expected.size());
    if (decoder.DecodeChunk(data, size / 2) != 0 ||
        decoder.DecodeChunk(data + size / 2, size - size / 2) != 0 || !decoder.Finished())
      std::abort();
    exact.pop_back();
    if (exact != expected) std::abort();
  }
  return 0;
}
