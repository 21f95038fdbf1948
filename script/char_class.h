// Character classes of the script lexer.
#pragma once

namespace qorin {

// Letters as the wide-character alphabetic test classifies UTF-16 code units: Latin and
// non-Latin letters alike (Hangul, Kana, Cyrillic, ...).
bool IsScriptLetter(char16_t c);
inline bool IsScriptDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}
inline bool IsIdentifierStart(char16_t c) {
  return c == u'_' || IsScriptLetter(c);
}
inline bool IsIdentifierPart(char16_t c) {
  return IsIdentifierStart(c) || IsScriptDigit(c);
}

}  // namespace qorin
