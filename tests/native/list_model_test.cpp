// The list box's selection, keyboard and scrolling rules, without a window.
#include "list_model.h"

#include <gtest/gtest.h>

#include <string>

namespace qorin {
namespace {

XListModel ListOf(int count, bool multi) {
  XListModel list;
  list.multiSelect = multi;
  for (int i = 0; i < count; ++i) list.Add({{u"item " + std::u16string(1, u'0' + i)}});
  return list;
}

std::string Selection(const XListModel& list) {
  std::string out;
  for (const XListItem& item : list.Items()) out += item.selected ? '1' : '0';
  return out;
}

TEST(ListModel, PressesWithCtrlAndShift) {
  XListModel single = ListOf(4, false);
  single.Press(1, false, false);
  single.Press(1, true, false);
  EXPECT_EQ(Selection(single), "0100") << "Ctrl keeps a single list's item";
  single.Press(3, false, true);
  EXPECT_EQ(Selection(single), "0001") << "Shift makes no range in a single list";
  XListModel multi = ListOf(7, true);
  multi.Press(2, false, false);
  multi.Press(5, false, true);
  EXPECT_EQ(Selection(multi), "0011110");
  EXPECT_EQ(multi.Caret(), 5);
  multi.Press(3, true, false);
  EXPECT_EQ(Selection(multi), "0010110") << "Ctrl turns a selected item off";
  multi.RightPress(5);
  EXPECT_EQ(Selection(multi), "0010110") << "right press on a selected item";
  multi.RightPress(6);
  EXPECT_EQ(Selection(multi), "0000001");
  multi.RightPress(-1);
  EXPECT_EQ(multi.SelectedCount(), 0);
  multi.DoubleClick(4);
  EXPECT_EQ(multi.Active(), 4);
  EXPECT_EQ(multi.ColourIndex(4), 3) << "selected and active";
}

TEST(ListModel, KeysWheelAndVisibility) {
  XListModel list = ListOf(10, true);
  EXPECT_TRUE(list.Key(kListDown, false, false, 3));
  EXPECT_EQ(Selection(list), "1000000000") << "no current item: the first";
  list.Select(0, false);
  EXPECT_TRUE(list.Key(kListUp, false, false, 3));
  EXPECT_EQ(list.FirstSelected(), 0) << "Up on the first item stays";
  list.wrapAround = true;
  list.Key(kListUp, false, false, 3);
  EXPECT_EQ(list.FirstSelected(), 9);
  EXPECT_EQ(list.FirstVisible(), 7) << "scrolled so it is the last visible row";
  list.Key(kListHome, false, false, 3);
  list.Key(kListPageDown, false, true, 3);
  EXPECT_EQ(Selection(list), "1111000000") << "Shift: the range from the anchor";
  list.Key(kListEnd, false, false, 3);
  EXPECT_EQ(Selection(list), "0000000001");
  EXPECT_FALSE(list.Key(kListA, false, false, 3));
  EXPECT_TRUE(list.Key(kListA, true, false, 3));
  EXPECT_EQ(list.SelectedCount(), 10);
  list.SetFirstVisible(5);
  list.Wheel(240);
  EXPECT_EQ(list.FirstVisible(), 3) << "240 scrolls two rows, not four";
  list.Wheel(-40);
  EXPECT_EQ(list.FirstVisible(), 4);
  list.Wheel(20);
  EXPECT_EQ(list.FirstVisible(), 4);
  EXPECT_EQ(ListRowsPerPage(95, 20, 1), 4);
  EXPECT_EQ(ListRowsPerPage(95, 20, 3), 12) << "icon style: rows times cells";
  XListModel cut = ListOf(2, false);
  cut.DoubleClick(1);
  cut.SetMark(1, 2);
  EXPECT_EQ(cut.ColourIndex(1), 11) << "selected, active, cut: ColorTextS1A1CUT";
}

}  // namespace
}  // namespace qorin
