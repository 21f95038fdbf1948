// The portable decisions of the painted window: text flags and shadows, HTML text, the damaged-
// rectangle queue, fades, and the hover and click rules of buttons.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <tuple>

#include "controls.h"
#include "fades.h"
#include "html_text.h"
#include "paint_queue.h"
#include "painter.h"
#include "progress.h"
#include "scroll.h"
#include "skin_surface.h"
#include "skin_test_skin.h"
#include "skin_view.h"
#include "slider.h"
#include "test_data.h"
#include "text_format.h"

namespace qorin {
namespace {

// Fixed pitch: every character 10 pixels wide, 16 high (20 for bold runs).
class FixedCanvas final : public IXTextCanvas {
 public:
  XSize Measure(const XFontSpec& font, std::u16string_view text, uint32_t) override {
    if (text.empty()) return {};
    return {static_cast<int>(text.size()) * 10, font.bold ? 20 : 16};
  }
  bool Draw(XBitmap&, const XFontSpec&, XColour, std::u16string_view, const XRect&, uint32_t,
            const XRect*) override {
    return true;
  }
};

TEST(TextFormat, KeywordsAndRightToLeft) {
  EXPECT_EQ(ParseTextFormat(u"center", false), 0x25u);
  EXPECT_EQ(ParseTextFormat(u"xycenter", false), 0x25u);
  EXPECT_EQ(ParseTextFormat(u"left, wordbreak, bogus", false), 0x10u);
  EXPECT_EQ(ParseTextFormat(u"left,singleline", true), 0x20022u) << "left means right";
  EXPECT_EQ(ParseTextFormat(u"singleline", true), 0x20022u) << "single line aligns right";
  EXPECT_EQ(ParseTextFormat(u"right,singleline", true), 0x20020u);
  EXPECT_EQ(DefaultTextFormat(true), 0x20026u);
  std::vector<XTextShadowSpec> shadows = ParseTextShadow(u"1 2 3 #FF0000, 4 5 6 red @, 7 8 9", 144);
  ASSERT_EQ(shadows.size(), 2u) << "a shadow without a colour is dropped";
  EXPECT_EQ(shadows[0].x, 2) << "1.5 rounded";
  EXPECT_EQ(shadows[0].y, 3);
  EXPECT_EQ(shadows[0].colour, 0x0000FF);
  EXPECT_TRUE(shadows[1].merged);
}

TEST(HtmlText, BracketsEntitiesFontsAndErrors) {
  FixedCanvas canvas;
  XHtmlText html(canvas, {}, 0, false, false);
  ASSERT_TRUE(html.SetMarkup(u"[B]Bold[/B] and [[plain]]"));
  ASSERT_EQ(html.Runs().size(), 2u);
  EXPECT_TRUE(html.Runs()[0].font.bold);
  EXPECT_EQ(html.Runs()[1].text, u" and [plain]");
  EXPECT_EQ(DecodeEntities(u"&amp;lt; &nbsp;&x;"), u"&lt; \u00A0&x;");
  for (auto [size, points] : {std::pair{u"3", 12.0}, {u"12pt", 12.0}, {u"9", 30.0}}) {
    ASSERT_TRUE(html.SetMarkup(u"<font size='" + std::u16string(size) + u"'>x</font>"));
    EXPECT_EQ(html.Runs()[0].font.points, points);
  }
  ASSERT_TRUE(html.SetMarkup(u"a  \r\n\t b"));
  EXPECT_EQ(html.Runs()[0].text, u"a b") << "white space collapses to one space";
  ASSERT_TRUE(html.SetMarkup(u"<b>open to the end"));
  EXPECT_TRUE(html.Runs()[0].font.bold);
  EXPECT_EQ(html.ParseError(), XHTML_ERR_END_OF_TEXT);
  XHtmlParser parser;
  parser.Parse(u"<font a='1' a='2'>x</font>");
  EXPECT_EQ(parser.LastError(), XHTML_ERR_DUPLICATE);
  parser.Parse(u"<b>x</i>");
  EXPECT_EQ(parser.LastError(), XHTML_ERR_END_TAG_MISMATCH);
  parser.Parse(u"<!-- open");
  EXPECT_EQ(parser.LastError(), XHTML_ERR_COMMENT);
}

TEST(HtmlText, LinesBreakAtOpportunitiesAndCutLongWords) {
  FixedCanvas canvas;
  XHtmlText html(canvas, {}, 0, false, false);
  auto lines = [&](std::u16string_view markup, int width) {
    html.SetMarkup(markup);
    html.Layout(width);
    std::vector<std::u16string> out;
    for (const auto& line : html.Lines()) {
      std::u16string text;
      for (const auto& piece : line.pieces) text += piece.text;
      out.push_back(text);
    }
    return out;
  };
  EXPECT_EQ(lines(u"one two three", 80), (std::vector<std::u16string>{u"one two ", u"three"}));
  EXPECT_EQ(lines(u"abcdefghijkl", 50), (std::vector<std::u16string>{u"abcde", u"fghij", u"kl"}));
  EXPECT_EQ(lines(u"가나다라마바", 30), (std::vector<std::u16string>{u"가나다", u"라마바"}));
  EXPECT_EQ(lines(u"ab<br>cd", 200), (std::vector<std::u16string>{u"ab", u"cd"}));
  EXPECT_EQ(lines(u"[B]x[/B] y", 500).size(), 1u);
  EXPECT_EQ(html.Lines()[0].height, 20) << "the tallest run sets the line";
}

TEST(PaintQueue, RepeatsDroppedAndOverlapsMerged) {
  XPaintQueue queue;
  XRect window{0, 0, 100, 100};
  int posts = 0;
  for (int i = 0; i < 10; ++i) posts += queue.Add({10, 10, 20, 20}, window, 0);
  EXPECT_EQ(posts, 1);
  EXPECT_EQ(queue.Size(), 1u);
  EXPECT_FALSE(queue.Add({200, 200, 210, 210}, window, 0)) << "outside the window";
  EXPECT_FALSE(queue.Add({5, 5, 5, 9}, window, 0)) << "empty";
  queue.Add({15, 15, 30, 30}, window, 0);
  queue.Add({60, 60, 70, 70}, window, 0);
  XRect merged = queue.TakeMerged();
  EXPECT_EQ(merged, (XRect{10, 10, 30, 30}));
  EXPECT_EQ(queue.TakeMerged(), (XRect{60, 60, 70, 70}));
  EXPECT_TRUE(queue.Empty());
  // A chain: the third meets the first only through the second, which comes after it.
  queue.Add({0, 0, 10, 10}, window, 0);
  queue.Add({40, 0, 50, 10}, window, 0);
  queue.Add({5, 0, 45, 10}, window, 0);
  EXPECT_EQ(queue.TakeMerged(), (XRect{0, 0, 50, 10}));
  EXPECT_TRUE(queue.Empty());
}

TEST(Fades, ShowTakesElevenTicksAndHideThenShowEndsShown) {
  XLayoutNode node;
  XStatic control;
  control.layout = &node;
  node.show = false;
  XFades fades;
  ASSERT_TRUE(fades.Start(&control, true, 25));
  EXPECT_TRUE(node.show);
  EXPECT_EQ(control.alpha, 0);
  int ticks = 0;
  while (!fades.Empty() && ticks < 50) {
    fades.Tick([](AControlBase*) {});
    ++ticks;
  }
  EXPECT_EQ(ticks, 11);
  EXPECT_EQ(control.alpha, 255);
  EXPECT_FALSE(fades.Start(&control, true, 25)) << "already shown and opaque";
  EXPECT_FALSE(fades.Start(&control, false, 0));
  ASSERT_TRUE(fades.Start(&control, false, 64));
  fades.Start(&control, true, 64);  // the other direction replaces the hide
  for (int i = 0; i < 20 && !fades.Empty(); ++i) fades.Tick([](AControlBase*) {});
  EXPECT_TRUE(node.show);
  EXPECT_EQ(control.alpha, 255);
}

TEST(ButtonStates, PressMoveOutReleaseIsNoClick) {
  XButton button;
  EXPECT_EQ(button.VisualState(), 0);
  button.OnMouseMove(1, 1);
  EXPECT_EQ(button.VisualState(), 1);
  button.OnLButtonDown(1, 1);
  EXPECT_EQ(button.VisualState(), 2);
  button.OnMouseLeave();
  EXPECT_EQ(button.VisualState(), 0) << "leaving ends the press";
  EXPECT_EQ(button.OnRButtonDown(1, 1), 0) << "the right button needs CommandR";
  button.Enable(false);
  EXPECT_EQ(button.VisualState(), 3);
  EXPECT_EQ(button.OnLButtonDown(1, 1), 0);
  EXPECT_EQ(button.SetImageNum(2), 0) << "no third image";
}

}  // namespace
}  // namespace qorin

namespace qorin {
namespace {

constexpr unsigned kOver = 1, kLeave = 2, kChanging = 3, kChanged = 4;

class PointerRouting : public ::testing::Test {
 protected:
  void Load(const std::string& body) {
    ASSERT_TRUE(skin_.Load("<XSkin><Head><Style AlphaTransition=\"false\"/></Head><Body>" + body +
                           "</Body></XSkin>"));
    view_ = std::make_unique<XSkinView>(*skin_.document, surface_, nullptr,
                                        XPointerMessages{kOver, kLeave, kChanging, kChanged});
    view_->SetLoaded(true);
    skin_.document->Root()->SetRect({0, 0, 300, 200});
    skin_.document->Layout().LayoutAll(300, 200);
    view_->Resize(300, 200);
  }
  int Id(const char16_t* name) { return *skin_.document->Ids().Lookup(name); }
  AControlBase* Control(const char16_t* name) { return skin_.document->FindControl(Id(name)); }
  void Click(int x, int y) {
    view_->PointerMove(x, y);
    view_->PointerButton(kLeftButton, true, x, y);
    view_->PointerButton(kLeftButton, false, x, y);
    view_->ProcessCommands();
  }

  test::TestSkin skin_;
  test::RecordingSurface surface_;
  std::unique_ptr<XSkinView> view_;
};

TEST_F(PointerRouting, HoverLeaveAndClicks) {
  Load(
      "<Button ID=\"A\" Align=\"fixed\" Position=\"0,0,50,20\" Image=\"default\" "
      "OnClick=\"a();\"/><Button ID=\"B\" Align=\"fixed\" Position=\"60,0,50,20\" "
      "Image=\"default\"/>");
  view_->PointerMove(10, 10);
  ASSERT_EQ(view_->Pointer().Hovered().size(), 1u);
  EXPECT_EQ(view_->Pointer().Hovered()[0], Control(u"A"));
  view_->PointerMove(70, 10);
  EXPECT_EQ(view_->Pointer().Hovered(), std::vector<AControlBase*>{Control(u"B")});
  EXPECT_EQ(surface_.hostMessages, (std::vector<std::pair<unsigned, uintptr_t>>{
                                       {kOver, Id(u"A")}, {kLeave, Id(u"A")}, {kOver, Id(u"B")}}));
  // Press on A, leave it, release outside: no click.
  view_->PointerMove(10, 10);
  view_->PointerButton(kLeftButton, true, 10, 10);
  view_->PointerMove(200, 150);
  view_->PointerButton(kLeftButton, false, 200, 150);
  view_->ProcessCommands();
  EXPECT_TRUE(surface_.commands.empty());
  EXPECT_EQ(static_cast<XButton*>(Control(u"A"))->VisualState(), 0);
  // Pressed elsewhere, released over A: no click either.
  view_->PointerMove(10, 10);
  view_->PointerButton(kLeftButton, false, 10, 10);
  view_->ProcessCommands();
  EXPECT_TRUE(surface_.commands.empty()) << "a release without its press";
  Click(10, 10);
  EXPECT_EQ(surface_.commands, std::vector<int>{Id(u"A")}) << "the ID stands for Command";
  EXPECT_EQ(surface_.scripts, std::vector<std::u16string>{u"a();"});
}

// While one menu button's menu is open, the pointer over another switches to its menu; the
// layout runs once per new size.
TEST_F(PointerRouting, MenusSwitchAndLayoutOncePerSize) {
  Load(
      "<Button ID=\"M1\" Align=\"fixed\" Position=\"0,0,50,20\" Image=\"default\" "
      "MenuButton=\"true\"/><Button ID=\"M2\" Align=\"fixed\" Position=\"60,0,50,20\" "
      "Image=\"default\" MenuButton=\"true\"/>");
  EXPECT_FALSE(view_->SwitchMenuAt(70, 10)) << "no menu open";
  view_->openMenuButton = Control(u"M1");
  EXPECT_FALSE(view_->SwitchMenuAt(10, 10)) << "the open one";
  EXPECT_FALSE(view_->SwitchMenuAt(200, 100));
  EXPECT_TRUE(view_->SwitchMenuAt(70, 10));
  view_->openMenuButton = nullptr;
  view_->OpenPendingMenu();
  EXPECT_EQ(surface_.commands, std::vector<int>{Id(u"M2")});
  EXPECT_EQ(view_->pendingPopup, nullptr);

  EXPECT_TRUE(view_->LayOut(300, 200)) << "the fixture laid out without the view";
  EXPECT_FALSE(view_->LayOut(300, 200));
  EXPECT_TRUE(view_->LayOut(0, 0)) << "minimised";
  EXPECT_TRUE(view_->LayoutLine().starts_with(u"skin layout 0x0, "));
  XMirror mirror{true, 300};
  EXPECT_EQ(mirror.X(0), 299);
  EXPECT_EQ(mirror.Rect({0, 5, 50, 20}), (XRect{250, 5, 300, 20}));
}

TEST_F(PointerRouting, RadioGroupsKeepOneChecked) {
  Load(
      "<CheckBox ID=\"C1\" Align=\"fixed\" Position=\"0,0,100,20\" RadioGroup=\"g\"/>"
      "<CheckBox ID=\"C2\" Align=\"fixed\" Position=\"0,40,100,20\" RadioGroup=\"g\"/>"
      "<CheckBox Align=\"fixed\" Position=\"0,80,100,20\"/>");
  Click(5, 10);
  EXPECT_EQ(Control(u"C1")->GetState(), 1);
  Click(5, 50);
  EXPECT_EQ(Control(u"C1")->GetState(), 0);
  EXPECT_EQ(Control(u"C2")->GetState(), 1);
  Click(5, 50);
  EXPECT_EQ(Control(u"C2")->GetState(), 1) << "a checked member stays checked";
  AControlBase* plain = skin_.document->Root()->ControlAt(5, 90);
  Click(5, 90);
  EXPECT_EQ(plain->GetState(), 0) << "no command and no OnClick: the toggle is undone";
}

}  // namespace
}  // namespace qorin

namespace qorin {
namespace {

uint32_t Pixel(const XBitmap& b, int x, int y) {
  const uint8_t* p = b.Pixel(x, y);
  return static_cast<uint32_t>(p[2]) << 16 | p[1] << 8 | p[0];
}

// Composition into the root buffer: colours fill their rectangles, a translucent static blends
// with what lies under it, damage is recomposed from the innermost opaque control.
TEST_F(PointerRouting, CompositionOfStatics) {
  Load(
      "<Static Name=\"page\" Align=\"client\" Color=\"#FFFFFF\">"
      "<Static ID=\"RED\" Align=\"fixed\" Position=\"10,10,20,20\" Color=\"#FF0000\"/>"
      "<Static ID=\"HALF\" Align=\"hardfixed\" Position=\"50,10,20,20\" Color=\"#000000\" "
      "Alpha=\"128\"/>"
      "<Button ID=\"B\" Align=\"fixed\" Position=\"100,10,40,20\" Image=\"default\"/></Static>"
      "<Static ID=\"TOP\" Align=\"fixed\" Position=\"200,100,20,20\" Color=\"#00FF00\"/>");
  view_->Process();
  const XBitmap& root = view_->RootBuffer();
  EXPECT_EQ(Pixel(root, 10, 10), 0xFF0000u);
  EXPECT_EQ(Pixel(root, 29, 29), 0xFF0000u);
  EXPECT_EQ(Pixel(root, 30, 30), 0xFFFFFFu);
  EXPECT_EQ(Pixel(root, 9, 10), 0xFFFFFFu);
  EXPECT_NEAR(static_cast<int>(Pixel(root, 60, 20) & 0xFF), 0x80, 2);
  EXPECT_EQ(surface_.presented, 1) << "one composition for the whole window";
  AControlBase* page = skin_.document->Root()->children[0];
  EXPECT_EQ(InnermostContaining(*skin_.document->Root(), {12, 12, 14, 14}), Control(u"RED"));
  EXPECT_EQ(InnermostContaining(*skin_.document->Root(), {55, 12, 56, 13}), page)
      << "a translucent control is composed over its opaque parent";
  // A later sibling lies over the client-aligned page, for painting as for pointing.
  EXPECT_EQ(Pixel(root, 205, 105), 0x00FF00u);
  EXPECT_EQ(InnermostContaining(*skin_.document->Root(), {205, 105, 206, 106}), Control(u"TOP"));
  EXPECT_EQ(InnermostContaining(*skin_.document->Root(), {195, 105, 205, 106}),
            skin_.document->Root())
      << "the page under a partly covering sibling is not enough";
  EXPECT_EQ(skin_.document->Root()->ControlAt(205, 105), nullptr) << "a static lets it through";
  // Damage inside the button: the page recomposes it, and the pixels come back the same.
  uint32_t before = Pixel(root, 101, 11);
  view_->Invalidate({100, 10, 140, 30});
  view_->Invalidate({100, 10, 140, 30});
  EXPECT_EQ(view_->QueuedRects(), 1u);
  view_->Process();
  EXPECT_EQ(Pixel(root, 101, 11), before);
  EXPECT_EQ(Pixel(root, 99, 11), 0xFFFFFFu);
}

// Hiding a control repaints where it was; AlphaShow brings it back through the fades.
TEST_F(PointerRouting, HideAndFadeBackIn) {
  Load(
      "<Static Align=\"client\" Color=\"#FFFFFF\"><Static ID=\"RED\" Align=\"fixed\" "
      "Position=\"10,10,20,20\" Color=\"#FF0000\"/></Static>");
  view_->Process();
  Control(u"RED")->SetShown(false);
  skin_.document->TakePendingLayout();
  view_->Process();
  EXPECT_EQ(Pixel(view_->RootBuffer(), 15, 15), 0xFFFFFFu);
  view_->StartFade(Control(u"RED"), true, 128);
  view_->FadeTick();
  view_->Process();
  uint32_t half = Pixel(view_->RootBuffer(), 15, 15);
  EXPECT_NE(half, 0xFFFFFFu);
  EXPECT_NE(half, 0xFF0000u);
  view_->FadeTick();
  view_->Process();
  EXPECT_EQ(Pixel(view_->RootBuffer(), 15, 15), 0xFF0000u);
}

// Controls far larger than the window keep buffers no larger than what can be seen, and draw
// the same pixels there as a whole buffer would: a tiled image offset far to the top left, a
// framed colour whose corner is seen, a translucent one; a larger window shows more of them.
TEST_F(PointerRouting, BuffersHoldWhatCanBeSeen) {
  skin_.files = {{"tile.png", test::OpaquePng(10, 10, 10)}};
  Load(
      "<Static ID=\"TILED\" Align=\"hardfixed\" Position=\"-4000,-4000,10000,10000\" "
      "Image=\"tile.png\" ImageType=\"tile\"/>"
      "<Static ID=\"FRAMED\" Align=\"client\" Margin=\"150,-9700,-9800,250\" "
      "Color=\"#0000FF\" BorderColor=\"#00FF00\"/>"
      "<Static ID=\"HALF\" Align=\"hardfixed\" Position=\"0,180,500000,1000\" Color=\"#000000\" "
      "Alpha=\"128\"/>");
  view_->Process();
  auto pixels = [](const XBitmap& b) { return int64_t{b.width} * b.height; };
  for (const char16_t* name : {u"TILED", u"FRAMED", u"HALF"}) {
    for (const XBitmap& buffer : Control(name)->buffers) EXPECT_LE(pixels(buffer), 300 * 200);
  }
  const XBitmap& root = view_->RootBuffer();
  EXPECT_EQ(Pixel(root, 0, 0), 0x204080u) << "the left half of a tile starts at the window's edge";
  EXPECT_EQ(Pixel(root, 5, 0), 0x804080u);
  EXPECT_EQ(Pixel(root, 250, 150), 0x00FF00u) << "the frame's corner";
  EXPECT_EQ(Pixel(root, 251, 151), 0x0000FFu);
  EXPECT_NEAR(static_cast<int>(Pixel(root, 0, 190) >> 16), 0x20 / 2, 2);
  // The window grows: no rectangle changes, yet what is newly seen is drawn.
  skin_.document->Root()->SetRect({0, 0, 600, 400});
  skin_.document->Layout().LayoutAll(600, 400);
  view_->Resize(600, 400);
  view_->Process();
  EXPECT_EQ(Pixel(view_->RootBuffer(), 455, 100), 0x804080u);
  EXPECT_EQ(Pixel(view_->RootBuffer(), 550, 150), 0x00FF00u);
  EXPECT_LE(pixels(Control(u"TILED")->buffers[0]), 600 * 400);
}

// A progress bar at 50 % shows its front image over exactly the left half, sized from its
// images; min = max reveals nothing; bad values are the skin's errors.
TEST_F(PointerRouting, ProgressRevealsItsFrontFromTheLeft) {
  skin_.files = {{"back.png", test::OpaquePng(200, 10)},
                 {"front.png", test::OpaquePng(200, 10, 1)}};
  Load(
      "<Progress ID=\"BAR\" Align=\"fixed\" Left=\"0\" Top=\"0\" BackImage=\"back.png\" "
      "FrontImage=\"front.png\" ImageType=\"stretch\" Min=\"0\" Max=\"1000\" Pos=\"0\"/>");
  auto* bar = static_cast<XProgress*>(Control(u"BAR"));
  EXPECT_EQ(bar->rect, (XRect{0, 0, 200, 10})) << "the images' size";
  EXPECT_TRUE(bar->SetPos(500));
  EXPECT_FALSE(bar->SetPos(500)) << "the same position does nothing";
  view_->Process();
  const XBitmap& root = view_->RootBuffer();
  EXPECT_EQ(Pixel(root, 99, 5), 0x804080u) << "front";
  EXPECT_EQ(Pixel(root, 100, 5), 0x204080u) << "back";
  for (auto [pos, min, max, width, revealed] : {std::tuple{500, 0, 1000, 200, 100},
                                                {7, 7, 7, 200, 0},
                                                {2000, 0, 1000, 200, 200},
                                                {-5, 0, 1000, 200, 0},
                                                {1, 0, 3, 100, 33}})
    EXPECT_EQ(ProgressRevealWidth(pos, min, max, width), revealed) << pos << " " << width;
  test::TestSkin bad;
  EXPECT_FALSE(bad.Load("<Progress ImageType=\"sideways\"/>"));
  EXPECT_EQ(bad.Error().code, XSKIN_ERR_VALUE);
  test::TestSkin missing;
  EXPECT_FALSE(missing.Load("<Progress FrontImage=\"nowhere.png\"/>"));
  EXPECT_EQ(missing.Error().code, XSKIN_ERR_FILE);
}

// A slider: a press at the middle of a 110-pixel track with a 10-pixel thumb is position 5, a
// drag past the end the maximum, each change posted as "changing" and the release as
// "changed"; SetPos waits for the drag; no thumb when max <= min.
TEST_F(PointerRouting, SliderDragsAndReports) {
  skin_.files = {{"track.png", test::OpaquePng(110, 10)},
                 {"thumb.png", test::OpaquePng(40, 10, 10)}};
  Load(
      "<Slider ID=\"S\" Align=\"fixed\" Left=\"0\" Top=\"0\" Image=\"track.png\" "
      "ThumbImage=\"thumb.png\"/>");
  auto* slider = static_cast<XSlider*>(Control(u"S"));
  EXPECT_EQ(slider->rect, (XRect{0, 0, 110, 10})) << "the track's size";
  view_->PointerMove(55, 5);
  view_->PointerButton(kLeftButton, true, 55, 5);
  EXPECT_EQ(slider->GetPos(), 5);
  EXPECT_EQ(slider->SetPos(2), 5) << "ignored while the user drags";
  view_->PointerMove(300, 5);
  EXPECT_EQ(slider->GetPos(), 10) << "captured beyond the track";
  view_->PointerButton(kLeftButton, false, 300, 5);
  auto count = [&](unsigned message) {
    return std::count(surface_.hostMessages.begin(), surface_.hostMessages.end(),
                      std::pair<unsigned, uintptr_t>{message, static_cast<uintptr_t>(Id(u"S"))});
  };
  EXPECT_EQ(count(kChanging), 2);
  EXPECT_EQ(count(kChanged), 1);
  EXPECT_EQ(slider->SetPos(-3), 0);
  EXPECT_EQ(slider->ThumbRect(), (XRect{0, 0, 10, 10}));
  slider->SetRange(-4);
  EXPECT_TRUE(IsEmpty(slider->ThumbRect())) << "max <= min: no thumb";
  EXPECT_EQ(SliderThumbLength(110, 10, 5, 10), 36);
  EXPECT_EQ(SliderThumbLength(110, 10, 1, 1000), 10) << "never shorter than the image";
  EXPECT_EQ(SliderPositionAt(60, 0, 100, 25, 110, 10, 0), 50) << "snapped to the step";
  EXPECT_EQ(SliderPositionAt(60, 0, 10, 1, 10, 10, 7), 7) << "no room to move";
}

// A scroll container: the thumb in proportion to the content its children measure, the wheel,
// the down button, a thumb drag and a press on the track move the children; content that fits
// shows no thumb.
TEST_F(PointerRouting, ScrollMovesItsChildren) {
  skin_.files = {{"strip.png", test::OpaquePng(40, 10)}};
  std::string pages;
  for (int i = 0; i < 5; ++i) pages += "<Static Align=\"top\" Height=\"100\" Color=\"#FFFFFF\"/>";
  Load(
      "<Scroll ID=\"SC\" Align=\"client\" ScrollHeight=\"fit2child\" ScrollBarThumb=\"strip.png\" "
      "ScrollBarBtnUp=\"strip.png\" ScrollBarBtnDn=\"strip.png\">" +
      pages + "</Scroll>");
  auto* scroll = static_cast<XScroll*>(Control(u"SC"));
  auto relayout = [&] {
    skin_.document->TakePendingLayout();
    skin_.document->Layout().LayoutIn(skin_.document->Root()->rect);
  };
  XScrollParts parts = scroll->Parts();
  EXPECT_EQ(parts.thumb, (XRect{290, 10, 300, 82})) << "200 of 500 over a 180-pixel track";
  EXPECT_EQ(scroll->children[0]->rect.right, 290) << "children left of the bar";
  view_->Pointer().Wheel(-120, 0, 100, 100);
  EXPECT_EQ(scroll->ScrollOffset(), 15) << "three line steps a notch";
  view_->PointerButton(kLeftButton, true, 295, 195);
  view_->PointerButton(kLeftButton, false, 295, 195);
  EXPECT_EQ(scroll->ScrollOffset(), 20) << "the down button: one step";
  scroll->ScrollTo(0);
  view_->PointerButton(kLeftButton, true, 295, 20);
  view_->PointerMove(295, 74);
  view_->PointerButton(kLeftButton, false, 295, 74);
  EXPECT_EQ(scroll->ScrollOffset(), 150) << "a 54-pixel drag of a 108-pixel room: half";
  view_->PointerButton(kLeftButton, true, 295, 180);
  view_->PointerButton(kLeftButton, false, 295, 180);
  EXPECT_EQ(scroll->ScrollOffset(), 300) << "the track: as far as it goes";
  relayout();
  EXPECT_EQ(scroll->children[0]->rect.top, -300);
  XScrollParts fits = ScrollBarParts(300, 200, 10, 10, 10, 200, 150, 40, 20);
  EXPECT_TRUE(IsEmpty(fits.thumb));
  EXPECT_EQ(fits.offset, 0);
}

// A button's frame drawn by "follow": the frame's start once, then its right half tiled; in a
// right-to-left skin the default mode puts the frame at the right edge. A strip whose width is
// not a multiple of four fails with 773.
TEST(ButtonRendering, FollowRightToLeftDefaultAndStripWidth) {
  test::TestSkin skin;
  skin.files = {{"strip.png", test::OpaquePng(40, 10, 10)}, {"odd.png", test::OpaquePng(42, 10)}};
  ASSERT_TRUE(
      skin.Load("<Button ID=\"F\" Align=\"fixed\" Position=\"0,0,100,30\" "
                "Image=\"strip.png\" ImageType=\"follow\"/>"
                "<Button ID=\"D\" Align=\"fixed\" Position=\"0,40,100,30\" "
                "Image=\"strip.png\"/>",
                96, true));
  skin.document->Root()->SetRect({0, 0, 200, 100});
  skin.document->Layout().LayoutAll(200, 100);
  auto button = [&](const char16_t* name) {
    return static_cast<XButton*>(skin.document->FindControl(*skin.document->Ids().Lookup(name)));
  };
  XBitmap into;
  ASSERT_TRUE(into.Create(100, 30, 32));
  button(u"D")->RenderState(0, into);
  EXPECT_EQ(into.Pixel(99, 5)[3], 255) << "the frame at the right edge";
  EXPECT_EQ(into.Pixel(0, 5)[3], 0);
  button(u"F")->RenderState(0, into);
  for (int x : {0, 50, 99}) EXPECT_EQ(into.Pixel(x, 5)[3], 255) << x;
  // Right to left: the frame's left half at the right edge, its right half repeated before it.
  for (auto [x, red] : {std::pair{99, 0x20}, {95, 0x20}, {94, 0x80}, {52, 0x80}, {2, 0x80}})
    EXPECT_EQ(into.Pixel(x, 5)[2], red) << x;
  test::TestSkin odd;
  odd.files = {{"odd.png", test::OpaquePng(42, 10)}};
  EXPECT_FALSE(odd.Load("<Button Image=\"odd.png\"/>"));
  EXPECT_EQ(odd.Error().code, XSKIN_ERR_IMAGE_SIZE_4);
}

}  // namespace
}  // namespace qorin

namespace qorin {
namespace {

// Runs sit on the line's bottom; right to left they are placed from the right edge with the
// reading flags; the all-white flag whitens every run.
TEST(HtmlTextDrawing, BottomAlignedRunsAndRightToLeft) {
  test::RecordingCanvas canvas;
  XBitmap target;
  XHtmlText html(canvas, {}, 0x112233, false, false);
  ASSERT_TRUE(html.SetMarkup(u"ab[B]cd[/B]"));
  html.Layout(200);
  html.Draw(target, 5, 7, 100, false, nullptr);
  ASSERT_EQ(canvas.drawn.size(), 2u);
  EXPECT_EQ(canvas.drawn[0].rect, (XRect{5, 11, 25, 27})) << "16 high on a 20-high line";
  EXPECT_EQ(canvas.drawn[1].rect, (XRect{25, 7, 45, 27}));
  EXPECT_EQ(canvas.drawn[0].flags, 0x820u);
  EXPECT_EQ(canvas.drawn[0].colour, 0x112233);
  canvas.drawn.clear();
  XHtmlText rtl(canvas, {}, 0, true, false);
  ASSERT_TRUE(rtl.SetMarkup(u"ab cd"));
  rtl.Layout(100);
  rtl.Draw(target, 0, 0, 100, true, nullptr);
  ASSERT_EQ(canvas.drawn.size(), 1u);
  EXPECT_EQ(canvas.drawn[0].rect, (XRect{50, 0, 100, 16}));
  EXPECT_EQ(canvas.drawn[0].flags, 0x20822u);
  EXPECT_EQ(canvas.drawn[0].colour, 0xFFFFFF);
}

// A control's text: the disabled and hover colours, TextDrawCount repeats, HTML centred.
TEST(ControlText, ColoursRepeatsAndCentring) {
  test::RecordingCanvas canvas;
  XBitmap target;
  XTextStyle style;
  style.hoverColour = 0x00FF00;
  style.drawCount = 3;
  XFontSpec font;
  std::u16string text = u"abc";
  XControlText painter;
  painter.Paint(canvas, {font, 0x0000FF, style, text, true, true, false}, target, {0, 0, 100, 40},
                nullptr);
  ASSERT_EQ(canvas.drawn.size(), 3u);
  EXPECT_EQ(canvas.drawn[2].colour, 0x00FF00);
  canvas.drawn.clear();
  style.drawCount = 1;
  painter.Paint(canvas, {font, 0x0000FF, style, text, false, true, false}, target, {0, 0, 100, 40},
                nullptr);
  EXPECT_EQ(canvas.drawn[0].colour, 0x808080) << "disabled wins over hover";
  canvas.drawn.clear();
  style.html = true;
  style.format = kDtCenter | kDtVCenter | kDtSingleLine;
  painter.Paint(canvas, {font, 0, style, text, true, false, false}, target, {0, 0, 100, 40},
                nullptr);
  ASSERT_EQ(canvas.drawn.size(), 1u);
  EXPECT_EQ(canvas.drawn[0].rect, (XRect{35, 12, 65, 28}));
}

// Shadow layers: the mask's whiteness becomes the layer's alpha in the shadow's colour, offset;
// a merged shadow joins the first layer.
TEST(TextShadow, LayersFromTheMask) {
  XTextShadow shadow;
  ASSERT_TRUE(shadow.SetSize(u"x", {0, 0, 10, 10}));
  EXPECT_FALSE(shadow.SetSize(u"x", {0, 0, 10, 10})) << "kept while text and size stay";
  shadow.Mask().FillRect({2, 2, 4, 4}, 0xFFFFFF, 255);
  shadow.Build({{1, 1, 0, 0x0000FF, false}, {3, 0, 0, 0x00FF00, true}});
  XBitmap target;
  ASSERT_TRUE(target.Create(10, 10, 24));
  target.Fill(0);
  shadow.Draw(target, 0, 0, nullptr);
  EXPECT_EQ(Pixel(target, 3, 3), 0xFF0000u) << "red shadow one pixel down-right";
  EXPECT_EQ(Pixel(target, 5, 2), 0x00FF00u) << "merged green shadow";
  EXPECT_EQ(Pixel(target, 8, 8), 0u);
}

}  // namespace
}  // namespace qorin
