// XBitmap: the 24- or 32-bit top-down bitmap with straight alpha behind every image and
// off-screen surface of the skin. Rows are stored top-down; a pixel is B G R (24-bit) or
// B G R A (32-bit). Colours passed in are 0xAABBGGRR.
//
// The pixel memory comes from an IXPixelMemory: on Windows a top-down DIB section (so the
// bitmap can be selected into a device context), natively plain zeroed memory.
#pragma once

#include <cstdint>

#include "display_dpi.h"

namespace qorin {

struct XRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// Error codes kept in XBitmap::lastError.
constexpr uint32_t kBitmapErrBitCountZero = 0xA0010002;
constexpr uint32_t kBitmapErrTargetNotCreated = 0xA0010003;
constexpr uint32_t kBitmapErrUnknownFormat = 0xA0010009;
constexpr uint32_t kBitmapErrNoDecoder = 0xA001000A;
constexpr uint32_t kBitmapErrNoDecoderOpen = 0xA001000B;
constexpr uint32_t kBitmapErrDecoderStillOpen = 0xA001000C;
constexpr uint32_t kBitmapErrConversion = 0xA0010011;
constexpr uint32_t kBitmapErrNoDibSection = 0xA0010012;

class IXPixelMemory {
 public:
  virtual ~IXPixelMemory() = default;
  // Zeroed memory of stride × height bytes, or null; *handle is what Release takes back.
  virtual uint8_t* Allocate(int width, int height, int bitCount, int stride, void** handle) = 0;
  virtual void Release(void* handle, uint8_t* bits) = 0;
  // Releases a memory device context the bitmap still holds (Windows only).
  virtual void ReleaseContext(void* /*memoryDC*/, void* /*previousObject*/) {}
};

IXPixelMemory& SystemPixelMemory();

struct XBitmap {
  void* handle = nullptr;  // the DIB section on Windows
  int32_t stride = 0;
  int32_t padding = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitCount = 0;
  int32_t bytesPerPixel = 0;
  uint8_t* bits = nullptr;
  uint32_t lastError = 0;
  void* memoryDC = nullptr;
  void* previousObject = nullptr;
  int32_t dcLockCount = 0;

  XBitmap() = default;
  ~XBitmap() { Destroy(); }
  XBitmap(const XBitmap&) = delete;
  XBitmap& operator=(const XBitmap&) = delete;

  bool Create(int width, int height, int bitCount);
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
