// Tokens of the script language: the kind numbers (which the parser and the error texts use)
// and the display text of each kind.
#pragma once

#include <cstdint>
#include <string>

namespace qorin {

enum class XScriptTokenKind : int32_t {
  None = 0,
  Eof = 1,
  Comment = 2,
  KwString = 4,
  KwInt = 5,
  KwDouble = 6,
  KwVoid = 7,
  KwIf = 8,
  KwElse = 9,
  KwWhile = 10,
  KwReturn = 11,
  KwBreak = 12,
  KwFor = 13,
  KwStruct = 14,
  Identifier = 16,
  StringLiteral = 17,
  IntLiteral = 18,
  RealLiteral = 19,
  Eq = 20,         // ==
  Ne = 21,         // !=
  Le = 22,         // <=
  Ge = 23,         // >=
  AndAnd = 24,     // &&
  OrOr = 25,       // ||
  Shl = 26,        // <<
  Shr = 27,        // >>
  Inc = 28,        // ++
  Dec = 29,        // --
  Lt = 30,         // <
  Gt = 31,         // >
  LParen = 32,     // (
  RParen = 33,     // )
  LBrace = 34,     // {
  RBrace = 35,     // }
  LBracket = 36,   // [
  RBracket = 37,   // ]
  MulAssign = 38,  // *=
  DivAssign = 39,  // /=
  AddAssign = 40,  // +=
  SubAssign = 41,  // -=
  Assign = 42,     // =
  Plus = 43,
  Minus = 44,
  Star = 45,
  Slash = 46,
  Percent = 47,
  Comma = 48,
  Semicolon = 49,
  Bang = 50,
  Amp = 51,
  Pipe = 52,
  Caret = 53,
  Tilde = 54,
  Dot = 55,
};

struct XScriptToken {
  XScriptTokenKind kind = XScriptTokenKind::None;
  int32_t line = 0;
  int32_t column = 0;
  const std::u16string* text = nullptr;  // identifier or string literal, in the text pool
  int32_t intValue = 0;
  double realValue = 0.0;

  bool Is(XScriptTokenKind k) const { return kind == k; }
};

// What error messages and traces show for a token: fixed texts, an identifier's or literal's
// own text, "%d" or "%f" of a number, "(?]" for kinds without a token.
std::u16string TokenDisplay(const XScriptToken& token);

// Keywords that start no expression: string, int, double, void, if, else, while, return,
// break, for, struct.
inline bool IsKeyword(XScriptTokenKind kind) {
  return kind >= XScriptTokenKind::KwString && kind <= XScriptTokenKind::KwStruct;
}

}  // namespace qorin
