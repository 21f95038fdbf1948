// The Windows-only side of XBitmap: a memory device context with the DIB section selected, and
// copies to other device contexts.
#pragma once

#include <windows.h>

#include "bitmap.h"

namespace qorin {

// Null for an empty bitmap; the first lock creates the memory DC.
HDC LockDC(XBitmap& bitmap);
void UnlockDC(XBitmap& bitmap);
// Plain copy of a region; width or height -1 mean the bitmap's own.
bool DrawToDC(XBitmap& bitmap, HDC dc, int x, int y, int sourceX, int sourceY, int width,
              int height);
// Releases the memory DC whatever the lock count (Destroy does this too).
void ReleaseDC(XBitmap& bitmap);

}  // namespace qorin
