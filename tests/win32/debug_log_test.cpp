// DebugLog as a receiver sees it: one WM_COPYDATA per line to the "XRecv" dialog window.
#include "debug_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "receiver_window.h"

namespace {

using qorin::test::ReceiverWindow;

TEST(DebugLog, SendsFormattedTextWithTerminatingZero) {
  ReceiverWindow receiver;
  ASSERT_TRUE(receiver.ok());
  DebugLog(L"pelra exit : %d", 7);
  DebugLog(L"@@rExecWait('%s', '%s')==FALSE, %dms", L"a.exe", L"/x", 12);
  ASSERT_EQ(receiver.received.size(), 2u);
  EXPECT_EQ(receiver.received[0].channel, 1u);
  EXPECT_EQ(receiver.received[0].text, std::wstring(L"pelra exit : 7") + L'\0');
  EXPECT_EQ(receiver.received[0].bytes, (14u + 1) * 2);
  EXPECT_EQ(receiver.received[1].text,
            std::wstring(L"@@rExecWait('a.exe', '/x')==FALSE, 12ms") + L'\0');
}

TEST(DebugLog, LongTextIsCutAt4096Characters) {
  ReceiverWindow receiver;
  std::wstring longText(5000, L'x');
  DebugLog(L"%s", longText.c_str());
  ASSERT_EQ(receiver.received.size(), 1u);
  EXPECT_EQ(receiver.received[0].bytes, (4096u + 1) * 2);
  EXPECT_EQ(receiver.received[0].text, std::wstring(4096, L'x') + L'\0');
}

TEST(DebugLog, OnlyTheWindowTitledXRecvReceives) {
  ReceiverWindow other(L"XRecv2");
  DebugLog(L"nobody listens");
  EXPECT_TRUE(other.received.empty());
}

}  // namespace
