// XPngSimple: the PNG reader of the skin images. 8-bit truecolour, truecolour with alpha and
// indexed colour, not interlaced; chunk by chunk straight into the bitmap rows.
//
//   signature ─► IHDR (checked) ─► chunks: PLTE, tRNS (CRC checked) | IDAT (CRC checked,
//   zlib header dropped, Inflate) ─► filter reconstruction per row ─► B G R [A] ─► IEND
#pragma once

#include <memory>

#include "bitmap_decoder.h"

namespace qorin {

// The decoder's detailed codes, also what GetLastError reports. The first row reconstructs
// against a zero row, so NO_PREVIOUS_ROW is never raised; it keeps its number for the table.
enum XPNG_ERR : int {
  XPNG_ERR_NONE = 0,
  XPNG_ERR_NOT_PNG = 1,
  XPNG_ERR_MALFORMED = 2,
  XPNG_ERR_UNSUPPORTED = 3,
  XPNG_ERR_READ = 4,
  XPNG_ERR_CRC = 5,
  XPNG_ERR_NO_PREVIOUS_ROW = 6,
};

constexpr int kPngFormatId = 2;

class XPngSimple final : public XBitmapDecoder {
 public:
  XPngSimple();
  ~XPngSimple() override;

  bool Open(XReadStream& stream, XDecodeRequest& request) override;
  bool Decode(XReadStream& stream, XDecodeRequest& request, uint8_t* bits, int stride, int padding,
              int bytesPerPixel) override;
  void Close() override;
  uint32_t GetLastError() override;

  // The code of the open image (0 without one).
  int DetailedError() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace qorin
