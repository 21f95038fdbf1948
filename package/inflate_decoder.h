// Push decoder for raw Deflate data (RFC 1951, no zlib or gzip wrapper).
//
//   compressed chunks ──► bit reader ──► block state machine ──► output buffer (per call)
//                                              │  ▲
//                                              ▼  │ back-references
//                                        32 KiB window
//
// Chunks may end anywhere, even inside a code: every piece of state survives between calls. Each
// call writes from the start of the output buffer; the caller takes the bytes before the next.
// The decoder's own output alternates between two buffers, so that a call's output is still the
// history of the next one without being copied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace qorin {

enum XINFLATE_ERR : int {
  XINFLATE_OK = 0,
  XINFLATE_ERR_NOT_RESET = 1,
  XINFLATE_ERR_RESERVED_BLOCK = 2,
  XINFLATE_ERR_STORED_LENGTH = 3,
  XINFLATE_ERR_NO_MEMORY = 4,
  XINFLATE_ERR_BAD_DISTANCE = 5,
  XINFLATE_ERR_BAD_LITERAL = 6,
  XINFLATE_ERR_AFTER_END = 7,
  XINFLATE_ERR_OVERSUBSCRIBED = 8,
  XINFLATE_ERR_NO_CODES = 9,
  XINFLATE_ERR_BAD_HEADER = 10,
  XINFLATE_ERR_OUTPUT_FULL = 11,
  XINFLATE_ERR_OUTPUT_TOO_SMALL = 12,
};

class InflateDecoder {
 public:
  InflateDecoder();
  ~InflateDecoder();
  InflateDecoder(const InflateDecoder&) = delete;
  InflateDecoder& operator=(const InflateDecoder&) = delete;

  void ResetDecoder();
  // Decode into the caller's fixed buffer instead of a growing one of the decoder's own; a full
  // buffer is then error 11. Null returns to the decoder's own buffer.
  void SetOutputBuffer(uint8_t* buffer, size_t capacity);
  // Decode the whole stream into one buffer of the caller's, which knows the size to come: each
  // call appends to what the calls before wrote, and the buffer is its own history, so nothing is
  // copied. The caller leaves the bytes written alone until the stream ends.
  void SetWholeOutput(uint8_t* buffer, size_t capacity);

  int DecodeChunk(const uint8_t* input, size_t length);

  // This call's output.
  const uint8_t* Output() const { return out_ + callStart_; }
  size_t OutputSize() const { return outSize_ - callStart_; }
  bool Finished() const { return step_ == Step::kFinished; }

  // A two-level Huffman lookup table. The root has 2^rootBits entries indexed by the next
  // rootBits input bits; a code longer than that is found through a link entry, whose symbol is
  // the start of a subtable indexed by the following subBits bits.
  struct Code {
    int16_t symbol;   // -1: no code has this bit pattern; in a link, the subtable's start
    uint8_t length;   // bits the code takes in all
    uint8_t subBits;  // 0, or the bits that index a link's subtable
    // For a length or distance symbol, its base value and extra bits, so that the fast path
    // finds all it needs in one load.
    uint16_t base = 0;
    uint8_t extra = 0;
  };
  struct Table {
    std::vector<Code> entries;
    std::vector<Code> pairs;  // a literal table's entries with two literals where they fit
    unsigned bits = 0;        // the longest code
    unsigned rootBits = 0;    // bits of the root
    // The entry for the next bits: a code, or a pattern no code has.
    const Code& Find(uint64_t next) const {
      const Code& root = entries[next & ((1u << rootBits) - 1)];
      if (root.subBits == 0) return root;
      return entries[static_cast<size_t>(root.symbol) +
                     ((next >> rootBits) & ((1u << root.subBits) - 1))];
    }
  };

 private:
  enum class Step {
    kBlockHeader,
    kStoredHeader,
    kStoredCopy,
    kDynamicCounts,
    kCodeLengthLengths,
    kCodeLengths,
    kRepeatExtra,
    kLiteral,
    kLengthExtra,
    kDistance,
    kDistanceExtra,
    kFinished,
  };

  void Refill();
  bool Need(unsigned bits);
  unsigned Take(unsigned bits);
  // Decodes one symbol; false when more input is needed. Sets *symbol to -1 for no code.
  bool Decode(const Table& table, int* symbol);
  bool Reserve(size_t bytes, int* error);
  void Emit(uint8_t byte);
  void CopyToWindow(const uint8_t* bytes, size_t count);
  void KeepHistory();
  void CopyMatch(uint32_t distance, unsigned length);
  void FastLiterals();
  int Run();
  int StartBlock();
  int FinishBlockEnd();
  int BuildDynamicTables();

  // Bit reader.
  const uint8_t* in_ = nullptr;
  const uint8_t* inEnd_ = nullptr;
  uint32_t bitBuffer_ = 0;
  unsigned bitCount_ = 0;

  // State machine.
  Step step_ = Step::kBlockHeader;
  bool reset_ = false;
  bool finalBlock_ = false;
  uint32_t storedLeft_ = 0;
  int symbol_ = 0;
  unsigned matchLength_ = 0;
  unsigned distanceSymbol_ = 0;

  // Window: the 32 KiB before this call's output are the previous call's output where it is
  // still in the decoder's own buffer (recent_), and before that the ring window_, which holds
  // only as much of the older bytes as a distance can still reach.
  std::unique_ptr<uint8_t[]> window_;
  uint32_t windowPos_ = 0;
  const uint8_t* recent_ = nullptr;
  size_t recentSize_ = 0;

  // Output.
  std::vector<uint8_t> ownOutputs_[2];
  int ownOutput_ = 0;  // the one the next call writes
  uint8_t* out_ = nullptr;
  size_t outCapacity_ = 0;
  size_t outSize_ = 0;
  size_t callStart_ = 0;  // where this call's output starts: 0 unless the output is whole
  bool callerOutput_ = false;
  bool wholeOutput_ = false;

  // Tables in use: the fixed ones (built on first need) or the dynamic ones of this block.
  Table fixedLiterals_, fixedDistances_;
  Table dynamicLiterals_, dynamicDistances_, codeLengthTable_;
  const Table* literals_ = nullptr;
  const Table* distances_ = nullptr;

  // Dynamic header scratch.
  unsigned hlit_ = 0, hdist_ = 0, hclen_ = 0;
  unsigned lengthsRead_ = 0;
  uint8_t lengths_[320] = {};
  unsigned repeatSymbol_ = 0;
};

// Builds a canonical Huffman table from code lengths (0 = unused): 0, error 8 for an
// oversubscribed set, error 9 when no symbol has a code.
int BuildHuffmanTable(const uint8_t* lengths, unsigned count, InflateDecoder::Table* table);

}  // namespace qorin
