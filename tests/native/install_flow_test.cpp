// The window rules of the install flow, decided without a window.
#include "install_flow.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "extraction.h"
#include "installer_commands.h"
#include "language_table.h"
#include "script_test_host.h"
#include "window_placement.h"

namespace qorin {
namespace {

TEST(InstallFlow, CommandsBecomeWindowActions) {
  XInstallFlow flow;
  EXPECT_EQ(flow.OnCommand(kCmdEscape), XWindowAction::kClose) << "Escape closes when idle";
  for (unsigned id : {kCmdExit, kCmdCancel, kCmdErrorExit})
    EXPECT_EQ(flow.OnCommand(id), XWindowAction::kClose) << id;
  EXPECT_EQ(flow.OnCommand(kCmdMinimize), XWindowAction::kMinimize);
  EXPECT_EQ(flow.OnCommand(kCmdCtrlR), XWindowAction::kPostReload);
  EXPECT_EQ(flow.OnCommand(kCmdReload), XWindowAction::kReload);
  EXPECT_EQ(flow.OnCommand(kCmdEnter), XWindowAction::kEnterKey);
  EXPECT_EQ(flow.OnCommand(kCmdStartInstall), XWindowAction::kInstall);
  EXPECT_EQ(flow.OnCommand(kCmdSelectLanguage), XWindowAction::kLanguageMenu);
  for (unsigned id : {kCmdPrev, kCmdNext, InstallerCommand{1}})
    EXPECT_EQ(flow.OnCommand(id), XWindowAction::kNone) << id;
  flow.SetBusy(true);
  EXPECT_EQ(flow.OnCommand(kCmdExit), XWindowAction::kNone) << "ignored during a blocking call";
}

TEST(InstallFlow, ClosingWaitsForTheExtraction) {
  XInstallFlow flow;
  EXPECT_TRUE(flow.MayClose());
  flow.ExtractionStarted();
  EXPECT_FALSE(flow.MayClose());
  EXPECT_EQ(flow.OnCommand(kCmdEscape), XWindowAction::kNone);
  EXPECT_EQ(flow.OnCommand(kCmdCancel), XWindowAction::kClose) << "WM_CLOSE then decides";
  EXPECT_FALSE(flow.StartExtraction()) << "a second DoInstall";
  flow.ExtractionFinished(false);
  EXPECT_EQ(flow.State(), XInstallState::kFailed);
  EXPECT_TRUE(flow.MayClose());
  EXPECT_EQ(flow.OnCommand(kCmdEscape), XWindowAction::kNone) << "Escape only when idle";
  flow.Reset();
  EXPECT_TRUE(flow.StartExtraction()) << "DoExit set it idle";
}

TEST(WindowPlacement, FitsIntoAndCentresOnTheWorkArea) {
  XRect area{0, 0, 1000, 700};
  EXPECT_EQ(FitIntoArea({-50, 650, 450, 850}, area), (XRect{0, 500, 500, 700}));
  EXPECT_EQ(FitIntoArea({900, 10, 1300, 60}, area), (XRect{600, 10, 1000, 60}));
  EXPECT_EQ(FitIntoArea({100, -100, 300, 900}, area), (XRect{100, 0, 300, 700})) << "too tall";
  EXPECT_EQ(CentredOn({5, 5, 405, 305}, {100, 0, 1100, 700}), (XRect{400, 200, 800, 500}));
}

// The flow's host: a real engine for the scripts, the named controls' texts recorded.
struct ScriptedHost final : IXFlowHost {
  test::ScriptFixture scripts;
  std::map<std::u16string, std::u16string> texts;
  std::vector<std::u16string> listed;
  ScriptedHost() { scripts.engine.Options().ignoreUnknownFunctions = 1; }
  bool RunHostText(std::u16string_view text) override { return scripts.engine.Run(text) != 0; }
  const XScriptValue& LastResult() override { return scripts.engine.LastResult(); }
  void SetNamedText(std::u16string_view name, const std::u16string& text) override {
    texts[std::u16string(name)] = text;
  }
  void SetNamedProgress(std::u16string_view name, int position) override {
    texts[std::u16string(name)] = DisplayInt(position);
  }
  void AddNamedListItem(std::u16string_view name, const std::u16string& text) override {
    if (name == u"LISTBOX_FILES") listed.push_back(text);
  }
};

// Names and error texts reach the scripts as they are, whatever marks they hold; a text that
// fails never answers with the previous file's answer.
TEST(InstallFlow, HostTextsCarryNamesAndErrorsAsTheyAre) {
  ScriptedHost host;
  ASSERT_EQ(host.scripts.Run("int injected; string OnOpenFileToWrite(string n) { print(n); "
                             "if (n == 'skip.txt') return ''; if (n == 'a.txt') return 'D:/a'; } "
                             "void OnFailed(string e) { print('failed ' + e); }"),
            1);
  XInstallFlow flow;
  EXPECT_EQ(flow.OpenFile(host, u"a.txt", u"C:/a.txt"), u"D:/a");
  EXPECT_EQ(flow.OpenFile(host, u"it's \"x\".txt", u"C:/it"), u"C:/it");
  EXPECT_EQ(flow.OpenFile(host, u"skip.txt", u"C:/skip.txt"), u"");
  EXPECT_EQ(host.texts[u"STATIC_CUR_FILE_NAME"], u"skip.txt") << "a skipped file shows its name";
  EXPECT_EQ(host.listed, (std::vector<std::u16string>{u"D:/a", u"C:/it", u"skip.txt"}));
  EXPECT_EQ(flow.OpenFile(host, u"x\");injected = 1;P(\"", u"C:/x"), u"C:/x");
  ASSERT_EQ(host.scripts.Run("injected;"), 1);
  EXPECT_EQ(host.scripts.Result(), "0");
  host.scripts.Run("string OnOpenFileToWrite(string n) { return n + missing; }");
  EXPECT_EQ(flow.OpenFile(host, u"a.txt", u"C:/a.txt"), u"C:/a.txt") << "failed: the default";
  XLanguageTable texts;
  std::string ini = "[INSTALLER]\r\nERR_CANT_OPEN_FILE = can't open '${str1}'\r\n";
  ASSERT_TRUE(texts.Load(reinterpret_cast<const uint8_t*>(ini.data()), ini.size(), nullptr, 0));
  flow.Completed(host, XEXTRACT_ERR_OPEN_FILE, u"b\"c'.txt", texts);
  flow.Completed(host, 0x7777, u"", texts);
  EXPECT_EQ(host.scripts.Printed(),
            "a.txt|it's \"x\".txt|skip.txt|x\");injected = 1;P(\"|"
            "failed can't open 'b\"c'.txt'|failed ERROR:0x7777");
  flow.Progress(host, 0, 0);
  EXPECT_EQ(host.texts[u"STATIC_INSTALL_STATE"], u"0%");
  flow.Progress(host, 999, 1000);
  EXPECT_EQ(host.texts[u"STATIC_INSTALL_STATE"], u"99%");
  EXPECT_EQ(host.texts[u"PROGRESS_INSTALL"], u"999") << "tenths of a percent";
}

}  // namespace
}  // namespace qorin
