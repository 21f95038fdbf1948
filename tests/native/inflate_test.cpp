// Inflate against streams made by zlib, split anywhere, and every error code from crafted input.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "inflate_decoder.h"
#include "test_data.h"

namespace qorin {
namespace {

using test::ZlibDeflate;

// Feeds the stream in the given chunk sizes (cycled) and collects the output.
struct Decoded {
  int error = 0;
  bool finished = false;
  std::vector<uint8_t> bytes;
};

Decoded Inflate(const std::vector<uint8_t>& stream, const std::vector<size_t>& chunks) {
  InflateDecoder decoder;
  decoder.ResetDecoder();
  Decoded result;
  size_t at = 0;
  for (size_t i = 0; at < stream.size() || (stream.empty() && i == 0); ++i) {
    size_t take = std::min(chunks[i % chunks.size()], stream.size() - at);
    result.error = decoder.DecodeChunk(stream.data() + at, take);
    result.bytes.insert(result.bytes.end(), decoder.Output(),
                        decoder.Output() + decoder.OutputSize());
    if (result.error != 0) break;
    at += take;
  }
  result.finished = decoder.Finished();
  return result;
}

Decoded InflateWhole(const std::vector<uint8_t>& stream) {
  return Inflate(stream, {stream.size() + 1});
}

TEST(InflateZlibStreams, EveryLevelAndKindDecodes) {
  const std::vector<uint8_t> inputs[] = {
      test::TextData(300000), test::BinaryData(300000), test::RandomData(100000), {}};
  for (const auto& input : inputs) {
    for (int level : {0, 1, 6, 9}) {
      for (int strategy : {0, 1 /* filtered */, 2 /* Huffman only */, 3 /* RLE */, 4 /* fixed */}) {
        Decoded out = InflateWhole(ZlibDeflate(input, level, strategy));
        ASSERT_EQ(out.error, 0) << "level " << level << " strategy " << strategy;
        EXPECT_TRUE(out.finished);
        EXPECT_EQ(out.bytes, input) << "level " << level << " strategy " << strategy;
      }
    }
  }
}

// The lookup table against a bit-by-bit reading of the canonical codes, for every 15-bit input:
// codes deeper than the root (complete and incomplete sets) and the fixed literal code.
TEST(InflateTables, LookupAgreesWithBitByBitDecoding) {
  std::vector<std::vector<uint8_t>> sets = {
      {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 15},
      {2, 15, 0, 11, 12, 3, 15, 13, 9},  // incomplete: most patterns are no code
      std::vector<uint8_t>(288, 8)};
  std::fill(sets[2].begin() + 144, sets[2].begin() + 256, 9);
  std::fill(sets[2].begin() + 256, sets[2].begin() + 280, 7);
  for (const auto& lengths : sets) {
    InflateDecoder::Table table;
    ASSERT_EQ(BuildHuffmanTable(lengths.data(), static_cast<unsigned>(lengths.size()), &table), 0);
    // Canonical codes, most significant bit first.
    std::vector<unsigned> codes(lengths.size());
    unsigned code = 0;
    for (unsigned length = 1; length <= 15; ++length, code <<= 1) {
      for (size_t s = 0; s < lengths.size(); ++s) {
        if (lengths[s] == length) codes[s] = code++;
      }
    }
    for (unsigned input = 0; input < 1u << 15; ++input) {
      int expected = -1;
      for (size_t s = 0; s < lengths.size() && expected < 0; ++s) {
        bool match = lengths[s] != 0;
        for (unsigned bit = 0; match && bit < lengths[s]; ++bit)
          match = ((input >> bit) & 1) == ((codes[s] >> (lengths[s] - 1 - bit)) & 1);
        if (match) expected = static_cast<int>(s);
      }
      const InflateDecoder::Code& found = table.Find(input);
      ASSERT_EQ(found.symbol, expected) << "input " << input;
      if (expected >= 0) {
        ASSERT_EQ(found.length, lengths[static_cast<size_t>(expected)]);
      }
    }
  }
}

TEST(InflateZlibStreams, SplitAtEveryByteBoundary) {
  std::vector<uint8_t> input = test::TextData(3000);
  for (int level : {0, 1, 9}) {
    std::vector<uint8_t> stream = ZlibDeflate(input, level);
    for (size_t split = 0; split <= stream.size(); ++split) {
      InflateDecoder decoder;
      decoder.ResetDecoder();
      std::vector<uint8_t> out;
      ASSERT_EQ(decoder.DecodeChunk(stream.data(), split), 0);
      out.assign(decoder.Output(), decoder.Output() + decoder.OutputSize());
      ASSERT_EQ(decoder.DecodeChunk(stream.data() + split, stream.size() - split), 0) << split;
      out.insert(out.end(), decoder.Output(), decoder.Output() + decoder.OutputSize());
      ASSERT_EQ(out, input) << "split at " << split;
    }
    EXPECT_EQ(Inflate(stream, {1}).bytes, input) << "one byte at a time";
  }
}

TEST(InflateZlibStreams, RandomChunksOfLargeStreams) {
  std::mt19937 random(7);
  std::vector<uint8_t> input = test::BinaryData(3 << 20);
  std::vector<uint8_t> stream = ZlibDeflate(input, 6);
  std::vector<size_t> chunks(64);
  for (auto& c : chunks) c = 1 + random() % 40000;
  Decoded out = Inflate(stream, chunks);
  ASSERT_EQ(out.error, 0);
  EXPECT_EQ(out.bytes, input);
}

TEST(InflateBlocks, StoredBlockOfLengthZeroIsValid) {
  Decoded out = InflateWhole({0x01, 0x00, 0x00, 0xFF, 0xFF});
  EXPECT_EQ(out.error, 0);
  EXPECT_TRUE(out.finished);
  EXPECT_TRUE(out.bytes.empty());
}

TEST(InflateBlocks, DistanceOneLength258RepeatsOneByte) {
  // Fixed block: literal 'a' (0x61 -> code 0x30+0x61, 8 bits), length 258 (symbol 285, 8 bits
  // 11000101), distance code 0 (5 bits), end of block (7 zero bits).
  std::vector<uint8_t> input(259, 'a');
  std::vector<uint8_t> stream = ZlibDeflate(input, 9, 4);
  Decoded out = InflateWhole(stream);
  ASSERT_EQ(out.error, 0);
  EXPECT_EQ(out.bytes, input);
  EXPECT_LE(stream.size(), 6u) << "zlib should have used one match of 258";
}

// Matches that repeat their own last 1 to 9 bytes, of every length up to past the first pieces
// the fast path copies without a test, between literals that start each run afresh.
TEST(InflateBlocks, ShortDistancesOfEveryLength) {
  std::mt19937 random(7);
  std::vector<uint8_t> input;
  for (size_t period = 1; period <= 9; ++period) {
    for (size_t length = 3; length <= 80; ++length) {
      size_t start = input.size();
      for (size_t i = 0; i < period; ++i) input.push_back(static_cast<uint8_t>(random()));
      for (size_t i = 0; i < length; ++i) input.push_back(input[start + i % period]);
      input.push_back(static_cast<uint8_t>(random()));
    }
  }
  for (int strategy : {0, 3 /* RLE */}) {
    Decoded out = InflateWhole(ZlibDeflate(input, 9, strategy));
    ASSERT_EQ(out.error, 0);
    EXPECT_EQ(out.bytes, input) << "strategy " << strategy;
  }
}

TEST(InflateBlocks, IncompleteInputWaitsForMore) {
  std::vector<uint8_t> stream = ZlibDeflate(test::TextData(5000), 6);
  stream.resize(stream.size() / 2);
  Decoded out = InflateWhole(stream);
  EXPECT_EQ(out.error, 0);
  EXPECT_FALSE(out.finished);
}

TEST(InflateOutput, OwnBufferGrowsForOneLargeChunk) {
  std::vector<uint8_t> input(1 << 20, 'x');
  Decoded out = InflateWhole(ZlibDeflate(input, 9));
  ASSERT_EQ(out.error, 0);
  EXPECT_EQ(out.bytes.size(), input.size()) << "one call must produce more than 256 KiB";
}

TEST(InflateOutput, CallerBufferFullAndTooSmall) {
  std::vector<uint8_t> stream = ZlibDeflate(test::TextData(1000), 6);
  uint8_t small[100];
  InflateDecoder decoder;
  decoder.ResetDecoder();
  decoder.SetOutputBuffer(small, sizeof small);
  EXPECT_EQ(decoder.DecodeChunk(stream.data(), stream.size()), XINFLATE_ERR_OUTPUT_FULL);

  uint8_t big[1000];
  decoder.ResetDecoder();
  decoder.SetOutputBuffer(big, sizeof big);
  EXPECT_EQ(decoder.DecodeChunk(stream.data(), stream.size()), XINFLATE_OK);
  EXPECT_EQ(decoder.OutputSize(), 1000u);

  decoder.ResetDecoder();
  decoder.SetOutputBuffer(big, 1);
  EXPECT_EQ(decoder.DecodeChunk(stream.data(), stream.size()), XINFLATE_ERR_OUTPUT_TOO_SMALL);
}

// The ZIP reader's way: one exact buffer across chunks, which is its own history. Short periods
// (matches 2 to 7 bytes back) and runs go through the fast path's repeating copies.
TEST(InflateOutput, WholeBufferAcrossChunks) {
  std::vector<uint8_t> periods;
  for (unsigned period = 1; periods.size() < 200000; period = period % 7 + 1) {
    for (unsigned i = 0; i < 300; ++i) periods.push_back(static_cast<uint8_t>('a' + i % period));
    periods.push_back(static_cast<uint8_t>(periods.size() * 7));
  }
  std::mt19937 random(11);
  // A short entry, smaller than one round of the fast path.
  std::vector<uint8_t> shortEntry = test::Bytes("abcabcabcabcabcabcabcabcabcabcabcabvwxyz");
  for (const auto& input :
       {test::BinaryData(400000), test::TextData(300000), periods, shortEntry}) {
    for (int level : {1, 9}) {
      std::vector<uint8_t> stream = ZlibDeflate(input, level);
      std::vector<uint8_t> whole(input.size()), pieces;
      InflateDecoder decoder;
      decoder.ResetDecoder();
      decoder.SetWholeOutput(whole.data(), whole.size());
      for (size_t at = 0, take; at < stream.size(); at += take) {
        take = std::min<size_t>(1 + random() % 9000, stream.size() - at);
        ASSERT_EQ(decoder.DecodeChunk(stream.data() + at, take), 0) << at;
        pieces.insert(pieces.end(), decoder.Output(), decoder.Output() + decoder.OutputSize());
      }
      EXPECT_TRUE(decoder.Finished());
      EXPECT_EQ(whole, input) << "level " << level;
      EXPECT_EQ(pieces, input) << "level " << level;

      decoder.ResetDecoder();
      decoder.SetWholeOutput(whole.data(), whole.size() - 1);
      EXPECT_EQ(decoder.DecodeChunk(stream.data(), stream.size()), XINFLATE_ERR_OUTPUT_FULL);
    }
  }
  std::vector<uint8_t> empty = ZlibDeflate({}, 6);
  InflateDecoder decoder;
  decoder.ResetDecoder();
  uint8_t none[1];
  decoder.SetWholeOutput(none, 0);
  EXPECT_EQ(decoder.DecodeChunk(empty.data(), empty.size()), XINFLATE_OK) << "an empty entry";
  EXPECT_TRUE(decoder.Finished());
}

struct ErrorCase {
  const char* name;
  std::vector<uint8_t> stream;
  int error;
};

// Bit strings are written least significant bit first, as Deflate reads them.
std::vector<uint8_t> Bits(const std::string& bits) {
  std::vector<uint8_t> out((bits.size() + 7) / 8, 0);
  for (size_t i = 0; i < bits.size(); ++i) {
    if (bits[i] == '1') out[i / 8] |= static_cast<uint8_t>(1u << (i % 8));
  }
  return out;
}

std::string Field(unsigned value, unsigned count) {  // a value of count bits, LSB first
  std::string out;
  for (unsigned i = 0; i < count; ++i) out += ((value >> i) & 1) ? '1' : '0';
  return out;
}

std::string Code(unsigned code, unsigned length) {  // a Huffman code, MSB first
  std::string out;
  for (unsigned i = length; i-- > 0;) out += ((code >> i) & 1) ? '1' : '0';
  return out;
}

TEST(InflateErrors, EachCodeFromCraftedInput) {
  const ErrorCase cases[] = {
      {"reserved block type", Bits("1" + Field(3, 2)), XINFLATE_ERR_RESERVED_BLOCK},
      {"stored length mismatch", {0x01, 0x05, 0x00, 0x00, 0x00}, XINFLATE_ERR_STORED_LENGTH},
      // Fixed block, length symbol 257 (7-bit code 0000001), distance code 30 (5 bits 11110).
      {"distance symbol 30", Bits("1" + Field(1, 2) + Code(1, 7) + Code(30, 5)),
       XINFLATE_ERR_BAD_DISTANCE},
      // Fixed block, literal/length symbol 286 (8-bit code 0xC0 + 6).
      {"literal symbol 286", Bits("1" + Field(1, 2) + Code(0xC6, 8)), XINFLATE_ERR_BAD_LITERAL},
      {"input after the end", {0x03, 0x00, 0x00}, XINFLATE_ERR_AFTER_END},
      // Dynamic header, HCLEN 4: code lengths 16,17,18,0 all of length 1 -> oversubscribed.
      {"oversubscribed lengths",
       Bits("1" + Field(2, 2) + Field(0, 5) + Field(0, 5) + Field(0, 4) + Field(1, 3) +
            Field(1, 3) + Field(1, 3) + Field(1, 3)),
       XINFLATE_ERR_OVERSUBSCRIBED},
      {"no code lengths at all",
       Bits("1" + Field(2, 2) + Field(0, 5) + Field(0, 5) + Field(0, 4) + Field(0, 3) +
            Field(0, 3) + Field(0, 3) + Field(0, 3)),
       XINFLATE_ERR_NO_CODES},
      {"HLIT above 286", Bits("1" + Field(2, 2) + Field(30, 5) + Field(0, 5) + Field(0, 4)),
       XINFLATE_ERR_BAD_HEADER},
      // Code-length alphabet {16: 1 bit, 17: 1 bit}; the first symbol 16 has nothing to repeat.
      {"repeat without a previous length",
       Bits("1" + Field(2, 2) + Field(0, 5) + Field(0, 5) + Field(0, 4) + Field(1, 3) +
            Field(1, 3) + Field(0, 3) + Field(0, 3) + Code(0, 1) + Field(0, 2)),
       XINFLATE_ERR_BAD_HEADER},
      // Symbol 18 with 138 zeros, three times, runs past the 258 lengths announced.
      {"repeat past the end of the list",
       Bits("1" + Field(2, 2) + Field(0, 5) + Field(0, 5) + Field(0, 4) + Field(1, 3) +
            Field(0, 3) + Field(1, 3) + Field(0, 3) + Code(1, 1) + Field(127, 7) + Code(1, 1) +
            Field(127, 7)),
       XINFLATE_ERR_BAD_HEADER},
  };
  for (const ErrorCase& c : cases) {
    EXPECT_EQ(InflateWhole(c.stream).error, c.error) << c.name;
  }
}

// The fast path's worst round: 48 literals of one bit each, then a match of 258, ending at every
// distance from the end of an exact buffer; nothing past the buffer may change. A dynamic block:
// 'a' 1 bit (code 0), end of block and length 258 (symbol 285) 2 bits (10, 11), one distance
// code (distance 1); the code lengths through the code-length alphabet {0, 1, 2, 18} of 2 bits.
TEST(InflateOutput, ExactBufferIsNeverWrittenPast) {
  auto zeros = [](unsigned count) {  // symbol 18: 11 to 138 zeros
    std::string out;
    for (; count > 0; count -= std::min(count, 138u))
      out += Code(3, 2) + Field(std::min(count, 138u) - 11, 7);
    return out;
  };
  std::string header = "0" + Field(2, 2) + Field(286 - 257, 5) + Field(0, 5) + Field(18 - 4, 4);
  const unsigned clOrder[18] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1};
  for (unsigned symbol : clOrder) header += Field(symbol <= 2 || symbol == 18 ? 2 : 0, 3);
  header += zeros(97) + Code(1, 2) + zeros(158) + Code(2, 2) + zeros(28) + Code(2, 2);
  header += Code(1, 2);  // the distance code's length, 1
  // Runs of 40 to 48 literals after 1 to 8 leading ones meet the buffer's top-ups at every bit;
  // the last match, after 40 to 48 literals, ends 0 to 8 bytes before the buffer does. Empty
  // stored blocks follow, so that the input lasts for the fast path to the end.
  for (unsigned lead = 1; lead <= 8; ++lead) {
    for (unsigned last = 40; last <= 48; ++last) {
      for (unsigned tail = 0; tail <= 8; ++tail) {
        std::string bits = header + std::string(lead, '0');
        size_t expected = lead + tail;
        for (unsigned run : {40u, 41u, 42u, 43u, 44u, 45u, 46u, 47u, 48u, last}) {
          bits += std::string(run, '0') + Code(3, 2) + Code(0, 1);
          expected += run + 258;
        }
        bits += std::string(tail, '0') + Code(2, 2);
        for (char final : std::string("00001")) {
          bits += final + Field(0, 2);
          bits += std::string((8 - bits.size() % 8) % 8, '0') + Field(0, 16) + Field(0xFFFF, 16);
        }
        std::vector<uint8_t> stream = Bits(bits);
        std::vector<uint8_t> buffer(expected + 64, 0xEE);
        InflateDecoder decoder;
        decoder.ResetDecoder();
        decoder.SetWholeOutput(buffer.data(), expected);
        ASSERT_EQ(decoder.DecodeChunk(stream.data(), stream.size()), XINFLATE_OK);
        ASSERT_EQ(std::count(buffer.begin(), buffer.end(), 'a'), static_cast<ptrdiff_t>(expected))
            << "lead " << lead << " last " << last << " tail " << tail;
      }
    }
  }
}

TEST(InflateErrors, NotResetAndAfterFinish) {
  InflateDecoder decoder;
  uint8_t byte = 0x03;
  EXPECT_EQ(decoder.DecodeChunk(&byte, 1), XINFLATE_ERR_NOT_RESET);
  decoder.ResetDecoder();
  uint8_t empty[] = {0x03, 0x00};
  EXPECT_EQ(decoder.DecodeChunk(empty, 2), XINFLATE_OK);
  EXPECT_TRUE(decoder.Finished());
  EXPECT_EQ(decoder.DecodeChunk(&byte, 1), XINFLATE_ERR_AFTER_END);
  EXPECT_EQ(decoder.DecodeChunk(&byte, 0), XINFLATE_OK);
}

}  // namespace
}  // namespace qorin
