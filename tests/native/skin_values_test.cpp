// The skin's value syntaxes, as skin authors write them.
#include "skin_values.h"

#include <gtest/gtest.h>

#include "utf.h"
#include "window_styles.h"

namespace qorin {
namespace {

uint32_t Fixed() {
  return 300;  // 300 % 255 = 45
}

TEST(SkinValues, BooleansAndIntegers) {
  EXPECT_TRUE(ParseBool(u"true"));
  EXPECT_TRUE(ParseBool(u"1"));
  for (const char16_t* no : {u"TRUE", u"yes", u"on", u"", u"2"}) EXPECT_FALSE(ParseBool(no));
  EXPECT_EQ(ParseInt(u"  -42px"), -42);
  EXPECT_EQ(ParseInt(u"x1"), 0);
  EXPECT_EQ(ParseInt(u"99999999999"), 2147483647);
  for (auto [dpi, scaled] : {std::pair{96, 500}, {120, 625}, {144, 750}, {192, 1000}})
    EXPECT_EQ(ParseScaledInt(u"500", dpi), scaled) << dpi;
  EXPECT_EQ(ParseScaledInt(u"3", 144), 5) << "4.5 rounds up, as MulDiv";
  EXPECT_EQ(ParseScaledInt(u"2147483647", 192), -1) << "MulDiv's answer when it cannot fit";
  for (auto [text, points] : {std::pair{u"9.5", 9.5},
                              {u"1e300", 1000.0},
                              {u"-1e300", -1000.0},
                              {u"nan", 0.0},
                              {u"x", 0.0}})
    EXPECT_EQ(ParseFontPoints(text), points) << Utf16ToUtf8(text);
}

TEST(SkinValues, QuadruplesAndSizes) {
  int margin[4] = {0, 0, 0, 0};
  ParseQuad(u"5", 96, margin);
  EXPECT_EQ(margin[0], 5);
  EXPECT_EQ(margin[1], 0) << "a Margin of 5 sets only the top";
  int position[4] = {1, 2, 3, 4};
  ParseQuad(u"10, 20", 144, position);
  EXPECT_EQ((std::vector<int>(position, position + 4)), (std::vector<int>{15, 30, 5, 6}))
      << "missing fields are kept, then all four are scaled";
  EXPECT_EQ(ParseSize(u"fit2text", 96).kind, XSizeValue::kFitText);
  EXPECT_EQ(ParseSize(u"fit2child", 96).kind, XSizeValue::kFitChild);
  EXPECT_EQ(ParseSize(u"fit2parent", 96).kind, XSizeValue::kFitParent);
  XSizeValue percent = ParseSize(u"50%", 144);
  EXPECT_EQ(percent.kind, XSizeValue::kPercent);
  EXPECT_EQ(percent.value, 50) << "percentages are not scaled";
  EXPECT_EQ(ParseSize(u"-10", 96).value, -10);
}

TEST(SkinValues, Colours) {
  EXPECT_EQ(ParseColour(u"Red"), ParseColour(u"red"));
  EXPECT_EQ(ParseColour(u"red"), 0x0000FF) << "COLORREF: red in the low byte";
  EXPECT_EQ(ParseColour(u"#102030"), 0x302010);
  EXPECT_EQ(ParseColour(u"grey"), ParseColour(u"gray"));
  EXPECT_EQ(ParseColour(u"DarkSlateGrey"), 0x4F4F2F);
  EXPECT_EQ(ParseColour(u"rebeccapurple"), 0x993366);
  EXPECT_EQ(ParseColour(u"yellowgreen"), 0x32CD9A);
  EXPECT_EQ(ParseColour(u"transparent"), 0xFFFFFF);
  EXPECT_EQ(ParseColour(u"random", Fixed), 45 | 45 << 8 | 45 << 16);
  EXPECT_EQ(ParseColour(u"COLOR_btnface"), -15);
  EXPECT_EQ(ParseColour(u"COLOR_3DFACE"), -15);
  EXPECT_EQ(ParseColour(u"COLOR_BACKGROUND"), -1);
  EXPECT_EQ(ParseColour(u"COLOR_BTNHIGHLIGHT"), -20);
  EXPECT_EQ(ParseColour(u"no-such-colour"), 0);
  EXPECT_EQ(ParseColour(u"#12"), 0) << "too short for a hex colour";
}

TEST(SkinValues, NamesOfCursorsImageTypesAndAlignments) {
  EXPECT_EQ(ParseCursor(u"IDC_HAND"), 0);
  EXPECT_EQ(ParseCursor(u"IDC_NO"), 15);
  EXPECT_EQ(ParseCursor(u"idc_hand"), -1);
  EXPECT_EQ(ParseImageType(u"left_center"), 8);
  EXPECT_EQ(ParseImageType(u"Stretch"), -1);
  const char16_t* aligns[] = {u"fixed",      u"hardfixed",   u"stack",       u"center",
                              u"top_center", u"rightbottom", u"leftbottom",  u"righttop",
                              u"lefttop",    u"leftcenter",  u"rightcenter", u"client",
                              u"top",        u"left",        u"right",       u"bottom"};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(ParseAlign(aligns[i]), i + 1) << i;
  EXPECT_EQ(ParseAlign(u"Top"), kAlignNone);
  EXPECT_EQ(MirrorAlign(kAlignLeftBottom), kAlignRightBottom);
  EXPECT_EQ(MirrorAlign(kAlignRightCenter), kAlignLeftCenter);
  EXPECT_EQ(MirrorAlign(kAlignTop), kAlignTop);
  std::u16string unknown;
  EXPECT_EQ(ParseWindowStyles(u"WS_CHILD | WS_VISIBLE|ES_MULTILINE  LVS_REPORT"), 0x50000005u);
  EXPECT_EQ(ParseWindowStyles(u"WS_EX_CLIENTEDGE | WS_BOGUS", &unknown), 0x200u);
  EXPECT_EQ(unknown, u"WS_BOGUS");
}

}  // namespace
}  // namespace qorin
