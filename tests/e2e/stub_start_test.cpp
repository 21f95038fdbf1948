// The stub observed from outside, as a developer watches it with the log receiver.
#include <gtest/gtest.h>

#include "observed_run.h"

namespace qorin::e2e {
namespace {

TEST(StubStart, LogsStartAndExitsWithZero) {
  RunOptions options;
  options.program = BuildFile(L"qorin-stub.exe");
  ObservedRun run = RunObserved(options);
  ASSERT_TRUE(run.started);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 0u);
  ASSERT_EQ(run.Texts(), std::vector<std::string>{"pelra-start"});
  EXPECT_EQ(run.log[0].channel, 1u);
  EXPECT_EQ(run.log[0].bytes, (11u + 1) * 2) << "the terminating zero is sent too";
  EXPECT_TRUE(run.boxes.empty());
}

}  // namespace
}  // namespace qorin::e2e
