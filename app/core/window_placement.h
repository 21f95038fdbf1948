// Where the installer's window goes on the work area of its monitor (screen coordinates).
#pragma once

#include "rect.h"

namespace qorin {

// Moved back into the area along each axis where it sticks out; along an axis longer than the
// area it takes the area's extent.
XRect FitIntoArea(const XRect& window, const XRect& area);
// Centred on the area, its size kept.
XRect CentredOn(const XRect& window, const XRect& area);

}  // namespace qorin
