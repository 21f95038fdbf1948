// The full-screen handler's decisions for a frameless window, apart from its messages: the style
// of each mode, when the mode changes, and the pixel a maximised window gives up so that an
// auto-hidden taskbar can still be reached.
#pragma once

#include <cstdint>

#include "rect.h"

namespace qorin {

enum XScreenMode : int { kModeNormal = 0, kModeFullScreen = 1, kModeMaximised = 2 };

// Normal and maximised: the overlapped window's frame bits, WS_POPUP cleared; full screen:
// WS_POPUP, the frame bits cleared.
uint32_t ScreenModeStyle(uint32_t style, int mode);
// The mode after a window position change (a minimised window keeps its mode).
int NextScreenMode(int mode, bool maximised, bool minimised);
// A maximised window's client rectangle beside an auto-hidden taskbar: one pixel given up on the
// taskbar's edge, so that the pointer can still reach the screen's edge and show it.
XRect FreeTaskbarEdge(XRect client, const XRect& taskbar);

}  // namespace qorin
