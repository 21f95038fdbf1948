// The INI reader: encodings, syntax, numbers.
#include "ini_file.h"

#include <gtest/gtest.h>

#include "test_data.h"

namespace qorin {
namespace {

XIniFile Parse(const std::vector<uint8_t>& bytes) {
  XIniFile ini;
  EXPECT_TRUE(ini.Parse(bytes.data(), bytes.size()));
  return ini;
}

TEST(IniEncodings, Utf16Utf8WithAndWithoutBom) {
  std::u16string text = u"[config]\r\nname_local = 설치 프로그램\r\n";
  XIniFile utf16 = Parse(test::Utf16LeFile(text));
  EXPECT_EQ(utf16.GetText(u"config", u"name_local"), u"설치 프로그램");
  std::string utf8 = "[config]\r\nname_local = \xEC\x84\xA4\xEC\xB9\x98\r\n";
  std::vector<uint8_t> bom = {0xEF, 0xBB, 0xBF};
  bom.insert(bom.end(), utf8.begin(), utf8.end());
  EXPECT_EQ(Parse(bom).GetText(u"config", u"name_local"), u"설치");
  EXPECT_EQ(Parse({utf8.begin(), utf8.end()}).GetText(u"config", u"name_local"), u"설치");
  XIniFile ini;
  uint8_t one = '[';
  EXPECT_FALSE(ini.Parse(&one, 1)) << "shorter than two bytes";
}

TEST(IniSyntax, KeysValuesQuotesCommentsAndPadding) {
  std::u16string text =
      u"; comment\r\n[qorin]\r\n  stub_size  =   17408  \r\nconfig = \"setup.ini\"\r\nq = 'x y'\r\n"
      u"half = \"open\r\n;skipped = 1\r\n\r\nempty =\r\n[other]\nk=v\n";
  std::vector<uint8_t> bytes = test::Utf16LeFile(text);
  bytes.insert(bytes.end(), 6, 0);  // zero padding of the trailer
  XIniFile ini = Parse(bytes);
  EXPECT_EQ(ini.SectionCount(), 2u);
  EXPECT_EQ(ini.GetNumber(u"qorin", u"stub_size"), 17408u);
  EXPECT_EQ(ini.GetText(u"QORIN", u"CONFIG"), u"setup.ini")
      << "names ignore case, quotes are removed";
  EXPECT_EQ(ini.GetText(u"qorin", u"q"), u"x y");
  EXPECT_EQ(ini.GetText(u"qorin", u"half"), u"\"open");
  EXPECT_FALSE(ini.HasKey(u"qorin", u";skipped"));
  EXPECT_TRUE(ini.HasKey(u"qorin", u"empty"));
  EXPECT_EQ(ini.GetText(u"qorin", u"missing", u"fallback"), u"fallback");
  EXPECT_EQ(ini.GetNumber(u"qorin", u"missing"), 0u);
  EXPECT_EQ(ini.GetText(u"other", u"k"), u"v");
}

TEST(IniSyntax, NumbersAreTheLeadingDigits) {
  XIniFile ini;
  ini.ParseText(u"[s]\na = 12ab\nb = x12\nc = 18446744073709551615\n");
  EXPECT_EQ(ini.GetNumber(u"s", u"a"), 12u);
  EXPECT_EQ(ini.GetNumber(u"s", u"b"), 0u);
  EXPECT_EQ(ini.GetNumber(u"s", u"c"), UINT64_MAX);
}

}  // namespace
}  // namespace qorin
