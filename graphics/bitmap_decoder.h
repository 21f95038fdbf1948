// The interface of an image decoder, as the image loader drives it: Open reads the header and
// reports the size, Decode writes the pixels into bitmap rows (top-down, B G R [A]), Close frees.
#pragma once

#include <cstdint>
#include <string>

#include "byte_stream.h"

namespace qorin {

class XBitmapDecoder;

// One decoding, created by the image loader and handed to the decoder.
struct XDecodeRequest {
  std::u16string fileName;  // only for the format sniffer's extension checks
  int formatId = 0;
  XBitmapDecoder* decoder = nullptr;
  int width = 0, height = 0, bitCount = 0;  // filled by Open
  int requestedBitCount = 0;                // 0: the decoder's
  bool decoderConvertsDepth = false;
};

class XBitmapDecoder {
 public:
  virtual ~XBitmapDecoder() = default;
  virtual bool Open(XReadStream& stream, XDecodeRequest& request) = 0;
  virtual bool Decode(XReadStream& stream, XDecodeRequest& request, uint8_t* bits, int stride,
                      int padding, int bytesPerPixel) = 0;
  virtual void Close() = 0;
  virtual uint32_t GetLastError() = 0;
};

}  // namespace qorin
