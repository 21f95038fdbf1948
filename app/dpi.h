// The display DPI: one process-wide value read at start-up, 96 until then. Skin pixel values are
// scaled by MulDiv(value, DPI, 96).
#pragma once

namespace qorin {

struct XDpi {
  int value = 96;
};

XDpi& GlobalDpi();

}  // namespace qorin
