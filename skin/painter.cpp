#include "painter.h"

#include "bitmap_copy.h"
#include "blur.h"
#include "control_base.h"
#include "paint_queue.h"

namespace qorin {
namespace {

bool Shown(const AControlBase& c) {
  return c.layout == nullptr || c.layout->Visible();
}

// The topmost child over the rectangle when it covers all of it and nothing shows through it.
AControlBase* CoveringChild(const AControlBase& parent, const XRect& rect) {
  int top = TopmostOver(parent, rect);
  if (top < 0) return nullptr;
  AControlBase* child = parent.children[top];
  child->HoldSeen();
  bool hides = child->opaque && child->alpha >= 255 && Contains(child->Seen(), rect);
  return hides ? child : nullptr;
}

// Copies the visible part of the control's own buffer onto the target, then its text.
void Paint(AControlBase& c, XBitmap& target, const XRect& clip, int ox, int oy,
           IXTextCanvas* canvas, bool fullOpacity, bool withText) {
  XRect visible = Intersection(c.Seen(), clip);
  if (IsEmpty(visible) || c.frozen) return;
  c.HoldSeen();
  if (c.blur > 0 && c.layout != nullptr) {
    XRect area = Offset(Intersection(Inset(c.rect, c.layout->padding), visible), -ox, -oy);
    if (!IsEmpty(area)) Blur(target, area, c.alpha * c.blur / 255);
  }
  const XBitmap& own = c.buffers[0];
  if (!own.Empty()) {
    int sx = visible.left - c.buffered.left, sy = visible.top - c.buffered.top;
    int dx = visible.left - ox, dy = visible.top - oy;
    if (own.bitCount != 32 || target.bitCount != 32) {
      Blit(target, dx, dy, own, sx, sy, visible.Width(), visible.Height(), false);
    } else if (c.alpha == 255 || fullOpacity) {
      BlitOver(target, dx, dy, own, sx, sy, visible.Width(), visible.Height());
    } else {
      BlitAlpha(target, dx, dy, own, sx, sy, visible.Width(), visible.Height(), c.alpha);
    }
  }
  if (withText && canvas != nullptr)
    c.PaintText(*canvas, target, Offset(visible, -ox, -oy), ox, oy);
}

// The text of an AlphaText control, blended onto the target with the control's alpha.
void PaintTextWithAlpha(AControlBase& c, XBitmap& target, const XRect& area, int ox, int oy,
                        IXTextCanvas& canvas) {
  XRect visible = Intersection(c.Seen(), area);
  if (IsEmpty(visible)) return;
  XBitmap text;
  if (!text.Create(visible.Width(), visible.Height(), 32)) return;
  c.PaintText(canvas, text, {0, 0, visible.Width(), visible.Height()}, visible.left, visible.top);
  BlitAlpha(target, visible.left - ox, visible.top - oy, text, 0, 0, -1, -1, c.alpha);
}

void DebugOutlines(const AControlBase& c, XBitmap& target, int ox, int oy) {
  XRect r = Offset(c.rect, -ox, -oy);
  r.right -= 1, r.bottom -= 1;
  XEdges m = c.layout != nullptr ? c.layout->margin : XEdges{};
  XEdges p = c.layout != nullptr ? c.layout->padding : XEdges{};
  target.FrameRect({r.left - m.left, r.top - m.top, r.right + m.right, r.bottom + m.bottom},
                   0x00FF00);
  target.FrameRect({r.left + p.left, r.top + p.top, r.right - p.right, r.bottom - p.bottom},
                   0xFF0000);
  target.FrameRect(r, 0x0000FF);
}

}  // namespace

void DrawSubtree(AControlBase& c, XBitmap& target, const XRect& clip, int ox, int oy,
                 IXTextCanvas* canvas, bool skinDebug) {
  if (IsEmpty(c.rect) || !Intersects(clip, c.rect) || !Shown(c)) return;
  if (c.alpha >= 255) {
    // Only the topmost child there, when it covers the clip and hides what lies under it.
    if (AControlBase* top = CoveringChild(c, clip); top != nullptr && !top->frozen) {
      DrawSubtree(*top, target, clip, ox, oy, canvas, skinDebug);
      return;
    }
    Paint(c, target, clip, ox, oy, canvas, false, true);
    for (AControlBase* child : c.children)
      DrawSubtree(*child, target, clip, ox, oy, canvas, skinDebug);
  } else {
    // The subtree is composed in the second buffer, whose origin lies at the area's corner.
    XBitmap& second = c.buffers[1];
    XRect area = Intersection(clip, c.rect);
    int w = area.Width(), h = area.Height();
    second.Grow(w, h);
    second.FillRect({0, 0, w, h}, 0, 0);
    Paint(c, second, area, area.left, area.top, canvas, true, !c.alphaText);
    for (AControlBase* child : c.children)
      DrawSubtree(*child, second, area, area.left, area.top, canvas, skinDebug);
    BlitAlpha(target, area.left - ox, area.top - oy, second, 0, 0, w, h, c.alpha);
    if (c.alphaText && canvas != nullptr) PaintTextWithAlpha(c, target, area, ox, oy, *canvas);
  }
  if (c.debug || skinDebug) DebugOutlines(c, target, ox, oy);
}

// A control that does not cover its whole rectangle needs what lies under it: the search
// stops at the innermost opaque control (or the root).
AControlBase* InnermostContaining(AControlBase& root, const XRect& rect) {
  AControlBase* top = CoveringChild(root, rect);
  return top != nullptr ? InnermostContaining(*top, rect) : &root;
}

}  // namespace qorin
