#include "bitmap_dc_win32.h"

namespace qorin {

HDC LockDC(XBitmap& bitmap) {
  XDibSection* section = DibOf(bitmap);
  if (bitmap.Empty() || section == nullptr) return nullptr;
  if (section->memoryDC == nullptr) {
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) return nullptr;
    section->previousObject = SelectObject(dc, section->bitmap);
    section->memoryDC = dc;
  }
  ++section->lockCount;
  return section->memoryDC;
}

void ReleaseMemoryDC(XDibSection& section) {
  if (section.memoryDC == nullptr) return;
  SelectObject(section.memoryDC, section.previousObject);
  DeleteDC(section.memoryDC);
  section.memoryDC = nullptr;
  section.previousObject = nullptr;
  section.lockCount = 0;
}

void UnlockDC(XBitmap& bitmap) {
  XDibSection* section = DibOf(bitmap);
  if (section == nullptr) return;
  if (section->lockCount > 0) --section->lockCount;
  if (section->lockCount == 0) ReleaseMemoryDC(*section);
}

bool DrawToDC(XBitmap& bitmap, HDC dc, int x, int y, int sourceX, int sourceY, int width,
              int height) {
  XDibSection* section = DibOf(bitmap);
  if (bitmap.Empty() || section == nullptr) return false;
  if (width == -1) width = bitmap.width;
  if (height == -1) height = bitmap.height;
  if (width <= 0 || height <= 0) return false;
  HDC source = section->memoryDC;
  HGDIOBJ previous = nullptr;
  bool temporary = source == nullptr;
  if (temporary) {
    source = CreateCompatibleDC(dc);
    previous = SelectObject(source, section->bitmap);
  }
  BOOL ok = BitBlt(dc, x, y, width, height, source, sourceX, sourceY, SRCCOPY);
  if (temporary) {
    SelectObject(source, previous);
    DeleteDC(source);
  }
  return ok != FALSE;
}

}  // namespace qorin
