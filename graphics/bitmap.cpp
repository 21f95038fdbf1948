#include "bitmap.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace qorin {

int StrideFor(int width, int bitCount) {
  return ((width * bitCount + 31) / 32) * 4;
}

bool XBitmap::Create(int newWidth, int newHeight, int newBitCount) {
  Destroy();
  if (newWidth <= 0 || newHeight <= 0) return false;
  if (newBitCount != 24 && newBitCount != 32) return false;
  // Rows and their offsets are ints: the whole image must stay below 2 GiB.
  int64_t rowBytes = (int64_t{newWidth} * newBitCount + 31) / 32 * 4;
  if (rowBytes * newHeight > INT32_MAX) {
    lastError = XBITMAP_ERR_NO_DIB_SECTION;
    return false;
  }
  int newStride = StrideFor(newWidth, newBitCount);
  void* newPlatform = nullptr;
  uint8_t* memory =
      SystemPixelMemory().Allocate(newWidth, newHeight, newBitCount, newStride, &newPlatform);
  if (memory == nullptr) {
    lastError = XBITMAP_ERR_NO_DIB_SECTION;
    return false;
  }
  platform = newPlatform;
  bits = memory;
  width = newWidth;
  height = newHeight;
  bitCount = newBitCount;
  bytesPerPixel = newBitCount / 8;
  stride = newStride;
  padding = newStride - newWidth * bytesPerPixel;
  lastError = 0;
  return true;
}

bool XBitmap::Grow(int newWidth, int newHeight) {
  bool fits = !Empty() && bitCount == 32 && width >= newWidth && height >= newHeight;
  if (!fits && newWidth > 0 && newHeight > 0)
    Create(std::max(newWidth, width), std::max(newHeight, height), 32);
  return !Empty();
}

void XBitmap::Destroy() {
  if (bits != nullptr) SystemPixelMemory().Release(platform, bits);
  uint32_t error = lastError;
  platform = nullptr;
  bits = nullptr;
  stride = padding = width = height = bitCount = bytesPerPixel = 0;
  lastError = error;
}

void XBitmap::Swap(XBitmap& other) {
  std::swap(platform, other.platform);
  std::swap(stride, other.stride);
  std::swap(padding, other.padding);
  std::swap(width, other.width);
  std::swap(height, other.height);
  std::swap(bitCount, other.bitCount);
  std::swap(bytesPerPixel, other.bytesPerPixel);
  std::swap(bits, other.bits);
  std::swap(lastError, other.lastError);
}

void XBitmap::Fill(uint32_t colour) {
  if (Empty()) return;
  if (colour == 0) {
    std::memset(bits, 0, static_cast<size_t>(stride) * height);
    return;
  }
  uint8_t* first = Row(0);
  for (int x = 0; x < width; ++x) {
    uint8_t* p = first + x * bytesPerPixel;
    p[0] = static_cast<uint8_t>(colour >> 16);
    p[1] = static_cast<uint8_t>(colour >> 8);
    p[2] = static_cast<uint8_t>(colour);
    if (bytesPerPixel == 4) p[3] = static_cast<uint8_t>(colour >> 24);
  }
  for (int y = 1; y < height; ++y)
    std::memcpy(Row(y), first, static_cast<size_t>(width) * bytesPerPixel);
}

bool XBitmap::FillRect(const XRect& rect, uint32_t colour, uint8_t alpha) {
  if (Empty()) return false;
  int left = std::max(rect.left, 0), top = std::max(rect.top, 0);
  int right = std::min(rect.right, width), bottom = std::min(rect.bottom, height);
  if (left >= right || top >= bottom) return false;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      uint8_t* p = Pixel(x, y);
      p[0] = static_cast<uint8_t>(colour >> 16);
      p[1] = static_cast<uint8_t>(colour >> 8);
      p[2] = static_cast<uint8_t>(colour);
      if (bytesPerPixel == 4) p[3] = alpha;
    }
  }
  return true;
}

bool XBitmap::SetPixel(int x, int y, uint32_t colour) {
  if (Empty() || x < 0 || y < 0 || x >= width || y >= height) return false;
  uint8_t* p = Pixel(x, y);
  p[0] = static_cast<uint8_t>(colour >> 16);
  p[1] = static_cast<uint8_t>(colour >> 8);
  p[2] = static_cast<uint8_t>(colour);
  if (bytesPerPixel == 4) p[3] = static_cast<uint8_t>(colour >> 24);
  return true;
}

uint32_t XBitmap::GetPixel(int x, int y) const {
  if (Empty() || x < 0 || y < 0 || x >= width || y >= height) return 0xFFFFFFFFu;
  if (bytesPerPixel != 4) return 0;
  const uint8_t* p = Pixel(x, y);
  return uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16 | uint32_t(p[3]) << 24;
}

void XBitmap::HLine(int x0, int x1, int y, uint32_t colour) {
  if (Empty() || y < 0 || y >= height) return;
  if (x0 > x1) std::swap(x0, x1);
  for (int x = std::max(x0, 0); x <= std::min(x1, width - 1); ++x) SetPixel(x, y, colour);
}

void XBitmap::VLine(int x, int y0, int y1, uint32_t colour) {
  if (Empty() || x < 0 || x >= width) return;
  if (y0 > y1) std::swap(y0, y1);
  for (int y = std::max(y0, 0); y <= std::min(y1, height - 1); ++y) SetPixel(x, y, colour);
}

void XBitmap::FrameRect(const XRect& rect, uint32_t colour) {
  HLine(rect.left, rect.right, rect.top, colour);
  HLine(rect.left, rect.right, rect.bottom, colour);
  VLine(rect.left, rect.top, rect.bottom, colour);
  VLine(rect.right, rect.top, rect.bottom, colour);
}

bool XBitmap::ConvertDepth(int newBitCount) {
  if (Empty()) return false;
  if (newBitCount == bitCount) return true;
  if (!((bitCount == 32 && newBitCount == 24) || (bitCount == 24 && newBitCount == 32)))
    return false;
  XBitmap converted;
  if (!converted.Create(width, height, newBitCount)) {
    lastError = converted.lastError;
    return false;
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint8_t* from = Pixel(x, y);
      uint8_t* to = converted.Pixel(x, y);
      to[0] = from[0], to[1] = from[1], to[2] = from[2];
      if (newBitCount == 32) to[3] = 255;
    }
  }
  Swap(converted);
  return true;
}

}  // namespace qorin
