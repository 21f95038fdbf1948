// Configuration, the language choice and the language table, on packages built here.
#include "installer_data.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "fake_system.h"
#include "package_writer.h"
#include "test_data.h"
#include "ui_languages.h"

namespace qorin {
namespace {

namespace fs = std::filesystem;

class InstallerData : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = fs::temp_directory_path() / ("qorin-data-" + std::to_string(::getpid()) + ".exe");
    config_ =
        u"[config]\r\nname_eng = Demo\r\ntitle = Demo Setup\r\napp_version = 2.1\r\nlang_folder = "
        u"lang\r\n";
  }
  void TearDown() override { fs::remove(path_); }

  void AddLanguage(const std::string& file, std::u16string_view body) {
    files_.push_back(
        {"lang/" + file, test::Utf16LeFile(u"[INSTALLER]\r\n" + std::u16string(body))});
  }
  bool Load() {
    files_.push_back({"setup.ini", test::Utf16LeFile(config_)});
    pack::PackageParts parts{test::RandomData(1024), {}, pack::WriteZip(files_, 0), "setup.ini", 0};
    std::vector<uint8_t> bytes = pack::BuildPackage(parts);
    std::ofstream(path_, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!package_.CheckPackage(path_.u16string())) return false;
    return data_.ReadData(u"setup.ini");
  }
  std::u16string Selected() { return data_.Languages().SelectedName(); }

  fs::path path_;
  std::u16string config_;
  std::vector<pack::DataFile> files_;
  test::FakeSystem system_;
  XPackage package_{system_};
  XInstallerData data_{package_, system_};
};

TEST_F(InstallerData, ConfigurationKeysAndNameFallback) {
  config_ +=
      u"beta_version = 3\r\nlaunch_in_temp = 1\r\ntarget_machine = x64\r\nskin_file_name = "
      u"skin.xml\r\n";
  AddLanguage("English.ini", u"MSG = ${APPNAME} ${APPVERSION}\r\n");
  ASSERT_TRUE(Load());
  const XInstallerConfig& config = data_.Config();
  EXPECT_EQ(config.nameLocal, u"Demo") << "name_local falls back to name_eng";
  EXPECT_EQ(config.title, u"Demo Setup");
  EXPECT_EQ(config.betaVersion, 3u);
  EXPECT_EQ(config.launchInTemp, 1u);
  EXPECT_EQ(config.targetMachine, u"x64");
  EXPECT_EQ(config.skinFileName, u"skin.xml");
  data_.Table().SetApplication(config.nameLocal, config.appVersion);
  EXPECT_EQ(data_.Table().Lookup(u"MSG"), u"Demo 2.1");
}

TEST_F(InstallerData, UiLanguageChoiceAndFallbacks) {
  struct Case {
    std::vector<std::string> files;
    uint16_t ui;
    std::u16string defaultLang;
    std::u16string expected;
  };
  const Case cases[] = {
      {{"English.ini", "Korean.ini"}, 0x0411, u"", u"Korean"},   // Japanese UI, Korean present
      {{"English.ini", "German.ini"}, 0x0411, u"", u"English"},  // Japanese UI, no Korean
      {{"English.ini", "German.ini"}, 0x0807, u"", u"German"},   // Swiss German -> German
      {{"English.ini", "Croatian.ini", "Serbian.ini"}, 0x041A, u"", u"Croatian"},  // first row wins
      {{"English.ini", "Japanese.lang"}, 0x0411, u"", u"Japanese"},
      {{"German.ini", "French.ini"}, 0x0411, u"", u"German"},           // the first item
      {{"English.ini", "Korean.ini"}, 0x0412, u"English", u"English"},  // default_lang wins
      {{"English.ini", "Korean.ini"}, 0x0412, u"Klingon", u"Korean"},   // unknown default_lang
      {{"English.ini", "ENGLISH_UK.ini"}, 0x0809, u"", u"English"},     // name before alternate
      {{"ENGLISH_UK.ini", "German.ini"}, 0x0809, u"", u"ENGLISH_UK"},   // alternate name
      {{"English.ini", "Korean.ini"}, 0x1234, u"", u"Korean"},          // not in the table
  };
  for (const Case& c : cases) {
    files_.clear();
    config_ = u"[config]\r\nlang_folder = lang\\\r\ndefault_lang = " + c.defaultLang + u"\r\n";
    for (const std::string& file : c.files) AddLanguage(file, u"X = 1\r\n");
    system_.uiLanguage = c.ui;
    ASSERT_TRUE(Load()) << c.files[0];
    EXPECT_EQ(Selected(), c.expected) << "UI " << std::hex << c.ui;
  }
}

TEST_F(InstallerData, DisplayNamesFromFileOrLangName) {
  AddLanguage("English.ini", u"LANG_NAME = English (US)\r\n");
  AddLanguage("Korean.ini", u"X = 1\r\n");
  ASSERT_TRUE(Load());
  const auto& items = data_.Languages().Items();
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].displayName, u"English (US)");
  EXPECT_EQ(items[1].displayName, u"한국어");
  EXPECT_TRUE(data_.Languages().HasKorean());
  EXPECT_EQ(data_.Languages().BaseFile(), u"English.ini");
}

TEST_F(InstallerData, LookupFallsBackToEnglishAndSubstitutes) {
  system_.uiLanguage = 0x0412;
  AddLanguage(
      "English.ini",
      u"ONLY_EN = from English\r\nEMPTY_KO = English text\r\nERR = Cannot open ${str1}\r\n");
  AddLanguage(
      "Korean.ini",
      u"EMPTY_KO =\r\nLINES = a\\nb[br]c\\rd\r\nAPP = ${APPNAME} v${APPVERSION}\r\n[GENERAL]\r\n"
      u"IS_RIGHT_TO_LEFT_TEXT = 1\r\n");
  ASSERT_TRUE(Load());
  XLanguageTable& table = data_.Table();
  EXPECT_EQ(table.Lookup(u"ONLY_EN"), u"from English");
  EXPECT_EQ(table.Lookup(u"EMPTY_KO"), u"English text");
  EXPECT_EQ(table.Lookup(u"LINES"), u"a\nb\nc\rd");
  EXPECT_EQ(table.Lookup(u"NOWHERE"), u"");
  EXPECT_EQ(table.LookupWith(u"ERR", u"C:\\x.dll"), u"Cannot open C:\\x.dll");
  EXPECT_TRUE(table.RightToLeft());
  EXPECT_EQ(table.Lookup(u"APP"), u"${APPNAME} v${APPVERSION}") << "no name set yet";
  table.SetApplication(u"제품", u"");
  EXPECT_EQ(table.Lookup(u"APP"), u"제품 v${APPVERSION}") << "an empty version is left alone";
}

TEST_F(InstallerData, ChangingLanguageReloadsTexts) {
  AddLanguage("English.ini", u"HELLO = Hello\r\n");
  AddLanguage("Korean.ini", u"HELLO = 안녕\r\n");
  system_.uiLanguage = 0x0412;
  ASSERT_TRUE(Load());
  EXPECT_EQ(data_.Table().Lookup(u"HELLO"), u"안녕");
  ASSERT_TRUE(data_.Languages().SelectByName(u"english"));
  ASSERT_TRUE(data_.LoadLanguageTable());
  EXPECT_EQ(data_.Table().Lookup(u"HELLO"), u"Hello");
}

TEST_F(InstallerData, FailuresShowTheirMessages) {
  ASSERT_FALSE(Load()) << "no language files";
  ASSERT_EQ(system_.boxes.size(), 2u);
  EXPECT_EQ(system_.boxes[0].text, u"Critial Error - no language file found.");
  EXPECT_EQ(system_.boxes[0].caption, u"QORIN");
  EXPECT_EQ(system_.boxes[1].text, u"Error at ReadData");
  EXPECT_EQ(system_.boxes[1].caption, u"PELRA");
  EXPECT_EQ(system_.boxes[1].style, kBoxIconWarning);

  system_.boxes.clear();
  EXPECT_FALSE(data_.ReadData(u"missing.ini"));
  ASSERT_EQ(system_.boxes.size(), 1u);
  EXPECT_EQ(system_.boxes[0].text, u"Error at ReadData");
  EXPECT_EQ(system_.console.back(), u"ReadWholeFile()-실패:missing.ini");
}

TEST_F(InstallerData, InstallPathExpansion) {
  system_.environment[u"ProgramFiles"] = u"D:\\Apps";
  system_.environment[u"LOOP"] = u"%LOOP%";
  EXPECT_EQ(data_.ExpandInstallPath(u"%ProgramFiles%\\Demo"), u"D:\\Apps\\Demo");
  EXPECT_EQ(data_.ExpandInstallPath(u"C:\\%ProgramFiles%\\Demo"), u"C:\\%ProgramFiles%\\Demo");
  EXPECT_EQ(data_.ExpandInstallPath(u"%ProgramW6432%\\Demo"), u"C:\\Program Files\\Demo");
  EXPECT_EQ(data_.ExpandInstallPath(u"%UNSET%\\Demo"), u"%UNSET%\\Demo");
  EXPECT_EQ(data_.ExpandInstallPath(u"%LOOP%\\x"), u"%LOOP%\\x") << "a value naming itself ends";
}

TEST(UiLanguages, TableHas161RowsInItsOrder) {
  EXPECT_EQ(UiLanguageRows().size(), 161u);
  EXPECT_EQ(FindUiLanguage(0x041A)->name, u"Croatian");
  EXPECT_EQ(FindUiLanguage(0x3409)->name, u"English");
  EXPECT_EQ(FindUiLanguage(0x0412)->alternate, u"KOREAN");
  EXPECT_EQ(FindUiLanguage(0x0409)->alternate, u"ENGLISH_US");
  EXPECT_EQ(FindUiLanguage(0x0816)->alternate, u"Portuguese");
  EXPECT_EQ(FindUiLanguage(0x0480)->alternate, u"UyghurLatin");
  EXPECT_EQ(FindUiLanguage(0x141A)->alternate, u"");
  EXPECT_EQ(FindUiLanguage(0x1234), nullptr);
}

}  // namespace
}  // namespace qorin
