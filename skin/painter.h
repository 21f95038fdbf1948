// Composition of the control tree into the window's root buffer: each control's back buffer
// (rendered by the control) is copied or blended onto the target, clipped by its ancestors and
// the damaged rectangle; translucent controls go through their second buffer first.
#pragma once

#include "bitmap.h"

namespace qorin {

class AControlBase;
class IXTextCanvas;

// Draws the control and its subtree into target clipped to clip (window coordinates); the
// target's origin lies at (originX, originY) of the window.
void DrawSubtree(AControlBase& control, XBitmap& target, const XRect& clip, int originX,
                 int originY, IXTextCanvas* canvas, bool skinDebug);

// The innermost shown control whose rectangle contains the rectangle (the root at least).
AControlBase* InnermostContaining(AControlBase& root, const XRect& rect);

}  // namespace qorin
