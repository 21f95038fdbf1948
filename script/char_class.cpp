#include "char_class.h"

#include <algorithm>
#include <iterator>

namespace qorin {
namespace {

struct Range {
  char16_t first, last;
};

constexpr Range kLetters[] = {
#include "letter_table.inc"
};

}  // namespace

bool IsScriptLetter(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
  auto it =
      std::upper_bound(std::begin(kLetters), std::end(kLetters), c,
                       [](char16_t value, const Range& range) { return value < range.first; });
  return it != std::begin(kLetters) && c <= std::prev(it)->last;
}

}  // namespace qorin
