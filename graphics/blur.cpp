#include "blur.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qorin {
namespace {

// One box pass of the given radius along rows (horizontal) or columns, over B, G and R.
void BoxPass(XBitmap& bitmap, const XRect& area, int radius, bool horizontal) {
  int length = horizontal ? area.Width() : area.Height();
  int lines = horizontal ? area.Height() : area.Width();
  int width = 2 * radius + 1;
  std::vector<uint8_t> line(static_cast<size_t>(length) * 3);
  for (int l = 0; l < lines; ++l) {
    auto at = [&](int i) {
      return horizontal ? bitmap.Pixel(area.left + i, area.top + l)
                        : bitmap.Pixel(area.left + l, area.top + i);
    };
    for (int i = 0; i < length; ++i) std::copy_n(at(i), 3, &line[static_cast<size_t>(i) * 3]);
    for (int c = 0; c < 3; ++c) {
      int sum = 0;
      for (int k = -radius; k <= radius; ++k)
        sum += line[static_cast<size_t>(std::clamp(k, 0, length - 1)) * 3 + c];
      for (int i = 0; i < length; ++i) {
        at(i)[c] = static_cast<uint8_t>((sum + width / 2) / width);  // rounded to nearest
        int leaving = std::clamp(i - radius, 0, length - 1),
            entering = std::clamp(i + radius + 1, 0, length - 1);
        sum += line[static_cast<size_t>(entering) * 3 + c] -
               line[static_cast<size_t>(leaving) * 3 + c];
      }
    }
  }
}

}  // namespace

void GaussBoxes(double sigma, int widths[3]) {
  double ideal = std::sqrt(12.0 * sigma * sigma / 3.0 + 1.0);
  int lower = static_cast<int>(std::floor(ideal));
  if (lower % 2 == 0) --lower;
  int upper = lower + 2;
  double m =
      (12.0 * sigma * sigma - 3.0 * lower * lower - 12.0 * lower - 9.0) / (-4.0 * lower - 4.0);
  int boxesLower = static_cast<int>(std::lround(m));
  for (int i = 0; i < 3; ++i) widths[i] = i < boxesLower ? lower : upper;
}

void Blur(XBitmap& bitmap, const XRect& requested, int radius) {
  if (bitmap.Empty() || radius <= 0) return;
  XRect area{std::max(requested.left, 0), std::max(requested.top, 0),
             std::min(requested.right, bitmap.width), std::min(requested.bottom, bitmap.height)};
  if (area.Width() <= 0 || area.Height() <= 0) return;
  if (!(radius < area.Width() / 2 && radius < area.Height() / 2)) return;
  int widths[3];
  GaussBoxes(radius, widths);
  for (int width : widths) {
    BoxPass(bitmap, area, (width - 1) / 2, true);
    BoxPass(bitmap, area, (width - 1) / 2, false);
  }
}

}  // namespace qorin
