#include "bitmap_dc_win32.h"

namespace qorin {

HDC LockDC(XBitmap& bitmap) {
  if (bitmap.Empty()) return nullptr;
  if (bitmap.memoryDC == nullptr) {
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) return nullptr;
    bitmap.previousObject = SelectObject(dc, static_cast<HBITMAP>(bitmap.handle));
    bitmap.memoryDC = dc;
  }
  ++bitmap.dcLockCount;
  return static_cast<HDC>(bitmap.memoryDC);
}

void ReleaseDC(XBitmap& bitmap) {
  if (bitmap.memoryDC == nullptr) return;
  SystemPixelMemory().ReleaseContext(bitmap.memoryDC, bitmap.previousObject);
  bitmap.memoryDC = nullptr;
  bitmap.previousObject = nullptr;
  bitmap.dcLockCount = 0;
}

void UnlockDC(XBitmap& bitmap) {
  if (bitmap.dcLockCount > 0) --bitmap.dcLockCount;
  if (bitmap.dcLockCount == 0) ReleaseDC(bitmap);
}

bool DrawToDC(XBitmap& bitmap, HDC dc, int x, int y, int sourceX, int sourceY, int width,
              int height) {
  if (bitmap.Empty()) return false;
  if (width == -1) width = bitmap.width;
  if (height == -1) height = bitmap.height;
  if (width <= 0 || height <= 0) return false;
  HDC source = static_cast<HDC>(bitmap.memoryDC);
  HGDIOBJ previous = nullptr;
  bool temporary = source == nullptr;
  if (temporary) {
    source = CreateCompatibleDC(dc);
    previous = SelectObject(source, static_cast<HBITMAP>(bitmap.handle));
  }
  BOOL ok = BitBlt(dc, x, y, width, height, source, sourceX, sourceY, SRCCOPY);
  if (temporary) {
    SelectObject(source, previous);
    DeleteDC(source);
  }
  return ok != FALSE;
}

}  // namespace qorin
