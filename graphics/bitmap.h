// XBitmap: the 24- or 32-bit top-down bitmap with straight alpha behind every image and
// off-screen surface of the skin. Rows are stored top-down; a pixel is B G R (24-bit) or
// B G R A (32-bit). Colours passed in are 0xAABBGGRR.
//
// The pixel memory comes from an IXPixelMemory: on Windows a top-down DIB section (so the
// bitmap can be selected into a device context), natively plain zeroed memory. What the system
// keeps beside the pixels (the section, a memory device context) sits behind one opaque slot.
#pragma once

#include <cstdint>

#include "display_dpi.h"
#include "rect.h"

namespace qorin {

// Error codes kept in XBitmap::lastError (after a decoder's failure: the decoder's own code).
enum XBITMAP_ERR : uint32_t {
  XBITMAP_OK = 0,
  XBITMAP_ERR_BIT_COUNT_ZERO = 0xA0010002,
  XBITMAP_ERR_TARGET_NOT_CREATED = 0xA0010003,
  XBITMAP_ERR_UNKNOWN_FORMAT = 0xA0010009,
  XBITMAP_ERR_NO_DECODER = 0xA001000A,
  XBITMAP_ERR_NO_DECODER_OPEN = 0xA001000B,
  XBITMAP_ERR_DECODER_STILL_OPEN = 0xA001000C,
  XBITMAP_ERR_CONVERSION = 0xA0010011,
  XBITMAP_ERR_NO_DIB_SECTION = 0xA0010012,
};

class IXPixelMemory {
 public:
  virtual ~IXPixelMemory() = default;
  // Zeroed memory of stride × height bytes, or null; *platform is the system's record of it
  // (null natively), which Release takes back with the bits.
  virtual uint8_t* Allocate(int width, int height, int bitCount, int stride, void** platform) = 0;
  virtual void Release(void* platform, uint8_t* bits) = 0;
};

IXPixelMemory& SystemPixelMemory();

struct XBitmap {
  void* platform = nullptr;  // the system's record of the pixels (bitmap_dc_win32.h)
  int32_t stride = 0;
  int32_t padding = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitCount = 0;
  int32_t bytesPerPixel = 0;
  uint8_t* bits = nullptr;
  uint32_t lastError = 0;

  XBitmap() = default;
  ~XBitmap() { Destroy(); }
  XBitmap(const XBitmap&) = delete;
  XBitmap& operator=(const XBitmap&) = delete;

  bool Create(int width, int height, int bitCount);
  // At least width × height and 32-bit, never smaller than before (the pixels are not kept when
  // it grows); false when there is no bitmap afterwards.
  bool Grow(int width, int height);
  void Destroy();
  // Exchanges the pixels and every field with another bitmap.
  void Swap(XBitmap& other);
  bool Empty() const { return bits == nullptr; }
  uint8_t* Row(int y) const { return bits + static_cast<intptr_t>(y) * stride; }
  uint8_t* Pixel(int x, int y) const { return Row(y) + x * bytesPerPixel; }

  void Fill(uint32_t colour);
  void FillOpaque(uint32_t colour) { Fill(colour | 0xFF000000u); }
  bool FillRect(const XRect& rect, uint32_t colour, uint8_t alpha);
  bool SetPixel(int x, int y, uint32_t colour);
  uint32_t GetPixel(int x, int y) const;
  void HLine(int x0, int x1, int y, uint32_t colour);
  void VLine(int x, int y0, int y1, uint32_t colour);
  void FrameRect(const XRect& rect, uint32_t colour);  // right and bottom are drawn
  bool ConvertDepth(int bitCount);
};

int StrideFor(int width, int bitCount);

}  // namespace qorin
