// The portable decisions of the painted window: text flags and shadows, HTML text, the damaged-
// rectangle queue, fades, and the hover and click rules of buttons.
#include <gtest/gtest.h>

#include "controls.h"
#include "fades.h"
#include "html_text.h"
#include "paint_queue.h"
#include "skin_surface.h"
#include "skin_test_skin.h"
#include "skin_view.h"
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

// Records what the view asks of the window.
struct RecordingSurface final : IXSkinSurface {
  int invalidatePosts = 0, presented = 0;
  std::vector<int> commands;
  std::vector<std::pair<unsigned, uintptr_t>> hostMessages;
  std::vector<std::u16string> scripts;
  void PostInvalidate() override { ++invalidatePosts; }
  void PostProcessCommand() override {}
  void RunPendingLayout() override {}
  void Present(const XRect&) override { ++presented; }
  uint32_t Ticks() override { return 0; }
  void PostToHost(unsigned message, uintptr_t wparam, intptr_t) override {
    hostMessages.emplace_back(message, wparam);
  }
  void SendHostCommand(int number) override { commands.push_back(number); }
  void CommandFired(int number) override { commands.push_back(number); }
  void TrackMouseLeave() override {}
  void CaptureMouse(bool) override {}
  void SetFadeTimer(bool) override {}
  void SetControlTimer(AControlBase*, int, int) override {}
  void KillControlTimers(AControlBase*) override {}
  void RunScript(const std::u16string& text) override { scripts.push_back(text); }
};

constexpr unsigned kOver = 1, kLeave = 2;

class PointerRouting : public ::testing::Test {
 protected:
  void Load(const std::string& body) {
    ASSERT_TRUE(skin_.Load("<XSkin><Head><Style AlphaTransition=\"false\"/></Head><Body>" + body +
                           "</Body></XSkin>"));
    view_ = std::make_unique<XSkinView>(*skin_.document, surface_, nullptr,
                                        XPointerMessages{kOver, kLeave});
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
  RecordingSurface surface_;
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
  Click(10, 10);
  EXPECT_EQ(surface_.commands, std::vector<int>{Id(u"A")}) << "the ID stands for Command";
  EXPECT_EQ(surface_.scripts, std::vector<std::u16string>{u"a();"});
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
