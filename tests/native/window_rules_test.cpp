// The rules of the skin's own windows apart from them: the drop-down list, the combo box's place
// for it and its pick, the tooltip's placement and timing, and a frameless window's modes.
#include <gtest/gtest.h>

#include "controls.h"
#include "drop_list_model.h"
#include "fullscreen_rules.h"
#include "skin_test_skin.h"
#include "skin_view.h"
#include "tooltip.h"

namespace qorin {
namespace {

constexpr int kUp = 0x26, kDown = 0x28, kPageDown = 0x22, kEnd = 0x23;

TEST(DropListModel, KeysWrapPagesScrollAndFit) {
  XDropListModel m;
  m.count = 3;
  m.selected = 2;
  m.SetHeight(100);  // six rows of 16 fit
  EXPECT_TRUE(m.Key(kDown));
  EXPECT_EQ(m.selected, 0) << "down from the last wraps to the first";
  EXPECT_TRUE(m.Key(kUp));
  EXPECT_EQ(m.selected, 2);
  EXPECT_FALSE(m.Key(0x41));
  EXPECT_FALSE(m.ScrollBarShown()) << "every row fits";
  EXPECT_EQ(m.MinHeight(17, 17, 4, 1), 3 * 16 + 2);

  m.count = 100;
  m.SetHeight(80);
  EXPECT_EQ(m.page, 5);
  EXPECT_TRUE(m.ScrollBarShown());
  EXPECT_FALSE(m.Animated());
  m.selected = 0;
  m.Key(kPageDown);
  EXPECT_EQ(m.selected, 5);
  m.Key(kEnd);
  int steps = 0;
  while (m.StepIntoView()) ++steps;
  EXPECT_EQ(m.top, 95) << "the last page full";
  EXPECT_EQ(steps, 95);
  m.Wheel(-120);
  EXPECT_EQ(m.top, 95) << "clamped at the last page";
  m.Wheel(120);
  EXPECT_EQ(m.top, 94) << "away from the user: one row up";
  m.ScrollBar(5, 1000);
  EXPECT_EQ(m.top, 95);
  EXPECT_EQ(m.RowAt(10, 20, 100), 96);
  EXPECT_EQ(m.RowAt(1, 20, 100), -1) << "left of the rows";
  EXPECT_EQ(m.PaintedRow(96, 100), (XRect{5, 19, 110, 35}));
}

TEST(DropDownRect, BelowOrAboveTheCombo) {
  XRect work{0, 0, 800, 600};
  EXPECT_EQ(DropDownRect({10, 100, 110, 120}, 100, work), (XRect{10, 120, 110, 220}));
  EXPECT_EQ(DropDownRect({10, 560, 110, 580}, 100, work), (XRect{10, 460, 110, 560}));
  EXPECT_EQ(DropDownRect({10, 50, 110, 70}, 590, work), (XRect{10, 70, 110, 660}))
      << "no room either way: below";
}

TEST(TooltipPlace, ControlAndWindowStyles) {
  XRect root{0, 0, 300, 200};
  EXPECT_EQ(ControlTooltipRect({10, 10, 60, 30}, {40, 15}, root), (XRect{10, 33, 56, 52}));
  EXPECT_EQ(ControlTooltipRect({280, 10, 300, 30}, {40, 15}, root), (XRect{254, 33, 300, 52}))
      << "kept inside the right edge";
  EXPECT_EQ(ControlTooltipRect({10, 170, 60, 190}, {40, 15}, root), (XRect{10, 148, 56, 167}))
      << "above a control near the bottom";
  XRect work{0, 0, 800, 600};
  EXPECT_EQ(WindowTooltipRect(100, 100, {50, 20}, kTipBottom, 20, work),
            (XRect{100, 120, 150, 140}));
  EXPECT_EQ(WindowTooltipRect(100, 100, {50, 20}, kTipLeft, 20, work), (XRect{30, 100, 80, 120}));
  EXPECT_EQ(WindowTooltipRect(790, 590, {50, 20}, kTipBottom, 20, work),
            (XRect{750, 565, 800, 585}))
      << "fitted, then above the cursor it would cover";
}

// Style "control": the tip shows below its control after the delay when the pointer has not
// moved, with auto-hide for 3 s; moving restarts the delay; leaving hides it.
TEST(Tooltip, DelayShowAutoHideAndLeave) {
  test::TestSkin skin;
  ASSERT_TRUE(skin.Load(
      "<XSkin><Head><Style TooltipShowDelay=\"400\"/></Head><Body><Button ID=\"B\" Align=\"fixed\" "
      "Position=\"10,10,50,20\" Image=\"default\" Tooltip=\"one\\ntwo\"/></Body></XSkin>"));
  test::RecordingSurface surface;
  XSkinView view(*skin.document, surface, nullptr);
  ASSERT_TRUE(view.CreateTooltip(nullptr));
  skin.document->Root()->SetRect({0, 0, 300, 200});
  skin.document->Layout().LayoutAll(300, 200);
  AControlBase* tip = view.Tooltip()->TipControl();
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(skin.document->Ids().Lookup(u"XSKIN_TOOLTIP_ID").value_or(0), -1);
  view.PointerMove(20, 15);
  EXPECT_EQ(surface.tooltipTimers[kTooltipDelayTimer], 400);
  view.TooltipTimer(kTooltipDelayTimer, 21, 15);
  EXPECT_FALSE(tip->layout->show) << "the pointer moved during the delay";
  view.PointerMove(21, 15);
  view.TooltipTimer(kTooltipDelayTimer, 21, 15);
  skin.document->TakePendingLayout();
  skin.document->Layout().LayoutAll(300, 200);
  EXPECT_TRUE(tip->layout->show);
  EXPECT_EQ(tip->text, u"one\ntwo");
  EXPECT_EQ(tip->rect.top, 33) << "below the button";
  EXPECT_EQ(surface.tooltipTimers[kTooltipHideTimer], kTooltipAutoHideMs);
  view.PointerMove(200, 150);
  EXPECT_FALSE(tip->layout->show) << "left";

  view.PointerMove(20, 15);
  view.TooltipTimer(kTooltipDelayTimer, 20, 15);
  view.PointerButton(kLeftButton, true, 20, 15);
  EXPECT_FALSE(tip->layout->show) << "a press hides it";
  surface.tooltipTimers.clear();
  view.PointerMove(22, 15);
  EXPECT_EQ(surface.tooltipTimers.count(kTooltipDelayTimer), 0u) << "until the pointer leaves";
  view.PointerMove(200, 150);
  view.PointerMove(20, 15);
  EXPECT_EQ(surface.tooltipTimers[kTooltipDelayTimer], 400);

  test::TestSkin hidden;
  ASSERT_TRUE(hidden.Load(
      "<XSkin><Head><Style TooltipStyle=\"hide\"/></Head><Body><Static/></Body></XSkin>"));
  XSkinView none(*hidden.document, surface, nullptr);
  EXPECT_FALSE(none.CreateTooltip(nullptr));
}

// A pick shows the item's text and posts the change; Data gives the items.
TEST(ComboBox, PickShowsTextAndPosts) {
  test::TestSkin skin;
  ASSERT_TRUE(
      skin.Load("<ComboBox ID=\"C\" Image=\"default\" ListHeight=\"150\"><Data Text=\"a\"/>"
                "<Data Text=\"b\"/></ComboBox>"));
  test::RecordingSurface surface;
  XSkinView view(*skin.document, surface, nullptr, XPointerMessages{.comboChanged = 9});
  int id = *skin.document->Ids().Lookup(u"C");
  auto* combo = static_cast<XComboBox*>(skin.document->FindControl(id));
  EXPECT_EQ(combo->items, (std::vector<std::u16string>{u"a", u"b"}));
  EXPECT_EQ(combo->listHeight, 150);
  combo->Picked(1);
  EXPECT_EQ(combo->GetText(), u"b");
  EXPECT_EQ(surface.hostMessages.back(), (std::pair<unsigned, uintptr_t>{9, id}));
  combo->Picked(5);
  EXPECT_EQ(combo->GetText(), u"");
}

// The frame bits by mode; maximising from normal and restoring; the taskbar's pixel.
TEST(ScreenMode, StylesModesAndTaskbarEdge) {
  EXPECT_EQ(ScreenModeStyle(0x96CF0000u, kModeNormal), 0x16CF0000u) << "WS_POPUP cleared";
  EXPECT_EQ(ScreenModeStyle(0x16CF0000u, kModeFullScreen), 0x96000000u);
  EXPECT_EQ(NextScreenMode(kModeNormal, true, false), kModeMaximised);
  EXPECT_EQ(NextScreenMode(kModeMaximised, false, false), kModeNormal);
  EXPECT_EQ(NextScreenMode(kModeMaximised, false, true), kModeMaximised) << "minimised";
  XRect client{0, 0, 1920, 1080};
  EXPECT_EQ(FreeTaskbarEdge(client, {0, 1040, 1920, 1080}).bottom, 1079);
  EXPECT_EQ(FreeTaskbarEdge(client, {0, 0, 60, 1080}).left, 1);
  EXPECT_EQ(FreeTaskbarEdge(client, {0, 0, 1920, 40}).top, 1);
  EXPECT_EQ(FreeTaskbarEdge(client, {1860, 0, 1920, 1080}).right, 1919);
}

}  // namespace
}  // namespace qorin
