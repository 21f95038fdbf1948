#include "script_token.h"

#include "script_value.h"

namespace qorin {
namespace {

// Display texts by kind number; null where the token carries its own text or value.
constexpr const char16_t* kDisplay[] = {
    u"(none)", u"(eof)", u"(remark)", u"(?]",    u"string", u"int", u"double", u"void",
    u"if",     u"else",  u"while",    u"return", u"break",  u"for", u"struct", u"(?]",
    nullptr,   nullptr,  nullptr,     nullptr,   u"==",     u"!=",  u"<=",     u">=",
    u"&&",     u"||",    u"<<",       u">>",     u"++",     u"--",  u"<",      u">",
    u"(",      u")",     u"{",        u"}",      u"[",      u"]",   u"*=",     u"/=",
    u"+=",     u"-=",    u"=",        u"+",      u"-",      u"*",   u"/",      u"%",
    u",",      u";",     u"!",        u"&",      u"|",      u"^",   u"~",      u".",
};

}  // namespace

std::u16string TokenDisplay(const XScriptToken& token) {
  int32_t kind = static_cast<int32_t>(token.kind);
  if (kind < 0 || kind >= static_cast<int32_t>(std::size(kDisplay))) return u"(?]";
  switch (token.kind) {
    case XScriptTokenKind::Identifier:
    case XScriptTokenKind::StringLiteral: return token.text != nullptr ? *token.text : u"";
    case XScriptTokenKind::IntLiteral: return DisplayInt(token.intValue);
    case XScriptTokenKind::RealLiteral: return DisplayDouble(token.realValue);
    default: return kDisplay[kind];
  }
}

}  // namespace qorin
