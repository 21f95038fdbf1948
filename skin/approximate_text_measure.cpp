#include "approximate_text_measure.h"

#include <algorithm>

#include "display_dpi.h"

namespace qorin {

XSize XApproximateTextMeasure::Measure(std::u16string_view text, const XFontSpec& font,
                                       int maxWidth) {
  used_ = true;
  int em = MulDiv(static_cast<int>(font.points * 10 + 0.5), dpi_, 720);
  int charWidth = std::max(1, (em + 1) / 2), lineHeight = em + em / 4;
  int lines = 0, widest = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(u'\n', start);
    if (end == std::u16string_view::npos) end = text.size();
    int width = static_cast<int>(end - start) * charWidth;
    int rows = maxWidth > 0 ? std::max(1, (width + maxWidth - 1) / maxWidth) : 1;
    widest = std::max(widest, maxWidth > 0 ? std::min(width, maxWidth) : width);
    lines += rows;
    start = end + 1;
  }
  return {widest, lines * lineHeight};
}

}  // namespace qorin
