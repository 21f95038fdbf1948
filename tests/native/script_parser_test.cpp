// The script parser: precedence and associativity of the binary levels, the unary level and
// suffixes, every statement form, declarations and initialisers, definitions under their keys,
// and the parse errors with their positions.
#include "script_parser.h"

#include <gtest/gtest.h>

#include "script_lexer.h"
#include "utf.h"

namespace qorin {
namespace {

using S = XScriptStmt;
using E = XScriptExpr;

// A node as a compact S-expression: (Add a (Mul b c)), f(1,x), a[i], r.x.y, {..}.
std::string Render(const XScriptNode* node) {
  if (node == nullptr) return "-";
  std::string name = Utf16ToUtf8(node->name);
  switch (node->kind) {
    case S::Empty: return ";";
    case S::VarDecl:
      return std::string("decl ") + TypeDisplayName(static_cast<int>(node->decl.type)) + " " +
             name + (node->arraySize ? "[" + Render(node->arraySize.get()) + "]" : "");
    case S::Block: {
      std::string out = "{";
      for (const auto& item : node->items) out += Render(item.get()) + ";";
      return out + "}";
    }
    case S::Return: return "return " + Render(node->left.get());
    case S::Break: return "break";
    case S::If:
      return "if " + Render(node->condition.get()) + " then " + Render(node->thenStmt.get()) +
             (node->elseStmt ? " else " + Render(node->elseStmt.get()) : "");
    case S::For:
      return "for " + Render(node->init.get()) + "; " + Render(node->condition.get()) + "; " +
             Render(node->step.get()) + " do " + Render(node->body.get());
    case S::Expr: break;
    default: return "?";
  }
  switch (node->expr) {
    case E::Const: return Utf16ToUtf8(ToDisplay(node->constant));
    case E::VarRef: {
      std::string out = name;
      for (const XScriptNode* m = node->left.get(); m != nullptr; m = m->left.get())
        out += "." + Utf16ToUtf8(m->name);
      return out;
    }
    case E::ArrayElem: return name + "[" + Render(node->left.get()) + "]";
    case E::Call: {
      std::string out = name + "(";
      for (size_t i = 0; i < node->args.size(); ++i)
        out += (i ? "," : "") + Render(node->args[i].get());
      return out + ")";
    }
    default:
      return std::string("(") + ExprName(node->expr) + " " + Render(node->left.get()) +
             (node->right ? " " + Render(node->right.get()) : "") + ")";
  }
}

struct Parsed {
  XScriptTextPool pool;
  XScriptProgram program;
  std::vector<XScriptNodePtr> code;
  bool ok = false;
  XSERR error = XSERR_OK;
  int line = 0, column = 0;

  bool Parse(const std::string& text) {
    XScriptOptions options;
    XScriptLexer lexer(&options, &pool);
    if (!lexer.Tokenize(Utf8ToUtf16(text))) return ok = false;
    XStackBudget stack;
    stack.Start();
    XScriptParser parser(&program, &stack);
    ok = parser.Parse(lexer.Tokens(), &code);
    error = parser.Error(), line = parser.Line(), column = parser.Column();
    return ok;
  }
  std::string Code() const {
    std::string out;
    for (size_t i = 0; i < code.size(); ++i) out += (i ? " | " : "") + Render(code[i].get());
    return out;
  }
  const XScriptNode* Function(const char16_t* key) const {
    auto it = program.functions.find(key);
    return it == program.functions.end() ? nullptr : it->second;
  }
};

std::string ParseCode(const std::string& text) {
  Parsed parsed;
  if (!parsed.Parse(text)) return "error " + std::to_string(parsed.error);
  return parsed.Code();
}

// Each text fails to parse with its code at its line and column, after an optional prelude
// parsed into the same program.
struct ParseErrorCase {
  const char* text;
  XSERR error;
  int line, column;
};

void ExpectParseErrors(std::initializer_list<ParseErrorCase> cases, const char* prelude = nullptr) {
  for (const ParseErrorCase& c : cases) {
    Parsed parsed;
    if (prelude != nullptr) {
      ASSERT_TRUE(parsed.Parse(prelude));
    }
    EXPECT_FALSE(parsed.Parse(c.text)) << c.text;
    EXPECT_EQ(parsed.error, c.error) << c.text;
    EXPECT_EQ(parsed.line, c.line) << c.text;
    EXPECT_EQ(parsed.column, c.column) << c.text;
  }
}

TEST(ScriptParserExpressions, PrecedenceAndAssociativity) {
  struct Case {
    const char* text;
    const char* tree;
  } cases[] = {
      {"10 - 3 - 2;", "(Sub (Sub 10 3) 2)"},
      {"a + b * c;", "(Add a (Mul b c))"},
      {"a * b + c;", "(Add (Mul a b) c)"},
      {"a || b && c;", "(LogOr a (LogAnd b c))"},
      {"a && b || c;", "(LogOr (LogAnd a b) c)"},
      {"a | b ^ c & d;", "(BitOr a (BitXor b (BitAnd c d)))"},
      {"a == b < c;", "(Eq a (Lt b c))"},
      {"a < b << c;", "(Lt a (Shl b c))"},
      {"a << b + c;", "(Shl a (Add b c))"},
      {"a / b % c;", "(Mod (Div a b) c)"},
      {"x != 0 && 10 / x > 1;", "(LogAnd (Ne x 0) (Gt (Div 10 x) 1))"},
      {"a * -b;", "(Mul a (Neg b))"},
      {"-a - b;", "(Sub (Neg a) b)"},
      {"!a == ~b;", "(Eq (LogNot a) (BitNot b))"},
      {"x = y = 3;", "(Assign x (Assign y 3))"},
      {"x += 2;", "(Assign x (Add x 2))"},
      {"x -= a * b;", "(Assign x (Sub x (Mul a b)))"},
      {"x *= 2; x /= 2;", "(Assign x (Mul x 2)) | (Assign x (Div x 2))"},
      {"a[i + 1] = f(x, y + 1) + r.left.v;", "(Assign a[(Add i 1)] (Add f(x,(Add y 1)) r.left.v))"},
      {"i++; --i; ++a[0]; a[1]--;", "(PostInc i) | (PreDec i) | (PreInc a[0]) | (PostDec a[1])"},
      {"f(); g(h(1), 'a');", "f() | g(h(1),\"a\")"},
      {"*p;", "(Deref p)"},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseCode(c.text), c.tree) << c.text;
  EXPECT_EQ(ParseCode("&q;"), "error 200");  // & at the start of its level fails outright
}

TEST(ScriptParserExpressions, ScanRuleLimits) {
  // The last operator of a level splits the range even when it is a prefix operator, so a
  // binary operator followed by a prefix one does not parse.
  EXPECT_EQ(ParseCode("x = a + -b;"), "error 201");
  EXPECT_EQ(ParseCode("f(a | b, c | d);"), "error 200");
  EXPECT_EQ(ParseCode("f(a || b, c);"), "f((LogOr a b),c)");
  // Only one suffix after a name.
  EXPECT_EQ(ParseCode("a[1][2];"), "error 201");
  EXPECT_EQ(ParseCode("f().x;"), "error 201");
  EXPECT_EQ(ParseCode("a[1].x;"), "error 201");
  // A failed split is retried from every level above it: the same answer, without the
  // exponential rescans (40 repetitions took minutes).
  std::string chain = "x = a";
  for (int i = 0; i < 40; ++i) chain += " || a && a | a == a < a << a + a * -a";
  ExpectParseErrors({{(chain + ";").c_str(), XSERR_MISSING_SEMICOLON, 1, 1}});
}

TEST(ScriptParserExpressions, ParenthesesCastsAndBadOperands) {
  ExpectParseErrors({
      {"(a + b) * c;", XSERR_NOT_IMPLEMNTED, 1, 1},
      {"x = (int) y;", XSERR_NOT_IMPLEMNTED, 1, 5},
      {"x = 5[1];", XSERR_SYNTAX, 1, 6},
      {"x = r.;", XSERR_SYNTAX, 1, 6},
      {"s.a += 1;", XSERR_SYNTAX, 1, 5},
      {"x = a[1;", XSERR_MISSING_BRACKET_CLOSE, 1, 6},
      {"x = a[1 2];", XSERR_MISSING_BRACKET_CLOSE, 1, 9},
      {"x = a[];", XSERR_SYNTAX, 1, 7},
      {"x =", XSERR_SYNTAX, 1, 3},
  });
}

TEST(ScriptParserStatements, EveryForm) {
  struct Case {
    const char* text;
    const char* tree;
  } cases[] = {
      {"if (a) b; else c;", "if a then b else c"},
      {"if (a == 1) { x = 1; } else if (a == 2) y = 2;",
       "if (Eq a 1) then {(Assign x 1);} else if (Eq a 2) then (Assign y 2)"},
      {"for (i = 0; i < 3; i++) f(i);", "for (Assign i 0); (Lt i 3); (PostInc i) do f(i)"},
      {"for (;;) break;", "for -; -; - do break"},
      {"{ int t; ; return t; }", "{decl int t;;;return t;}"},
      {"return;", "return -"},
      {";", ";"},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseCode(c.text), c.tree) << c.text;
}

TEST(ScriptParserStatements, Errors) {
  ExpectParseErrors({
      {"x = 1", XSERR_MISSING_SEMICOLON, 1, 1},
      {"a;\n  b = 2 c;", XSERR_MISSING_SEMICOLON, 2, 3},
      {"while (x) { }", XSERR_NOT_IMPLEMNTED, 1, 1},
      {"else x;", XSERR_NOT_IMPLEMNTED, 1, 1},
      {"if (a) int b;", XSERR_NOT_IMPLEMNTED, 1, 8},
      {"if a) x;", XSERR_SYNTAX, 1, 4},
      {"if (a b) x;", XSERR_SYNTAX, 1, 7},
      {"for (int i = 0; i < 1; i++) x;", XSERR_SYNTAX, 1, 6},
      {"for (i = 0; i < 1) x;", XSERR_SYNTAX, 1, 18},
      {"return 1", XSERR_MISSING_SEMICOLON, 1, 1},
      {"return );", XSERR_SYNTAX, 1, 8},
      {"break", XSERR_MISSING_SEMICOLON, 1, 1},
      {"{ x = 1;", XSERR_SYNTAX, 1, 9},
      {"int a", XSERR_INTERNAL, 1, 6},
      {"int a b;", XSERR_INTERNAL, 1, 7},
      {"void v;", XSERR_INTERNAL, 1, 1},
      {"int 5;", XSERR_NOT_IMPLEMNTED, 1, 1},
  });
}

TEST(ScriptParserDeclarations, DeclaratorsAndInitialisers) {
  EXPECT_EQ(ParseCode("int a[3] = {1, 2, 3};"),
            "decl int a[3] | (Assign a[0] 1) | (Assign a[1] 2) | (Assign a[2] 3)");
  EXPECT_EQ(ParseCode("int a = 1, b, c = a + 1;"),
            "decl int a | (Assign a 1) | decl int b | decl int c | (Assign c (Add a 1))");
  EXPECT_EQ(ParseCode("string s = t = 'x';"), "decl string s | (Assign s (Assign t \"x\"))");
  EXPECT_EQ(ParseCode("int n[k + 1];"), "decl int n[(Add k 1)]");
  EXPECT_EQ(ParseCode("int e[2] = {};"), "decl int e[2]");
  EXPECT_EQ(ParseCode("int a[3] = {1, 2;"), "error 203");
  EXPECT_EQ(ParseCode("int a[3;"), "error 204");
  EXPECT_EQ(ParseCode("int a = ;"), "error 203");
}

TEST(ScriptParserDefinitions, StructTypes) {
  Parsed parsed;
  ASSERT_TRUE(
      parsed.Parse("struct RECT { int left; int top; int right; int bottom;  };\n"
                   "struct BOX { RECT r; string name; double d; };\nRECT x; BOX b;"));
  const XScriptStructDef* rect = parsed.program.FindStruct(u"RECT");
  ASSERT_NE(rect, nullptr);
  ASSERT_EQ(rect->members.size(), 4u);
  EXPECT_EQ(rect->members[3].name, u"bottom");
  EXPECT_EQ(parsed.program.FindStruct(u"BOX")->members[0].structDef, rect);
  EXPECT_EQ(parsed.Code(), "; | ; | decl struct x | decl struct b");

  ExpectParseErrors(
      {
          {"struct RECT { int a; };", XSERR_STRUCT_TYPE_REDEFINITION, 1, 8},
          {"struct { int a; };", XSERR_INTERNAL, 1, 8},
          {"struct S int a; };", XSERR_SYNTAX, 1, 10},
          {"struct S { int a, b; };", XSERR_SYNTAX, 1, 17},
          {"struct S { void a; };", XSERR_SYNTAX, 1, 12},
          {"struct S { int a[2]; };", XSERR_SYNTAX, 1, 17},
          {"struct S { S inner; };", XSERR_SYNTAX, 1, 12},
          {"struct S { int a };", XSERR_SYNTAX, 1, 18},
          {"struct S { int a;", XSERR_SYNTAX, 1, 18},
      },
      "struct RECT { int left; };");
}

TEST(ScriptParserDefinitions, FunctionsUnderTheirKeys) {
  Parsed parsed;
  ASSERT_TRUE(parsed.Parse(
      "struct RECT { int left; };\n"
      "void OnInit() { }\nint f(int x) { return 1; }\nint f(double x) { return 2; }\n"
      "string g(string s, RECT r, int n[2]) { }\nvoid h(void) { }\nRECT mk(int a) { }\n"
      "int f(int y) { return 3; }"));
  for (const char16_t* key : {u"OnInit@v", u"f@i", u"f@d", u"g@s(RECT)i", u"h@v", u"mk@i"})
    EXPECT_NE(parsed.Function(key), nullptr) << Utf16ToUtf8(key);
  // The later definition of f@i replaced the first.
  EXPECT_EQ(Render(parsed.Function(u"f@i")->body->items[0].get()), "return 3");
  EXPECT_EQ(parsed.Function(u"mk@i")->returnType, XScriptType::Struct);
  EXPECT_EQ(parsed.Code(), ";");  // only the semicolon after the struct's brace
}

TEST(ScriptParserDefinitions, FailingDefinitionsRegisterNothingButKeepEarlierOnes) {
  Parsed parsed;
  EXPECT_FALSE(parsed.Parse("int ok() { }\nint bad(int x) {\n  x = ;\n}\nint later() { }"));
  EXPECT_EQ(parsed.error, XSERR_NOT_IMPLEMNTED);
  EXPECT_EQ(parsed.line, 3);  // the position inside the body
  EXPECT_EQ(parsed.column, 3);
  EXPECT_NE(parsed.Function(u"ok@v"), nullptr);
  EXPECT_EQ(parsed.Function(u"bad@i"), nullptr);
  EXPECT_EQ(parsed.Function(u"later@v"), nullptr);

  ExpectParseErrors({
      {"int f(x) { }", XSERR_INTERNAL, 1, 7},
      {"int f(int) { }", XSERR_INTERNAL, 1, 7},
      {"int f(int a,) { }", XSERR_INTERNAL, 1, 13},
      {"int f(int a b) { }", XSERR_SYNTAX, 1, 1},
      {"int f(int a) return 1;", XSERR_SYNTAX, 1, 1},
      {"{ int f(int a) { } }", XSERR_INTERNAL, 1, 8},  // no definitions inside blocks
  });
}

TEST(ScriptParserDefinitions, StructInsideABlockOutlivesTheText) {
  Parsed parsed;
  ASSERT_TRUE(parsed.Parse("{ struct P { int x; }; P p; }"));
  ASSERT_TRUE(parsed.Parse("P q;"));  // the first text's code list is gone, the type is not
  EXPECT_NE(parsed.program.FindStruct(u"P"), nullptr);
  EXPECT_EQ(parsed.Code(), "decl struct q");
}

TEST(ScriptParserLimits, DeepNestingIsAnErrorNotACrash) {
  Parsed blocks;
  EXPECT_FALSE(blocks.Parse(std::string(200000, '{')));
  EXPECT_EQ(blocks.error, XSERR_INTERNAL);
  Parsed unary;
  EXPECT_FALSE(unary.Parse("x = " + std::string(200000, '-') + "1;"));
  Parsed chain;
  std::string sum = "x = 1";
  for (int i = 0; i < 300; ++i) sum += " + 1";
  EXPECT_TRUE(chain.Parse(sum + ";"));
}

}  // namespace
}  // namespace qorin
