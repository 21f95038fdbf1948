// IXTextCanvas: where the skin's texts are measured and drawn. On Windows it is GDI (fonts
// created once per description, DrawText into the bitmap's DC); natively a fixed-pitch fake.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "bitmap.h"
#include "skin_values.h"

namespace qorin {

// A font description, also the key of the font caches.
struct XFontSpec {
  std::u16string face;
  double points = 9;
  bool bold = false;
  bool italic = false;
  bool underline = false;

  bool operator==(const XFontSpec&) const = default;
};

struct XSize {
  int width = 0, height = 0;
};

class IXTextCanvas {
 public:
  virtual ~IXTextCanvas() = default;
  // The extent of the text drawn with these DrawText flags; (0, 0) for an empty text.
  virtual XSize Measure(const XFontSpec& font, std::u16string_view text, uint32_t flags) = 0;
  // Draws the text in colour (0x00BBGGRR; negative: the system colour −colour) into rect of the
  // target, cut by clip when given. A 32-bit target keeps correct alpha: the text's pixels
  // become opaque where it covers them. False when the system's drawing failed.
  virtual bool Draw(XBitmap& target, const XFontSpec& font, XColour colour,
                    std::u16string_view text, const XRect& rect, uint32_t flags,
                    const XRect* clip) = 0;
};

}  // namespace qorin
