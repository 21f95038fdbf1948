#include "image_modes.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "bitmap_copy.h"

namespace qorin {
namespace {

struct Offset {
  int dx, dy;
};

// Corner pixels of the rounded frame, per radius (5 to 7 draw as 4).
const std::vector<Offset>& FrameCorner(int radius) {
  static const std::vector<Offset> kNone,
      k2 = {{1, 1}}, k3 = {{1, 2}, {2, 1}}, k4 = {{1, 2}, {2, 1}, {1, 3}, {3, 1}},
      k8 = {{7, 0}, {0, 7}, {6, 0}, {0, 6}, {5, 0}, {0, 5}, {4, 1}, {1, 4}, {3, 2}, {2, 3}, {2, 2}};
  switch (radius) {
    case 2: return k2;
    case 3: return k3;
    case 4: return k4;
    case 8: return k8;
    default: return kNone;
  }
}

// Pixels cleared by ClipCorners, per radius.
const std::vector<Offset>& ClearedCorner(int radius) {
  static const std::vector<Offset> kNone,
      k1 = {{0, 0}}, k2 = {{0, 0}, {0, 1}, {1, 0}}, k3 = {{0, 0}, {0, 1}, {1, 0}, {0, 2}, {2, 0}},
      k4 = {{0, 0}, {0, 1}, {1, 0}, {0, 2}, {2, 0}, {0, 3}, {3, 0}, {1, 1}},
      k8 = {{0, 0}, {0, 1}, {1, 0}, {0, 2}, {2, 0}, {0, 3}, {3, 0},
            {1, 1}, {0, 4}, {4, 0}, {1, 2}, {2, 1}, {1, 3}, {3, 1}};
  switch (radius) {
    case 1: return k1;
    case 2: return k2;
    case 3: return k3;
    case 4: return k4;
    case 8: return k8;
    default: return kNone;
  }
}

int CornerRadius(int radius) {
  return radius >= 5 && radius <= 7 ? 4 : radius;
}

// (dx, dy) from each of the four corner points, mirrored inwards.
template <typename Put>
void Mirror(const XRect& rect, const std::vector<Offset>& offsets, Put put) {
  for (const Offset& o : offsets) {
    put(rect.left + o.dx, rect.top + o.dy);
    put(rect.right - o.dx, rect.top + o.dy);
    put(rect.left + o.dx, rect.bottom - o.dy);
    put(rect.right - o.dx, rect.bottom - o.dy);
  }
}

XRect Area(int left, int top, int right, int bottom) {
  return {left, top, right, bottom};
}

}  // namespace

void RoundFrame(XBitmap& target, const XRect& rect, int radius, uint32_t colour) {
  radius = CornerRadius(radius);
  if (radius == 0 || rect.Width() < 2 * radius || rect.Height() < 2 * radius) {
    target.FrameRect(rect, colour);
    return;
  }
  target.HLine(rect.left + radius, rect.right - radius, rect.top, colour);
  target.HLine(rect.left + radius, rect.right - radius, rect.bottom, colour);
  target.VLine(rect.left, rect.top + radius, rect.bottom - radius, colour);
  target.VLine(rect.right, rect.top + radius, rect.bottom - radius, colour);
  Mirror(rect, FrameCorner(radius), [&](int x, int y) { target.SetPixel(x, y, colour); });
}

void ClipCorners(XBitmap& target, const XRect& rect, int radius) {
  radius = CornerRadius(radius);
  if (radius <= 0 || rect.Width() < 2 * radius || rect.Height() < 2 * radius) return;
  Mirror(rect, ClearedCorner(radius), [&](int x, int y) { target.SetPixel(x, y, 0); });
}

void DrawHFrame(XBitmap& target, const XBitmap& image, const XRect& source, const XRect& dest) {
  int sw = source.Width(), dw = dest.Width(), sh = source.Height();
  if (sw / 2 >= dw) {
    int l = dw / 2 + 1;
    Blit(target, dest.left, dest.top, image, source.left, source.top, l, sh, false);
    Blit(target, dest.right - l, dest.top, image, source.right - l, source.top, l, sh, false);
    return;
  }
  int c = (sw + 1) / 3;
  Tile(target, Area(dest.left, dest.top, dest.left + c, dest.bottom), image, source.left,
       source.top, c, sh, false);
  Tile(target, Area(dest.right - c, dest.top, dest.right, dest.bottom), image, source.right - c,
       source.top, c, sh, false);
  Tile(target, Area(dest.left + c, dest.top, dest.right - c, dest.bottom), image, source.left + c,
       source.top, c, sh, false);
}

void DrawVFrame(XBitmap& target, const XBitmap& image, const XRect& source, const XRect& dest) {
  int sh = source.Height(), dh = dest.Height(), sw = source.Width();
  if (sh / 2 >= dh) {
    int l = dh / 2 + 1;
    Blit(target, dest.left, dest.top, image, source.left, source.top, sw, l, false);
    Blit(target, dest.left, dest.bottom - l, image, source.left, source.bottom - l, sw, l, false);
    return;
  }
  int c = sh / 3;
  Tile(target, Area(dest.left, dest.top, dest.right, dest.top + c), image, source.left, source.top,
       sw, c, false);
  Tile(target, Area(dest.left, dest.bottom - c, dest.right, dest.bottom), image, source.left,
       source.bottom - c, sw, c, false);
  Tile(target, Area(dest.left, dest.top + c, dest.right, dest.bottom - c), image, source.left,
       source.top + c, sw, c, false);
}

void DrawFrame(XBitmap& target, const XRect& dest, const XBitmap& image, const XRect& source,
               bool fill) {
  if (fill && source.Height() == dest.Height()) {
    DrawHFrame(target, image, source, dest);
    return;
  }
  int cw = std::min(dest.Width(), source.Width()) / 3;
  int ch = std::min(dest.Height(), source.Height()) / 3;
  if (cw <= 0 || ch <= 0) return;
  const XRect& d = dest;
  const XRect& s = source;
  auto piece = [&](XRect area, int sx, int sy) {
    Tile(target, area, image, sx, sy, cw, ch, false);
  };
  piece(Area(d.left + cw, d.top, d.right - cw, d.top + ch), s.left + cw, s.top);
  piece(Area(d.left + cw, d.bottom - ch, d.right - cw, d.bottom), s.left + cw, s.bottom - ch);
  piece(Area(d.left, d.top + ch, d.left + cw, d.bottom - ch), s.left, s.top + ch);
  piece(Area(d.right - cw, d.top + ch, d.right, d.bottom - ch), s.right - cw, s.top + ch);
  piece(Area(d.left, d.top, d.left + cw, d.top + ch), s.left, s.top);
  piece(Area(d.left, d.bottom - ch, d.left + cw, d.bottom), s.left, s.bottom - ch);
  piece(Area(d.right - cw, d.top, d.right, d.top + ch), s.right - cw, s.top);
  piece(Area(d.right - cw, d.bottom - ch, d.right, d.bottom), s.right - cw, s.bottom - ch);
  if (fill)
    piece(Area(d.left + cw, d.top + ch, d.right - cw, d.bottom - ch), s.left + cw, s.top + ch);
}

bool DrawImage(int mode, const XBitmap& image, const XRect& destRect, XBitmap& target) {
  int x = destRect.left, y = destRect.top, W = destRect.Width(), H = destRect.Height();
  int w = image.width, h = image.height;
  XRect whole = Area(0, 0, w, h);
  switch (mode) {
    case kImageDefault:
      return Blit(target, x, y, image, 0, 0, std::min(w, W), std::min(h, H), false);
    case kImageCenter:
      return Blit(target, x + (W - w) / 2, y + (H - h) / 2, image, 0, 0, -1, -1, false);
    case kImageTile: return Tile(target, destRect, image, 0, 0, -1, -1, false);
    case kImageStretch: return Stretch(target, x, y, W, H, image, 0, 0, w, h);
    case kImageFrame: DrawFrame(target, destRect, image, whole, false); return true;
    case kImageHFrame:
      DrawHFrame(target, image, whole, Area(x, y, x + W, y + std::min(h, H)));
      return true;
    case kImageVFrame:
      DrawVFrame(target, image, whole, Area(x, y, x + std::min(w, W), y + H));
      return true;
    case kImageFillFrame: DrawFrame(target, destRect, image, whole, true); return true;
    case kImageLeftCenter: return Blit(target, x, y + (H - h) / 2, image, 0, 0, -1, -1, false);
    default: return false;
  }
}

bool DrawImagePart(int mode, const XBitmap& image, const XRect& destRect, const XRect& part,
                   XBitmap& target, XBitmap& work) {
  XRect shown = Intersection(part, {0, 0, target.width, target.height});
  if (IsEmpty(shown) || !work.Grow(target.width, target.height)) return false;
  work.FillRect(shown, 0, 0);
  if (!DrawImage(mode, image, destRect, work)) return false;
  return Blit(target, shown.left, shown.top, work, shown.left, shown.top, shown.Width(),
              shown.Height(), false);
}

bool ResizeForDpi(const XBitmap& image, int kind, int dpi, XBitmap* resized) {
  int w = image.width, h = image.height;
  int W = MulDiv(w, dpi, 96), H = MulDiv(h, dpi, 96);
  if (kind == kResizeStrip && w % 4 == 0) W -= W % 4;
  if (kind == kResizeFrame && w % 3 == 0 && h % 3 == 0) W -= W % 3, H -= H % 3;
  if (kind == kResizeHFrame && w % 3 == 0) W -= W % 3;
  if (kind == kResizeVFrame && h % 3 == 0) H -= H % 3;
  if (!resized->Create(W, H, image.bitCount)) return false;
  if (dpi == 192) return ScaleDouble(*resized, image);
  if (kind == kResizeStrip) {
    for (int n = 0; n < 4; ++n)
      Stretch(*resized, n * (W / 4), 0, W / 4, H, image, n * (w / 4), 0, w / 4, h);
    return true;
  }
  return Stretch(*resized, 0, 0, W, H, image, 0, 0, w, h);
}

}  // namespace qorin
