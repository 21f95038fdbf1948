#include "script_literal.h"

namespace qorin {
namespace {

std::u16string Escaped(std::u16string_view text) {
  std::u16string out = u"'";
  for (char16_t c : text) {
    if (c == u'\0') continue;
    if (c == u'\\' || c == u'\'') out += u'\\';
    out += c;
  }
  return out + u"'";
}

}  // namespace

std::u16string ScriptLiteral(std::u16string_view text, bool escapes) {
  if (escapes) return Escaped(text);
  // Pieces that each lack one of the quote marks, each quoted with the mark it lacks.
  std::u16string out, piece;
  bool apostrophe = false, quote = false;
  int pieces = 0;
  auto close = [&] {
    char16_t mark = apostrophe ? u'"' : u'\'';
    out += (pieces++ > 0 ? u" + " : u"") + std::u16string(1, mark) + piece + mark;
    piece.clear();
    apostrophe = quote = false;
  };
  for (char16_t c : text) {
    if (c == u'\0') continue;
    if ((c == u'\'' && quote) || (c == u'"' && apostrophe)) close();
    apostrophe |= c == u'\'';
    quote |= c == u'"';
    piece += c;
  }
  if (!piece.empty() || pieces == 0) close();
  return out;
}

}  // namespace qorin
