// A Gaussian blur approximated by three box blurs (text shadows and blurred controls).
#pragma once

#include "bitmap.h"

namespace qorin {

// The three box widths for a standard deviation (the boxes-for-Gauss rule).
void GaussBoxes(double sigma, int widths[3]);

// Blurs the colour bytes inside area with standard deviation radius; borders extend outward.
// Skipped when the radius is not below half the area's width and half its height.
void Blur(XBitmap& bitmap, const XRect& area, int radius);

}  // namespace qorin
