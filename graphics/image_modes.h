// Drawing an image into a control-sized target by the skin's ImageType, the nine- and
// three-slice frames, rounded frames and corners, and the DPI resize of skin images.
#pragma once

#include "bitmap.h"

namespace qorin {

enum XImageMode : int {
  kImageDefault = 0,
  kImageCenter = 1,
  kImageTile = 2,
  kImageStretch = 3,
  kImageFrame = 4,
  kImageHFrame = 5,
  kImageVFrame = 6,
  kImageFillFrame = 7,
  kImageLeftCenter = 8,
};

// How an image is cut when it is resized: a four-state strip, or slices of the frame modes.
enum XResizeKind : int {
  kResizePlain = 0,
  kResizeStrip = 1,
  kResizeFrame = 2,
  kResizeHFrame = 3,
  kResizeVFrame = 4
};

// Draws over destRect, which may reach far beyond the target: only what falls on the target
// costs time. False for an unknown mode.
bool DrawImage(int mode, const XBitmap& image, const XRect& destRect, XBitmap& target);
// As DrawImage over destRect, but only part of the drawing (target coordinates) reaches the
// target, replacing its pixels there; work holds the whole drawing meanwhile.
bool DrawImagePart(int mode, const XBitmap& image, const XRect& destRect, const XRect& part,
                   XBitmap& target, XBitmap& work);
void DrawFrame(XBitmap& target, const XRect& dest, const XBitmap& image, const XRect& source,
               bool fill);
void DrawHFrame(XBitmap& target, const XBitmap& image, const XRect& source, const XRect& dest);
void DrawVFrame(XBitmap& target, const XBitmap& image, const XRect& source, const XRect& dest);

void RoundFrame(XBitmap& target, const XRect& rect, int radius, uint32_t colour);
void ClipCorners(XBitmap& target, const XRect& rect, int radius);

// The image resized for a DPI (96 keeps it); false when the new bitmap cannot be made.
bool ResizeForDpi(const XBitmap& image, int kind, int dpi, XBitmap* resized);

}  // namespace qorin
