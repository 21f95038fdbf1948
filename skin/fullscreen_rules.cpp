#include "fullscreen_rules.h"

namespace qorin {

uint32_t ScreenModeStyle(uint32_t style, int mode) {
  if (mode == kModeFullScreen) return (style & 0xFF30FFFFu) | 0x80000000u;
  return (style & 0x7F30FFFFu) | 0x00CF0000u;
}

int NextScreenMode(int mode, bool maximised, bool minimised) {
  if (minimised) return mode;
  if (!maximised && (mode == kModeFullScreen || mode == kModeMaximised)) return kModeNormal;
  if (maximised && mode == kModeNormal) return kModeMaximised;
  return mode;
}

XRect FreeTaskbarEdge(XRect client, const XRect& taskbar) {
  bool tall = taskbar.Height() > taskbar.Width();
  if (taskbar.top == taskbar.left) {
    (tall ? client.left : client.top) += 1;
  } else if (taskbar.left < taskbar.top) {
    client.bottom -= 1;
  } else {
    client.right -= 1;
  }
  return client;
}

}  // namespace qorin
