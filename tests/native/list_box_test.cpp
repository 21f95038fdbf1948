// The list box control in a skin: items from Data, the header's columns, the child slider as its
// scroll bar, input through the view, what it posts and how it draws its items.
#include <gtest/gtest.h>

#include <algorithm>

#include "controls.h"
#include "skin_test_skin.h"
#include "skin_view.h"
#include "test_data.h"

namespace qorin {
namespace {

constexpr unsigned kSelChange = 5, kActiveItem = 6, kMouseClick = 7;

class ListBoxTest : public ::testing::Test {
 protected:
  void Load(const std::string& body) {
    skin_.files = {{"track.png", test::OpaquePng(10, 80)}, {"thumb.png", test::OpaquePng(40, 10)}};
    ASSERT_TRUE(skin_.Load("<XSkin><Head><Style AlphaTransition=\"false\"/></Head><Body>" + body +
                           "</Body></XSkin>"));
    view_ = std::make_unique<XSkinView>(
        *skin_.document, surface_, &canvas_,
        XPointerMessages{1, 2, 3, 4, kSelChange, kActiveItem, kMouseClick});
    view_->SetLoaded(true);
    skin_.document->Root()->SetRect({0, 0, 300, 200});
    skin_.document->Layout().LayoutAll(300, 200);
    view_->Resize(300, 200);
    list_ =
        static_cast<XListBox*>(skin_.document->FindControl(*skin_.document->Ids().Lookup(u"L")));
  }
  size_t Posted(unsigned message) {
    return std::count(surface_.hostMessages.begin(), surface_.hostMessages.end(),
                      std::pair<unsigned, uintptr_t>{message, static_cast<uintptr_t>(list_->id)});
  }
  const test::RecordingCanvas::Drawn* Drawn(const char16_t* text) {
    for (const auto& d : canvas_.drawn) {
      if (d.text == text) return &d;
    }
    return nullptr;
  }

  test::TestSkin skin_;
  test::RecordingSurface surface_;
  test::RecordingCanvas canvas_;
  std::unique_ptr<XSkinView> view_;
  XListBox* list_ = nullptr;
};

// Ten items under a header of two columns with a slider at the right: four rows a page, the
// slider's range six; a click, End, the wheel and the slider each move what the list shows and
// the slider follows; selected and active items take their colours; texts sit in their columns.
TEST_F(ListBoxTest, ColumnsSliderInputAndColours) {
  std::string items;
  for (int i = 0; i < 10; ++i) {
    std::string n = std::to_string(i);
    items += "<Data Text=\"a" + n + "\" Col1=\"b" + n + "\" Col3=\"never\"/>";
  }
  Load(
      "<ListBox ID=\"L\" Align=\"fixed\" Position=\"0,0,200,100\" ColorText=\"#000010\" "
      "ColorTextSel=\"#000020\" ColorTextActiveSel=\"#000030\" TextPadding=\"0,4,0,6\">"
      "<Static Align=\"top\" Height=\"20\"><Static Align=\"left\" Width=\"80\"/>"
      "<Static Align=\"client\" Font=\"Arial\"/></Static>"
      "<Slider Align=\"right\" Direction=\"vertical\" Image=\"track.png\" "
      "ThumbImage=\"thumb.png\"/>" +
      items + "</ListBox>");
  ASSERT_NE(list_, nullptr);
  ASSERT_NE(list_->slider, nullptr);
  EXPECT_EQ(list_->geometry.area, (XRect{0, 20, 190, 100}));
  EXPECT_EQ(list_->model.Items()[0].columns, (std::vector<std::u16string>{u"a0", u"b0"}))
      << "columns stop at the first missing number";
  EXPECT_EQ(list_->geometry.RowsPerPage(), 4);
  EXPECT_EQ(list_->slider->max, 6);

  view_->PointerButton(kLeftButton, true, 50, 45);
  EXPECT_EQ(list_->FirstSelected(), 1);
  view_->Pointer().KeyDown(kListEnd, 0, 0);
  EXPECT_EQ(list_->FirstSelected(), 9);
  EXPECT_EQ(list_->model.FirstVisible(), 6);
  EXPECT_EQ(list_->slider->GetPos(), 6);
  view_->Pointer().Wheel(240, 0, 50, 50);
  EXPECT_EQ(list_->model.FirstVisible(), 4) << "two rows a notch of 240";
  EXPECT_EQ(list_->slider->GetPos(), 4);
  view_->PointerButton(kLeftButton, true, 195, 21);
  view_->PointerButton(kLeftButton, false, 195, 21);
  EXPECT_EQ(list_->model.FirstVisible(), 0) << "the slider scrolls the list";
  EXPECT_EQ(Posted(kSelChange), 2u);

  view_->Pointer().DoubleClick(50, 65);
  EXPECT_EQ(Posted(kActiveItem), 1u);
  view_->PointerButton(kRightButton, true, 50, 65);
  view_->PointerButton(kRightButton, false, 50, 65);
  EXPECT_EQ(Posted(kMouseClick), 1u);
  canvas_.drawn.clear();
  list_->RenderBuffer(0);
  ASSERT_NE(Drawn(u"a0"), nullptr);
  ASSERT_NE(Drawn(u"b2"), nullptr);
  EXPECT_EQ(Drawn(u"a0")->colour, 0x100000);
  EXPECT_EQ(Drawn(u"a2")->colour, 0x300000) << "selected and active";
  EXPECT_EQ(Drawn(u"a0")->rect, (XRect{6, 0, 76, 20})) << "the first column";
  EXPECT_EQ(Drawn(u"b2")->rect, (XRect{86, 40, 186, 60})) << "the second column";
  EXPECT_EQ(Drawn(u"a4"), nullptr) << "below the page";
}

// Item backgrounds must load and divide into three; fit2image needs one.
TEST_F(ListBoxTest, ItemBackgroundErrors) {
  struct Case {
    const char* attributes;
    int error;
  } cases[] = {
      {"ListItemHeight=\"fit2image\"", XSKIN_ERR_VALUE},
      {"ListItemBknd=\"odd.png\"", XSKIN_ERR_IMAGE_SIZE_3},
      {"ListItemBknd=\"missing.png\"", XSKIN_ERR_FILE},
      {"ListItemBknd=\"back.png\" ListItemHeight=\"fit2image\"", 0},
  };
  for (const Case& c : cases) {
    test::TestSkin skin;
    skin.files = {{"odd.png", test::OpaquePng(10, 10)}, {"back.png", test::OpaquePng(30, 33)}};
    bool loaded = skin.Load(std::string("<ListBox ID=\"L\" ") + c.attributes + "/>");
    EXPECT_EQ(loaded ? 0 : skin.document->Error().code, c.error) << c.attributes;
  }
}

// Icon cells of 20 × 20 with margins of 5: three a row, two rows a page; points and cells.
TEST(ListGeometry, IconCells) {
  XListGeometry g;
  g.area = {0, 0, 100, 60};
  g.margin = {5, 5, 5, 5};
  g.icon = true;
  EXPECT_EQ(g.CellsPerRow(), 3);
  EXPECT_EQ(g.RowsPerPage(), 6);
  EXPECT_EQ(g.ItemAt(35, 35, 1, 20), 7);
  EXPECT_EQ(g.ItemAt(95, 5, 0, 20), -1) << "past the last whole cell";
  EXPECT_EQ(g.ItemAt(5, 5, 0, 0), -1);
  EXPECT_EQ(g.CellRect(7, 1), (XRect{35, 35, 55, 55}));
  EXPECT_EQ(g.ScrollLimit(20), 5);
}

}  // namespace
}  // namespace qorin
