// The interpreter: statements and their values, the type rules of assignment and of each
// operator, scopes and dynamic scoping, calls and overloads by key, the results hosts read,
// and the guards against runaway scripts.
#include <gtest/gtest.h>

#include "script_literal.h"
#include "script_test_host.h"

namespace qorin {
namespace {

using test::ScriptFixture;

// Runs the text and returns what it printed, or "error N" when Run failed.
std::string Output(const std::string& text) {
  ScriptFixture f;
  if (!f.Run(text)) return "error " + std::to_string(f.Code());
  return f.Printed();
}

TEST(ScriptInterpreterTypes, AssignmentRules) {
  struct Case {
    const char* text;
    const char* output;
  } cases[] = {
      {"int x = 5; double d = x;", "error 301"},  // Double <- Int is refused
      {"int i = 2.7; print(i);", "2"},
      {"int i = 2.7 * -1; print(i);", "-2"},
      {"int i = -2.7;", "error 1"},  // unary minus takes only an Int
      {"string s = 5; print(s);", "5"},
      {"string s = 'lit'; print(s);", "lit"},
      {"double d = 1.5; print(d);", "1.500000"},
      {"int i = 'x';", "error 301"},
      {"string s = 1.5;", "error 301"},
      {"int a[2]; int b[3]; a = b; print(a[0]);", "0"},
      {"struct A { int n; }; struct B { int n; }; A a; B b; a = b;", "error 301"},
      {"struct A { int n; string s; }; A a; A b; b.n = 4; b.s = 'q'; a = b; b.n = 5; print(a.n + "
       "a.s);",
       "error 200"},
      {"struct A { int n; string s; }; A a; A b; b.s = 'q'; a = b; b.s = 'z'; print(a.s);", "q"},
      {"int x; x = y;", "error 302"},
      {"int x; int y; x = y = 3; print(x); print(y);", "3|3"},
  };
  for (const Case& c : cases) EXPECT_EQ(Output(c.text), c.output) << c.text;
}

TEST(ScriptInterpreterTypes, OperatorRules) {
  struct Case {
    const char* text;
    const char* output;
  } cases[] = {
      {"print('a' + 1);", "a1"},
      {"print('a' + 1.5);", "a1.500000"},
      {"print('a' + 'b');", "ab"},
      {"string s = 'x'; int u; print(s + u + '|');", "x0|"},
      {"int k; string s = 'v'; print(s + k);", "v0"},
      {"print(1 + 'a');", "error 200"},
      {"print(1 + 2.5);", "error 200"},
      {"print(2.5 + 1);", "3.500000"},
      {"print(3.0 - 1.0);", "error 200"},
      {"print(7 - 10);", "-3"},
      {"print(7 % 2);", "error 200"},
      {"print(6 & 3);", "error 200"},
      {"print(6 ^ 3);", "error 200"},
      {"print(1 << 2);", "error 200"},
      {"print(6 | 3);", "7"},
      {"print(2 * 1.5); print(1.5 * 2); print(3 * 4);", "3.000000|3.000000|12"},
      {"print(7 / 2); print(-7 / 2); print(7 / 2.0); print(1.0 / 4);", "3|-3|3.500000|0.250000"},
      {"print(2147483647 + 1);", "-2147483648"},
      {"print(65536 * 65536);", "0"},
      {"print(1 == 1); print(1 != 1); print('a' == 'a'); print('a' != 'A');", "1|0|1|1"},
      {"print(1.0 == 1.0);", "error 200"},
      {"print(1 < 2); print(2 <= 1); print(2 > 1); print(2 >= 3);", "1|0|1|0"},
      {"print('a' < 'b');", "error 200"},
      {"print(2 && 3); print(0 || 0); print(5 || 0);", "1|0|1"},
      {"print(-5); print(+5); print(~0); print(!0); print(!7);", "-5|5|-1|1|0"},
      {"print(-2147483647 - 1); int m = -2147483647 - 1; print(-m);", "-2147483648|-2147483648"},
      {"double d = 1.0; print(-d);", "error 1"},
      {"int x; print(&x);", "error 200"},
      {"int x; print(*x);", "error 200"},
  };
  for (const Case& c : cases) EXPECT_EQ(Output(c.text), c.output) << c.text;
}

TEST(ScriptInterpreterTypes, IncrementAndDecrement) {
  EXPECT_EQ(Output("int i = 5; print(i++); print(i); print(++i); print(i--); print(--i);"),
            "5|6|7|7|5");
  EXPECT_EQ(Output("int a[2]; a[1]++; ++a[1]; print(a[1]);"), "2");
  EXPECT_EQ(Output("int i = 2147483647; i++; print(i);"), "-2147483648");
  EXPECT_EQ(Output("print(++5);"), "6");  // a temporary: the new value, no Ref to it
  EXPECT_EQ(Output("string s; s++;"), "error 1");
}

TEST(ScriptInterpreterTypes, BothSidesAlwaysRun) {
  // && does not short-circuit: 10 / x runs even when x is 0.
  ScriptFixture f;
  EXPECT_EQ(f.Run("int x = 0; int r = x != 0 && 10 / x > 1;"), 0);
  EXPECT_EQ(f.Code(), XSERR_NOT_IMPLEMNTED);
  EXPECT_EQ(f.Error(), "ErrCode:200 ErrHint:'Err@DivideByZero' Line:1 Col:33 Tok:/");
  EXPECT_EQ(Output("int n; int f() { n++; return 1; } int r = f() || f(); print(n);"), "2");
}

TEST(ScriptInterpreterTypes, DivisionFaultsAreErrors) {
  ScriptFixture f;
  EXPECT_EQ(f.Run("int m = -2147483647 - 1; int r = m / -1;"), 0);
  EXPECT_EQ(f.Error(), "ErrCode:200 ErrHint:'Err@DivideOverflow' Line:1 Col:36 Tok:/");
  EXPECT_EQ(Output("print(1.0 / 0);"), "inf");
}

TEST(ScriptInterpreterStatements, ConditionsAndLoops) {
  struct Case {
    const char* text;
    const char* output;
  } cases[] = {
      {"if (1) print(1); else print(2); if (0) print(3); else print(4);", "1|4"},
      {"if (0.5) print('d');", "d"},
      {"if ('x') print('s');", "error 200"},
      {"int i; for (i = 0; i < 3; i++) print(i);", "0|1|2"},
      {"int i; for (i = 0; ; i++) { if (i == 2) break; print(i); }", "0|1"},
      {"int i; int j; for (i = 0; i < 2; i++) for (j = 0; j < 5; j++) { if (j == 1) break; "
       "print(i); }",
       "0|1"},
      {"int i = 0; for (; i < 2;) { int t = i * 10; print(t); i++; }", "0|10"},
      {"print(1); break; print(2);", "1"},
      {"print(1); return; print(2);", "1"},
      {"int f() { print(1); break; print(2); } f(); print(3);", "1|3"},
      {"int f() { int i; for (i = 0; i < 9; i++) { if (i == 2) return i * 100; } } print(f());",
       "200"},
  };
  for (const Case& c : cases) EXPECT_EQ(Output(c.text), c.output) << c.text;
}

TEST(ScriptInterpreterStatements, ValuesOfBlocksAndFunctions) {
  struct Case {
    const char* text;
    const char* output;
  } cases[] = {
      {"int f() { 7; } print(f());", "7"},  // the last statement's value
      {"int f() { int x = 3; x; } print(f());", "3"},
      {"int f() { if (1) 5; } print(f());", "5"},
      {"int f() { int x; } string s = 'r:' + f(); print(s);", "r:Undef"},
      {"int f() { { return 4; } print(9); } print(f());", "4"},
      {"int f() { int i; for (i = 0; i < 3; i++) { } } print('v' + f());", "vUndef"},
      {"int f() { 5; struct Zq { int a; } } print('r' + f());", "rUndef"},  // its last item
  };
  for (const Case& c : cases) EXPECT_EQ(Output(c.text), c.output) << c.text;
}

TEST(ScriptInterpreterScopes, DeclarationsAndShadowing) {
  struct Case {
    const char* text;
    const char* output;
  } cases[] = {
      {"int x; int x;", "error 300"},
      {"int x = 1; { int x = 2; print(x); } print(x);", "2|1"},
      {"int i; for (i = 0; i < 2; i++) { int t = i; print(t); }", "0|1"},
      {"{ int t = 1; } print(t);", "error 302"},
      {"int a[0];", "error 304"},
      {"int a['x'];", "error 303"},
      {"int n = 3; int a[n]; print(a[2]);", "0"},
      {"int a[3]; print(a[3]);", "error 307"},
      {"int a[3]; print(a[-1]);", "error 307"},
      {"int a[3]; print(a[1.0]);", "error 303"},
      {"int x; print(x[0]);", "error 306"},
      {"print(q[0]);", "error 302"},
      {"print(M_PI); double M_PI = 3.0; print(M_PI);", "3.141593|3.000000"},
      {"print(M_PI[0]);", "error 302"},  // the constants are not searched for elements
      {"int a[100000000];", "error 305"},
  };
  for (const Case& c : cases) EXPECT_EQ(Output(c.text), c.output) << c.text;
}

TEST(ScriptInterpreterScopes, RedefinitionIsRecordedAtTheSecondDeclaration) {
  ScriptFixture f;
  EXPECT_EQ(f.Run("int x;\n  int x;"), 0);
  EXPECT_EQ(f.Error(), "ErrCode:300 ErrHint:'' Line:2 Col:7 Tok:x");
  EXPECT_TRUE(f.host.traces.empty());  // without the message
  f.engine.Options().continueOnError = 1;
  EXPECT_EQ(f.Run("int y; int y; print(1);"), 0);  // and regardless of continueOnError
}

TEST(ScriptInterpreterScopes, StructMembers) {
  const char* rect = "struct RECT { int left; int top; int right; int bottom;  };";
  ScriptFixture f;
  ASSERT_EQ(f.Run(rect), 1);
  EXPECT_EQ(f.Run("RECT r; r.right = 30; r.bottom = r.right + 1; print(r.bottom); print('' + r);"),
            1);
  EXPECT_EQ(f.Printed(), "31|struct{0,0,30,31}");
  EXPECT_EQ(f.Run("r.middle = 1;"), 0);
  EXPECT_EQ(f.Error(), "ErrCode:1 ErrHint:'' Line:1 Col:3 Tok:middle");
  EXPECT_EQ(f.Run("int n; n.x = 1;"), 0);
  EXPECT_EQ(f.Code(), XSERR_INTERNAL);
  EXPECT_EQ(f.Run("RECT rs[2]; rs[0] = r;"), 0);  // elements of struct arrays carry no instance
  EXPECT_EQ(f.Code(), XSERR_CANNOT_ASSIGN);
  EXPECT_EQ(f.Run("struct P { RECT a; int n; }; P p; p.a.left = 5; print(p.a.left);"), 1);
}

TEST(ScriptInterpreterCalls, DynamicScoping) {
  EXPECT_EQ(Output("int g() { return v; } int f() { int v = 1; return g(); } print(f());"), "1");
  EXPECT_EQ(Output("int v = 9; int g() { return v; } int f() { int v = 1; return g(); } "
                   "print(f()); print(g());"),
            "1|9");
  EXPECT_EQ(Output("int g() { v = 5; } int f() { int v = 1; g(); return v; } print(f());"), "5");
  EXPECT_EQ(Output("int g() { return v; } print(g());"), "error 302");
}

TEST(ScriptInterpreterCalls, ArgumentsByValueAndRecursion) {
  EXPECT_EQ(Output("int f(int x) { x = 10; return x; } int a = 1; print(f(a)); print(a);"), "10|1");
  EXPECT_EQ(
      Output(
          "string f(string s) { s = s + '!'; return s; } string t = 'hi'; print(f(t)); print(t);"),
      "hi!|hi");
  EXPECT_EQ(
      Output(
          "struct P { int n; }; int f(P p) { p.n = 7; return p.n; } P q; print(f(q)); print(q.n);"),
      "7|0");
  EXPECT_EQ(Output("int fib(int n) { if (n < 2) return n; return fib(n - 1) + fib(n - 2); } "
                   "print(fib(15));"),
            "610");
  EXPECT_EQ(Output("int f(int a, int a) { }  f(1, 2);"), "error 300");
  EXPECT_EQ(Output("int f(int n[3]) { print(n[2]); } f(5);"), "0");
  EXPECT_EQ(Output("int f(void) { print('v'); } f();"), "v");
}

TEST(ScriptInterpreterCalls, OverloadsByKeyOnly) {
  const char* defs =
      "string f(int x) { return 'int'; } string f(double x) { return 'double'; } "
      "string f(string x) { return 'string'; } ";
  EXPECT_EQ(Output(std::string(defs) + "print(f(1)); print(f(1.0)); print(f('a'));"),
            "int|double|string");
  ScriptFixture f;
  ASSERT_EQ(f.Run("int g(double x) { return 1; }"), 1);
  EXPECT_EQ(f.Run("g(1);"), 0);  // no conversion finds g@d
  EXPECT_EQ(f.Error(), "ErrCode:400 ErrHint:'' Line:1 Col:3 Tok:1");
  EXPECT_EQ(f.Run("nothing();"), 0);
  EXPECT_EQ(f.Error(), "ErrCode:400 ErrHint:'' Line:1 Col:1 Tok:nothing");
  f.engine.Options().ignoreUnknownFunctions = 1;
  EXPECT_EQ(f.Run("g(1); nothing(); print('still');"), 1);
  EXPECT_EQ(f.Result(), "Undef");
  EXPECT_EQ(f.Printed(), "still");
}

TEST(ScriptInterpreterCalls, ScriptFunctionsHideNatives) {
  EXPECT_EQ(Output("int abs(int x) { return 99; } print(abs(-1));"), "99");
  EXPECT_EQ(Output("string print(string s) { } print('hidden'); print(1);"), "1");
}

TEST(ScriptInterpreterRun, TextsShareGlobalsAndDefinitions) {
  ScriptFixture f;
  ASSERT_EQ(f.Run("int count = 1; string OnGetLanguage() { return 'Korean'; }"), 1);
  ASSERT_EQ(f.Run("count++;"), 1);
  ASSERT_EQ(f.Run("OnGetLanguage();"), 1);
  EXPECT_TRUE(IsText(f.engine.LastResult()));  // the literal's text, as a host reads it
  EXPECT_EQ(ToText(f.engine.LastResult()), u"Korean");
  ASSERT_EQ(f.Run("count;"), 1);
  EXPECT_EQ(f.Result(), "2");
  ASSERT_EQ(f.Run("int late;"), 1);
  EXPECT_EQ(f.Result(), "Undef");     // a declaration leaves nothing
  EXPECT_EQ(f.Run("int count;"), 0);  // the same top-level declaration again: 300
}

TEST(ScriptInterpreterRun, EffectsBeforeAnErrorStay) {
  ScriptFixture f;
  EXPECT_EQ(f.Run("int a = 1; int f() { return 2; } a = 5; b = 1; a = 7;"), 0);
  EXPECT_EQ(f.Run("print(a); print(f());"), 1);
  EXPECT_EQ(f.Printed(), "5|2");
}

// A text run from inside a native (a host text arriving while the script waits in a message
// loop) runs nested: the native reads its answer, a failed text answers nothing, the outer text
// goes on with its own result; recursion through the host ends at the shared stack budget.
TEST(ScriptInterpreterRun, NestedRunsKeepTheirOwnResults) {
  ScriptFixture f;
  ASSERT_EQ(f.Run("string Where(string n) { return 'D:/' + n; }"), 1);
  std::u16string inner;
  f.host.natives[u"Ask@v"] = [&](XScriptValue* const*, int32_t, XScriptValue* result) {
    ASSERT_EQ(f.engine.Run(u"int made = 1; Where('a.txt');"), 1);
    inner = ToText(f.engine.LastResult());
    EXPECT_EQ(f.engine.Run(u"Where(');"), 0);
    EXPECT_TRUE(f.engine.LastResult().Is(XScriptType::Undef));
    result->SetInt(7);
  };
  ASSERT_EQ(f.Run("int r = Ask(); r + made;"), 1);
  EXPECT_EQ(inner, u"D:/a.txt");
  EXPECT_EQ(f.Result(), "8");
  int depth = 0;
  f.host.natives[u"Again@v"] = [&](XScriptValue* const*, int32_t, XScriptValue*) {
    ++depth;
    f.engine.Run(u"Again();");
  };
  EXPECT_EQ(f.Run("Again(); print('after');"), 1);
  EXPECT_GT(depth, 2);
  EXPECT_EQ(f.Printed(), "after");
}

// Texts from data reach a host's statement as their own value, whatever marks they hold, with
// and without backslash escapes.
TEST(ScriptInterpreterRun, LiteralsCarryAnyText) {
  const std::u16string texts[] = {u"",
                                  u"it's.txt",
                                  u"say \"hi\"",
                                  u"both ' and \" and '\"",
                                  u"C:\\Program Files\\",
                                  u"line\r\nbreak\n",
                                  u"x\");P(\"injected\", GetInstallPath());P(\"x\", \"",
                                  u"'); DoExit(9); ('"};
  for (bool escapes : {false, true}) {
    for (const std::u16string& text : texts) {
      ScriptFixture f;
      f.engine.Options().escapes = escapes;
      ASSERT_EQ(f.engine.Run(u"string s = " + ScriptLiteral(text, escapes) + u"; s;"), 1)
          << Utf16ToUtf8(ScriptLiteral(text, escapes));
      EXPECT_EQ(ToText(f.engine.LastResult()), text) << escapes;
    }
  }
}

TEST(ScriptInterpreterErrors, ContinueOnErrorGoesOnHarmlessly) {
  ScriptFixture f;
  f.engine.Options().continueOnError = 1;
  ASSERT_EQ(f.Run("int a[2]; a[5] = 1; print(a[9] + 1); print('x' + missing.y); "
                  "if ('s') print('true'); print('end');"),
            1);
  EXPECT_EQ(f.Printed(), "true|end");
  EXPECT_GE(f.host.traces.size(), 5u);
  ASSERT_EQ(f.Run("a[7]++; int z = a[8]; print(z);"), 1);
}

TEST(ScriptInterpreterErrors, RunawayScriptsEndWithAnError) {
  ScriptFixture f;
  EXPECT_EQ(f.Run("int f(int n) { return f(n + 1); } f(0);"), 0);
  EXPECT_EQ(f.Code(), XSERR_INTERNAL);
  EXPECT_EQ(f.engine.GetScriptError().hint, u"Err@StackDepth");
  f.engine.Options().continueOnError = 1;  // the guard ends the Run all the same
  EXPECT_EQ(f.Run("int g(int n) { g(n + 1); g(n + 1); } g(0);"), 0);
  f.engine.SetStepLimit(10000);
  EXPECT_EQ(f.Run("for (;;) { }"), 0);
  EXPECT_EQ(f.engine.GetScriptError().hint, u"Err@StepLimit");
  EXPECT_EQ(f.Run("print(1);"), 1);  // the engine is still usable
}

}  // namespace
}  // namespace qorin

namespace qorin {
namespace {

TEST(ScriptInterpreterRun, EventTextsRunAgainAndAgain) {
  test::ScriptFixture f;
  ASSERT_EQ(f.Run("int ticks; void OnTimer() { ticks++; string s = 'tick'; }"), 1);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(f.Run("OnTimer();"), 1);
  ASSERT_EQ(f.Run("ticks;"), 1);
  EXPECT_EQ(f.Result(), "1000");
}

}  // namespace
}  // namespace qorin

namespace qorin {
namespace {

using test::ScriptFixture;

// The fast paths keep the language's rules: a call site whose argument types change finds the
// other overload; a function defined by a later text is found by a site that ran before.
TEST(ScriptInterpreterSpeed, CallSitesFollowTypesAndLaterDefinitions) {
  ScriptFixture s;
  ASSERT_EQ(s.Run("string f(int x) { return 'int'; } string f(string x) { return 'string'; } "
                  "string Call(int which) { if (which == 1) return f(1); return f('a'); } "
                  "void Both(int n, string t) { print(f(n)); print(f(t)); }"),
            1);
  ASSERT_EQ(s.Run("int v; for (v = 1; v <= 2; v++) print(Call(v)); Both(3, 'x');"), 1) << s.Error();
  EXPECT_EQ(s.Printed(), "int|string|int|string");
  ASSERT_EQ(s.Run("void Later() { print(g(1)); }"), 1);
  EXPECT_EQ(s.Run("Later();"), 0) << "g is not defined yet";
  ASSERT_EQ(s.Run("int g(int x) { return x + 41; } Later();"), 1) << s.Error();
  EXPECT_EQ(s.host.prints.back(), "42");
}

// Strings that share a text stay independent values; natives get texts of their own.
TEST(ScriptInterpreterSpeed, SharedStringsStayIndependent) {
  ScriptFixture s;
  std::u16string seen;
  s.host.natives[u"Keep@s"] = [&](XScriptValue* const* args, int32_t, XScriptValue*) {
    seen = std::u16string(ToText(*args[0]));
    args[0]->SetString(u"changed by the native");
  };
  ASSERT_EQ(s.Run("string a = 'one'; string b = a; b = b + 'two'; string c = b; "
                  "void P(string t) { t = t + '!'; print(t); } P(a); Keep(c); "
                  "print(a + '/' + b + '/' + c);"),
            1)
      << s.Error();
  EXPECT_EQ(s.Printed(), "one!|one/onetwo/onetwo");
  EXPECT_EQ(seen, u"onetwo");
}

// Blocks without declarations of their own share the enclosing scope, yet declarations in a
// block inside a loop's block are made anew each time round.
TEST(ScriptInterpreterSpeed, BlockScopesWhereTheyDeclare) {
  ScriptFixture s;
  ASSERT_EQ(s.Run("int i; int total = 0; for (i = 0; i < 3; i++) { if (i > 0) { int k = i; "
                  "total = total + k; } } print(total);"),
            1)
      << s.Error();
  EXPECT_EQ(s.Printed(), "3");
  EXPECT_EQ(s.Run("{ int z = 1; } print(z);"), 0) << "z lives in its block";
  EXPECT_EQ(s.Run("int q = 1; int q = 2;"), 0);
  EXPECT_EQ(s.Code(), XSERR_VARIABLE_REDEFINITION);
}

// Names of parameters read straight from the call's scope mean what a look-up by name finds:
// a local of the same name after its declaration, the parameter before it and in nested calls'
// arguments, the caller's parameter in a callee (dynamic scoping).
TEST(ScriptInterpreterSpeed, ParametersMeanWhatTheirNamesFind) {
  EXPECT_EQ(Output("int f(int n) { int a = n; { int n = 5; a = a + n; } return a + n; } "
                   "print(f(1));"),
            "7");
  EXPECT_EQ(Output("int g() { return n * 2; } int f(int n) { return g() + n; } print(f(4));"),
            "12");
  EXPECT_EQ(Output("int h(int a, int b) { return a * 10 + b; } int k(int a, int b) { return "
                   "h(b, a) + h(a + 1, b); } print(k(1, 2));"),
            "43");
  EXPECT_EQ(Output("double d(double x, int i) { x = x + i; return x; } print(d(1.5, 2));"),
            "3.500000");
  EXPECT_EQ(Output("int r(int n) { if (n == 0) return 0; int m = n; return m + r(n - 1); } "
                   "print(r(4));"),
            "10");
}

// Steps are counted as before on the int fast path: the same limit stops the same loop.
TEST(ScriptInterpreterSpeed, StepLimitCountsOperands) {
  ScriptFixture s;
  s.engine.SetStepLimit(60);
  EXPECT_EQ(s.Run("int i; int n = 0; for (i = 0; i < 100; i++) n = n + i;"), 0);
  EXPECT_NE(s.Error().find("Err@StepLimit"), std::string::npos) << s.Error();
}

}  // namespace
}  // namespace qorin
