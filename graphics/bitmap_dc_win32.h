// The Windows-only side of XBitmap: its pixels are a DIB section, which a memory device context
// selects while the bitmap is locked for GDI, and copies to other device contexts.
#pragma once

#include <windows.h>

#include "bitmap.h"

namespace qorin {

// What XBitmap::platform points at on Windows; made and freed by the pixel memory.
struct XDibSection {
  HBITMAP bitmap = nullptr;
  HDC memoryDC = nullptr;  // while locked
  HGDIOBJ previousObject = nullptr;
  int lockCount = 0;
};

inline XDibSection* DibOf(const XBitmap& bitmap) {
  return static_cast<XDibSection*>(bitmap.platform);
}

// Null for an empty bitmap; the first lock creates the memory DC.
HDC LockDC(XBitmap& bitmap);
void UnlockDC(XBitmap& bitmap);
// Plain copy of a region; width or height -1 mean the bitmap's own.
bool DrawToDC(XBitmap& bitmap, HDC dc, int x, int y, int sourceX, int sourceY, int width,
              int height);
// Releases the memory DC whatever the lock count (destroying the bitmap does this too).
void ReleaseMemoryDC(XDibSection& section);

}  // namespace qorin
