// Script values: text and display forms, copying, the assignment table, variables, truth and
// signature codes.
#include "script_value.h"

#include <gtest/gtest.h>

#include "utf.h"

namespace qorin {
namespace {

using T = XScriptType;

std::string Display(const XScriptValue& value) {
  return Utf16ToUtf8(ToDisplay(value));
}

struct Defs {
  XScriptStructDef rect{
      u"RECT", {{u"left", T::Int}, {u"top", T::Int}, {u"right", T::Int}, {u"bottom", T::Int}}};
  XScriptStructDef pair{u"PAIR", {{u"n", T::Int}, {u"s", T::String}}};
  XScriptStructDef other{u"OTHER", {{u"n", T::Int}, {u"s", T::String}}};
  XScriptStructDef empty{u"EMPTY", {}};
  XScriptStructDef outer{u"OUTER", {{u"d", T::Double}, {u"p", T::Struct, &pair}}};
};

XScriptValue Struct(const XScriptStructDef& def) {
  XScriptValue value;
  value.SetStruct(MakeStructInstance(def));
  return value;
}

TEST(ScriptValueText, ToTextReadsOnlyTexts) {
  const std::u16string literal = u"lit";
  XScriptValue constant;
  constant.SetConstString(&literal);
  EXPECT_EQ(ToText(XScriptValue::OfString(u"abc")), u"abc");
  EXPECT_EQ(ToText(constant), u"lit");
  EXPECT_EQ(ToText(XScriptValue::OfInt(5)), u"");  // an Int is not a text
  EXPECT_EQ(ToText(XScriptValue::OfDouble(1.5)), u"");
  XScriptValue target = XScriptValue::OfString(u"via ref"), ref;
  ref.SetRef(&target);
  EXPECT_EQ(ToText(ref), u"via ref");
  EXPECT_TRUE(IsText(ref));
  EXPECT_FALSE(IsText(XScriptValue::OfInt(1)));
}

TEST(ScriptValueText, DisplayForms) {
  Defs defs;
  XScriptValue undef, voidValue;
  voidValue.SetVoid();
  EXPECT_EQ(Display(undef), "Undef");
  EXPECT_EQ(Display(voidValue), "");
  EXPECT_EQ(Display(XScriptValue::OfInt(-42)), "-42");
  EXPECT_EQ(Display(XScriptValue::OfDouble(0.5)), "0.500000");
  EXPECT_EQ(Display(XScriptValue::OfDouble(1.5)), "1.500000");
  EXPECT_EQ(Display(XScriptValue::OfString(u"a")), "\"a\"");
  XScriptValue pair = Struct(defs.pair);
  pair.Struct()->members[0].SetInt(1);
  pair.Struct()->members[1].SetString(u"a");
  EXPECT_EQ(Display(pair), "struct{1,\"a\"}");
  EXPECT_EQ(Display(Struct(defs.empty)), "}");  // a struct without members: the brace alone
  XScriptValue array;
  MakeVariable({u"a", T::Int}, 3, nullptr, &array);
  EXPECT_EQ(Display(array), "array - size=3");
  XScriptValue ref;
  ref.SetRef(&pair);
  EXPECT_EQ(Display(ref), "struct{1,\"a\"}");
}

TEST(ScriptValueText, NumbersPrintAsTheCLibraryDoes) {
  EXPECT_EQ(DisplayInt(INT32_MIN), u"-2147483648");
  EXPECT_EQ(DisplayDouble(-2.0), u"-2.000000");
  EXPECT_EQ(DisplayDouble(1e20), u"100000000000000000000.000000");
  EXPECT_EQ(DisplayDouble(1.0 / 0.0), u"inf");
  EXPECT_EQ(DisplayDouble(1.7976931348623157e308).size(), 316u);
}

TEST(ScriptValueAssign, SameTypesCopy) {
  Defs defs;
  XScriptValue s = XScriptValue::OfString(u"old");
  EXPECT_TRUE(AssignValue(&s, XScriptValue::OfString(u"new")));
  EXPECT_EQ(s.String(), u"new");
  XScriptValue a = Struct(defs.pair), b = Struct(defs.pair);
  b.Struct()->members[0].SetInt(7);
  b.Struct()->members[1].SetString(u"x");
  EXPECT_TRUE(AssignValue(&a, b));
  EXPECT_EQ(Display(a), "struct{7,\"x\"}");
  b.Struct()->members[1].SetString(u"changed");  // a has its own copy
  EXPECT_EQ(Display(a), "struct{7,\"x\"}");
}

TEST(ScriptValueAssign, TheFourConversions) {
  const std::u16string literal = u"lit";
  XScriptValue constant;
  constant.SetConstString(&literal);
  XScriptValue s = XScriptValue::OfString(u"");
  EXPECT_TRUE(AssignValue(&s, constant));
  EXPECT_EQ(s.String(), u"lit");
  EXPECT_TRUE(AssignValue(&s, XScriptValue::OfInt(-15)));
  EXPECT_EQ(s.String(), u"-15");  // decimal text, although ToText of an Int is empty
  XScriptValue i = XScriptValue::OfInt(0);
  EXPECT_TRUE(AssignValue(&i, XScriptValue::OfDouble(2.9)));
  EXPECT_EQ(i.Int(), 2);
  EXPECT_TRUE(AssignValue(&i, XScriptValue::OfDouble(-2.9)));
  EXPECT_EQ(i.Int(), -2);
  XScriptValue d = XScriptValue::OfDouble(0);
  EXPECT_TRUE(AssignValue(&d, XScriptValue::OfInt(3)));
  EXPECT_EQ(d.Double(), 3.0);
}

TEST(ScriptValueAssign, OtherPairsFailAndLeaveTheTarget) {
  Defs defs;
  XScriptValue i = XScriptValue::OfInt(9);
  EXPECT_FALSE(AssignValue(&i, XScriptValue::OfString(u"1")));
  EXPECT_EQ(i.Int(), 9);
  XScriptValue d = XScriptValue::OfDouble(1.0);
  EXPECT_FALSE(AssignValue(&d, XScriptValue::OfString(u"1")));
  XScriptValue s = XScriptValue::OfString(u"keep");
  EXPECT_FALSE(AssignValue(&s, XScriptValue::OfDouble(1.5)));
  EXPECT_EQ(s.String(), u"keep");
  XScriptValue pair = Struct(defs.pair), other = Struct(defs.other);
  EXPECT_FALSE(AssignValue(&pair, other));  // same members, other type name
  XScriptValue target = XScriptValue::OfInt(1), ref;
  ref.SetRef(&target);
  EXPECT_FALSE(AssignValue(&ref, XScriptValue::OfInt(2)));  // a Ref is never a destination
}

TEST(ScriptValueAssign, ArraysAndOutOfRangeDoubles) {
  XScriptValue a, b;
  MakeVariable({u"a", T::Int}, 2, nullptr, &a);
  MakeVariable({u"b", T::Int}, 5, nullptr, &b);
  b.Array()->elements[0].SetInt(4);
  EXPECT_TRUE(AssignValue(&a, b));  // reports success, changes nothing
  EXPECT_EQ(a.Array()->elements.size(), 2u);
  EXPECT_EQ(a.Array()->elements[0].Int(), 0);
  XScriptValue i = XScriptValue::OfInt(0);
  EXPECT_TRUE(AssignValue(&i, XScriptValue::OfDouble(1e20)));
  EXPECT_EQ(i.Int(), INT32_MIN);  // as the x86 conversion gives, never undefined behaviour
  EXPECT_TRUE(AssignValue(&i, XScriptValue::OfDouble(0.0 / 0.0)));
  EXPECT_EQ(i.Int(), INT32_MIN);
  EXPECT_TRUE(AssignValue(&i, XScriptValue::OfDouble(-2147483648.5)));
  EXPECT_EQ(i.Int(), INT32_MIN);
}

TEST(ScriptValueAssign, ElementsKeepTheirIndex) {
  XScriptValue a;
  MakeVariable({u"a", T::Int}, 3, nullptr, &a);
  EXPECT_TRUE(AssignValue(&a.Array()->elements[2], a.Array()->elements[0]));
  EXPECT_EQ(a.Array()->elements[2].Extra(), 2);
}

TEST(ScriptValueCopy, CopiesOwnedDataButNotArrays) {
  Defs defs;
  XScriptValue outer = Struct(defs.outer);
  outer.Struct()->members[1].Struct()->members[1].SetString(u"deep");
  XScriptValue copy;
  CopyValue(outer, &copy);
  outer.Struct()->members[1].Struct()->members[1].SetString(u"changed");
  EXPECT_EQ(Display(copy), "struct{0.000000,struct{0,\"deep\"}}");
  XScriptValue array, dst = XScriptValue::OfInt(5);
  MakeVariable({u"a", T::Int}, 2, nullptr, &array);
  CopyValue(array, &dst);
  EXPECT_TRUE(dst.Is(T::Int));  // left as it was
  XScriptValue target = XScriptValue::OfInt(1), ref, refCopy;
  ref.SetRef(&target);
  CopyValue(ref, &refCopy);
  EXPECT_EQ(refCopy.Target(), &target);  // the same storage
}

TEST(ScriptValueVariables, Defaults) {
  Defs defs;
  XScriptValue i, d, s, r;
  ASSERT_TRUE(MakeVariable({u"i", T::Int}, 0, nullptr, &i));
  ASSERT_TRUE(MakeVariable({u"d", T::Double}, 0, nullptr, &d));
  ASSERT_TRUE(MakeVariable({u"s", T::String}, 0, nullptr, &s));
  ASSERT_TRUE(MakeVariable({u"r", T::Struct, &defs.outer}, 0, nullptr, &r));
  EXPECT_EQ(Display(i), "0");
  EXPECT_EQ(Display(d), "0.000000");
  EXPECT_EQ(Display(s), "\"\"");
  EXPECT_EQ(Display(r), "struct{0.000000,struct{0,\"\"}}");
  XScriptValue bad;
  EXPECT_FALSE(MakeVariable({u"v", T::Void}, 0, nullptr, &bad));
}

TEST(ScriptValueVariables, InitialValueMustHaveTheDeclaredType) {
  Defs defs;
  const std::u16string literal = u"lit";
  XScriptValue constant;
  constant.SetConstString(&literal);
  XScriptValue s, i, d, p;
  EXPECT_TRUE(MakeVariable({u"s", T::String}, 0, &constant, &s));
  EXPECT_EQ(s.String(), u"lit");
  EXPECT_FALSE(MakeVariable({u"i", T::Int}, 0, &constant, &i));
  XScriptValue one = XScriptValue::OfInt(1);
  EXPECT_FALSE(MakeVariable({u"d", T::Double}, 0, &one, &d));  // no Double <- Int here
  XScriptValue source = Struct(defs.pair);
  source.Struct()->members[0].SetInt(3);
  EXPECT_TRUE(MakeVariable({u"p", T::Struct, &defs.pair}, 0, &source, &p));
  EXPECT_EQ(Display(p), "struct{3,\"\"}");
  XScriptValue other = Struct(defs.other);
  EXPECT_FALSE(MakeVariable({u"p", T::Struct, &defs.pair}, 0, &other, &p));
}

TEST(ScriptValueVariables, ArraysOfEachType) {
  Defs defs;
  XScriptValue ints, strings, structs;
  MakeVariable({u"a", T::Int}, 4, nullptr, &ints);
  MakeVariable({u"s", T::String}, 2, nullptr, &strings);
  MakeVariable({u"r", T::Struct, &defs.rect}, 2, nullptr, &structs);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ints.Array()->elements[i].Extra(), i);
  EXPECT_EQ(ToText(strings.Array()->elements[1]), u"");
  XScriptValue& element = structs.Array()->elements[0];
  EXPECT_TRUE(element.Is(T::Struct));
  EXPECT_EQ(element.Struct(), nullptr);  // no instance: unusable, but harmless
  EXPECT_FALSE(AssignValue(&element, Struct(defs.rect)));
  EXPECT_EQ(Display(element), "}");
}

TEST(ScriptValueCodes, TruthAndSignatureCodes) {
  Defs defs;
  EXPECT_EQ(Truth(XScriptValue::OfInt(2)), true);
  EXPECT_EQ(Truth(XScriptValue::OfInt(0)), false);
  EXPECT_EQ(Truth(XScriptValue::OfDouble(0.0)), false);
  EXPECT_EQ(Truth(XScriptValue::OfDouble(-0.1)), true);
  EXPECT_FALSE(Truth(XScriptValue::OfString(u"1")).has_value());
  std::u16string key;
  XScriptValue undef, voidValue, array;
  voidValue.SetVoid();
  MakeVariable({u"a", T::Int}, 1, nullptr, &array);
  for (const XScriptValue* v : {&undef, &voidValue, &array}) AppendSignatureCode(*v, &key);
  AppendSignatureCode(XScriptValue::OfInt(1), &key);
  AppendSignatureCode(XScriptValue::OfDouble(1), &key);
  AppendSignatureCode(XScriptValue::OfString(u""), &key);
  AppendSignatureCode(Struct(defs.rect), &key);
  EXPECT_EQ(key, u"vEEids(RECT)");
  std::u16string declared;
  AppendSignatureCode(XScriptDecl{u"x", T::Undef}, &declared);
  AppendSignatureCode(XScriptDecl{u"r", T::Struct, &defs.rect}, &declared);
  EXPECT_EQ(declared, u"v(RECT)");
  EXPECT_STREQ(TypeDisplayName(4), "string");
  EXPECT_STREQ(TypeDisplayName(7), "err");
}

}  // namespace
}  // namespace qorin
