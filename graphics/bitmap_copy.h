// Copies between bitmaps. Source and destination rectangles are clipped against both bitmaps;
// a negative destination offset advances the source start by the same amount; width or height
// -1 mean the source's size. Alpha arithmetic is exact: skins were designed against it.
#pragma once

#include "bitmap.h"

namespace qorin {

bool Blit(XBitmap& target, int destX, int destY, const XBitmap& source, int sourceX, int sourceY,
          int width, int height, bool blend);
bool BlitOver(XBitmap& target, int destX, int destY, const XBitmap& source, int sourceX,
              int sourceY, int width, int height);
bool BlitAlpha(XBitmap& target, int destX, int destY, const XBitmap& source, int sourceX,
               int sourceY, int width, int height, int alpha);
bool CrossFade(XBitmap& target, const XBitmap& first, const XBitmap& second, int weight);
bool Tile(XBitmap& target, const XRect& dest, const XBitmap& source, int sourceX, int sourceY,
          int tileWidth, int tileHeight, bool blend);
bool Stretch(XBitmap& target, int destX, int destY, int destWidth, int destHeight,
             const XBitmap& source, int sourceX, int sourceY, int sourceWidth, int sourceHeight);
bool ScaleDouble(XBitmap& target, const XBitmap& source);

}  // namespace qorin
