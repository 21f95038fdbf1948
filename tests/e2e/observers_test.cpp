// The observation helpers themselves: a box shown by another process is read and answered.
#include <gtest/gtest.h>

#include "observed_run.h"

namespace qorin::e2e {
namespace {

ObservedRun ShowBox(const std::wstring& type, const std::wstring& press) {
  RunOptions options;
  options.program = BuildFile(L"msgbox_probe.exe");
  options.arguments = L"--caption QORIN --text \"Line one.\r\n\r\nC:\\path\" --type " + type;
  options.press = press;
  options.timeoutMs = 30000;
  return RunObserved(options);
}

TEST(BoxAnswer, ReadsBoxAndPressesNamedButton) {
  ObservedRun run = ShowBox(L"yesno", L"No");
  ASSERT_TRUE(run.started);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, static_cast<DWORD>(IDNO));
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].caption, "QORIN");
  EXPECT_EQ(run.boxes[0].text, "Line one.\r\n\r\nC:\\path");
  EXPECT_EQ(run.boxes[0].buttons, (std::vector<std::string>{"Yes", "No"}));
  EXPECT_EQ(run.boxes[0].pressed, "No");
}

TEST(BoxAnswer, FallsBackToCancelWhenNamedButtonIsMissing) {
  ObservedRun run = ShowBox(L"retrycancel", L"Yes");
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, static_cast<DWORD>(IDCANCEL));
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].pressed, "Cancel");
}

}  // namespace
}  // namespace qorin::e2e
