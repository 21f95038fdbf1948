// The XML parser: encodings, the tree, entities, positions, and each error with its place.
#include "xml_document.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "test_data.h"
#include "text.h"
#include "utf.h"

namespace qorin {
namespace {

std::vector<uint8_t> Bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

bool Load(XXmlDocument& doc, const std::vector<uint8_t>& bytes) {
  return doc.LoadFromMemory(bytes.data(), bytes.size());
}

std::u16string Attribute(const XXmlNode& node, std::u16string_view name) {
  std::u16string value;
  return XXmlDocument::GetAttribute(node, name, &value) ? value : u"<none>";
}

TEST(XmlEncodings, Utf16WithDeclaredUtf16AndUtf8Variants) {
  XXmlDocument doc;
  ASSERT_TRUE(Load(
      doc,
      test::Utf16LeFile(u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<XSkin name=\"설치\"/>")));
  EXPECT_EQ(doc.name, u"XSkin");
  EXPECT_EQ(Attribute(doc, u"name"), u"설치");

  std::string utf8 = "<XSkin name=\"\xEC\x84\xA4\xEC\xB9\x98\"/>";
  ASSERT_TRUE(Load(doc, Bytes("\xEF\xBB\xBF" + utf8)));
  EXPECT_EQ(Attribute(doc, u"name"), u"설치");
  ASSERT_TRUE(Load(doc, Bytes("<?xml version='1.0' encoding='UTF-8'?>" + utf8)));
  EXPECT_EQ(Attribute(doc, u"name"), u"설치");
  ASSERT_TRUE(Load(doc, Bytes("<?xml version=\"1.0\" encoding=\"utf8\"?>" + utf8)));
  EXPECT_EQ(Attribute(doc, u"name"), u"설치");
}

// ASCII goes across eight bytes at a time: a letter beyond it at every place around those pieces,
// in a document loaded after a longer one whose text buffer it reuses.
TEST(XmlEncodings, Utf8LettersAtEveryPlaceOfTheAsciiPieces) {
  XXmlDocument doc;
  ASSERT_TRUE(Load(doc, Bytes("\xEF\xBB\xBF<a t=\"" + std::string(200, 'x') + "\"/>")));
  for (size_t at = 0; at < 20; ++at) {
    std::string value = std::string(at, 'a') + "\xEC\x84\xA4" + std::string(20 - at, 'b');
    ASSERT_TRUE(Load(doc, Bytes("\xEF\xBB\xBF<a t=\"" + value + "\"/>")));
    EXPECT_EQ(Attribute(doc, u"t"),
              std::u16string(at, u'a') + u"\uC124" + std::u16string(20 - at, u'b'));
  }
}

#ifndef _WIN32
TEST(XmlEncodings, WithoutDeclarationTheAnsiPageIsWindows1252) {
  XXmlDocument doc;
  ASSERT_TRUE(Load(doc, Bytes("<a t=\"\x80\xE9\"/>")));
  EXPECT_EQ(Attribute(doc, u"t"), u"\u20AC\u00E9");
  ASSERT_TRUE(Load(doc, Bytes("<?xml encoding=\"Utf-8\"?><a t=\"\xC3\xA9\"/>")))
      << "mixed case is not UTF-8";
  EXPECT_EQ(Attribute(doc, u"t"), u"\u00C3\u00A9");
  // Runs of ASCII long enough to be widened in blocks, around the page's own characters.
  std::string ascii(37, 'x');
  ASSERT_TRUE(Load(doc, Bytes("<a t=\"" + ascii + "\x9F\xA0" + ascii + "\x81\"/>")));
  std::u16string x(37, u'x');
  EXPECT_EQ(Attribute(doc, u"t"), x + u"\u0178\u00A0" + x + u"\u0081");
}
#endif

TEST(XmlTree, ElementsTextCdataAndProcessingInstructions) {
  XXmlDocument doc;
  ASSERT_TRUE(doc.ParseText(
      u"<?xml version=\"1.0\"?>\n<!-- skin -->\n<XSkin>\n  <Head title='a &amp;lt; b'/>\n"
      u"  <script file=\"a.xs\"/><script file=\"b.xs\"/>\n  <Body>x &lt; y <![CDATA[a &lt; "
      u"b]]><?script run(); ?></Body>\n"
      u"</XSkin>\n<!-- end -->\n"));
  EXPECT_EQ(doc.type, kXmlElement);
  EXPECT_EQ(doc.name, u"XSkin");
  const XXmlNode* head = XXmlDocument::FindChild(doc, kXmlElement, u"Head");
  ASSERT_NE(head, nullptr);
  EXPECT_EQ(Attribute(*head, u"title"), u"a < b") << "&amp; goes first, then &lt;";
  EXPECT_EQ(Attribute(*head, u"missing"), u"<none>");
  XXmlDocument split;
  ASSERT_TRUE(split.ParseText(u"<a t='&am\rp;g&apos&quot;;&'/>"));
  EXPECT_EQ(Attribute(split, u"t"), u"&g&apos\";&") << "carriage returns go before entities";

  int index = -1;
  std::vector<std::u16string> scripts;
  while (const XXmlNode* script = XXmlDocument::NextChild(doc, &index, kXmlElement, u"script")) {
    scripts.push_back(Attribute(*script, u"file"));
  }
  EXPECT_EQ(scripts, (std::vector<std::u16string>{u"a.xs", u"b.xs"}));

  const XXmlNode* body = XXmlDocument::FindChild(doc, kXmlElement, u"Body");
  ASSERT_NE(body, nullptr);
  ASSERT_EQ(body->children.size(), 3u);
  EXPECT_EQ(body->children[0]->type, kXmlText);
  EXPECT_EQ(body->children[0]->name, u"x < y ") << "text keeps its trailing white space";
  EXPECT_EQ(body->children[1]->type, kXmlCData);
  EXPECT_EQ(body->children[1]->name, u"a &lt; b");
  EXPECT_EQ(body->children[2]->type, kXmlProcessing);
  EXPECT_EQ(body->children[2]->name, u"script");
  EXPECT_EQ(body->children[2]->value, u"run(); ");
  EXPECT_EQ(XXmlDocument::FindChild(doc, kXmlElement, u"head"), nullptr)
      << "names are case-sensitive";
}

TEST(XmlPositions, LinesColumnsTabsAndCarriageReturns) {
  XXmlDocument doc;
  ASSERT_TRUE(doc.ParseText(u"<a>\r\n\t<b/>\r\n  <c/></a>"));
  EXPECT_EQ(doc.line, 1);
  EXPECT_EQ(doc.column, 1);
  ASSERT_EQ(doc.children.size(), 2u);
  EXPECT_EQ(doc.children[0]->line, 2);
  EXPECT_EQ(doc.children[0]->column, 5) << "a tab counts 4 columns, a carriage return none";
  EXPECT_EQ(doc.children[1]->line, 3);
  EXPECT_EQ(doc.children[1]->column, 3);
}

struct ErrorCase {
  const char16_t* text;
  int error, line, column;
};

TEST(XmlErrors, EachCodeWithItsPosition) {
  const ErrorCase cases[] = {
      {u"<a x=\"1\"y=\"2\">", XXML_ERR_NEED_SPACE_AFTER_VALUE, 1, 8},
      {u"<a x=1>", XXML_ERR_NEED_VALUE, 1, 6},
      {u"<a x>", XXML_ERR_NEED_EQUAL, 1, 5},
      {u"<a x=\"1\" x=\"2\"/>", XXML_ERR_DUPLICATE_ATTRIBUTE, 1, 14},
      // Past a dozen attributes the names are kept in a set.
      {u"<a b=\"\" c=\"\" d=\"\" e=\"\" f=\"\" g=\"\" h=\"\" i=\"\" j=\"\" k=\"\" l=\"\" m=\"\" "
       u"n=\"\" c=\"\"/>",
       XXML_ERR_DUPLICATE_ATTRIBUTE, 1, 72},
      {u"<a></b>", XXML_ERR_TAG_MISMATCH, 1, 7},
      {u"</>", XXML_ERR_END_TAG_NAME, 1, 3},
      {u"<a/ >", XXML_ERR_NO_END_TAG, 1, 3},
      {u"<a><!-- open", XXML_ERR_COMMENT_NOT_CLOSED, 1, 12},
      {u"<a><![CDATA[ open", XXML_ERR_COMMENT_NOT_CLOSED, 1, 17},
      {u"<!DOCTYPE x><a/>", XXML_ERR_BAD_BANG, 1, 2},
      {u"<a>x</a> y", XXML_ERR_AFTER_ROOT, 1, 10},
      {u"text<a/>", XXML_ERR_ROOT_NOT_TAG, 1, 4},
      {u"</a>", XXML_ERR_ROOT_NOT_TAG, 1, 4},
      {u"<a x=\"1", XXML_ERR_TOKEN_PARSE, 1, 7},
      {u"<a x=\"<\"/>", XXML_ERR_TOKEN_PARSE, 1, 6},
      {u"<a", XXML_ERR_TAG_NOT_CLOSED, 1, 2},
      {u"<a <b/>", XXML_ERR_BAD_TOKEN, 1, 4},
      {u"<a>\n<b>", XXML_ERR_NO_END_TAG, 2, 3},
      // A line feed moves the position to the next line only when another character follows;
      // a carriage return is such a character, though it takes no column.
      {u"<a>\n", XXML_ERR_NO_END_TAG, 1, 3},
      {u"<a>\n\r<b>\r\n\r", XXML_ERR_NO_END_TAG, 3, 0},
      {u"<?pi open", XXML_ERR_PI_NOT_CLOSED, 1, 9},
      {u"", XXML_ERR_BAD_EOF, 0, 0},
  };
  for (const ErrorCase& c : cases) {
    XXmlDocument doc;
    EXPECT_FALSE(doc.ParseText(c.text))
        << std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text));
    std::string where(c.text, c.text + std::char_traits<char16_t>::length(c.text));
    EXPECT_EQ(doc.Error(), c.error) << where;
    EXPECT_EQ(doc.Line(), c.line) << where;
    EXPECT_EQ(doc.Column(), c.column) << where;
  }
}

TEST(XmlErrors, DeepNestingIsRefusedNotOverflowing) {
  std::u16string text;
  for (int i = 0; i < 100000; ++i) text += u"<a>";
  XXmlDocument doc;
  EXPECT_FALSE(doc.ParseText(text));
  EXPECT_EQ(doc.Error(), XXML_ERR_GENERAL);
}

TEST(XmlErrors, TextsAreTheUsersTexts) {
  EXPECT_EQ(XmlErrorText(0), u"에러 없음");
  EXPECT_EQ(XmlErrorText(265), u"시작과 종료태그가 다름");
  EXPECT_EQ(XmlErrorText(271), u" <! 다음에 -- 이나 [CDATA[ 가 나오지 않았음");
  EXPECT_EQ(XmlErrorText(0x1234), u"지정되지 않은 에러(0x1234");
}

}  // namespace
}  // namespace qorin

namespace qorin {
namespace {

// The entity rule as five passes in order ("&amp;" first), the reference of the one-pass decoder.
std::u16string FivePasses(std::u16string text) {
  static constexpr std::pair<std::u16string_view, std::u16string_view> kEntities[] = {
      {u"&amp;", u"&"}, {u"&gt;", u">"}, {u"&lt;", u"<"}, {u"&quot;", u"\""}, {u"&apos;", u"'"}};
  for (const auto& [entity, replacement] : kEntities) ReplaceAll(text, entity, replacement);
  return text;
}

TEST(XmlEntities, OnePassAgreesWithFivePassesInOrder) {
  std::mt19937 random(7);
  const char16_t alphabet[] = u"&amp;gtlquosx;&&";
  for (int n = 0; n < 20000; ++n) {
    std::u16string value;
    for (int i = static_cast<int>(random() % 14); i > 0; --i) value += alphabet[random() % 16];
    XXmlDocument doc;
    ASSERT_TRUE(doc.ParseText(u"<a v=\"" + value + u"\"/>"));
    const std::u16string_view* decoded = XXmlDocument::FindAttribute(doc, u"v");  // the root
    ASSERT_NE(decoded, nullptr);
    ASSERT_EQ(*decoded, FivePasses(value)) << Utf16ToUtf8(value);
  }
}

}  // namespace
}  // namespace qorin
