#include "text_format.h"

#include <string>

#include "display_dpi.h"
#include "table_column.h"

namespace qorin {
namespace {

struct Keyword {
  const char16_t* name;
  uint32_t leftToRight, rightToLeft;
};

constexpr Keyword kKeywords[] = {
    {u"top", 0x0, 0x0},
    {u"left", 0x0, 0x2},
    {u"hcenter", 0x1, 0x1},
    {u"right", 0x2, 0x0},
    {u"vcenter", 0x4, 0x4},
    {u"bottom", 0x8, 0x8},
    {u"wordbreak", 0x10, 0x10},
    {u"singleline", 0x20, 0x20},
    {u"expandtabs", 0x40, 0x40},
    {u"tabstop", 0x80, 0x80},
    {u"noclip", 0x100, 0x100},
    {u"externalleading", 0x200, 0x200},
    {u"noprefix", 0x800, 0x800},
    {u"internal", 0x1000, 0x1000},
    {u"pathellipsis", 0x4000, 0x4000},
    {u"endellipsis", 0x8000, 0x8000},
    {u"xycenter", 0x25, 0x25},
    {u"center", 0x25, 0x25},
};

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
  return text;
}

// Calls take(token) for each piece between separators.
template <typename Take>
void Split(std::u16string_view text, char16_t separator, Take take) {
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(separator, start);
    if (end == std::u16string_view::npos) end = text.size();
    take(Trim(text.substr(start, end - start)));
    start = end + 1;
  }
}

}  // namespace

std::vector<std::u16string_view> TextFormatKeywords() {
  return ColumnOf(kKeywords, &Keyword::name);
}

uint32_t ParseTextFormat(std::u16string_view keywords, bool rightToLeft) {
  uint32_t flags = 0;
  bool sawRight = false;
  Split(keywords, u',', [&](std::u16string_view word) {
    for (const Keyword& k : kKeywords) {
      if (word != k.name) continue;
      flags |= rightToLeft ? k.rightToLeft : k.leftToRight;
      sawRight |= word == u"right";
    }
  });
  if (!rightToLeft) return flags;
  if ((flags & kDtSingleLine) && !(flags & kDtCenter) && !sawRight) flags |= kDtRight;
  return flags | kDtRtlReading;
}

std::vector<XTextShadowSpec> ParseTextShadow(std::u16string_view text, int dpi) {
  std::vector<XTextShadowSpec> shadows;
  Split(text, u',', [&](std::u16string_view one) {
    std::vector<std::u16string_view> tokens;
    Split(one, u' ', [&](std::u16string_view token) {
      if (!token.empty()) tokens.push_back(token);
    });
    if (tokens.size() < 4) return;
    XTextShadowSpec s;
    s.x = ParseScaledInt(tokens[0], dpi);
    s.y = ParseScaledInt(tokens[1], dpi);
    s.blur = ParseScaledInt(tokens[2], dpi);
    s.colour = ParseColour(tokens[3]);
    s.merged = tokens.size() > 4 && tokens[4] == u"@";
    shadows.push_back(s);
  });
  return shadows;
}

}  // namespace qorin
