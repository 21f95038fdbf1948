// The window rules of the install flow, decided without a window.
#include "install_flow.h"

#include <gtest/gtest.h>

#include "installer_commands.h"

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

}  // namespace
}  // namespace qorin
