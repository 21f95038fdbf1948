// The painted window seen from outside: screenshots of the client area under Xvfb, the pointer
// moved and pressed through SendInput, the script console and the files an install leaves.
#include <algorithm>

#include "stub_fixture.h"
#include "test_data.h"

namespace qorin::e2e {
namespace {

constexpr unsigned kWhite = 0xFFFFFF, kRed = 0xFF0000, kBlack = 0x000000;

// Skins on a white page without a window-size surprise: the client area is what counts.
std::string Page(const std::string& controls, const std::string& script = {}) {
  return "<XSkin><Head><WindowSize Width=\"400\" Height=\"300\"/><Style AlphaTransition=\"false\"/>"
         "</Head><Body><Static Name=\"page\" Align=\"client\" Color=\"#FFFFFF\">" +
         controls + "</Static></Body>" + (script.empty() ? "" : "<?script " + script + " ?>") +
         "</XSkin>";
}

int CountIn(const Shot& shot, int left, int top, int right, int bottom, bool (*match)(unsigned)) {
  int count = 0;
  for (int y = std::max(top, 0); y < std::min(bottom, shot.height); ++y) {
    for (int x = std::max(left, 0); x < std::min(right, shot.width); ++x)
      count += match(shot.At(x, y));
  }
  return count;
}

// Whether an area of one picture differs from an area of another of the same size.
bool Differ(const Shot& a, int ax, int ay, const Shot& b, int bx, int by, int width, int height) {
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (a.At(ax + x, ay + y) != b.At(bx + x, by + y)) return true;
    }
  }
  return false;
}

// Whether two pictures differ anywhere inside the rectangle.
bool Differ(const Shot& a, const Shot& b, int left, int top, int right, int bottom) {
  return Differ(a, left, top, b, left, top, right - left, bottom - top);
}

bool IsBlueText(unsigned p) {
  return (p & 0xFF) > 0x80 && (p >> 16) < 0x80;
}
bool NotWhite(unsigned p) {
  return p != kWhite;
}

class SkinWindow : public StubStartup {
 protected:
  ObservedRun Show(const std::wstring& name, std::vector<WindowAction> actions) {
    actions.insert(actions.begin(), {WindowAction::kWait, 700});
    actions.push_back({WindowAction::kClose});
    return RunObserved(WindowOptions(Write(name, Package()), std::move(actions)));
  }
  static unsigned Move(int x, int y) {
    return static_cast<unsigned>(x) << 16 | static_cast<unsigned>(y);
  }
};

// A coloured static fills exactly its rectangle; a text of a known colour stays inside its
// rectangle; Alpha 128 blends black with the white below.
TEST_F(SkinWindow, StaticsPaintColourTextAndAlpha) {
  skin_ = Page(
      "<Static Align=\"fixed\" Position=\"20,20,50,30\" Color=\"#FF0000\"/>"
      "<Static Align=\"fixed\" Position=\"20,80,200,40\" Text=\"WWWW\" FontSize=\"16\" "
      "FontColor=\"#0000FF\"/>"
      "<Static Align=\"fixed\" Position=\"250,20,40,40\" Color=\"#000000\" Alpha=\"128\"/>");
  ObservedRun run = Show(L"statics.exe", {{WindowAction::kShot}});
  ASSERT_EQ(run.shots.size(), 1u);
  const Shot& s = run.shots[0];
  ASSERT_GE(s.width, 300);
  for (auto [x, y] : {std::pair{20, 20}, {69, 20}, {20, 49}, {69, 49}}) EXPECT_EQ(s.At(x, y), kRed);
  for (auto [x, y] : {std::pair{19, 20}, {70, 20}, {20, 19}, {20, 50}})
    EXPECT_EQ(s.At(x, y), kWhite);
  EXPECT_GT(CountIn(s, 20, 80, 220, 120, IsBlueText), 20) << "the text is drawn";
  EXPECT_EQ(CountIn(s, 0, 60, 400, 80, NotWhite) + CountIn(s, 0, 120, 240, 200, NotWhite), 0)
      << "nothing outside the text's rectangle";
  unsigned grey = s.At(270, 40);
  EXPECT_NEAR(static_cast<int>(grey & 0xFF), 0x80, 3);
  EXPECT_NE(grey, kBlack);
}

// A button shows frame 1 under the pointer and frame 2 while pressed; the click runs its
// OnClick; a disabled button shows frame 3 and ignores the click.
TEST_F(SkinWindow, ButtonsHoverPressClickAndDisable) {
  skin_ = Page(
      "<Button Align=\"fixed\" Position=\"20,20,120,30\" Image=\"default\" "
      "OnClick=\"print('one');\"/>"
      "<Button Align=\"fixed\" Position=\"20,80,120,30\" Image=\"default\" Enable=\"false\" "
      "OnClick=\"print('two');\"/>");
  ObservedRun run = Show(L"buttons.exe", {{WindowAction::kMove, Move(300, 250)},
                                          {WindowAction::kWait, 200},
                                          {WindowAction::kShot},
                                          {WindowAction::kMove, Move(60, 35)},
                                          {WindowAction::kWait, 300},
                                          {WindowAction::kShot},
                                          {WindowAction::kDown},
                                          {WindowAction::kWait, 300},
                                          {WindowAction::kShot},
                                          {WindowAction::kUp},
                                          {WindowAction::kWait, 300},
                                          {WindowAction::kMove, Move(60, 95)},
                                          {WindowAction::kDown},
                                          {WindowAction::kUp},
                                          {WindowAction::kWait, 300}});
  ASSERT_EQ(run.shots.size(), 3u);
  const Shot &normal = run.shots[0], &hover = run.shots[1], &pressed = run.shots[2];
  EXPECT_TRUE(Differ(normal, hover, 20, 20, 140, 50)) << "frame 1 under the pointer";
  EXPECT_TRUE(Differ(hover, pressed, 20, 20, 140, 50)) << "frame 2 while pressed";
  EXPECT_TRUE(Differ(normal, pressed, 20, 20, 140, 50));
  EXPECT_TRUE(Differ(normal, 20, 20, normal, 20, 80, 120, 30))
      << "the disabled button shows frame 3";
  std::vector<std::string> console = run.Texts("XScriptDebugConsole");
  EXPECT_EQ(std::count(console.begin(), console.end(), "script print() - one"), 1);
  EXPECT_EQ(std::count(console.begin(), console.end(), "script print() - two"), 0);
}

// AlphaShow and AlphaHide end fully shown and fully hidden.
TEST_F(SkinWindow, FadesEndShownOrHidden) {
  skin_ = Page(
      "<Static ID=\"A\" Align=\"fixed\" Position=\"20,20,40,40\" Color=\"#FF0000\" Show=\"false\"/>"
      "<Static ID=\"B\" Align=\"fixed\" Position=\"100,20,40,40\" Color=\"#FF0000\"/>",
      "AlphaShow(A, 25); AlphaHide(B, 25);");
  ObservedRun run = Show(L"fades.exe", {{WindowAction::kWait, 500}, {WindowAction::kShot}});
  ASSERT_EQ(run.shots.size(), 1u);
  EXPECT_EQ(run.shots[0].At(40, 40), kRed);
  EXPECT_EQ(run.shots[0].At(120, 40), kWhite);
}

// The width of the text's ink (its leftmost to rightmost non-white column) inside a band.
int InkWidth(const Shot& s, int top, int bottom) {
  int left = s.width, right = -1;
  for (int y = top; y < bottom; ++y) {
    for (int x = 0; x < s.width; ++x) {
      if (s.At(x, y) == kWhite) continue;
      left = std::min(left, x);
      right = std::max(right, x);
    }
  }
  return right - left + 1;
}

// At 144 DPI sizes, images and fonts are 1.5 times their 96-DPI size.
TEST_F(SkinWindow, SizesImagesAndFontsScaleWithTheDpi) {
  skin_ = Page(
      "<Static Align=\"fixed\" Position=\"20,20,40,40\" Color=\"#FF0000\"/>"
      "<Static Align=\"fixed\" Position=\"0,100,400,60\" Text=\"WWWWWWWW\" FontSize=\"12\" "
      "TextFormat=\"left,top,singleline\"/>"
      "<Button Align=\"fixed\" Left=\"200\" Top=\"20\" Image=\"default\"/>");
  ObservedRun normal = Show(L"dpi96.exe", {{WindowAction::kShot}});
  ObservedRun scaled;
  {
    PrefixDpi dpi(144);
    scaled = Show(L"dpi144.exe", {{WindowAction::kShot}});
  }
  ASSERT_EQ(normal.shots.size(), 1u);
  ASSERT_EQ(scaled.shots.size(), 1u);
  const Shot& s = scaled.shots[0];
  EXPECT_EQ(s.At(30, 30), kRed);
  EXPECT_EQ(s.At(89, 89), kRed);
  EXPECT_EQ(s.At(90, 89), kWhite);
  EXPECT_EQ(s.At(29, 30), kWhite);
  int text96 = InkWidth(normal.shots[0], 100, 160), text144 = InkWidth(s, 150, 240);
  EXPECT_NEAR(text144, text96 * 3 / 2, text96 / 10) << "the font is scaled";
  // The built-in 120 x 30 button strip frame, sized from the image.
  int button96 = InkWidth(normal.shots[0], 20, 50) - 40, button144 = InkWidth(s, 30, 75) - 60;
  EXPECT_GT(button96, 0);
  EXPECT_NEAR(button144, button96 * 3 / 2, 3) << "the image is scaled";
}

// A static with NcHitTest="HTCAPTION" answers the caption code; a button on it and a static
// without NcHitTest do not.
TEST_F(SkinWindow, CaptionStaticsAnswerTheHitTest) {
  skin_ = Page(
      "<Static Align=\"top\" Height=\"40\" Color=\"#202020\" NcHitTest=\"HTCAPTION\">"
      "<Button Align=\"right\" Width=\"40\" Image=\"default\"/>"
      "<Static Align=\"left\" Width=\"60\" Color=\"#404040\"/></Static>");
  ObservedRun run = Show(L"caption.exe", {{WindowAction::kHitTest, Move(200, 20)},
                                          {WindowAction::kHitTest, Move(20, 20)},
                                          {WindowAction::kHitTest, Move(200, 200)},
                                          {WindowAction::kHitTest, Move(380, 20)}});
  ASSERT_EQ(run.hitTests.size(), 4u);
  EXPECT_EQ(run.hitTests[0], HTCAPTION);
  EXPECT_EQ(run.hitTests[1], HTCAPTION) << "the pointer passes through a plain static";
  EXPECT_EQ(run.hitTests[2], HTCLIENT);
  EXPECT_EQ(run.hitTests[3], HTCLIENT) << "the button on the caption";
}

// A progress bar at 50 % shows its front image over exactly the left half.
TEST_F(SkinWindow, ProgressShowsItsFrontOverTheLeftHalf) {
  extraFiles_.push_back({"back.png", test::OpaquePng(200, 10)});
  extraFiles_.push_back({"front.png", test::OpaquePng(200, 10, 1)});
  skin_ = Page(
      "<Progress Align=\"fixed\" Position=\"20,20,200,10\" BackImage=\"back.png\" "
      "FrontImage=\"front.png\" Min=\"0\" Max=\"1000\" Pos=\"500\"/>");
  ObservedRun run = Show(L"progress.exe", {{WindowAction::kShot}});
  ASSERT_EQ(run.shots.size(), 1u);
  const Shot& s = run.shots[0];
  constexpr unsigned kFront = 0x804080, kBack = 0x204080;
  for (int x : {20, 119}) EXPECT_EQ(s.At(x, 25), kFront) << x;
  for (int x : {120, 219}) EXPECT_EQ(s.At(x, 25), kBack) << x;
  EXPECT_EQ(s.At(220, 25), kWhite);
}

// A slider's thumb follows a drag with the real pointer to the end of its track.
TEST_F(SkinWindow, SliderThumbFollowsADrag) {
  extraFiles_.push_back({"track.png", test::OpaquePng(200, 10, 1)});
  extraFiles_.push_back({"thumb.png", test::OpaquePng(40, 10)});
  skin_ = Page(
      "<Slider Align=\"fixed\" Position=\"20,40,200,10\" Image=\"track.png\" "
      "ThumbImage=\"thumb.png\"/>");
  ObservedRun run = Show(L"slider.exe", {{WindowAction::kShot},
                                         {WindowAction::kMove, Move(25, 45)},
                                         {WindowAction::kWait, 200},
                                         {WindowAction::kDown},
                                         {WindowAction::kMove, Move(120, 45)},
                                         {WindowAction::kMove, Move(219, 45)},
                                         {WindowAction::kWait, 200},
                                         {WindowAction::kUp},
                                         {WindowAction::kWait, 300},
                                         {WindowAction::kShot}});
  ASSERT_EQ(run.shots.size(), 2u);
  constexpr unsigned kThumb = 0x204080, kTrack = 0x804080;
  EXPECT_EQ(run.shots[0].At(25, 45), kThumb);
  EXPECT_EQ(run.shots[0].At(215, 45), kTrack);
  EXPECT_EQ(run.shots[1].At(25, 45), kTrack);
  EXPECT_EQ(run.shots[1].At(215, 45), kThumb) << "the thumb at the end";
}

// A scroll container scrolls its children by the wheel and by dragging its thumb.
TEST_F(SkinWindow, ScrollMovesItsChildrenByWheelAndThumb) {
  extraFiles_.push_back({"strip.png", test::OpaquePng(40, 10)});
  std::string rows;
  for (const char* colour : {"#FF0000", "#00FF00", "#0000FF", "#FF0000", "#00FF00"})
    rows += std::string("<Static Align=\"top\" Height=\"100\" Color=\"") + colour + "\"/>";
  skin_ = Page(
      "<Scroll Align=\"fixed\" Position=\"20,20,200,200\" ScrollHeight=\"fit2child\" "
      "ScrollBarThumb=\"strip.png\" ScrollBarBtnUp=\"strip.png\" ScrollBarBtnDn=\"strip.png\">" +
      rows + "</Scroll>");
  ObservedRun run = Show(L"scroll.exe", {{WindowAction::kShot},
                                         {WindowAction::kMove, Move(100, 100)},
                                         {WindowAction::kWheel, static_cast<unsigned>(-2)},
                                         {WindowAction::kWait, 300},
                                         {WindowAction::kShot},
                                         {WindowAction::kMove, Move(215, 40)},
                                         {WindowAction::kDown},
                                         {WindowAction::kMove, Move(215, 240)},
                                         {WindowAction::kWait, 200},
                                         {WindowAction::kUp},
                                         {WindowAction::kWait, 300},
                                         {WindowAction::kShot}});
  ASSERT_EQ(run.shots.size(), 3u);
  EXPECT_EQ(run.shots[0].At(100, 110), kRed) << "the first row";
  EXPECT_EQ(run.shots[0].At(100, 130), 0x00FF00u);
  EXPECT_EQ(run.shots[1].At(100, 110), 0x00FF00u) << "two notches: 30 pixels down";
  EXPECT_EQ(run.shots[1].At(100, 80), kRed);
  EXPECT_EQ(run.shots[2].At(100, 210), 0x00FF00u) << "the thumb at the end: the last row";
  EXPECT_EQ(run.shots[2].At(100, 25), kRed) << "the fourth row above it";
}

bool IsDark(unsigned p) {
  return (p & 0xFF) < 0x60 && (p >> 8 & 0xFF) < 0x60 && (p >> 16) < 0x60;
}

// The rows of a list 20 pixels high from y = 20 whose right end is red (selected), in order.
std::vector<int> RedRows(const Shot& shot) {
  std::vector<int> rows;
  for (int row = 0; row < 5; ++row) {
    if (shot.At(210, 30 + 20 * row) == kRed) rows.push_back(row);
  }
  return rows;
}

// A list box of thirty items answers a click, Down, Page Down, Home, End and the wheel, and
// draws its selected row red with the item's text in white.
TEST_F(SkinWindow, ListBoxAnswersKeysAndTheWheel) {
  std::string items;
  for (int i = 0; i < 30; ++i) items += "<Data Text=\"item " + std::to_string(i) + "\"/>";
  skin_ = Page(
      "<ListBox Align=\"fixed\" Position=\"20,20,200,100\" ColorBkgndSel=\"#FF0000\" "
      "ColorTextSel=\"#FFFFFF\" ListItemHeight=\"20\">" +
      items + "</ListBox>");
  std::vector<WindowAction> actions = {
      {WindowAction::kMove, Move(60, 30)}, {WindowAction::kDown}, {WindowAction::kUp}};
  for (unsigned key :
       {0u, unsigned{VK_DOWN}, unsigned{VK_NEXT}, unsigned{VK_HOME}, unsigned{VK_END}}) {
    if (key != 0) actions.push_back({WindowAction::kKey, key});
    actions.push_back({WindowAction::kWait, 250});
    actions.push_back({WindowAction::kShot});
  }
  actions.push_back({WindowAction::kWheel, 1});
  actions.push_back({WindowAction::kWait, 250});
  actions.push_back({WindowAction::kShot});
  ObservedRun run = Show(L"list.exe", actions);
  ASSERT_EQ(run.shots.size(), 6u);
  // Item 0; 1; 6 as the last row of a page from item 2; 0; 29 as the last row; the wheel's
  // notch scrolls two rows up, and item 29 goes below the page.
  const std::vector<int> expected[] = {{0}, {1}, {4}, {0}, {4}, {}};
  for (size_t i = 0; i < run.shots.size(); ++i) EXPECT_EQ(RedRows(run.shots[i]), expected[i]) << i;
  EXPECT_GT(CountIn(run.shots[0], 20, 20, 120, 40, [](unsigned p) { return p == kWhite; }), 5)
      << "the selected item's text";
}

// Controls far larger than the window (reaching off its top-left corner, through negative
// margins, a text run half a million pixels wide with a shadow) draw what is seen, and what the
// grown window newly shows.
TEST_F(SkinWindow, HugeControlsDrawWhatIsSeen) {
  skin_ = Page(
      "<Static Align=\"hardfixed\" Position=\"-3000,-3000,10000,10000\" Color=\"#FF0000\"/>"
      "<Static Align=\"client\" Margin=\"200,-9000,-9000,300\" Color=\"#0000FF\" "
      "BorderColor=\"#00FF00\"/>"
      "<Static Align=\"hardfixed\" Position=\"20,20,500000,1000\" Text=\"WWWW\" FontSize=\"16\" "
      "FontColor=\"#FFFFFF\" TextFormat=\"left,top,singleline\" TextShadow=\"3 3 1 #000000\"/>");
  ObservedRun run = Show(L"huge.exe", {{WindowAction::kShot},
                                       {WindowAction::kResize, 700u << 16 | 500},
                                       {WindowAction::kWait, 400},
                                       {WindowAction::kShot}});
  ASSERT_EQ(run.shots.size(), 2u);
  const Shot &small = run.shots[0], &grown = run.shots[1];
  ASSERT_GE(small.width, 360);
  ASSERT_GE(small.height, 260);
  for (auto [x, y] : {std::pair{0, 150}, {299, 250}}) EXPECT_EQ(small.At(x, y), kRed) << x;
  EXPECT_EQ(small.At(300, 200), 0x00FF00u) << "the border's corner";
  EXPECT_EQ(small.At(350, 250), 0x0000FFu);
  EXPECT_GT(CountIn(small, 20, 20, 200, 60, [](unsigned p) { return p == kWhite; }), 20);
  EXPECT_GT(CountIn(small, 20, 20, 200, 60, IsDark), 10) << "the shadow";
  ASSERT_GT(grown.width, 600);
  ASSERT_GT(grown.height, 400);
  EXPECT_EQ(grown.At(grown.width - 1, 100), kRed);
  EXPECT_EQ(grown.At(grown.width - 1, grown.height - 1), 0x0000FFu);
  EXPECT_EQ(grown.At(300, grown.height - 1), 0x00FF00u);
  EXPECT_EQ(grown.At(299, grown.height - 1), kRed);
}

// A right-to-left language mirrors the layout: a strip docked left shows at the right edge.
TEST_F(SkinWindow, RightToLeftMirrorsTheLayout) {
  languages_ = {{"lang/English.ini", Utf16File(L"[INSTALLER]\r\nLANG_NAME = Hebrew\r\n[GENERAL]\r\n"
                                               L"IS_RIGHT_TO_LEFT_TEXT = 1\r\n")}};
  skin_ = Page("<Static Align=\"left\" Width=\"30\" Color=\"#FF0000\"/>");
  ObservedRun run = Show(L"rtl.exe", {{WindowAction::kShot}});
  ASSERT_EQ(run.shots.size(), 1u);
  const Shot& s = run.shots[0];
  EXPECT_EQ(s.At(s.width - 1, 10), kRed);
  EXPECT_EQ(s.At(s.width - 30, 10), kRed);
  EXPECT_EQ(s.At(s.width - 31, 10), kWhite);
  EXPECT_EQ(s.At(0, 10), kWhite);
}

// The program's visible window of a class, or null.
const WindowSeen* Seen(const std::vector<WindowSeen>& windows, const char* className) {
  for (const WindowSeen& w : windows) {
    if (w.className == className) return &w;
  }
  return nullptr;
}

std::vector<WindowAction> Click(int x, int y, unsigned wait = 400) {
  return {{WindowAction::kMove, static_cast<unsigned>(x) << 16 | static_cast<unsigned>(y)},
          {WindowAction::kDown},
          {WindowAction::kUp},
          {WindowAction::kWait, wait}};
}

void Append(std::vector<WindowAction>& to, const std::vector<WindowAction>& more) {
  to.insert(to.end(), more.begin(), more.end());
}

// A combo box opens its list window just below itself; a click on a row picks it: the combo
// shows the text and the host hears of it; Escape, a click elsewhere and a second click on the
// combo each close the list.
TEST_F(SkinWindow, ComboBoxOpensPicksAndCloses) {
  skin_ = Page(
      "<ComboBox ID=\"COMBO\" Align=\"fixed\" Position=\"20,20,150,24\" Image=\"default\" "
      "Text=\"pick\" ListHeight=\"100\"><Data Text=\"alpha\"/><Data Text=\"beta\"/>"
      "<Data Text=\"gamma\"/></ComboBox>",
      "void OnComboChanged(int id, string text) { print('changed ' + text); }");
  std::vector<WindowAction> actions = Click(80, 32);
  actions.push_back({WindowAction::kWindows});
  Append(actions, Click(80, 44 + 24, 700));  // the second row
  actions.push_back({WindowAction::kWindows});
  actions.push_back({WindowAction::kShot});
  Append(actions, Click(80, 32));
  actions.push_back({WindowAction::kTypeKey, VK_ESCAPE});
  actions.push_back({WindowAction::kWait, 300});
  actions.push_back({WindowAction::kWindows});
  Append(actions, Click(80, 32));
  Append(actions, Click(300, 250));
  actions.push_back({WindowAction::kWindows});
  Append(actions, Click(80, 32));
  Append(actions, Click(80, 32));
  actions.push_back({WindowAction::kWindows});
  ObservedRun run = Show(L"combo.exe", actions);
  ASSERT_EQ(run.windows.size(), 5u);
  const WindowSeen* main = Seen(run.windows[0], "QORINCLASS");
  const WindowSeen* list = Seen(run.windows[0], "XSkinListWnd");
  ASSERT_NE(main, nullptr);
  ASSERT_NE(list, nullptr) << "the list opened";
  EXPECT_EQ(list->rect.top, main->client.top + 44) << "just below the combo";
  EXPECT_EQ(list->rect.left, main->client.left + 20);
  EXPECT_EQ(list->rect.bottom - list->rect.top, 100);
  std::vector<std::string> console = run.Texts("XScriptDebugConsole");
  EXPECT_NE(std::find(console.begin(), console.end(), "script print() - changed beta"),
            console.end());
  for (size_t i = 1; i < 5; ++i)
    EXPECT_EQ(Seen(run.windows[i], "XSkinListWnd"), nullptr) << "closed " << i;
  ASSERT_EQ(run.shots.size(), 1u);
  EXPECT_GT(CountIn(run.shots[0], 22, 22, 168, 42, IsDark), 10) << "the picked text";
}

// Picking a language in a combo box builds the window again in it: its texts, and the mirrored
// layout of the right-to-left language.
TEST_F(SkinWindow, LanguageComboSwitchesTextsAndDirection) {
  auto language = [](const wchar_t* name, const wchar_t* hello, const wchar_t* more = L"") {
    return Utf16File(std::wstring(L"[INSTALLER]\r\nLANG_NAME = ") + name + L"\r\n$HELLO = " +
                     hello + L"\r\n" + more);
  };
  languages_ = {{"lang/English.ini", language(L"English", L"Hello")},
                {"lang/Korean.ini", language(L"한국어", L"안녕하세요")},
                {"lang/Hebrew.ini",
                 language(L"עברית", L"שלום", L"[GENERAL]\r\nIS_RIGHT_TO_LEFT_TEXT = 1\r\n")}};
  skin_ = Page(
      "<Static Align=\"left\" Width=\"30\" Color=\"#FF0000\"/>"
      "<Static ID=\"LABEL\" Align=\"fixed\" Position=\"125,100,150,24\" Text=\"$HELLO\"/>"
      "<ComboBox ID=\"COMBO_LANG\" Align=\"fixed\" Position=\"125,20,150,24\" "
      "Image=\"default\" ListHeight=\"100\"><Data Text=\"English\"/><Data Text=\"한국어\"/>"
      "<Data Text=\"עברית\"/></ComboBox>",
      "void OnInit() { print(GetLanguage() + ' ' + GetControlText(LABEL)); } "
      "SetEventHandler(SKINEVENT_ONINIT, 'OnInit();'); "
      "void OnComboChanged(int id, string text) { if (text == '한국어') SetLanguage('Korean'); "
      "else if (text == 'עברית') SetLanguage('Hebrew'); else SetLanguage('English'); }");
  // The combo is centred: a click finds it mirrored or not. Home, Down, Enter picks the second
  // row; End, Enter the last.
  std::vector<WindowAction> actions = {{WindowAction::kShot}};
  Append(actions, Click(200, 32));
  for (unsigned key : {VK_HOME, VK_DOWN, VK_RETURN})
    actions.push_back({WindowAction::kTypeKey, key});
  actions.push_back({WindowAction::kWait, 1000});
  Append(actions, Click(200, 32));
  for (unsigned key : {VK_END, VK_RETURN}) actions.push_back({WindowAction::kTypeKey, key});
  actions.push_back({WindowAction::kWait, 1000});
  actions.push_back({WindowAction::kShot});
  ObservedRun run = Show(L"language-combo.exe", actions);
  std::vector<std::string> console = run.Texts("XScriptDebugConsole");
  for (const char* line : {"script print() - english Hello", "script print() - korean 안녕하세요",
                           "script print() - hebrew שלום"})
    EXPECT_NE(std::find(console.begin(), console.end(), line), console.end()) << line;
  ASSERT_EQ(run.shots.size(), 2u);
  const Shot &before = run.shots[0], &after = run.shots[1];
  EXPECT_EQ(before.At(5, 10), kRed);
  EXPECT_EQ(after.At(after.width - 5, 10), kRed) << "mirrored";
  EXPECT_EQ(after.At(5, 10), kWhite);
}

// At the bottom of the screen the list opens above the combo.
TEST_F(SkinWindow, ComboBoxOpensAboveAtTheScreenBottom) {
  skin_ =
      "<XSkin><Head><WindowSize Width=\"400\" Height=\"5000\"/><Style AlphaTransition=\"false\"/>"
      "</Head><Body><Static Align=\"client\" Color=\"#FFFFFF\"><ComboBox ID=\"COMBO\" "
      "Align=\"bottom\" Height=\"24\" Image=\"default\" ListHeight=\"100\"><Data Text=\"a\"/>"
      "</ComboBox></Static></Body></XSkin>";
  // The window is as tall as the work area: the combo is its last 24 client pixels.
  ObservedRun probe = Show(L"combo-bottom.exe", {{WindowAction::kWindows}});
  ASSERT_EQ(probe.windows.size(), 1u);
  int height = probe.workArea.bottom - probe.workArea.top;
  const WindowSeen* main = Seen(probe.windows[0], "QORINCLASS");
  ASSERT_NE(main, nullptr);
  int clientHeight = main->client.bottom - main->client.top;
  ASSERT_GT(clientHeight, height / 2);
  std::vector<WindowAction> open = Click(80, clientHeight - 12);
  open.push_back({WindowAction::kWindows});
  ObservedRun opened = Show(L"combo-bottom2.exe", open);
  ASSERT_EQ(opened.windows.size(), 1u);
  const WindowSeen* list = Seen(opened.windows[0], "XSkinListWnd");
  main = Seen(opened.windows[0], "QORINCLASS");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->rect.bottom, main->client.bottom - 24) << "above the combo";
}

// A tooltip shows below its button after the delay, in the control style, and hides when the
// pointer leaves; in the window style it is a popup near the pointer.
TEST_F(SkinWindow, TooltipShowsAfterItsDelayAndHides) {
  for (const char* style : {"control", "window"}) {
    skin_ = std::string(
                "<XSkin><Head><WindowSize Width=\"400\" Height=\"300\"/><Style "
                "AlphaTransition=\"false\" TooltipShowDelay=\"300\" TooltipStyle=\"") +
            style +
            "\"/></Head><Body><Static Align=\"client\" Color=\"#FFFFFF\"><Button "
            "Align=\"fixed\" Position=\"20,20,80,24\" Image=\"default\" Tooltip=\"hello\"/>"
            "</Static></Body></XSkin>";
    std::vector<WindowAction> actions = {{WindowAction::kMove, Move(60, 30)},
                                         {WindowAction::kWait, 100},
                                         {WindowAction::kShot},
                                         {WindowAction::kWindows},
                                         {WindowAction::kWait, 700},
                                         {WindowAction::kShot},
                                         {WindowAction::kWindows},
                                         {WindowAction::kMove, Move(300, 250)},
                                         {WindowAction::kWait, 400},
                                         {WindowAction::kShot},
                                         {WindowAction::kWindows}};
    ObservedRun run = Show(L"tooltip.exe", actions);
    ASSERT_EQ(run.shots.size(), 3u) << style;
    ASSERT_EQ(run.windows.size(), 3u) << style;
    auto tipColour = [](unsigned p) { return p == 0xF1FFBCu; };
    if (std::string(style) == "control") {
      EXPECT_EQ(CountIn(run.shots[0], 20, 44, 200, 80, tipColour), 0) << "not yet";
      EXPECT_GT(CountIn(run.shots[1], 20, 44, 200, 80, tipColour), 50) << "below the button";
      EXPECT_EQ(CountIn(run.shots[2], 20, 44, 200, 80, tipColour), 0) << "hidden";
    } else {
      EXPECT_EQ(Seen(run.windows[0], "XSkinTooltip"), nullptr);
      const WindowSeen* tip = Seen(run.windows[1], "XSkinTooltip");
      const WindowSeen* main = Seen(run.windows[1], "QORINCLASS");
      ASSERT_NE(tip, nullptr);
      ASSERT_NE(main, nullptr);
      EXPECT_EQ(tip->rect.top, main->client.top + 30 + 20) << "20 pixels below the pointer";
      EXPECT_EQ(Seen(run.windows[2], "XSkinTooltip"), nullptr);
    }
  }
}

// A frameless window maximises to the work area (its client area is the work area) and
// restoring gives back its rectangle.
TEST_F(SkinWindow, FramelessWindowMaximisesToTheWorkArea) {
  config_ += L"custom_frame = 1\r\n";
  skin_ = Page("<Static Align=\"top\" Height=\"30\" NcHitTest=\"HTCAPTION\" Color=\"#0000FF\"/>");
  ObservedRun run = Show(L"frameless.exe", {{WindowAction::kWindows},
                                            {WindowAction::kShowWindow, SW_MAXIMIZE},
                                            {WindowAction::kWait, 500},
                                            {WindowAction::kWindows},
                                            {WindowAction::kShot},
                                            {WindowAction::kShowWindow, SW_RESTORE},
                                            {WindowAction::kWait, 500},
                                            {WindowAction::kWindows}});
  ASSERT_EQ(run.windows.size(), 3u);
  const WindowSeen* before = Seen(run.windows[0], "QORINCLASS");
  const WindowSeen* maximised = Seen(run.windows[1], "QORINCLASS");
  const WindowSeen* after = Seen(run.windows[2], "QORINCLASS");
  ASSERT_TRUE(before && maximised && after);
  EXPECT_TRUE(EqualRect(&before->rect, &before->client)) << "no frame";
  EXPECT_TRUE(EqualRect(&maximised->client, &run.workArea))
      << maximised->client.left << "," << maximised->client.top << " " << maximised->client.right
      << "," << maximised->client.bottom;
  EXPECT_TRUE(EqualRect(&after->rect, &before->rect)) << "restored";
  ASSERT_EQ(run.shots.size(), 1u);
  EXPECT_EQ(run.shots[0].width, run.workArea.right - run.workArea.left);
  EXPECT_EQ(run.shots[0].At(run.shots[0].width - 1, 10), 0x0000FFu) << "the caption's width";
}

// A clicked-through install: the pointer presses Install, the files arrive one by one (the
// script holds each for 400 ms) and are listed, the list following the newest with its slider;
// the bar ends full, the state text reaches 100%, the finish page shows and Finish ends the
// process with 0.
TEST_F(SkinWindow, ClickedThroughInstall) {
  ASSERT_TRUE(UsePayload(L"e2e-payload.7z"));
  std::wstring target = folder_ + L"installed";
  extraFiles_.push_back({"back.png", test::OpaquePng(160, 10)});
  extraFiles_.push_back({"front.png", test::OpaquePng(160, 10, 1)});
  extraFiles_.push_back({"track.png", test::OpaquePng(10, 60, 1)});
  extraFiles_.push_back({"thumb.png", test::OpaquePng(40, 10)});
  skin_ = Page(
      "<Button ID=\"BTN_INSTALL\" Align=\"fixed\" Position=\"20,200,120,30\" Image=\"default\" "
      "Text=\"Install\" OnClick=\"Install();\"/>"
      "<Static ID=\"STATIC_INSTALL_STATE\" Align=\"fixed\" Position=\"20,20,200,30\"/>"
      "<Progress ID=\"PROGRESS_INSTALL\" Align=\"fixed\" Position=\"20,60,160,10\" "
      "BackImage=\"back.png\" FrontImage=\"front.png\" Max=\"1000\"/>"
      "<ListBox ID=\"LISTBOX_FILES\" Align=\"fixed\" Position=\"20,80,160,60\">"
      "<Slider Align=\"right\" Direction=\"vertical\" Image=\"track.png\" "
      "ThumbImage=\"thumb.png\"/></ListBox>"
      "<Static ID=\"PAGE_FINISH\" Align=\"fixed\" Position=\"200,100,50,50\" Color=\"#FF0000\" "
      "Show=\"false\"/>"
      "<Button ID=\"BTN_FINISH\" Align=\"fixed\" Position=\"200,200,120,30\" Image=\"default\" "
      "Text=\"Finish\" OnClick=\"DoExit(0);\"/>",
      "void Install() { SetInstallPath(GetCommandLine()); print('start ' + StartInstall()); } "
      "void OnOpenFileToWrite(string name) { Sleep(400); } "
      "void OnSuccess() { print('state ' + GetControlText(STATIC_INSTALL_STATE)); "
      "Show(PAGE_FINISH); } void OnFailed(string e) { print('failed ' + e); DoExit(1); }");
  RunOptions options =
      WindowOptions(Write(L"clicked.exe", Package()), {{WindowAction::kWait, 700},
                                                       {WindowAction::kShot},
                                                       {WindowAction::kMove, Move(80, 215)},
                                                       {WindowAction::kDown},
                                                       {WindowAction::kUp},
                                                       {WindowAction::kWait, 1000},
                                                       {WindowAction::kShot},
                                                       {WindowAction::kWait, 4000},
                                                       {WindowAction::kShot},
                                                       {WindowAction::kMove, Move(260, 215)},
                                                       {WindowAction::kDown},
                                                       {WindowAction::kUp}});
  options.arguments = target;
  ObservedRun run = RunObserved(options);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 0u);
  std::vector<std::string> console = run.Texts("XScriptDebugConsole");
  for (const char* line : {"script print() - start 1", "script print() - state 100%"})
    EXPECT_NE(std::find(console.begin(), console.end(), line), console.end()) << line;
  EXPECT_EQ(ReadWholeFile(target + L"\\bin\\app.dat").size(), 3000u);
  ASSERT_EQ(run.shots.size(), 3u);
  const Shot &before = run.shots[0], &during = run.shots[1], &after = run.shots[2];
  constexpr unsigned kThumb = 0x204080, kFront = 0x804080, kTrack = 0x804080;
  auto rowHasText = [](const Shot& shot, int row) {
    return CountIn(shot, 20, 80 + 20 * row, 170, 100 + 20 * row, IsDark) > 3;
  };
  EXPECT_FALSE(rowHasText(before, 0)) << "an empty list";
  EXPECT_EQ(before.At(175, 85), kTrack) << "no thumb while every item is seen";
  EXPECT_EQ(before.At(21, 65), kThumb) << "an empty bar shows its back";
  EXPECT_TRUE(rowHasText(during, 0)) << "the first file listed";
  EXPECT_EQ(during.At(175, 135), kTrack) << "three rows or fewer: not yet scrolled";
  for (int row : {0, 1, 2}) EXPECT_TRUE(rowHasText(after, row)) << row;
  EXPECT_EQ(after.At(175, 135), kThumb) << "scrolled to the newest";
  EXPECT_EQ(after.At(178, 65), kFront) << "a full bar";
  EXPECT_EQ(after.At(225, 125), kRed) << "the finish page shows";
}

}  // namespace
}  // namespace qorin::e2e

namespace qorin::e2e {
namespace {

// A hosted window of a class that does not exist fails the load with 524, naming the class and
// the system's error.
TEST_F(StubStartup, HostedWindowOfAnUnknownClassFailsTheLoad) {
  skin_ =
      "<XSkin><Head/><Body><Window WindowClass=\"NoSuchClass\" Align=\"client\"/></Body></XSkin>";
  ObservedRun run = RunObserved(Options(Write(L"no-class.exe", Package())));
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 1u);
  ASSERT_EQ(run.boxes.size(), 1u);
  // Windows answers 1407 (ERROR_CANNOT_FIND_WND_CLASS), Wine 1411 (ERROR_CLASS_DOES_NOT_EXIST).
  const std::string prefix =
      "Cannot create a Window using a specified WindowClass Line:1 Col:21 "
      "(ClassName:NoSuchClass, GetLastError:";
  const std::string& text = run.boxes[0].text;
  EXPECT_TRUE(text == prefix + "1407)" || text == prefix + "1411)") << text;
}

}  // namespace
}  // namespace qorin::e2e
