// The layout: a skin snippet in, the placed rectangles out (as `qorin layout` lists them).
#include "layout.h"

#include <gtest/gtest.h>

#include "layout_listing.h"
#include "skin_test_skin.h"

namespace qorin {
namespace {

struct LayoutCase {
  const char* body;
  int width, height;
  const char* listing;
  int dpi = 96;
  bool rtl = false;
};

std::string Listing(const LayoutCase& c) {
  test::TestSkin skin;
  if (!skin.Load(c.body, c.dpi, c.rtl)) return "error " + std::to_string(skin.Error().code);
  skin.document->Layout().LayoutAll(c.width, c.height);
  return LayoutListing(*skin.document);
}

void ExpectListings(std::initializer_list<LayoutCase> cases) {
  for (const LayoutCase& c : cases) EXPECT_EQ(Listing(c), c.listing) << c.body;
}

TEST(Layout, DockedStrips) {
  ExpectListings({
      {R"(<Static Name="b" Align="bottom" Height="34" Margin="0,0,20,0"/>)", 500, 300,
       "b 0,246,500,280\n"},
      {R"(<Static Name="l" Align="left" Width="50%" Margin="0,10,0,10"/>)", 500, 300,
       "l 10,0,240,300\n"},
      {R"(<Static Name="c1" Align="client"/><Static Name="c2" Align="client"/>)"
       R"(<Static Name="t" Height="20"/>)",
       100, 50, "c1 0,0,100,50\nc2 0,0,100,50\nt 0,0,100,20\n"},
      {R"(<Static Name="l" Align="left" Width="100" HideWhenSmall="true"/>)"
       R"(<Static Name="r" Align="left" Width="30"/>)",
       80, 40, "l hidden\nr 0,0,30,40\n"},
      {R"(<Static Name="t" Width="-10" Height="0"/><Static Name="u" Width="-1" Height="0"/>)", 300,
       100, "t 0,0,290,0\nu 0,0,300,0\n"},
      {R"(<Static Name="r" Align="right" Width="30" Height="10"/><Static Name="b" )"
       R"(Align="bottom" Height="10" MinHeight="15"/><Static Name="m" Align="top" )"
       R"(Height="90" MaxHeight="20"/>)",
       100, 50, "r 70,0,100,10\nb 0,35,70,50\nm 0,0,70,20\n"},
  });
}

TEST(Layout, PlacedWithoutConsumingTheArea) {
  ExpectListings({
      {R"(<Static Name="f" Align="fixed" Left="10" Top="5" Width="20" Height="20"/>)"
       R"(<Static Name="h" Align="hardfixed" Left="90" Top="5" Width="20" Height="20"/>)"
       R"(<Static Name="p" Align="fixed" Position="1,2,3,4"/>)"
       R"(<Static Name="q" Align="fixed" Width="50%" Height="fit2text" Text="abc" )"
       R"(Position="0,0,100,20"/>)",
       100, 50, "f 10,5,30,25\nh 90,5,110,25\np 1,2,4,6\nq 0,0,100,20\n"},
      {R"(<Static Name="c" Align="center" Width="20" Height="10"/>)"
       R"(<Static Name="tc" Align="top_center" Width="20" Height="10"/>)",
       100, 50, "c 40,20,60,30\ntc 40,0,60,10\n"},
      {R"(<Static Name="rb" Align="rightbottom" Width="10" Height="5"/>)"
       R"(<Static Name="lb" Align="leftbottom" Width="10" Height="5"/>)"
       R"(<Static Name="rt" Align="righttop" Width="10" Height="5"/>)"
       R"(<Static Name="lt" Align="lefttop" Width="10" Height="5"/>)"
       R"(<Static Name="lc" Align="leftcenter" Width="10" Height="6"/>)"
       R"(<Static Name="rc" Align="rightcenter" Width="10" Height="6" Margin="1,1,1,1"/>)",
       100, 50,
       "rb 90,45,100,50\nlb 0,45,10,50\nrt 90,0,100,5\nlt 0,0,10,5\nlc 0,22,10,28\n"
       "rc 89,22,99,28\n"},
  });
}

TEST(Layout, StacksPaddingAndFitChild) {
  ExpectListings({
      {R"(<Static Name="a" Align="stack" Width="40" Height="10"/>)"
       R"(<Static Name="b" Align="stack" Width="40" Height="10"/>)"
       R"(<Static Name="c" Align="stack" Width="40" Height="10"/>)"
       R"(<Static Name="t" Height="5"/>)",
       100, 50, "a 0,0,40,10\nb 40,0,80,10\nc 0,10,40,20\nt 0,20,100,25\n"},
      {R"(<Static Name="p" Align="client" Padding="5,6,7,8"><Static Name="k" Align="client"/>)"
       R"(</Static>)",
       100, 50, "p 0,0,100,50\n  k 8,5,94,43\n"},
      {R"(<Static Name="f" Height="fit2child" Padding="2,0,3,0"><Static Name="x" Height="10"/>)"
       R"(<Static Name="y" Height="4"/></Static><Static Name="n" Height="1"/>)",
       100, 50, "f 0,0,100,19\n  x 0,2,100,12\n  y 0,12,100,16\nn 0,19,100,20\n"},
      {R"(<Static Name="t" Height="fit2text" Width="fit2text" Text="abc" TextPadding="1,2,3,4"/>)",
       100, 50, "t 0,0,27,19\n"},
      // A check box's text starts after its 18-pixel box.
      {R"(<CheckBox Name="c" Width="fit2text" Height="20" Text="abc"/>)", 100, 50, "c 0,0,39,20\n"},
      {R"(<Static Name="s" Show="false"><Static Name="k"/></Static><Static Name="v" Height="3"/>)",
       100, 50, "s hidden\n  k hidden\nv 0,0,100,3\n"},
      {R"(<Static Name="p" Align="left" Width="40" Padding="0,0,0,10">)"
       R"(<Static Name="f" Align="fixed" Width="fit2parent" Height="fit2parent"/></Static>)",
       100, 50, "p 0,0,40,50\n  f 0,0,40,50\n"},  // the parent rectangle, not its padded area
  });
}

// Forty levels of "fit2child" (a measure per level above each one took 2^40 steps).
TEST(Layout, NestedFitChildIsMeasuredOncePerLevel) {
  std::string body;
  for (int i = 0; i < 40; ++i) body += "<Static Height=\"fit2child\" Padding=\"1,0,0,0\">";
  body += "<Static Name=\"leaf\" Height=\"10\"/>";
  for (int i = 0; i < 40; ++i) body += "</Static>";
  std::string listing = Listing({body.c_str(), 100, 100, ""});
  EXPECT_EQ(listing.substr(listing.find(" ") + 1, 11), "0,0,100,50\n");
  EXPECT_NE(listing.find("leaf 0,40,100,50"), std::string::npos) << listing;
}

// Numbers near the ends of int: lengths are kept within a million pixels, coordinates saturate.
TEST(Layout, HugeNumbersGiveDefinedPlaces) {
  ExpectListings({
      {R"(<Static Name="w" Width="2147483647" Height="10" Margin="0,0,0,-2147483648"/>)"
       R"(<Static Name="c" Align="center" Width="2147483647" Height="2147483647"/>)"
       R"(<Static Name="s1" Align="stack" Width="10" Height="1000000000"/>)"
       R"(<Static Name="s2" Align="stack" Width="2000" Height="1000000000"/>)"
       R"(<Static Name="s3" Align="stack" Width="2000" Height="1000000000"/>)"
       R"(<Static Name="t" Height="100%" FixedSize="true" Width="2147483647%"/>)"
       R"(<Static Name="f" Align="fixed" Left="2147483647" Top="-2147483648" )"
       R"(Width="2147483647" Height="5" Blur="100000000" FontSize="1e300"/>)",
       300, 200,
       "w -1,0,300,10\nc 0,10,300,200\ns1 0,10,10,200\ns2 0,1048586,2000,1048586\n"
       "s3 0,2097162,2000,2097162\nt 0,200,3145728,200\nf 0,0,0,0\n"},
  });
}

TEST(Layout, RightToLeftAndDpi) {
  ExpectListings({
      // Left becomes right (a left margin too), a top strip with a width sticks to the right
      // edge, and AlignRTL is taken and exchanged as well.
      {R"(<Static Name="l" Align="left" Width="10" Margin="0,0,0,8"/>)"
       R"(<Static Name="t" Height="10" Width="20"/>)"
       R"(<Static Name="a" Align="right" AlignRTL="lefttop" Width="5" Height="5"/>)",
       100, 50, "l 82,0,92,50\nt 62,0,82,10\na 77,10,82,15\n", 96, true},
      {R"(<Static Name="t" Height="20" Margin="4,4,4,4"/>)", 200, 100, "t 5,5,195,30\n", 120},
      {R"(<Static Name="t" Height="20" Margin="4,4,4,4"/>)", 200, 100, "t 6,6,194,36\n", 144},
      {R"(<Static Name="t" Height="20" Margin="4,4,4,4"/>)", 200, 100, "t 8,8,192,48\n", 192},
  });
}

// An align target that counts its calls and can ask to be called again.
struct Recorder : IXAlignTarget {
  std::vector<XRect> calls;
  int answer = 1;
  int OnAlign(const XRect& rect) override {
    calls.push_back(rect);
    return answer;
  }
};

TEST(Layout, OnlyChangedRectanglesAreReported) {
  XLayoutEngine engine;
  Recorder top, rest, parent;
  XLayoutNode* a = engine.Root().AddChild();
  a->height = 10;
  a->target = &top;
  XLayoutNode* b = engine.Root().AddChild();
  b->align = kAlignClient;
  b->target = &rest;
  engine.LayoutAll(100, 50);
  engine.LayoutAll(100, 50);
  EXPECT_EQ(top.calls.size(), 1u) << "the same size reports nothing again";
  engine.LayoutAll(120, 50);
  EXPECT_EQ(top.calls.size(), 2u);
  EXPECT_EQ(rest.calls.back().right, 120);
  b->forceNotify = true;
  engine.LayoutAll(120, 50);
  EXPECT_EQ(rest.calls.size(), 3u) << "force notify hears every pass";

  XLayoutEngine again;
  parent.answer = 0;
  XLayoutNode* p = again.Root().AddChild();
  p->target = &parent;
  p->height = 5;
  again.LayoutAll(10, 10);
  EXPECT_EQ(parent.calls.size(), 2u) << "0: called again after its children";
}

TEST(Layout, ScrolledContentAndRequests) {
  XLayoutEngine engine;
  XLayoutNode* list = engine.Root().AddChild();
  list->height = 30;
  list->contentHeight = 100;
  list->scrollOffset = 40;
  XLayoutNode* row = list->AddChild();
  row->height = 10;
  engine.LayoutAll(50, 200);
  EXPECT_EQ(row->placed.top, -40) << "children move up by the offset";
  EXPECT_TRUE(row->clipToParent) << "and are cut to the list";
  list->measureContent = true;
  list->AddChild()->height = 15;
  list->scrollOffset = 0;
  engine.LayoutAll(50, 201);
  EXPECT_EQ(list->contentHeight, 25);

  test::TestSkin skin;
  ASSERT_TRUE(skin.Load("<Static/><Static/>"));
  AControlBase* a = skin.document->Root()->children[0];
  AControlBase* b = skin.document->Root()->children[1];
  EXPECT_TRUE(skin.document->RequestLayout(a)) << "the first request posts the message";
  EXPECT_FALSE(skin.document->RequestLayout(a));
  EXPECT_FALSE(skin.document->RequestLayout(b));
  EXPECT_FALSE(skin.document->RequestLayout(a));
  EXPECT_EQ(skin.document->TakePendingLayout(), (std::vector<AControlBase*>{a, b, a}))
      << "only a repeat of the last one is dropped";
  EXPECT_TRUE(skin.document->RequestLayout(b));
}

}  // namespace
}  // namespace qorin
