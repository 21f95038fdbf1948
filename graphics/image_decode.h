// From bytes to a bitmap: the format sniffer, the decoder registry, DecodeImage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "bitmap.h"
#include "bitmap_decoder.h"

namespace qorin {

constexpr int kFormatUnknown = 0;
constexpr int kFormatJpeg = 1;
constexpr int kFormatPng = 2;
constexpr int kFormatBmp = 7;
constexpr size_t kSniffBytes = 4352;

// The format of an image from its first bytes (fewer than 26 is unknown).
int SniffImageFormat(const uint8_t* bytes, size_t size);

struct XDecoderEntry {
  std::unique_ptr<XBitmapDecoder> (*factory)();
  int formatId;
};

// The registered decoders: this program has one, PNG.
std::span<const XDecoderEntry> DecoderRegistry();

// Decodes into a new bitmap of the decoder's depth, or of requestedBitCount when not 0.
// On failure bitmap->lastError tells why (the decoder's own refusal leaves its last error, 0).
bool DecodeImage(const uint8_t* bytes, size_t count, XBitmap* bitmap, int requestedBitCount = 0);

}  // namespace qorin
