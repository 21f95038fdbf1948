// Prints Inflate and CRC-32 speed next to zlib's on the same inputs, in one run.
//   package_bench [MiB per input, default 4]
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "crc32.h"
#include "inflate_decoder.h"
#include "test_data.h"

namespace {

using Clock = std::chrono::steady_clock;

// Best of several runs, in MB/s of output.
double Throughput(size_t bytes, const std::function<void()>& work) {
  double best = 1e30;
  for (int run = 0; run < 5; ++run) {
    auto start = Clock::now();
    work();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return bytes / best / 1e6;
}

size_t QorinInflate(const std::vector<uint8_t>& stream) {
  qorin::InflateDecoder decoder;
  decoder.ResetDecoder();
  size_t total = 0;
  for (size_t at = 0; at < stream.size(); at += 32768) {
    size_t take = std::min<size_t>(32768, stream.size() - at);
    if (decoder.DecodeChunk(stream.data() + at, take) != 0) std::abort();
    total += decoder.OutputSize();
  }
  return total;
}

// The ZIP reader's way: the size is known, and the decoder writes straight into the final buffer.
size_t QorinInflateWhole(const std::vector<uint8_t>& stream, std::vector<uint8_t>& out) {
  qorin::InflateDecoder decoder;
  decoder.ResetDecoder();
  decoder.SetWholeOutput(out.data(), out.size());
  size_t total = 0;
  for (size_t at = 0; at < stream.size(); at += 65536) {
    size_t take = std::min<size_t>(65536, stream.size() - at);
    if (decoder.DecodeChunk(stream.data() + at, take) != 0) std::abort();
    total += decoder.OutputSize();
  }
  return total;
}

size_t ZlibInflate(const std::vector<uint8_t>& stream, std::vector<uint8_t>& out) {
  z_stream z{};
  inflateInit2(&z, -15);
  z.next_in = const_cast<Bytef*>(stream.data());
  z.avail_in = static_cast<uInt>(stream.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  if (inflate(&z, Z_FINISH) != Z_STREAM_END) std::abort();
  size_t total = z.total_out;
  inflateEnd(&z);
  return total;
}

}  // namespace

int main(int argc, char** argv) {
  size_t size = (argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 4) << 20;
  struct Input {
    const char* name;
    std::vector<uint8_t> bytes;
  } inputs[] = {{"text", qorin::test::TextData(size)},
                {"binary", qorin::test::BinaryData(size)},
                {"random", qorin::test::RandomData(size)}};
  std::printf("%-8s %5s %12s %12s %12s %8s %8s\n", "input", "level", "stream MB/s", "whole MB/s",
              "zlib MB/s", "stream", "whole");
  std::vector<uint8_t> out(size + 1024);
  for (const Input& input : inputs) {
    for (int level : {1, 6, 9}) {
      std::vector<uint8_t> stream = qorin::test::ZlibDeflate(input.bytes, level);
      double ours = Throughput(size, [&] { QorinInflate(stream); });
      std::vector<uint8_t> exact(size);
      double whole = Throughput(size, [&] { QorinInflateWhole(stream, exact); });
      if (exact != input.bytes) std::abort();
      double theirs = Throughput(size, [&] { ZlibInflate(stream, out); });
      std::printf("%-8s %5d %12.1f %12.1f %12.1f %8.2f %8.2f\n", input.name, level, ours, whole,
                  theirs, ours / theirs, whole / theirs);
    }
  }
  uint32_t sink = 0;
  double ours = Throughput(size, [&] { sink ^= qorin::Crc32(0, inputs[2].bytes.data(), size); });
  double theirs = Throughput(
      size, [&] { sink ^= static_cast<uint32_t>(crc32(0, inputs[2].bytes.data(), size)); });
  std::printf("crc32: qorin %.2f GB/s, zlib %.2f GB/s, ratio %.2f (%08x)\n", ours / 1e3,
              theirs / 1e3, ours / theirs, sink);
  return 0;
}
