#include "inflate_decoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#include "byte_order.h"

namespace qorin {
namespace {

constexpr size_t kWindowSize = 32768;
constexpr uint32_t kWindowMask = 0x7fff;
constexpr size_t kFirstOutputSize = 65536;
constexpr size_t kMaxMatch = 258;
// Root bits of a lookup table: 4 KiB of entries stay in the first-level cache.
constexpr unsigned kRootBits = 10;
constexpr unsigned kMaxSymbols = 320;
// The fast path copies matches eight bytes at a time, the first 32 bytes whatever the length
// (40 for a match that repeats its last few bytes), and may write this far past a match's end.
constexpr size_t kCopySlack = 40;
// What one round of the fast path may write: literals while the buffer holds a whole code (at
// most 48 of them: codes of one bit at least, from 63 bits down to 15), then one match of the
// longest length; and the slack.
constexpr size_t kFastRoom = 48 + kMaxMatch + kCopySlack;

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                      15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                      67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistanceBase[30] = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// Order in which a dynamic header lists the code lengths of the code-length alphabet.
constexpr uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                          11, 4,  12, 3, 13, 2, 14, 1, 15};

// A match whose source lies at least eight bytes back in the same buffer, in eight-byte pieces:
// each piece reads only bytes already written. The first four pieces go without a test (most
// matches are short); writes up to kCopySlack - 1 bytes past the end.
void CopyNear(uint8_t* to, uint32_t distance, unsigned length) {
  const uint8_t* from = to - distance;
  uint8_t* end = to + length;
  for (int piece = 0; piece < 4; ++piece) std::memcpy(to + 8 * piece, from + 8 * piece, 8);
  for (to += 32, from += 32; to < end; to += 8, from += 8) std::memcpy(to, from, 8);
}

// A match of 1 to 7 bytes back, which repeats its own start: its first eight bytes are put
// together from the `distance` bytes before it, each piece of the rest comes from the nearest
// multiple of the distance at least eight back, where every byte is already final. Writes up to
// kCopySlack - 1 bytes past the end.
void CopyRepeating(uint8_t* to, uint32_t distance, unsigned length) {
  static constexpr uint8_t kFar[8] = {0, 8, 8, 9, 8, 10, 12, 14};
  static constexpr auto kSource = [] {  // kSource[distance][i] = i % distance
    std::array<std::array<uint8_t, 8>, 8> source{};
    for (unsigned d = 1; d < 8; ++d) {
      for (unsigned i = 0; i < 8; ++i) source[d][i] = static_cast<uint8_t>(i % d);
    }
    return source;
  }();
  const uint8_t* from = to - distance;
  uint64_t first = 0;
  for (unsigned i = 0; i < 8; ++i) first |= uint64_t{from[kSource[distance][i]]} << (8 * i);
  std::memcpy(to, &first, 8);
  CopyNear(to + 8, kFar[distance], length > 8 ? length - 8 : 0);
}

unsigned Reverse(unsigned code, unsigned length) {
  unsigned reversed = 0;
  for (unsigned i = 0; i < length; ++i, code >>= 1) reversed = (reversed << 1) | (code & 1);
  return reversed;
}

}  // namespace

int BuildHuffmanTable(const uint8_t* lengths, unsigned count, InflateDecoder::Table* table) {
  unsigned perLength[16] = {};
  unsigned longest = 0;
  for (unsigned i = 0; i < count; ++i) {
    ++perLength[lengths[i]];
    if (lengths[i] > longest) longest = lengths[i];
  }
  table->entries.clear();
  table->bits = table->rootBits = 0;
  if (count > kMaxSymbols) return XINFLATE_ERR_BAD_HEADER;
  if (longest == 0) return XINFLATE_ERR_NO_CODES;
  int left = 1;
  for (unsigned length = 1; length <= 15; ++length) {
    left = left * 2 - static_cast<int>(perLength[length]);
    if (left < 0) return XINFLATE_ERR_OVERSUBSCRIBED;
  }
  // RFC 1951: the first code of each length is (first of the previous + its count) << 1.
  unsigned next[16] = {};
  unsigned code = 0;
  perLength[0] = 0;
  for (unsigned length = 1; length <= 15; ++length) {
    code = (code + perLength[length - 1]) << 1;
    next[length] = code;
  }
  unsigned reversed[kMaxSymbols];
  for (unsigned symbol = 0; symbol < count; ++symbol) {
    if (lengths[symbol] != 0) reversed[symbol] = Reverse(next[lengths[symbol]]++, lengths[symbol]);
  }
  const unsigned rootBits = std::min(longest, kRootBits);
  const unsigned rootMask = (1u << rootBits) - 1;
  table->bits = longest;
  table->rootBits = rootBits;
  table->entries.assign(size_t{1} << rootBits, InflateDecoder::Code{-1, 0, 0});
  // Codes longer than the root: each root pattern they start with links to a subtable as deep as
  // the longest of them needs.
  uint8_t deepest[1u << kRootBits] = {};
  for (unsigned symbol = 0; symbol < count; ++symbol) {
    if (lengths[symbol] <= rootBits) continue;
    uint8_t& depth = deepest[reversed[symbol] & rootMask];
    depth = std::max<uint8_t>(depth, static_cast<uint8_t>(lengths[symbol] - rootBits));
  }
  for (unsigned prefix = 0; prefix <= rootMask; ++prefix) {
    if (deepest[prefix] == 0) continue;
    table->entries[prefix] = {static_cast<int16_t>(table->entries.size()),
                              static_cast<uint8_t>(rootBits), deepest[prefix]};
    table->entries.resize(table->entries.size() + (size_t{1} << deepest[prefix]),
                          InflateDecoder::Code{-1, 0, 0});
  }
  for (unsigned symbol = 0; symbol < count; ++symbol) {
    unsigned length = lengths[symbol];
    if (length == 0) continue;
    InflateDecoder::Code entry{static_cast<int16_t>(symbol), static_cast<uint8_t>(length), 0};
    size_t start = 0, size = size_t{1} << rootBits;
    unsigned index = reversed[symbol], step = length;
    if (length > rootBits) {
      const InflateDecoder::Code& link = table->entries[index & rootMask];
      start = static_cast<size_t>(link.symbol);
      size = size_t{1} << link.subBits;
      index >>= rootBits;
      step -= rootBits;
    }
    for (size_t at = index; at < size; at += size_t{1} << step) table->entries[start + at] = entry;
  }
  return XINFLATE_OK;
}

namespace {

// Gives the entries of length symbols (literal table) or distance symbols their base and extra
// bits.
void AddBases(InflateDecoder::Table* table, bool distances) {
  for (InflateDecoder::Code& code : table->entries) {
    if (code.subBits != 0 || code.symbol < 0) continue;
    unsigned symbol = static_cast<unsigned>(code.symbol);
    if (distances && symbol < 30) {
      code.base = kDistanceBase[symbol];
      code.extra = kDistanceExtra[symbol];
    } else if (!distances && symbol >= 257 && symbol <= 285) {
      code.base = kLengthBase[symbol - 257];
      code.extra = kLengthExtra[symbol - 257];
    }
  }
}

// The fast path's copy of a literal table: where a root entry's literal leaves room in the root's
// bits for a whole second literal, the entry gives both (the second in base, extra = 2, length
// the bits of both). The second code is known from the bits left, since every entry of a code
// shorter than the root repeats for all values of the bits above it.
void AddLiteralPairs(InflateDecoder::Table* table) {
  table->pairs = table->entries;
  auto literal = [](const InflateDecoder::Code& code) {
    return code.subBits == 0 && code.symbol >= 0 && code.symbol < 256;
  };
  size_t rootSize = size_t{1} << table->rootBits;
  for (size_t i = 0; i < rootSize && i < table->entries.size(); ++i) {
    const InflateDecoder::Code& first = table->entries[i];
    if (!literal(first) || first.length >= table->rootBits) continue;
    const InflateDecoder::Code& second = table->entries[i >> first.length];
    if (!literal(second) || first.length + second.length > table->rootBits) continue;
    InflateDecoder::Code& pair = table->pairs[i];
    pair.length = static_cast<uint8_t>(first.length + second.length);
    pair.base = static_cast<uint16_t>(second.symbol);
    pair.extra = 2;
  }
}

}  // namespace

InflateDecoder::InflateDecoder() = default;
InflateDecoder::~InflateDecoder() = default;

void InflateDecoder::ResetDecoder() {
  dynamicLiterals_ = {};
  dynamicDistances_ = {};
  codeLengthTable_ = {};
  literals_ = distances_ = nullptr;
  step_ = Step::kBlockHeader;
  bitBuffer_ = 0;
  bitCount_ = 0;
  finalBlock_ = false;
  storedLeft_ = 0;
  windowPos_ = 0;
  recent_ = nullptr;
  recentSize_ = 0;
  outSize_ = callStart_ = 0;
  if (!window_) window_.reset(new (std::nothrow) uint8_t[kWindowSize]());
  reset_ = window_ != nullptr;
}

void InflateDecoder::SetWholeOutput(uint8_t* buffer, size_t capacity) {
  SetOutputBuffer(buffer, capacity);
  wholeOutput_ = buffer != nullptr;
  outSize_ = callStart_ = 0;
}

void InflateDecoder::SetOutputBuffer(uint8_t* buffer, size_t capacity) {
  wholeOutput_ = false;
  callerOutput_ = buffer != nullptr;
  out_ = callerOutput_ ? buffer : ownOutputs_[ownOutput_].data();
  outCapacity_ = callerOutput_ ? capacity : ownOutputs_[ownOutput_].size();
}

void InflateDecoder::Refill() {
  while (bitCount_ < 25 && in_ < inEnd_) {
    bitBuffer_ |= uint32_t(*in_++) << bitCount_;
    bitCount_ += 8;
  }
}

bool InflateDecoder::Need(unsigned bits) {
  if (bitCount_ < bits) Refill();
  return bitCount_ >= bits;
}

unsigned InflateDecoder::Take(unsigned bits) {
  if (bits == 0) return 0;
  unsigned value = bitBuffer_ & ((1u << bits) - 1);
  bitBuffer_ = bits == 32 ? 0 : bitBuffer_ >> bits;
  bitCount_ -= bits;
  return value;
}

bool InflateDecoder::Decode(const Table& table, int* symbol) {
  if (table.bits == 0) {
    *symbol = -1;
    return true;
  }
  if (bitCount_ < table.bits) Refill();
  const Code& code = table.Find(bitBuffer_);
  if (code.symbol < 0) {
    // With all the table's bits present the pattern is no code; with fewer it may still become one.
    if (bitCount_ < table.bits) return false;
    *symbol = -1;
    return true;
  }
  if (code.length > bitCount_) return false;
  Take(code.length);
  *symbol = code.symbol;
  return true;
}

bool InflateDecoder::Reserve(size_t bytes, int* error) {
  if (outSize_ + bytes <= outCapacity_) return true;
  if (callerOutput_) {
    *error = XINFLATE_ERR_OUTPUT_FULL;
    return false;
  }
  size_t capacity = outCapacity_;
  while (capacity < outSize_ + bytes) capacity *= 2;
  try {
    ownOutputs_[ownOutput_].resize(capacity);
  } catch (const std::bad_alloc&) {
    *error = XINFLATE_ERR_NO_MEMORY;
    return false;
  }
  out_ = ownOutputs_[ownOutput_].data();
  outCapacity_ = capacity;
  return true;
}

// Only the last 32 KiB of a long run matter to the window; they go in at most two pieces.
void InflateDecoder::CopyToWindow(const uint8_t* bytes, size_t count) {
  if (count > kWindowSize) {
    windowPos_ += static_cast<uint32_t>(count - kWindowSize);
    bytes += count - kWindowSize;
    count = kWindowSize;
  }
  size_t at = windowPos_ & kWindowMask;
  size_t first = std::min(count, kWindowSize - at);
  std::memcpy(window_.get() + at, bytes, first);
  std::memcpy(window_.get(), bytes + first, count - first);
  windowPos_ += static_cast<uint32_t>(count);
}

void InflateDecoder::Emit(uint8_t byte) {
  out_[outSize_++] = byte;
}

// Copies a match. While a call runs, the window holds the history up to the call's start and the
// output buffer the rest, so recent bytes come straight from the output.
void InflateDecoder::CopyMatch(uint32_t distance, unsigned length) {
  uint8_t* to = out_ + outSize_;
  if (distance <= outSize_) {
    const uint8_t* from = to - distance;
    if (distance >= 8 && outSize_ + length + kCopySlack <= outCapacity_) {
      CopyNear(to, distance, length);
    } else if (distance >= length) {
      std::memcpy(to, from, length);
    } else {
      for (unsigned i = 0; i < length; ++i) to[i] = from[i];  // overlapping: repeats recent bytes
    }
    outSize_ += length;
    return;
  }
  for (unsigned i = 0; i < length; ++i) {
    int64_t at = static_cast<int64_t>(outSize_) - distance;
    int64_t older = at + static_cast<int64_t>(recentSize_);
    out_[outSize_++] = at >= 0      ? out_[at]
                       : older >= 0 ? recent_[older]
                                    : window_[(windowPos_ + older) & kWindowMask];
  }
}

int InflateDecoder::DecodeChunk(const uint8_t* input, size_t length) {
  if (!wholeOutput_) outSize_ = 0;
  callStart_ = outSize_;
  if (!reset_) return XINFLATE_ERR_NOT_RESET;
  if (callerOutput_ && !wholeOutput_ && outCapacity_ < 2) return XINFLATE_ERR_OUTPUT_TOO_SMALL;
  if (!callerOutput_) {
    try {
      if (ownOutputs_[ownOutput_].empty()) ownOutputs_[ownOutput_].resize(kFirstOutputSize);
    } catch (const std::bad_alloc&) {
      return XINFLATE_ERR_NO_MEMORY;
    }
    SetOutputBuffer(nullptr, 0);
  }
  in_ = input;
  inEnd_ = input + length;
  if (step_ == Step::kFinished) return length != 0 ? XINFLATE_ERR_AFTER_END : XINFLATE_OK;
  int result = Run();
  KeepHistory();
  return result;
}

// This call's output becomes history for the next: the ring takes what of the previous output
// is still in reach behind it, and the output itself stays where it is unless it is the caller's.
void InflateDecoder::KeepHistory() {
  if (wholeOutput_) return;  // the whole output is the history
  if (recent_ != nullptr) {
    size_t reach = std::min(recentSize_, kWindowSize - std::min(outSize_, kWindowSize));
    CopyToWindow(recent_ + recentSize_ - reach, reach);
  }
  if (callerOutput_) {  // the caller may write into its buffer before the next call
    CopyToWindow(out_, outSize_);
    recent_ = nullptr;
    recentSize_ = 0;
    return;
  }
  recent_ = out_;
  recentSize_ = outSize_;
  ownOutput_ ^= 1;
}

int InflateDecoder::StartBlock() {
  finalBlock_ = Take(1) != 0;
  switch (Take(2)) {
    case 0: step_ = Step::kStoredHeader; return XINFLATE_OK;
    case 1:
      if (fixedLiterals_.entries.empty()) {
        uint8_t lengths[288];
        std::memset(lengths, 8, 144);
        std::memset(lengths + 144, 9, 112);
        std::memset(lengths + 256, 7, 24);
        std::memset(lengths + 280, 8, 8);
        BuildHuffmanTable(lengths, 288, &fixedLiterals_);
        AddBases(&fixedLiterals_, false);
        AddLiteralPairs(&fixedLiterals_);
        std::memset(lengths, 5, 30);
        BuildHuffmanTable(lengths, 30, &fixedDistances_);
        AddBases(&fixedDistances_, true);
      }
      literals_ = &fixedLiterals_;
      distances_ = &fixedDistances_;
      step_ = Step::kLiteral;
      return XINFLATE_OK;
    case 2: step_ = Step::kDynamicCounts; return XINFLATE_OK;
    default: return XINFLATE_ERR_RESERVED_BLOCK;
  }
}

int InflateDecoder::FinishBlockEnd() {
  if (!finalBlock_) {
    step_ = Step::kBlockHeader;
    return XINFLATE_OK;
  }
  step_ = Step::kFinished;
  // Fewer than 8 bits left are the final byte's padding; anything more is input after the end.
  return in_ < inEnd_ || bitCount_ >= 8 ? XINFLATE_ERR_AFTER_END : XINFLATE_OK;
}

int InflateDecoder::BuildDynamicTables() {
  int error = BuildHuffmanTable(lengths_, hlit_, &dynamicLiterals_);
  if (error != XINFLATE_OK) return error;
  error = BuildHuffmanTable(lengths_ + hlit_, hdist_, &dynamicDistances_);
  // A block of literals only may have no distance codes at all; using one is then error 5.
  if (error != XINFLATE_OK && error != XINFLATE_ERR_NO_CODES) return error;
  AddBases(&dynamicLiterals_, false);
  AddLiteralPairs(&dynamicLiterals_);
  AddBases(&dynamicDistances_, true);
  literals_ = &dynamicLiterals_;
  distances_ = &dynamicDistances_;
  step_ = Step::kLiteral;
  return XINFLATE_OK;
}

// The common case of a Huffman block, with plenty of input and output room: whole
// literal/length/distance groups are decoded from a 64-bit bit buffer without returning to the
// state machine. Anything unusual (a pattern that is no code, the end of the block, little input)
// leaves the loop with nothing of the current symbol consumed, for the step-by-step path.
//
// Everything the loop touches lives in locals: the output is written through a byte pointer,
// which may alias any member, so members would be reloaded after every byte.
void InflateDecoder::FastLiterals() {
  const Code* literals = literals_->pairs.data();
  const uint64_t literalMask = (uint64_t{1} << literals_->rootBits) - 1;
  const Code* distances = distances_->entries.empty() ? nullptr : distances_->entries.data();
  const uint64_t distanceMask = distances ? (uint64_t{1} << distances_->rootBits) - 1 : 0;
  auto find = [](const Code* table, uint64_t mask, uint64_t next) {
    Code code = table[next & mask];
    if (code.subBits != 0) {
      unsigned root = code.length;
      code =
          table[static_cast<size_t>(code.symbol) + ((next >> root) & ((1u << code.subBits) - 1))];
    }
    return code;
  };
  const uint8_t* in = in_;
  const uint8_t* const inLast = inEnd_ - std::min<size_t>(inEnd_ - in_, 8);
  uint64_t bits = bitBuffer_;
  unsigned count = bitCount_;
  uint8_t* out = out_;
  size_t size = outSize_;
  size_t capacity = outCapacity_;
  int error = XINFLATE_OK;
  while (in < inLast) {
    // Room for a round; a full caller buffer is left to the exact checks of the slow path.
    if (size + kFastRoom > capacity) {
      outSize_ = size;
      if (callerOutput_ || !Reserve(kFastRoom, &error)) break;
      out = out_;
      capacity = outCapacity_;
    }
    // One unaligned load tops the buffer up to 56-63 bits; the bits above the count are the
    // next input bits, and ORing them in again later changes nothing.
    bits |= LoadLe64(in) << count;
    in += (63 - count) >> 3;
    count |= 56;
    Code literal = find(literals, literalMask, bits);
    // Literals come out of one top-up while the buffer still holds a whole code (15 bits): at
    // most 48 of them, which the room above has space for.
    bool topUp = false;
    while (static_cast<uint16_t>(literal.symbol) < 256) {
      bits >>= literal.length;
      count -= literal.length;
      // One literal or two; the byte after a single one is room, overwritten next.
      out[size] = static_cast<uint8_t>(literal.symbol);
      out[size + 1] = static_cast<uint8_t>(literal.base);
      size += 1 + (literal.extra >> 1);
      if (count < 15) {
        topUp = true;
        break;
      }
      literal = find(literals, literalMask, bits);
    }
    if (topUp) continue;
    if (literal.symbol < 0) break;
    if (literal.symbol == 256 || literal.symbol > 285 || distances == nullptr) break;
    // A length symbol, its extra bits, a distance code and its extra bits: at most 15 + 5 + 15
    // + 13 = 48 bits. After literals the buffer is topped up again where the input allows; the
    // length symbol's bits stay where they are.
    if (count < 48) {
      if (in >= inLast) continue;
      bits |= LoadLe64(in) << count;
      in += (63 - count) >> 3;
      count |= 56;
    }
    unsigned used = literal.length;
    unsigned length = literal.base + ((bits >> used) & ((1u << literal.extra) - 1));
    used += literal.extra;
    Code distanceCode = find(distances, distanceMask, bits >> used);
    if (distanceCode.symbol < 0 || distanceCode.symbol > 29) break;
    used += distanceCode.length;
    uint32_t distance = distanceCode.base +
                        static_cast<uint32_t>((bits >> used) & ((1u << distanceCode.extra) - 1));
    used += distanceCode.extra;
    bits >>= used;
    count -= used;
    uint8_t* to = out + size;
    if (distance >= 8 && distance <= size) {
      CopyNear(to, distance, length);
    } else if (distance <= size) {
      CopyRepeating(to, distance, length);
    } else {
      outSize_ = size;
      CopyMatch(distance, length);  // reaches back before this call's output
      size = outSize_;
      continue;
    }
    size += length;
  }
  outSize_ = size;
  in_ = in;
  // Give back whole bytes that do not fit the 32-bit buffer of the step-by-step path.
  while (count > 24) {
    --in_;
    count -= 8;
  }
  bitBuffer_ = static_cast<uint32_t>(bits & ((uint64_t{1} << count) - 1));
  bitCount_ = count;
}

int InflateDecoder::Run() {
  int error = XINFLATE_OK;
  while (true) {
    switch (step_) {
      case Step::kBlockHeader:
        if (!Need(3)) return XINFLATE_OK;
        if ((error = StartBlock()) != XINFLATE_OK) return error;
        break;

      case Step::kStoredHeader: {
        Take(bitCount_ % 8);
        if (!Need(32)) return XINFLATE_OK;
        unsigned length = Take(16);
        unsigned inverted = Take(16);
        if (length != (~inverted & 0xFFFF)) return XINFLATE_ERR_STORED_LENGTH;
        storedLeft_ = length;
        step_ = Step::kStoredCopy;
        break;
      }

      case Step::kStoredCopy:
        while (storedLeft_ != 0 && bitCount_ >= 8) {
          if (!Reserve(1, &error)) return error;
          Emit(static_cast<uint8_t>(Take(8)));
          --storedLeft_;
        }
        while (storedLeft_ != 0 && in_ < inEnd_) {
          size_t run = inEnd_ - in_;
          if (run > storedLeft_) run = storedLeft_;
          if (!Reserve(run, &error)) return error;
          std::memcpy(out_ + outSize_, in_, run);
          outSize_ += run;
          in_ += run;
          storedLeft_ -= static_cast<uint32_t>(run);
        }
        if (storedLeft_ != 0) return XINFLATE_OK;
        if ((error = FinishBlockEnd()) != XINFLATE_OK || step_ == Step::kFinished) return error;
        break;

      case Step::kDynamicCounts:
        if (!Need(14)) return XINFLATE_OK;
        hlit_ = Take(5) + 257;
        hdist_ = Take(5) + 1;
        hclen_ = Take(4) + 4;
        if (hlit_ > 286 || hdist_ > 30) return XINFLATE_ERR_BAD_HEADER;
        std::memset(lengths_, 0, sizeof lengths_);
        lengthsRead_ = 0;
        step_ = Step::kCodeLengthLengths;
        break;

      case Step::kCodeLengthLengths:
        while (lengthsRead_ < hclen_) {
          if (!Need(3)) return XINFLATE_OK;
          lengths_[kCodeLengthOrder[lengthsRead_++]] = static_cast<uint8_t>(Take(3));
        }
        if ((error = BuildHuffmanTable(lengths_, 19, &codeLengthTable_)) != XINFLATE_OK)
          return error;
        std::memset(lengths_, 0, sizeof lengths_);
        lengthsRead_ = 0;
        step_ = Step::kCodeLengths;
        break;

      case Step::kCodeLengths: {
        while (lengthsRead_ < hlit_ + hdist_) {
          int symbol;
          if (!Decode(codeLengthTable_, &symbol)) return XINFLATE_OK;
          if (symbol < 0) return XINFLATE_ERR_BAD_HEADER;
          if (symbol >= 16) {
            repeatSymbol_ = static_cast<unsigned>(symbol);
            break;
          }
          lengths_[lengthsRead_++] = static_cast<uint8_t>(symbol);
        }
        if (lengthsRead_ < hlit_ + hdist_) {
          step_ = Step::kRepeatExtra;
          break;
        }
        if ((error = BuildDynamicTables()) != XINFLATE_OK) return error;
        break;
      }

      case Step::kRepeatExtra: {
        static constexpr unsigned kExtraBits[3] = {2, 3, 7};
        static constexpr unsigned kBase[3] = {3, 3, 11};
        unsigned which = repeatSymbol_ - 16;
        if (!Need(kExtraBits[which])) return XINFLATE_OK;
        unsigned count = kBase[which] + Take(kExtraBits[which]);
        if (which == 0 && lengthsRead_ == 0) return XINFLATE_ERR_BAD_HEADER;
        uint8_t value = which == 0 ? lengths_[lengthsRead_ - 1] : 0;
        if (lengthsRead_ + count > hlit_ + hdist_) return XINFLATE_ERR_BAD_HEADER;
        std::memset(lengths_ + lengthsRead_, value, count);
        lengthsRead_ += count;
        step_ = Step::kCodeLengths;
        break;
      }

      case Step::kLiteral:
        FastLiterals();
        while (true) {
          int symbol;
          if (!Decode(*literals_, &symbol)) return XINFLATE_OK;
          if (symbol < 0 || symbol > 285) return XINFLATE_ERR_BAD_LITERAL;
          if (symbol < 256) {
            if (!Reserve(1, &error)) return error;
            Emit(static_cast<uint8_t>(symbol));
            continue;
          }
          if (symbol == 256) {
            if ((error = FinishBlockEnd()) != XINFLATE_OK || step_ == Step::kFinished) return error;
          } else {
            symbol_ = symbol - 257;
            step_ = Step::kLengthExtra;
          }
          break;
        }
        break;

      case Step::kLengthExtra:
        if (!Need(kLengthExtra[symbol_])) return XINFLATE_OK;
        matchLength_ = kLengthBase[symbol_] + Take(kLengthExtra[symbol_]);
        step_ = Step::kDistance;
        break;

      case Step::kDistance: {
        int symbol;
        if (!Decode(*distances_, &symbol)) return XINFLATE_OK;
        if (symbol < 0 || symbol > 29) return XINFLATE_ERR_BAD_DISTANCE;
        distanceSymbol_ = static_cast<unsigned>(symbol);
        step_ = Step::kDistanceExtra;
        break;
      }

      case Step::kDistanceExtra: {
        if (!Need(kDistanceExtra[distanceSymbol_])) return XINFLATE_OK;
        uint32_t distance = kDistanceBase[distanceSymbol_] + Take(kDistanceExtra[distanceSymbol_]);
        if (!Reserve(matchLength_, &error)) return error;
        CopyMatch(distance, matchLength_);
        step_ = Step::kLiteral;
        break;
      }

      case Step::kFinished: return in_ < inEnd_ ? XINFLATE_ERR_AFTER_END : XINFLATE_OK;
    }
  }
}

}  // namespace qorin
