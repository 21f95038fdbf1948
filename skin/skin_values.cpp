#include "skin_values.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

#include "display_dpi.h"
#include "number_text.h"
#include "table_column.h"
#include "text.h"
#include "utf.h"

namespace qorin {
namespace {

struct NamedValue {
  const char16_t* name;
  int value;
};

struct NamedColour {
  const char16_t* name;
  uint32_t rgb;  // 0xRRGGBB
};

constexpr NamedColour kCssColours[] = {
#include "css_colours.inc"
};

// System colour names and the negative of their COLOR_ index.
constexpr NamedValue kSystemColours[] = {
    {u"COLOR_BACKGROUND", -1},
    {u"COLOR_ACTIVECAPTION", -2},
    {u"COLOR_INACTIVECAPTION", -3},
    {u"COLOR_MENU", -4},
    {u"COLOR_WINDOW", -5},
    {u"COLOR_WINDOWFRAME", -6},
    {u"COLOR_MENUTEXT", -7},
    {u"COLOR_WINDOWTEXT", -8},
    {u"COLOR_CAPTIONTEXT", -9},
    {u"COLOR_ACTIVEBORDER", -10},
    {u"COLOR_INACTIVEBORDER", -11},
    {u"COLOR_APPWORKSPACE", -12},
    {u"COLOR_HIGHLIGHT", -13},
    {u"COLOR_HIGHLIGHTTEXT", -14},
    {u"COLOR_BTNFACE", -15},
    {u"COLOR_BTNSHADOW", -16},
    {u"COLOR_GRAYTEXT", -17},
    {u"COLOR_BTNTEXT", -18},
    {u"COLOR_INACTIVECAPTIONTEXT", -19},
    {u"COLOR_BTNHIGHLIGHT", -20},
    {u"COLOR_3DFACE", -15},
};

constexpr NamedValue kImageTypes[] = {
    {u"default", 0}, {u"center", 1}, {u"tile", 2},      {u"stretch", 3},     {u"frame", 4},
    {u"hframe", 5},  {u"vframe", 6}, {u"fillframe", 7}, {u"left_center", 8},
};

constexpr NamedValue kAlignments[] = {
    {u"fixed", kAlignFixed},
    {u"hardfixed", kAlignHardFixed},
    {u"stack", kAlignStack},
    {u"center", kAlignCenter},
    {u"top_center", kAlignTopCenter},
    {u"rightbottom", kAlignRightBottom},
    {u"leftbottom", kAlignLeftBottom},
    {u"righttop", kAlignRightTop},
    {u"lefttop", kAlignLeftTop},
    {u"leftcenter", kAlignLeftCenter},
    {u"rightcenter", kAlignRightCenter},
    {u"client", kAlignClient},
    {u"top", kAlignTop},
    {u"left", kAlignLeft},
    {u"right", kAlignRight},
    {u"bottom", kAlignBottom},
};

// Pairs a right-to-left skin exchanges.
constexpr int kMirrored[][2] = {{kAlignLeft, kAlignRight},
                                {kAlignLeftTop, kAlignRightTop},
                                {kAlignLeftBottom, kAlignRightBottom},
                                {kAlignLeftCenter, kAlignRightCenter}};

template <typename Table>
int Lookup(const Table& table, std::u16string_view text, int missing) {
  for (const auto& row : table) {
    if (text == row.name) return row.value;
  }
  return missing;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

uint32_t ColourRef(uint32_t red, uint32_t green, uint32_t blue) {
  return red | green << 8 | blue << 16;
}

// A number as "%d" reads it at *at: blanks, a sign, digits; false when there are no digits.
bool ReadNumber(std::u16string_view text, size_t* at, int* value) {
  size_t i = *at;
  while (i < text.size() && IsAsciiSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  size_t digits = i;
  int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    if (magnitude <= int64_t{INT_MAX} + 1) magnitude = magnitude * 10 + (text[i] - u'0');
  }
  if (i == digits) return false;
  int64_t signed_ = negative ? -magnitude : magnitude;
  *value = static_cast<int>(signed_ > INT_MAX ? INT_MAX : signed_ < INT_MIN ? INT_MIN : signed_);
  *at = i;
  return true;
}

}  // namespace

const char16_t* const kCursorNames[16] = {
    u"IDC_HAND",     u"IDC_ARROW",       u"IDC_IBEAM",  u"IDC_WAIT",
    u"IDC_CROSS",    u"IDC_UPARROW",     u"IDC_SIZE",   u"IDC_ICON",
    u"IDC_SIZENWSE", u"IDC_SIZENESW",    u"IDC_SIZEWE", u"IDC_SIZENS",
    u"IDC_SIZEALL",  u"IDC_APPSTARTING", u"IDC_HELP",   u"IDC_NO"};

bool ParseBool(std::u16string_view text) {
  return text == u"true" || text == u"1";
}

int ParseInt(std::u16string_view text) {
  size_t at = 0;
  int value = 0;
  return ReadNumber(text, &at, &value) ? value : 0;
}

int ParseScaledInt(std::u16string_view text, int dpi) {
  return ScaleForDpi(ParseInt(text), dpi);
}

double ParseFontPoints(std::u16string_view text) {
  double points = ReadDecimal(Utf16ToUtf8(text));
  return std::isnan(points) ? 0 : std::clamp(points, -1000.0, 1000.0);
}

void ParseQuad(std::u16string_view text, int dpi, int fields[4]) {
  size_t at = 0;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (at >= text.size() || text[at] != u',') break;
      ++at;
    }
    if (!ReadNumber(text, &at, &fields[i])) break;
  }
  for (int i = 0; i < 4; ++i) fields[i] = ScaleForDpi(fields[i], dpi);
}

XSizeValue ParseSize(std::u16string_view text, int dpi) {
  if (text == u"fit2text") return {XSizeValue::kFitText, 0};
  if (text == u"fit2child") return {XSizeValue::kFitChild, 0};
  if (text == u"fit2parent") return {XSizeValue::kFitParent, 0};
  if (!text.empty() && text.back() == u'%') return {XSizeValue::kPercent, ParseInt(text)};
  return {XSizeValue::kPixels, ParseScaledInt(text, dpi)};
}

XColour ParseColour(std::u16string_view text, uint32_t (*random)()) {
  std::u16string lower = AsciiLower(text);
  if (lower.size() >= 7 && lower[0] == u'#') {
    int digits[6];
    bool ok = true;
    for (int i = 0; i < 6; ++i) ok = ok && (digits[i] = HexDigit(lower[1 + i])) >= 0;
    if (ok) {
      return static_cast<XColour>(ColourRef(digits[0] * 16 + digits[1], digits[2] * 16 + digits[3],
                                            digits[4] * 16 + digits[5]));
    }
  }
  for (const NamedColour& c : kCssColours) {
    if (lower == c.name)
      return static_cast<XColour>(ColourRef(c.rgb >> 16, (c.rgb >> 8) & 0xFF, c.rgb & 0xFF));
  }
  if (lower == u"transparent") return 0xFFFFFF;
  if (lower == u"random") {
    auto next = [random] {
      return (random != nullptr ? random() : static_cast<uint32_t>(std::rand())) % 255;
    };
    uint32_t red = next(), green = next(), blue = next();
    return static_cast<XColour>(ColourRef(red, green, blue));
  }
  std::u16string upper(text);
  for (char16_t& c : upper) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  }
  return Lookup(kSystemColours, upper, 0);
}

int ParseCursor(std::u16string_view text) {
  for (int i = 0; i < 16; ++i) {
    if (text == kCursorNames[i]) return i;
  }
  return -1;
}

int ParseImageType(std::u16string_view text) {
  return Lookup(kImageTypes, text, -1);
}

int ParseAlign(std::u16string_view text) {
  return Lookup(kAlignments, text, kAlignNone);
}

int MirrorAlign(int align) {
  for (const auto& pair : kMirrored) {
    if (align == pair[0]) return pair[1];
    if (align == pair[1]) return pair[0];
  }
  return align;
}

std::vector<XKeywordSet> SkinValueKeywords() {
  std::vector<std::u16string_view> colours = {u"transparent", u"random"};
  for (std::u16string_view name : ColumnOf(kCssColours, &NamedColour::name))
    colours.push_back(name);
  return {
      {"colour names (besides #rrggbb)", colours},
      {"system colours (any case)", ColumnOf(kSystemColours, &NamedValue::name)},
      {"cursors",
       std::vector<std::u16string_view>(std::begin(kCursorNames), std::end(kCursorNames))},
      {"image types", ColumnOf(kImageTypes, &NamedValue::name)},
      {"alignments", ColumnOf(kAlignments, &NamedValue::name)},
  };
}

}  // namespace qorin
