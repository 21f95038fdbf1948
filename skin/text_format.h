// The text attributes that become drawing flags and shadow lists: TextFormat keywords (the
// Windows DrawText flags of the same names, mirrored for right-to-left skins) and TextShadow.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "skin_values.h"

namespace qorin {

// The DrawText flags the skin uses.
enum XTextFlags : uint32_t {
  kDtTop = 0x0,
  kDtCenter = 0x1,
  kDtRight = 0x2,
  kDtVCenter = 0x4,
  kDtBottom = 0x8,
  kDtWordBreak = 0x10,
  kDtSingleLine = 0x20,
  kDtCalcRect = 0x400,
  kDtNoPrefix = 0x800,
  kDtRtlReading = 0x20000,
};

constexpr uint32_t kDefaultTextFormat = kDtVCenter | kDtSingleLine;

// A comma-separated keyword list; unknown keywords are ignored. Right to left: "left" and
// "right" swap, a single-line text without "hcenter" or "right" is right-aligned, and the
// reading order is right to left.
uint32_t ParseTextFormat(std::u16string_view keywords, bool rightToLeft);
// The keywords TextFormat takes.
std::vector<std::u16string_view> TextFormatKeywords();

// The flags when no TextFormat is given.
inline uint32_t DefaultTextFormat(bool rightToLeft) {
  return rightToLeft ? kDefaultTextFormat | kDtRight | kDtRtlReading : kDefaultTextFormat;
}

struct XTextShadowSpec {
  int x = 0, y = 0, blur = 0;
  XColour colour = 0;
  bool merged = false;  // "@": blended into the first layer
};

// "x y blur colour [@], ..."; offsets and blur are DPI-scaled; a shadow without a colour is
// dropped.
std::vector<XTextShadowSpec> ParseTextShadow(std::u16string_view text, int dpi);

}  // namespace qorin
