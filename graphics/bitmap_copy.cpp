#include "bitmap_copy.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace qorin {
namespace {

struct CopyArea {
  int destX, destY, sourceX, sourceY, width, height;
};

bool Clip(const XBitmap& target, const XBitmap& source, CopyArea& a) {
  if (target.Empty() || source.Empty()) return false;
  if (a.width == -1) a.width = source.width;
  if (a.height == -1) a.height = source.height;
  if (a.destX < 0) a.sourceX -= a.destX, a.width += a.destX, a.destX = 0;
  if (a.destY < 0) a.sourceY -= a.destY, a.height += a.destY, a.destY = 0;
  if (a.sourceX < 0) a.destX -= a.sourceX, a.width += a.sourceX, a.sourceX = 0;
  if (a.sourceY < 0) a.destY -= a.sourceY, a.height += a.sourceY, a.sourceY = 0;
  a.width = std::min({a.width, target.width - a.destX, source.width - a.sourceX});
  a.height = std::min({a.height, target.height - a.destY, source.height - a.sourceY});
  return a.width > 0 && a.height > 0;
}

uint8_t Mix(uint8_t target, uint8_t source, unsigned alpha) {
  return static_cast<uint8_t>((target * (255 - alpha) + source * alpha) >> 8);
}

// Calls pixel(target, source) for every pixel pair of the clipped area.
template <typename PixelOp>
bool ForEachPixel(XBitmap& target, const XBitmap& source, CopyArea a, PixelOp pixel) {
  if (!Clip(target, source, a)) return false;
  for (int y = 0; y < a.height; ++y) {
    uint8_t* to = target.Pixel(a.destX, a.destY + y);
    const uint8_t* from = source.Pixel(a.sourceX, a.sourceY + y);
    for (int x = 0; x < a.width; ++x, to += target.bytesPerPixel, from += source.bytesPerPixel)
      pixel(to, from);
  }
  return true;
}

}  // namespace

bool Blit(XBitmap& target, int destX, int destY, const XBitmap& source, int sourceX, int sourceY,
          int width, int height, bool blend) {
  CopyArea area{destX, destY, sourceX, sourceY, width, height};
  if (source.bitCount == 32 && target.bitCount == 24) {
    return ForEachPixel(target, source, area, [](uint8_t* to, const uint8_t* from) {
      unsigned alpha = from[3];
      if (alpha == 255) {
        to[0] = from[0], to[1] = from[1], to[2] = from[2];
      } else if (alpha != 0) {
        for (int c = 0; c < 3; ++c) to[c] = Mix(to[c], from[c], alpha);
      }
    });
  }
  if (source.bitCount == 24 && target.bitCount == 32) {
    return ForEachPixel(target, source, area, [](uint8_t* to, const uint8_t* from) {
      to[0] = from[0], to[1] = from[1], to[2] = from[2], to[3] = 255;
    });
  }
  if (source.bitCount == 32 && target.bitCount == 32 && blend) {
    return ForEachPixel(target, source, area, [](uint8_t* to, const uint8_t* from) {
      unsigned alpha = from[3];
      if (alpha == 255) {
        std::memcpy(to, from, 4);
      } else if (alpha != 0) {
        for (int c = 0; c < 3; ++c) to[c] = Mix(to[c], from[c], alpha);
        to[3] = static_cast<uint8_t>(std::min(255u, to[3] + alpha));
      }
    });
  }
  if (source.bitCount != target.bitCount) return false;
  if (!Clip(target, source, area)) return false;
  for (int y = 0; y < area.height; ++y) {
    std::memcpy(target.Pixel(area.destX, area.destY + y),
                source.Pixel(area.sourceX, area.sourceY + y),
                static_cast<size_t>(area.width) * target.bytesPerPixel);
  }
  return true;
}

bool BlitOver(XBitmap& target, int destX, int destY, const XBitmap& source, int sourceX,
              int sourceY, int width, int height) {
  if (source.bitCount != 32 || target.bitCount != 32) return false;
  return ForEachPixel(target, source, {destX, destY, sourceX, sourceY, width, height},
                      [](uint8_t* to, const uint8_t* from) {
                        unsigned alpha = from[3];
                        if (alpha == 255) {
                          to[0] = from[0], to[1] = from[1], to[2] = from[2], to[3] = 255;
                        } else if (alpha != 0) {
                          for (int c = 0; c < 3; ++c) to[c] = Mix(to[c], from[c], alpha);
                        }
                      });
}

bool BlitAlpha(XBitmap& target, int destX, int destY, const XBitmap& source, int sourceX,
               int sourceY, int width, int height, int alpha) {
  if (source.bitCount != 32 || target.bitCount != 32) return false;
  unsigned opacity = static_cast<unsigned>(std::clamp(alpha, 0, 255));
  return ForEachPixel(target, source, {destX, destY, sourceX, sourceY, width, height},
                      [opacity](uint8_t* to, const uint8_t* from) {
                        unsigned w = (from[3] * opacity) >> 8;
                        for (int c = 0; c < 3; ++c)
                          to[c] = static_cast<uint8_t>((from[c] * w + to[c] * (255 - w)) >> 8);
                      });
}

bool CrossFade(XBitmap& target, const XBitmap& first, const XBitmap& second, int weight) {
  if (target.bitCount != 32 || first.bitCount != 32 || second.bitCount != 32) return false;
  if (first.width != second.width || first.height != second.height) return false;
  if (weight >= 255) return Blit(target, 0, 0, first, 0, 0, -1, -1, false);
  if (weight <= 0) return Blit(target, 0, 0, second, 0, 0, -1, -1, false);
  unsigned w = static_cast<unsigned>(weight), v = 255 - w;
  int width = std::min(target.width, first.width), height = std::min(target.height, first.height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* to = target.Pixel(x, y);
      const uint8_t* a = first.Pixel(x, y);
      const uint8_t* b = second.Pixel(x, y);
      if (b[3] == 0) {
        to[0] = a[0], to[1] = a[1], to[2] = a[2], to[3] = static_cast<uint8_t>((w * a[3]) >> 8);
      } else if (a[3] == 0) {
        to[0] = b[0], to[1] = b[1], to[2] = b[2], to[3] = static_cast<uint8_t>((b[3] * v) >> 8);
      } else {
        for (int c = 0; c < 4; ++c) to[c] = static_cast<uint8_t>((v * b[c] + w * a[c]) >> 8);
      }
    }
  }
  return true;
}

bool Tile(XBitmap& target, const XRect& dest, const XBitmap& source, int sourceX, int sourceY,
          int tileWidth, int tileHeight, bool blend) {
  if (tileWidth == -1) tileWidth = source.width;
  if (tileHeight == -1) tileHeight = source.height;
  if (sourceX == -1) sourceX = 0;
  if (sourceY == -1) sourceY = 0;
  if (tileWidth <= 0 || tileHeight <= 0) return false;
  // Tiles wholly before the target's edge or past it are skipped, not clipped one by one.
  int left = dest.left + std::max(0, -dest.left) / tileWidth * tileWidth;
  int top = dest.top + std::max(0, -dest.top) / tileHeight * tileHeight;
  int right = std::min(dest.right, target.width), bottom = std::min(dest.bottom, target.height);
  bool drew = false;
  for (int x = left; x < right; x += tileWidth) {
    for (int y = top; y < bottom; y += tileHeight) {
      drew |= Blit(target, x, y, source, sourceX, sourceY, std::min(tileWidth, dest.right - x),
                   std::min(tileHeight, dest.bottom - y), blend);
    }
  }
  return drew;
}

bool Stretch(XBitmap& target, int destX, int destY, int destWidth, int destHeight,
             const XBitmap& source, int sourceX, int sourceY, int sourceWidth, int sourceHeight) {
  if (target.Empty() || source.Empty() || target.bitCount != source.bitCount) return false;
  if (destWidth == -1) destWidth = target.width;
  if (destHeight == -1) destHeight = target.height;
  if (sourceWidth == -1) sourceWidth = source.width;
  if (sourceHeight == -1) sourceHeight = source.height;
  if (sourceWidth < 2 || sourceHeight < 2 || destWidth < 1 || destHeight < 1) return false;
  if (sourceWidth == destWidth && sourceHeight == destHeight) {
    return Blit(target, destX, destY, source, sourceX, sourceY, sourceWidth, sourceHeight, false);
  }
  float stepX = destWidth == 1 ? static_cast<float>(sourceWidth)
                               : float(sourceWidth - 1) / float(destWidth - 1);
  float stepY = destHeight == 1 ? static_cast<float>(sourceHeight)
                                : float(sourceHeight - 1) / float(destHeight - 1);
  // Only the columns and rows that fall on the target are computed.
  int firstX = std::max(0, -destX), endX = std::min(destWidth, target.width - destX);
  int firstY = std::max(0, -destY), endY = std::min(destHeight, target.height - destY);
  if (firstX >= endX || firstY >= endY) return true;
  std::vector<int> baseColumn;
  std::vector<float> weightX, restX;
  try {
    baseColumn.resize(endX - firstX);
    weightX.resize(endX - firstX);
    restX.resize(endX - firstX);
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (int i = firstX; i < endX; ++i) {
    float fx = static_cast<float>(i) * stepX;
    int whole = static_cast<int>(fx);
    baseColumn[i - firstX] = sourceX + whole;
    weightX[i - firstX] = fx - static_cast<float>(whole);
    restX[i - firstX] = 1.0f - weightX[i - firstX];
  }
  const int bpp = source.bytesPerPixel;
  // The last byte of the source's last pixel: neighbours beyond it are replaced.
  const uint8_t* lastPixel = source.Pixel(source.width - 1, source.height - 1);
  for (int j = firstY; j < endY; ++j) {
    int y = destY + j;
    float fy = static_cast<float>(j) * stepY;
    int whole = static_cast<int>(fy);
    int baseRow = std::min(whole, sourceHeight - 1) + sourceY;
    float wy = fy - static_cast<float>(whole);
    for (int i = firstX; i < endX; ++i) {
      int x = destX + i;
      const uint8_t* p00 = source.bits + static_cast<intptr_t>(baseRow) * source.stride +
                           baseColumn[i - firstX] * bpp;
      if (p00 > lastPixel || p00 < source.bits) return false;
      const uint8_t* p10 = p00 + bpp;
      const uint8_t* p01 = p00 + source.stride;
      const uint8_t* p11 = p01 + bpp;
      if (p10 > lastPixel) p10 = p00;
      if (p01 > lastPixel) p01 = p00;
      if (p11 > lastPixel) p11 = p00;
      float wx = weightX[i - firstX], rx = restX[i - firstX], ry = 1.0f - wy;
      uint8_t* to = target.Pixel(x, y);
      for (int c = 0; c < bpp; ++c) {
        to[c] = static_cast<uint8_t>(p00[c] * rx * ry + p10[c] * wx * ry + p01[c] * rx * wy +
                                     p11[c] * wx * wy);
      }
    }
  }
  return true;
}

bool ScaleDouble(XBitmap& target, const XBitmap& source) {
  if (target.Empty() || source.Empty() || target.bitCount != source.bitCount) return false;
  int width = std::min(source.width, target.width / 2),
      height = std::min(source.height, target.height / 2);
  int bpp = source.bytesPerPixel;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint8_t* from = source.Pixel(x, y);
      for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) std::memcpy(target.Pixel(2 * x + dx, 2 * y + dy), from, bpp);
      }
    }
  }
  return true;
}

}  // namespace qorin
