#include "image_decode.h"

#include <cstring>

#include "bitmap_copy.h"
#include "byte_stream.h"
#include "png_decoder.h"

namespace qorin {
namespace {

std::unique_ptr<XBitmapDecoder> MakePng() {
  return std::make_unique<XPngSimple>();
}

constexpr XDecoderEntry kRegistry[] = {{MakePng, kFormatPng}};

bool Decode(XBitmapDecoder& decoder, XMemoryReadStream& stream, XDecodeRequest& request,
            XBitmap* bitmap) {
  if (!decoder.Open(stream, request)) {
    bitmap->lastError = decoder.GetLastError();
    return false;
  }
  if (request.bitCount == 0) {
    bitmap->lastError = XBITMAP_ERR_BIT_COUNT_ZERO;
    return false;
  }
  if (!bitmap->Create(request.width, request.height, request.bitCount)) {
    bitmap->lastError = XBITMAP_ERR_TARGET_NOT_CREATED;
    return false;
  }
  if (!decoder.Decode(stream, request, bitmap->bits, bitmap->stride, bitmap->padding,
                      bitmap->bytesPerPixel)) {
    bitmap->lastError = decoder.GetLastError();
    return false;
  }
  return true;
}

}  // namespace

int SniffImageFormat(const uint8_t* bytes, size_t size) {
  size = std::min(size, kSniffBytes);
  if (size < 26) return kFormatUnknown;
  static constexpr uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (std::memcmp(bytes, kPng, 8) == 0 && std::memcmp(bytes + 12, "IHDR", 4) == 0)
    return kFormatPng;
  if (bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) return kFormatJpeg;
  if (bytes[0] == 'B' && bytes[1] == 'M') return kFormatBmp;
  return kFormatUnknown;
}

std::span<const XDecoderEntry> DecoderRegistry() {
  return kRegistry;
}

bool DecodeImage(const uint8_t* bytes, size_t count, XBitmap* bitmap, int requestedBitCount) {
  bitmap->Destroy();
  XMemoryReadStream stream(bytes, static_cast<int64_t>(count));
  XDecodeRequest request;
  request.formatId = SniffImageFormat(bytes, count);
  request.requestedBitCount = requestedBitCount;
  if (request.formatId == kFormatUnknown) {
    bitmap->lastError = XBITMAP_ERR_UNKNOWN_FORMAT;
    return false;
  }
  const XDecoderEntry* entry = nullptr;
  for (const XDecoderEntry& candidate : DecoderRegistry()) {
    if (candidate.formatId == request.formatId) entry = &candidate;
  }
  if (entry == nullptr) {
    bitmap->lastError = XBITMAP_ERR_NO_DECODER;
    return false;
  }
  std::unique_ptr<XBitmapDecoder> decoder = entry->factory();
  request.decoder = decoder.get();
  XBitmap decoded;
  bool ok = Decode(*decoder, stream, request, &decoded);
  decoder->Close();
  if (!ok) {
    bitmap->lastError = decoded.lastError;
    return false;
  }
  if (requestedBitCount == 0 || requestedBitCount == decoded.bitCount) {
    bitmap->Swap(decoded);
    bitmap->lastError = 0;
    return true;
  }
  // Another depth was asked for: the decoder's image is copied into it.
  if (!bitmap->Create(decoded.width, decoded.height, requestedBitCount) ||
      !Blit(*bitmap, 0, 0, decoded, 0, 0, -1, -1, false)) {
    bitmap->Destroy();
    bitmap->lastError = XBITMAP_ERR_CONVERSION;
    return false;
  }
  return true;
}

}  // namespace qorin
