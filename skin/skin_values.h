// The value syntaxes of the skin language, one pure function each. Widths, heights, positions
// and quadruples are scaled by the DPI they are given (MulDiv(value, dpi, 96)); percentages are
// not.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace qorin {

// A Windows COLORREF (red in the low byte); a negative value is a system colour index
// (-COLOR_x), and -1 means no fill where a control fills.
using XColour = int32_t;

// "true" or "1"; anything else (TRUE, yes, on) is false.
bool ParseBool(std::u16string_view text);
// Leading blanks, a sign and digits, as the C library's atoi; unreadable is 0, beyond int clamps.
int ParseInt(std::u16string_view text);
int ParseScaledInt(std::u16string_view text, int dpi);
// A font size in points, as strtod reads it; not a number is 0, and sizes are kept within
// ±1000 points.
double ParseFontPoints(std::u16string_view text);
// The largest Blur a control keeps.
constexpr int kMostBlur = 1000;

// "%d,%d,%d,%d" into fields in written order; numbers that are missing leave their field as
// it was, then all four are scaled.
void ParseQuad(std::u16string_view text, int dpi, int fields[4]);

struct XSizeValue {
  enum Kind { kPixels, kPercent, kFitText, kFitChild, kFitParent } kind = kPixels;
  int value = 0;
};
// "fit2text", "fit2child", "fit2parent", "N%" or a scaled integer.
XSizeValue ParseSize(std::u16string_view text, int dpi);

// Colour: "#rrggbb", a CSS keyword, "transparent", "random", a COLOR_ system name (any case),
// otherwise black. random gives the random numbers for "random" (each taken modulo 255).
XColour ParseColour(std::u16string_view text, uint32_t (*random)() = nullptr);

// Index of the cursor name in kCursorNames, or -1 (no cursor).
int ParseCursor(std::u16string_view text);

// The keywords of a value syntax, for the reference.
struct XKeywordSet {
  const char* syntax;
  std::vector<std::u16string_view> words;
};
// Colour names (CSS and system), cursors, image types and alignments.
std::vector<XKeywordSet> SkinValueKeywords();
extern const char16_t* const kCursorNames[16];

// "default" 0 ... "left_center" 8, or -1.
int ParseImageType(std::u16string_view text);

// Alignment codes 1 ("fixed") to 16 ("bottom"), or 0 for a value that is none of them.
enum XAlign : int {
  kAlignNone = 0,
  kAlignFixed = 1,
  kAlignHardFixed = 2,
  kAlignStack = 3,
  kAlignCenter = 4,
  kAlignTopCenter = 5,
  kAlignRightBottom = 6,
  kAlignLeftBottom = 7,
  kAlignRightTop = 8,
  kAlignLeftTop = 9,
  kAlignLeftCenter = 10,
  kAlignRightCenter = 11,
  kAlignClient = 12,
  kAlignTop = 13,
  kAlignLeft = 14,
  kAlignRight = 15,
  kAlignBottom = 16,
};
int ParseAlign(std::u16string_view text);
// Left and right exchanged, as a right-to-left skin places them.
int MirrorAlign(int align);
inline bool IsDocked(int align) {
  return align >= kAlignClient && align <= kAlignBottom;
}

}  // namespace qorin
