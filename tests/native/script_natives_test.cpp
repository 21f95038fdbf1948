// Natives and diagnostics: the base library, what the host receives (keys, Deref'ed argument
// copies, results), the host helpers, and the exact error message and summary texts.
#include <gtest/gtest.h>

#include "base_library.h"
#include "script_test_host.h"

namespace qorin {
namespace {

using test::ScriptFixture;

const char kRect[] = "struct RECT { int left; int top; int right; int bottom;  };";

TEST(ScriptBaseLibrary, PrintDebugAndMath) {
  ScriptFixture f;
  ASSERT_EQ(f.Run("print(5); print(2.5); print('text'); Debug('d'); Debug(3); Debug(0.25);"), 1);
  EXPECT_EQ(f.Printed(), "5|2.500000|text");
  EXPECT_EQ(f.host.debugs, (std::vector<std::string>{"d", "3", "0.250000"}));
  ASSERT_EQ(f.Run("sin(0);"), 1);
  EXPECT_TRUE(f.engine.LastResult().Is(XScriptType::Double));
  EXPECT_EQ(f.Result(), "0.000000");
  ASSERT_EQ(f.Run("cos(0.0);"), 1);
  EXPECT_EQ(f.Result(), "1.000000");
  ASSERT_EQ(f.Run("abs(-7);"), 1);
  EXPECT_EQ(f.Result(), "7");
  ASSERT_EQ(f.Run("abs(-2147483647 - 1);"), 1);
  EXPECT_EQ(f.Result(), "-2147483648");  // the smallest int stays negative
  ASSERT_EQ(f.Run("print(1);"), 1);
  EXPECT_TRUE(f.engine.LastResult().Is(XScriptType::Undef));  // a void native
  EXPECT_TRUE(f.host.keys.empty());                           // the library answered everything
}

TEST(ScriptBaseLibrary, Str2Int) {
  struct Case {
    const char16_t* text;
    int32_t value;
  } cases[] = {{u" 42abc", 42},
               {u"abc", 0},
               {u"", 0},
               {u"-17", -17},
               {u"+8", 8},
               {u"\t\n 9", 9},
               {u"99999999999", INT32_MAX},
               {u"-99999999999", INT32_MIN},
               {u"2147483648", INT32_MAX},
               {u"-2147483648", INT32_MIN},
               {u"- 5", 0},
               {u"0x10", 0}};
  for (const Case& c : cases) EXPECT_EQ(Str2Int(c.text), c.value);
  EXPECT_EQ(Str2Int(u"12"), 12);
}

TEST(ScriptBaseLibrary, HandledEvenWithoutCallback) {
  XScript engine;
  EXPECT_EQ(engine.Run(u"print('nobody listens'); Debug(1); int x = abs(-3);"), 1);
  EXPECT_EQ(engine.Run(u"y = 1;"), 0);  // and errors go nowhere, but are recorded
  EXPECT_EQ(engine.GetScriptError().code, XSERR_UNDECLARED_ID);
}

TEST(ScriptHostNatives, KeysAndArguments) {
  ScriptFixture f;
  ASSERT_EQ(f.Run(kRect), 1);
  std::vector<std::string> seen;
  auto record = [&](XScriptValue* const* args, int32_t count, XScriptValue*) {
    std::string line;
    for (int32_t i = 0; i < count; ++i) line += Utf16ToUtf8(ToDisplay(*args[i])) + ";";
    seen.push_back(line);
  };
  for (const char16_t* key : {u"MessageBox@s", u"MessageBox@si", u"MoveWindow@(RECT)", u"Show@v"})
    f.host.natives[key] = record;
  EXPECT_EQ(f.Run("MessageBox('hi'); string s = 'v'; MessageBox(s, 3); RECT r; r.left = 1; "
                  "MoveWindow(r); Show(print(1));"),
            1);
  EXPECT_EQ(f.host.keys, (std::vector<std::u16string>{u"MessageBox@s", u"MessageBox@si",
                                                      u"MoveWindow@(RECT)", u"Show@v"}));
  EXPECT_EQ(seen, (std::vector<std::string>{"\"hi\";", "\"v\";3;", "struct{1,0,0,0};", "Undef;"}));
  EXPECT_EQ(f.Run("int a[2]; Take(a);"), 0);  // an array argument has code "E"
  EXPECT_EQ(f.host.keys.back(), u"Take@E");
  EXPECT_EQ(f.Code(), XSERR_CANT_FIND_FUNC);
}

TEST(ScriptHostNatives, ArgumentsAreCopiesOfDerefedValues) {
  ScriptFixture f;
  f.host.natives[u"Clobber@is"] = [](XScriptValue* const* args, int32_t, XScriptValue*) {
    EXPECT_FALSE(args[0]->Is(XScriptType::Ref));
    args[0]->SetInt(999);
    args[1]->SetString(u"changed");
  };
  ASSERT_EQ(f.Run("int n = 1; string s = 'same'; Clobber(n, s); print(n); print(s);"), 1);
  EXPECT_EQ(f.Printed(), "1|same");
}

TEST(ScriptHostNatives, StructResultsFlowIntoTheNextNative) {
  ScriptFixture f;
  ASSERT_EQ(f.Run(kRect), 1);
  f.host.natives[u"GetRect@i"] = [&](XScriptValue* const* args, int32_t, XScriptValue* result) {
    ASSERT_TRUE(f.engine.MakeStruct(u"RECT", result));
    int32_t edges[] = {args[0]->Int(), 20, 110, 70};
    XScript::SetStructInts(result, 4, edges);
  };
  f.host.natives[u"Width@(RECT)"] = [](XScriptValue* const* args, int32_t, XScriptValue* result) {
    const auto& m = args[0]->Struct()->members;
    result->SetInt(m[2].Int() - m[0].Int());
  };
  ASSERT_EQ(f.Run("print(Width(GetRect(10))); RECT r = GetRect(0); print(r.bottom);"), 1);
  EXPECT_EQ(f.Printed(), "100|70");
}

TEST(ScriptHostHelpers, MakeStructSetStructIntsDeclareInt) {
  XScript engine;
  XScriptValue value = XScriptValue::OfInt(4);
  EXPECT_FALSE(engine.MakeStruct(u"RECT", &value));  // unknown type: value as it was
  EXPECT_EQ(value.Int(), 4);
  ASSERT_EQ(engine.Run(u"struct MIX { int a; string s; int b; };"), 1);
  ASSERT_TRUE(engine.MakeStruct(u"MIX", &value));
  int32_t ints[] = {1, 2, 3};
  XScript::SetStructInts(&value, 3, ints);
  EXPECT_EQ(ToDisplay(value), u"struct{1,\"\",0}");  // stops at the first member not an Int
  XScriptValue number = XScriptValue::OfInt(8);
  XScript::SetStructInts(&number, 3, ints);  // a non-struct is left alone
  EXPECT_EQ(number.Int(), 8);

  XScript fresh;
  EXPECT_TRUE(fresh.DeclareInt(u"IDC_OK", 1001));  // before any Run
  EXPECT_TRUE(fresh.DeclareInt(u"IDC_OK", 5));     // an existing name keeps its value
  ASSERT_EQ(fresh.Run(u"IDC_OK;"), 1);
  EXPECT_EQ(fresh.LastResult().Int(), 1001);
}

TEST(ScriptDiagnostics, RuntimeErrorMessages) {
  ScriptFixture f;
  EXPECT_EQ(f.Run("y = 1;"), 0);
  ASSERT_EQ(f.host.traces.size(), 1u);
  EXPECT_EQ(f.host.traces[0],
            "Script Error: y (code:XSERR_UNDECLARED_ID(302), line:1, col:1, hint:'Err@FindVar:y')");
  EXPECT_EQ(f.Error(), "ErrCode:302 ErrHint:'Err@FindVar:y' Line:1 Col:1 Tok:y");
  XScriptErrorInfo info = f.engine.GetScriptError();
  EXPECT_EQ(info.token, u"y");
  EXPECT_EQ(info.hint, u"Err@FindVar:y");

  EXPECT_EQ(f.Run("print(1, 2);"), 0);
  EXPECT_EQ(f.host.traces.back(),
            "Script Error: 1 (code:XSERR_CANT_FIND_FUNC(400), line:1, col:7, hint:'')");
  EXPECT_EQ(f.Run("int x = 1;\ndouble d = 0.5;\nx = d + 'a';"), 0);
  EXPECT_EQ(f.host.traces.back(),
            "Script Error: + (code:XSERR_NOT_IMPLEMNTED(200), line:3, col:7, hint:'')");
}

TEST(ScriptDiagnostics, LexerAndParserErrorsHaveNoToken) {
  ScriptFixture f;
  EXPECT_EQ(f.Run("y = 1;"), 0);
  EXPECT_EQ(f.Run("x = 1"), 0);
  EXPECT_EQ(f.Error(), "ErrCode:201 ErrHint:'Err@FindVar:y' Line:1 Col:1 Tok:(none)");  // hint kept
  EXPECT_EQ(f.host.traces.size(), 1u);  // no message for parse errors
  EXPECT_EQ(f.Run("a;\n/* open"), 0);
  EXPECT_EQ(f.Code(), XSERR_TOK_UNEXPECTED_EOF_FOUND_IN_COMMENT);
  EXPECT_EQ(f.engine.GetScriptError().line, 2);
  EXPECT_EQ(f.engine.GetScriptError().column, 8);
  EXPECT_EQ(f.Run("print('fine');"), 1);
  EXPECT_EQ(f.Code(), XSERR_TOK_UNEXPECTED_EOF_FOUND_IN_COMMENT);  // until a new error replaces it
}

TEST(ScriptDiagnostics, ErrorNames) {
  EXPECT_STREQ(XSErrName(0), "XSERR_OK");
  EXPECT_STREQ(XSErrName(107), "XSERR_TOK_UNRECOG_CHAR_ESCAPCE_SEQUENCE");
  EXPECT_STREQ(XSErrName(308), "XSERR_INVALID_CONDITION_TYPE");
  EXPECT_STREQ(XSErrName(400), "XSERR_CANT_FIND_FUNC");
  EXPECT_STREQ(XSErrName(2), "unknown err");
  EXPECT_STREQ(XSErrName(-1), "unknown err");
}

TEST(ScriptDiagnostics, TraceAndDumpTreeGoToDebug) {
  ScriptFixture f;
  f.engine.Options().trace = 1;
  f.engine.Options().dumpTree = 1;
  ASSERT_EQ(f.Run("int f(int a) { return a + 1; } int x = f(2);"), 1);
  std::string all;
  for (const std::string& line : f.host.debugs) all += line + "\n";
  EXPECT_NE(all.find("FuncDef f@i"), std::string::npos);
  EXPECT_NE(all.find("call f@i"), std::string::npos);
  EXPECT_NE(all.find("decl x = 0"), std::string::npos);
}

}  // namespace
}  // namespace qorin
