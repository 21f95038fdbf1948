#include "script_lexer.h"

#include "char_class.h"

namespace qorin {
namespace {

using K = XScriptTokenKind;

struct Word {
  std::u16string_view text;
  XScriptTokenKind kind;
};

// Tried in this order; a keyword needs a character after it that cannot continue a name.
constexpr Word kKeywords[] = {
    {u"string", K::KwString}, {u"int", K::KwInt},       {u"double", K::KwDouble},
    {u"if", K::KwIf},         {u"else", K::KwElse},     {u"while", K::KwWhile},
    {u"return", K::KwReturn}, {u"break", K::KwBreak},   {u"void", K::KwVoid},
    {u"for", K::KwFor},       {u"struct", K::KwStruct},
};

// Tried in this order, first prefix match wins: <<= is << then =, a+++b is a ++ + b.
constexpr Word kOperators[] = {
    {u"==", K::Eq},        {u"!=", K::Ne},        {u"<=", K::Le},        {u">=", K::Ge},
    {u"&&", K::AndAnd},    {u"||", K::OrOr},      {u"<<", K::Shl},       {u">>", K::Shr},
    {u"++", K::Inc},       {u"--", K::Dec},       {u"*=", K::MulAssign}, {u"/=", K::DivAssign},
    {u"+=", K::AddAssign}, {u"-=", K::SubAssign}, {u"=", K::Assign},     {u"<", K::Lt},
    {u">", K::Gt},
};

struct Single {
  char16_t c;
  XScriptTokenKind kind;
};

constexpr Single kSingles[] = {
    {u'!', K::Bang},     {u'%', K::Percent}, {u'&', K::Amp},       {u'(', K::LParen},
    {u')', K::RParen},   {u'*', K::Star},    {u'+', K::Plus},      {u',', K::Comma},
    {u'-', K::Minus},    {u'/', K::Slash},   {u';', K::Semicolon}, {u'[', K::LBracket},
    {u']', K::RBracket}, {u'^', K::Caret},   {u'{', K::LBrace},    {u'|', K::Pipe},
    {u'}', K::RBrace},   {u'~', K::Tilde},
};

struct Escape {
  char16_t written, meaning;
};

constexpr Escape kEscapes[] = {{u'b', 8},    {u't', 9},      {u'n', 10},    {u'r', 13},
                               {u'"', u'"'}, {u'\'', u'\''}, {u'\\', u'\\'}};

int DigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return 99;
}

}  // namespace

char16_t XScriptLexer::Peek(size_t ahead) const {
  return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : u'\0';
}

void XScriptLexer::Consume(size_t count) {
  for (size_t i = 0; i < count && pos_ < text_.size(); ++i) {
    if (text_[pos_++] == u'\n') {
      ++line_;
      column_ = 1;
    } else {
      ++column_;
    }
  }
  atEnd_ = pos_ >= text_.size();
}

bool XScriptLexer::StartsWith(std::u16string_view word) const {
  return text_.substr(pos_).substr(0, word.size()) == word;
}

bool XScriptLexer::Fail(XSERR code) {
  error_ = code;
  return false;
}

bool XScriptLexer::Tokenize(std::u16string_view text) {
  size_t zero = text.find(u'\0');
  text_ = zero == std::u16string_view::npos ? text : text.substr(0, zero);
  pos_ = 0;
  line_ = column_ = 1;
  atEnd_ = text_.empty();
  tokens_.clear();
  error_ = XSERR_OK;
  XScriptToken token;
  while (NextToken(&token)) {
    if (!token.Is(K::Comment)) tokens_.push_back(token);
  }
  if (error_ != XSERR_OK) return false;
  tokens_.push_back(token);  // the end-of-text token
  return true;
}

bool XScriptLexer::NextToken(XScriptToken* token) {
  while (Peek() == u' ' || Peek() == u'\t' || Peek() == u'\r' || Peek() == u'\n') Consume();
  *token = XScriptToken{};
  token->line = line_;
  token->column = column_;
  char16_t c = Peek();
  if (c == u'\0') {
    token->kind = K::Eof;
    return false;
  }
  for (const Word& keyword : kKeywords) {
    if (StartsWith(keyword.text) && !IsIdentifierPart(Peek(keyword.text.size()))) {
      Consume(keyword.text.size());
      token->kind = keyword.kind;
      return true;
    }
  }
  for (const Word& op : kOperators) {
    if (StartsWith(op.text)) {
      Consume(op.text.size());
      token->kind = op.kind;
      return true;
    }
  }
  if (StartsWith(u"/*")) return ReadBlockComment(token);
  if (StartsWith(u"//")) {
    while (Peek() != u'\0' && Peek() != u'\n') Consume();
    token->kind = K::Comment;
    return true;
  }
  for (const Single& single : kSingles) {
    if (c == single.c) {
      Consume();
      token->kind = single.kind;
      return true;
    }
  }
  if (c == u'.' && !IsScriptDigit(Peek(1))) {
    Consume();
    token->kind = K::Dot;
    return true;
  }
  if (c == u'"' || c == u'\'') return ReadString(token);
  if (c == u'.' || IsScriptDigit(c)) return ReadNumber(token);
  if (IsIdentifierStart(c)) {
    size_t start = pos_;
    while (IsIdentifierPart(Peek())) Consume();
    token->kind = K::Identifier;
    token->text = pool_->Add(text_.substr(start, pos_ - start));
    return true;
  }
  Consume();  // reported just after the character that starts no token
  return Fail(XSERR_TOK_UNDECLARED_IDENTIFIER);
}

bool XScriptLexer::ReadBlockComment(XScriptToken* token) {
  Consume(2);
  while (!StartsWith(u"*/")) {
    if (Peek() == u'\0') return Fail(XSERR_TOK_UNEXPECTED_EOF_FOUND_IN_COMMENT);
    Consume();
  }
  Consume(2);
  token->kind = K::Comment;
  return true;
}

// After a backslash: the character it stands for.
bool XScriptLexer::ReadEscape(char16_t* out) {
  char16_t written = Peek();
  if (written == u'\0') return Fail(XSERR_TOK_NEWLINE_IN_CONSTANT);
  for (const Escape& escape : kEscapes) {
    if (escape.written == written) {
      Consume();
      *out = escape.meaning;
      return true;
    }
  }
  return Fail(XSERR_TOK_UNRECOG_CHAR_ESCAPCE_SEQUENCE);  // at the character after the backslash
}

bool XScriptLexer::ReadString(XScriptToken* token) {
  char16_t quote = Peek();
  Consume();
  std::u16string text;
  for (;;) {
    char16_t c = Peek();
    if (c == u'\0') return Fail(XSERR_TOK_NEWLINE_IN_CONSTANT);
    Consume();
    if (c == quote) break;
    if (c == u'\\' && options_ != nullptr && options_->escapes) {
      if (!ReadEscape(&c)) return false;
    }
    text += c;
  }
  token->kind = K::StringLiteral;
  token->text = pool_->Add(text);
  return true;
}

// The literal runs over letters, digits, "." and "_"; errors are reported after all of it.
bool XScriptLexer::ReadNumber(XScriptToken* token) {
  std::u16string text(1, Peek());
  Consume();
  while (IsIdentifierPart(Peek()) || Peek() == u'.') {
    char16_t c = Peek();
    text += c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    Consume();
  }
  uint32_t base = 10;
  size_t i = 0;
  if (text.starts_with(u"0x") || text.starts_with(u"0b")) {
    base = text[1] == u'x' ? 16 : 2;
    i = 2;
    if (i == text.size())
      return Fail(base == 16 ? XSERR_TOK_HEX_CONSTANT_MUST_HAVE_AT_LEAST_ONE_HEX_DIGHT
                             : XSERR_TOK_BIN_CONSTANT_MUST_HAVE_AT_LEAST_ONE_BIN_DIGHT);
  }
  uint32_t integer = 0;
  double real = 0.0, scale = 1.0;
  bool fraction = false;
  for (; i < text.size(); ++i) {
    if (text[i] == u'.') {
      if (fraction) return Fail(XSERR_TOK_INVALID_REAL_NUM_FORMAT);
      fraction = true;
      continue;
    }
    int digit = DigitValue(text[i]);
    if (digit >= static_cast<int>(base)) return Fail(XSERR_TOK_BAD_SUFFIX_ON_NUMBER);
    if (fraction) {
      scale /= base;
      real += digit * scale;
    } else {
      integer = integer * base + static_cast<uint32_t>(digit);  // 32-bit wrap-around
      real = real * base + digit;
    }
  }
  token->kind = fraction ? K::RealLiteral : K::IntLiteral;
  token->intValue = static_cast<int32_t>(integer);
  token->realValue = real;
  return true;
}

}  // namespace qorin
