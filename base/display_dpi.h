// The display DPI: one process-wide value, the screen's LOGPIXELSX read at start-up, 96 until
// then. Skin pixel values are scaled by MulDiv(value, DPI, 96). Code that lays out or resizes
// takes the DPI as a parameter; only the start-up sets this value and only the top level reads
// it to pass it on.
#pragma once

namespace qorin {

constexpr int kDefaultDpi = 96;

int DisplayDpi();
void SetDisplayDpi(int dpi);

// Rounded a × b / c, as the Windows MulDiv (-1 when c is 0 or the result does not fit).
int MulDiv(int a, int b, int c);
inline int ScaleForDpi(int value, int dpi) {
  return MulDiv(value, dpi, kDefaultDpi);
}

}  // namespace qorin
