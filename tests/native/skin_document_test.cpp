// Loading skins: every load error with its position and context, the error texts, the ID table
// and the tree the document builds.
#include "skin_document.h"

#include <gtest/gtest.h>

#include "controls.h"
#include "skin_test_skin.h"

namespace qorin {
namespace {

using test::TestSkin;

TEST(SkinLoadErrors, EachCodeWithItsPositionAndContext) {
  struct Case {
    const char* xml;
    int code, line, column;
    const char16_t *text1, *text2;
  } cases[] = {
      {"<XSkin><Head/><Body>", XSKIN_ERR_XML, 0, 0, u"skin.xml", u""},
      {"<xskin><Head/><Body/></xskin>", XSKIN_ERR_ROOT_TAG, 1, 1, u"", u""},
      {"<XSkin><Body/></XSkin>", XSKIN_ERR_NO_HEAD, 1, 1, u"", u""},
      {"<XSkin><Head/></XSkin>", XSKIN_ERR_NO_BODY, 1, 1, u"", u""},
      {"<XSkin><Head>\n <WindowSize Width=\"500\" /></Head><Body/></XSkin>", XSKIN_ERR_NO_HEIGHT, 2,
       2, u"WindowSize", u""},
      {"<XSkin><Head><WindowSize Height=\"5\"/></Head><Body/></XSkin>", XSKIN_ERR_NO_WIDTH, 1, 14,
       u"WindowSize", u""},
      {"<XSkin><Head><Style TooltipStyle=\"x\"/></Head><Body/></XSkin>", XSKIN_ERR_TOOLTIP_STYLE, 1,
       14, u"TooltipStyle", u"x"},
      {"<XSkin><Head><Style TooltipPosition=\"middle\"/></Head><Body/></XSkin>",
       XSKIN_ERR_TOOLTIP_POSITION, 1, 14, u"TooltipPosition", u"middle"},
      {"<Static/>text<Static/>", XSKIN_ERR_TEXT_NODE, 1, 33, u"", u""},
      {"<Static Align=\"Top\"/>", XSKIN_ERR_ALIGN, 1, 21, u"skin.xml", u"Top"},
      {"<Static/>\n  <Label/>", XSKIN_ERR_BAD_TAG, 2, 3, u"Label", u""},
      {"<ChildSkin/>", XSKIN_ERR_CHILD_SKIN_FILE, 1, 21, u"ChildSkin", u""},
      {"<ChildSkin File=\"none.xml\"/>", XSKIN_ERR_FILE_OPEN, 0, 0, u"none.xml", u""},
      {"<ChildSkin File=\"SKIN.xml\"/>", XSKIN_ERR_CHILD_SKIN_FILE, 1, 21, u"ChildSkin",
       u"SKIN.xml"},  // a skin that includes itself
      {"<Static ID=\"A\"/><Static ID=\"A\"/>", XSKIN_ERR_DUPLICATE_ID, 1, 37, u"ID", u"63001"},
      {"<Button Image=\"gone.png\"/>", XSKIN_ERR_FILE, 1, 21, u"Image", u"gone.png"},
      {"<Button ImageType=\"stretch\"/>", XSKIN_ERR_VALUE, 1, 21, u"ImageType", u"stretch"},
      {"<CheckBox ImageType=\"tile\"/>", XSKIN_ERR_VALUE, 1, 21, u"ImageType", u"tile"},
      {"<Static ImageType=\"bogus\"/>", XSKIN_ERR_VALUE, 1, 21, u"ImageType", u"bogus"},
      {"<Window/>", XSKIN_ERR_NO_WINDOW_HANDLE, 1, 21, u"Window", u""},
      {"<Window WindowHandle=\"h\"/>", XSKIN_ERR_WINDOW_HANDLE, 1, 21, u"WindowHandle", u"h"},
  };
  for (const Case& c : cases) {
    TestSkin skin;
    EXPECT_FALSE(skin.Load(c.xml)) << c.xml;
    const XSkinError& e = skin.Error();
    EXPECT_EQ(e.code, c.code) << c.xml;
    EXPECT_EQ(e.line, c.line) << c.xml;
    EXPECT_EQ(e.column, c.column) << c.xml;
    EXPECT_EQ(e.text1, c.text1) << c.xml;
    EXPECT_EQ(e.text2, c.text2) << c.xml;
  }
  TestSkin missing;
  missing.files.clear();
  missing.zip = pack::WriteZip({{"other.xml", {'x'}}}, 0);
  missing.resources.OpenArchive(missing.zip.data(), missing.zip.size());
  XSkinDocument document(missing.resources);
  EXPECT_FALSE(document.Load(u"skin.xml"));
  EXPECT_EQ(document.Error().code, XSKIN_ERR_FILE_OPEN);
}

TEST(SkinLoadErrors, MessagesAsTheUserSeesThem) {
  XSkinError e;
  EXPECT_EQ(e.Text(0x0409), u"No error Line:0 Col:0");
  EXPECT_EQ(e.Text(kLanguageKorean), u"에러 없음 Line:0 Col:0");
  e.Set(XSKIN_ERR_NO_HEAD, {}, {}, 3, 7);
  EXPECT_EQ(e.Text(0x0409), u"<Head>태그를 찾을 수 없습니다. Line:3 Col:7") << "Korean only";
  XSkinError align;
  align.Set(XSKIN_ERR_ALIGN, u"skin.xml", u"Top", 2, 5);
  EXPECT_EQ(align.Text(0x0409),
            u"Align 속성의 속성값이 잘못되었습니다. Line:2 Col:5 (skin.xml) (Top)");
  XSkinError child;
  child.Set(XSKIN_ERR_CHILD_SKIN_FILE, u"ChildSkin");
  EXPECT_EQ(child.Text(0x0409), u"지정되지 않은 에러입니다. Line:0 Col:0 (ChildSkin)");
  TestSkin broken;
  broken.Load("<XSkin><Head/><Body>");
  EXPECT_EQ(broken.Error().Text(0x0409).substr(0, 10), u"XML 파싱 에러(")
      << Utf16ToUtf8(broken.Error().Text(0x0409));
  XSkinError window;
  window.Set(XSKIN_ERR_WINDOW_CLASS);
  EXPECT_EQ(window.Text(0x0409),
            u"Cannot create a Window using a specified WindowClass Line:0 Col:0");
}

TEST(SkinIds, HeaderFileHostNumbersAndAutomaticNumbers) {
  XIdTable ids;
  ids.LoadHeader(
      u"// ids\r\n#define IDC_OK 1001\r\n#define  _HIDDEN 5\n#define GONE -1\n"
      u"#define\tIDC_BACK\t1002\nint x;\n#define ODD abc\n");
  int n = 0;
  EXPECT_TRUE(ids.Resolve(u"IDC_OK", &n));
  EXPECT_EQ(n, 1001);
  EXPECT_TRUE(ids.Resolve(u"IDC_BACK", &n));
  EXPECT_EQ(n, 1002);
  ids.Add(u"CMD_EXIT", 32776);
  EXPECT_EQ(ids.NameOf(32776), u"CMD_EXIT");
  ids.Add(u"IDC_OK", 1003);
  EXPECT_EQ(ids.Lookup(u"IDC_OK"), 1003) << "a name added again takes the new number";
  EXPECT_EQ(ids.Entries().front(), (std::pair<std::u16string, int>{u"IDC_OK", 1003}))
      << "in its first place";
  EXPECT_TRUE(ids.ResolveValue(u"77", &n));
  EXPECT_EQ(n, 77) << "a number stands for itself";
  for (const char16_t* name : {u"_HIDDEN", u"GONE", u"FIRST"}) ids.Resolve(name, &n);
  EXPECT_EQ(n, 63003) << "skipped lines are unknown names: numbered from 63001";
  ids.SetAutomatic(false);
  EXPECT_FALSE(ids.Resolve(u"NEW", &n));

  TestSkin skin;
  skin.files.push_back({"ids.h", {'#', 'd', 'e', 'f', 'i', 'n', 'e', ' ', 'B', ' ', '7'}});
  ASSERT_TRUE(skin.Load("<Static ID=\"A\"/><Static ID=\"B\" Command=\"C\"/>"));
  EXPECT_EQ(skin.document->FindControl(63001)->name.rfind(u"NonameControl-", 0), 0u);
  XSkinDocument again(skin.resources);
  EXPECT_TRUE(again.LoadIdFile(u"ids.h")) << "from the archive when not on disk";
  EXPECT_FALSE(again.LoadIdFile(u"missing.h"));
  EXPECT_EQ(again.Error().code, XSKIN_ERR_ID_FILE);
}

TEST(SkinResources, NamesLanguagesSubFoldersAndTextFiles) {
  std::vector<uint8_t> zip = pack::WriteZip(
      {{"skin/Images/OK.png", {'p'}}, {"skin/ko.png", {'k'}}, {"top.xml", {'t'}}}, 0);
  test::FakeLanguage language;
  language.texts[u"$IMG"] = u"ko.png";
  XResourceProvider archive;
  ASSERT_TRUE(archive.OpenArchive(zip.data(), zip.size(), u"skin/"));
  archive.SetLanguage(&language);
  XByteBuffer bytes;
  EXPECT_TRUE(archive.Read(u"images/ok.PNG", &bytes)) << "any case, \"/\" or \"\\\"";
  EXPECT_TRUE(archive.Read(u"$IMG", &bytes));
  EXPECT_EQ(std::string(bytes.view()), "k");
  EXPECT_FALSE(archive.Read(u"top.xml", &bytes)) << "outside the sub-folder";
  XResourceProvider noArchive;
  std::vector<uint8_t> junk = {1, 2, 3};
  EXPECT_FALSE(noArchive.OpenArchive(junk.data(), junk.size()));
  EXPECT_FALSE(noArchive.Read(u"top.xml", &bytes));

  std::u16string text;
  auto decode = [&](std::vector<uint8_t> b) {
    return XResourceProvider::DecodeText(b.data(), b.size(), &text);
  };
  EXPECT_TRUE(decode({0xFF, 0xFE, 'h', 0, 'i', 0}));
  EXPECT_EQ(text, u"hi");
  EXPECT_TRUE(decode({0xEF, 0xBB, 0xBF, 0xED, 0x95, 0x9C}));
  EXPECT_EQ(text, u"한");
  EXPECT_TRUE(decode({'o', 'k'}));
  EXPECT_FALSE(decode({'x'})) << "fewer than 2 bytes";
  EXPECT_FALSE(decode({'a', 0, 'b'})) << "a zero byte is no UTF-8 text";
  EXPECT_FALSE(decode({'a', 0xC3})) << "a lead byte without its continuation";
  EXPECT_FALSE(decode({0xE9, 't', 'e'})) << "Latin-1 is refused";
}

TEST(SkinTree, ControlsAttributesAndNames) {
  TestSkin skin;
  skin.language.texts[u"$HELLO"] = u"안녕";
  skin.files.push_back({"child.xml", {}});
  std::string child = "<XSkin><Head/><Body><Button Name=\"inner\"/></Body></XSkin>";
  skin.files.back().bytes.assign(child.begin(), child.end());
  ASSERT_TRUE(skin.Load(
      "<Static Name=\"a\" Height=\"20\" Text=\"$HELLO\" Enable=\"TRUE\" BorderColor=\"red\" "
      "BorderRound=\"4\""
      " Tooltip=\"one\\ntwo\" Cursor=\"IDC_HAND\" Alpha=\"128\" TextDrawCount=\"50000000\">"
      "<Data x=\"1\"/>"
      "<Button/><Button/></Static><ChildSkin Name=\"c\" File=\"child.xml\"/><GroupBox/>"));
  EXPECT_EQ(skin.document->ControlCount(), 5);
  AControlBase* a = skin.document->Root()->children[0];
  EXPECT_EQ(skin.document->Root()->name, u"ROOT");
  EXPECT_EQ(a->text, u"안녕");
  EXPECT_FALSE(a->enabled) << "TRUE is false";
  EXPECT_EQ(a->borderWidth, 1) << "a colour alone gives a border of 1";
  EXPECT_EQ(a->borderRound, 4);
  EXPECT_EQ(a->tooltip, u"one\ntwo");
  EXPECT_EQ(a->cursor, 0);
  EXPECT_EQ(a->alpha, 128);
  EXPECT_EQ(a->textStyle.drawCount, kMostTextDraws) << "a skin cannot ask for millions of draws";
  ASSERT_EQ(a->children.size(), 2u) << "Data is no control";
  std::u16string first = a->children[0]->name, second = a->children[1]->name;
  EXPECT_EQ(std::stoi(Utf16ToUtf8(second.substr(14))), std::stoi(Utf16ToUtf8(first.substr(14))) + 1)
      << "consecutive unnamed controls";
  skin.document->Layout().LayoutAll(200, 100);
  EXPECT_EQ(a->buffers[0].width, 200) << "back buffers follow the rectangle";
  EXPECT_FALSE(a->buffers[1].Empty()) << "the second one because Alpha is not 255";
  EXPECT_TRUE(a->children[0]->buffers[1].Empty());
  auto* nested = dynamic_cast<XChildSkin*>(skin.document->Root()->children[1]);
  ASSERT_NE(nested, nullptr);
  EXPECT_EQ(nested->Document()->Root()->name, u"CHILD_ROOT");
  EXPECT_EQ(nested->Document()->Root()->children[0]->name, u"inner");
}

TEST(SkinTree, RegisteredTagsAndHead) {
  TestSkin skin;
  skin.language.texts[u"SKIN_FONT_NAME"] = u"Malgun Gothic";
  skin.files.push_back({"skin.xml", {}});
  std::string xml =
      "<XSkin><Head><WindowSize Width=\"500\" Height=\"300\" Width2=\"10\"/>"
      "<Style TooltipStyle=\"hide\" TooltipPosition=\"right\" AlphaTransition=\"no\"/>"
      "<DefaultFont FontFace=\"Tahoma\" FontSize=\"10.5\" FontWeight=\"bold\"/></Head>"
      "<Body><Fancy/></Body></XSkin>";
  skin.files.back().bytes.assign(xml.begin(), xml.end());
  skin.zip = pack::WriteZip(skin.files, 0);
  skin.resources.OpenArchive(skin.zip.data(), skin.zip.size());
  skin.resources.SetLanguage(&skin.language);
  XSkinDocument document(skin.resources);
  document.SetDpi(144);
  document.RegisterControl(
      u"Fancy", [](void*) -> AControlBase* { return new XStatic(); }, nullptr);
  ASSERT_TRUE(document.Load(u"skin.xml")) << Utf16ToUtf8(document.Error().Text(0x409));
  const XSkinHead& head = document.Head();
  EXPECT_EQ(head.width, 750) << "500 at 144 DPI";
  EXPECT_EQ(head.height, 450);
  EXPECT_EQ(head.width2, 15);
  EXPECT_EQ(head.tooltipStyle, 2);
  EXPECT_EQ(head.tooltipPosition, 3);
  EXPECT_FALSE(head.alphaTransition);
  EXPECT_EQ(head.font.face, u"Malgun Gothic") << "the language's face replaces the default";
  EXPECT_DOUBLE_EQ(head.font.points, 10.5);
  EXPECT_TRUE(head.font.bold);
  EXPECT_EQ(document.ControlCount(), 1);
}

}  // namespace
}  // namespace qorin
