// The script lexer: token kinds and texts, numbers, literals, positions, and every lexer error
// at the position where scanning stopped.
#include "script_lexer.h"

#include <gtest/gtest.h>

#include "utf.h"

namespace qorin {
namespace {

using K = XScriptTokenKind;

struct Lexed {
  bool ok;
  XSERR error;
  int line, column;
  std::vector<XScriptToken> tokens;
  std::string Render() const {  // "kind:display" per token, without the end token
    std::string out;
    for (size_t i = 0; i + 1 < tokens.size(); ++i)
      out += (i ? " " : "") + std::to_string(static_cast<int>(tokens[i].kind)) + ":" +
             Utf16ToUtf8(TokenDisplay(tokens[i]));
    return out;
  }
};

Lexed Lex(std::u16string_view text, bool escapes = false) {
  static XScriptTextPool pool;
  XScriptOptions options;
  options.escapes = escapes;
  XScriptLexer lexer(&options, &pool);
  bool ok = lexer.Tokenize(text);
  return {ok, lexer.Error(), lexer.Line(), lexer.Column(), lexer.Tokens()};
}

Lexed Lex(const std::string& text, bool escapes = false) {
  return Lex(Utf8ToUtf16(text), escapes);
}

TEST(ScriptLexerTokens, OperatorsAndKeywordsByTable) {
  struct Case {
    const char* text;
    const char* tokens;
  } cases[] = {
      {"a/=b", "16:a 39:/= 16:b"},
      {"a//b", "16:a"},
      {"a/*x*/b", "16:a 16:b"},
      {"x.y", "16:x 55:. 16:y"},
      {"x.5", "16:x 19:0.500000"},
      {"a+++b", "16:a 28:++ 43:+ 16:b"},
      {"a<<=b", "16:a 26:<< 42:= 16:b"},
      {"== != <= >= && || >> -- *= += -= < >",
       "20:== 21:!= 22:<= 23:>= 24:&& 25:|| 27:>> 29:-- 38:*= 40:+= 41:-= 30:< 31:>"},
      {"!%&()*+,-/;[]^{|}~",
       "50:! 47:% 51:& 32:( 33:) 45:* 43:+ 48:, 44:- 46:/ 49:; 36:[ 37:] 53:^ 34:{ 52:| 35:} 54:~"},
      {"string int double void if else while return break for struct",
       "4:string 5:int 6:double 7:void 8:if 9:else 10:while 11:return 12:break 13:for 14:struct"},
      {"integer int( _int int_ int1 iffy", "16:integer 5:int 32:( 16:_int 16:int_ 16:int1 16:iffy"},
  };
  for (const Case& c : cases) {
    Lexed lexed = Lex(std::string(c.text));
    ASSERT_TRUE(lexed.ok) << c.text;
    EXPECT_EQ(lexed.Render(), c.tokens) << c.text;
    EXPECT_EQ(lexed.tokens.back().kind, K::Eof);
  }
}

TEST(ScriptLexerTokens, NonLatinLettersMakeIdentifiers) {
  Lexed lexed = Lex(std::u16string(u"설치경로 = ИмяΩ_1;"));
  ASSERT_TRUE(lexed.ok);
  EXPECT_EQ(lexed.Render(), "16:설치경로 42:= 16:ИмяΩ_1 49:;");
}

TEST(ScriptLexerNumbers, BasesFractionsAndWrapAround) {
  struct Case {
    const char* text;
    K kind;
    int32_t integer;
    double real;
  } cases[] = {
      {"0", K::IntLiteral, 0, 0},          {"1234", K::IntLiteral, 1234, 0},
      {"0x1F", K::IntLiteral, 31, 0},      {"0X1f", K::IntLiteral, 31, 0},
      {"0b101", K::IntLiteral, 5, 0},      {"0xFFFFFFFF", K::IntLiteral, -1, 0},
      {"4294967297", K::IntLiteral, 1, 0}, {"1.", K::RealLiteral, 1, 1.0},
      {".5", K::RealLiteral, 0, 0.5},      {"0x1.8", K::RealLiteral, 1, 1.5},
      {"0b1.1", K::RealLiteral, 1, 1.5},   {"12.25", K::RealLiteral, 12, 12.25},
  };
  for (const Case& c : cases) {
    Lexed lexed = Lex(std::string(c.text));
    ASSERT_TRUE(lexed.ok) << c.text;
    ASSERT_EQ(lexed.tokens.size(), 2u) << c.text;
    EXPECT_EQ(lexed.tokens[0].kind, c.kind) << c.text;
    if (c.kind == K::IntLiteral) {
      EXPECT_EQ(lexed.tokens[0].intValue, c.integer) << c.text;
    } else {
      EXPECT_DOUBLE_EQ(lexed.tokens[0].realValue, c.real) << c.text;
    }
  }
  EXPECT_EQ(Lex(std::string("-5")).Render(), "44:- 18:5");  // no negative literals
}

TEST(ScriptLexerStrings, QuotesAndEscapes) {
  EXPECT_EQ(Lex(std::string("'\"'")).tokens[0].text->size(), 1u);  // a lone double quote
  EXPECT_EQ(*Lex(std::string("'\"'")).tokens[0].text, u"\"");
  EXPECT_EQ(*Lex(std::string("\"it's\"")).tokens[0].text, u"it's");
  EXPECT_EQ(*Lex(std::string("''")).tokens[0].text, u"");
  EXPECT_EQ(*Lex(std::string("\"\"")).tokens[0].text, u"");
  EXPECT_EQ(*Lex(std::string("'a\nb'")).tokens[0].text, u"a\nb");
  EXPECT_EQ(*Lex(std::string("'C:\\new\\t'")).tokens[0].text, u"C:\\new\\t");  // escapes off
  Lexed escaped = Lex(std::string("'\\b\\t\\n\\r\\\"\\'\\\\x'"), true);
  ASSERT_TRUE(escaped.ok);
  EXPECT_EQ(*escaped.tokens[0].text, u"\b\t\n\r\"'\\x");
  EXPECT_EQ(escaped.tokens[0].kind, K::StringLiteral);
}

TEST(ScriptLexerPositions, LinesAndColumns) {
  Lexed lexed = Lex(std::string("a\r\n\tbb = 'x\ny' ;\n  /* c\n */ z"));
  ASSERT_TRUE(lexed.ok);
  auto at = [&](size_t i) {
    return std::to_string(lexed.tokens[i].line) + ":" + std::to_string(lexed.tokens[i].column);
  };
  EXPECT_EQ(at(0), "1:1");
  EXPECT_EQ(at(1), "2:2");  // tab and carriage return count one column each
  EXPECT_EQ(at(2), "2:5");
  EXPECT_EQ(at(3), "2:7");
  EXPECT_EQ(at(4), "3:4");  // after the line feed inside the literal
  EXPECT_EQ(at(5), "5:5");
  EXPECT_EQ(at(6), "5:6");  // the end-of-text token
}

TEST(ScriptLexerErrors, CodeAndPosition) {
  struct Case {
    const char* text;
    bool escapes;
    XSERR error;
    int line, column;
  } cases[] = {
      {"x = 12abc;", false, XSERR_TOK_BAD_SUFFIX_ON_NUMBER, 1, 10},
      {"1.2.3", false, XSERR_TOK_INVALID_REAL_NUM_FORMAT, 1, 6},
      {"0x", false, XSERR_TOK_HEX_CONSTANT_MUST_HAVE_AT_LEAST_ONE_HEX_DIGHT, 1, 3},
      {"0b", false, XSERR_TOK_BIN_CONSTANT_MUST_HAVE_AT_LEAST_ONE_BIN_DIGHT, 1, 3},
      {"0b12", false, XSERR_TOK_BAD_SUFFIX_ON_NUMBER, 1, 5},
      {"1e5", false, XSERR_TOK_BAD_SUFFIX_ON_NUMBER, 1, 4},
      {"10u", false, XSERR_TOK_BAD_SUFFIX_ON_NUMBER, 1, 4},
      {"1_000", false, XSERR_TOK_BAD_SUFFIX_ON_NUMBER, 1, 6},
      {"a\n/* open", false, XSERR_TOK_UNEXPECTED_EOF_FOUND_IN_COMMENT, 2, 8},
      {"s = 'open\nmore", false, XSERR_TOK_NEWLINE_IN_CONSTANT, 2, 5},
      {"x # y", false, XSERR_TOK_UNDECLARED_IDENTIFIER, 1, 4},
      {"a ? b : c", false, XSERR_TOK_UNDECLARED_IDENTIFIER, 1, 4},
      {"'a\\qb'", true, XSERR_TOK_UNRECOG_CHAR_ESCAPCE_SEQUENCE, 1, 4},
      {"'a\\", true, XSERR_TOK_NEWLINE_IN_CONSTANT, 1, 4},
  };
  for (const Case& c : cases) {
    Lexed lexed = Lex(std::string(c.text), c.escapes);
    EXPECT_FALSE(lexed.ok) << c.text;
    EXPECT_EQ(lexed.error, c.error) << c.text;
    EXPECT_EQ(lexed.line, c.line) << c.text;
    EXPECT_EQ(lexed.column, c.column) << c.text;
  }
}

TEST(ScriptLexerErrors, CharactersOutsideThePlaneStartNoToken) {
  Lexed lexed = Lex(std::u16string(u"a = \U0001F600;"));
  EXPECT_FALSE(lexed.ok);
  EXPECT_EQ(lexed.error, XSERR_TOK_UNDECLARED_IDENTIFIER);
}

TEST(ScriptLexerText, EndsAtAZeroCodeUnit) {
  std::u16string text = u"a;";
  text += u'\0';
  text += u"#";
  EXPECT_TRUE(Lex(std::u16string_view(text)).ok);
}

}  // namespace
}  // namespace qorin

namespace qorin {
namespace {

TEST(ScriptLexerText, PoolKeepsOneCopyOfEachText) {
  XScriptTextPool pool;
  XScriptOptions options;
  XScriptLexer lexer(&options, &pool);
  ASSERT_TRUE(lexer.Tokenize(u"OnTimer(); s = 'tick';"));
  size_t size = pool.Size();
  const std::u16string* first = lexer.Tokens()[0].text;
  ASSERT_TRUE(lexer.Tokenize(u"OnTimer(); s = 'tick'; OnTimer();"));
  EXPECT_EQ(pool.Size(), size);
  EXPECT_EQ(lexer.Tokens()[0].text, first);
}

}  // namespace
}  // namespace qorin
