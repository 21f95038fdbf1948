// The observation helpers' line format: what xrecv and boxanswer write, the harness reads back.
#include "observe_format.h"

#include <gtest/gtest.h>

namespace qorin::observe {
namespace {

TEST(ObserveFormat, FieldsSurviveEscaping) {
  std::vector<std::string> fields = {"XRecv", "1", "a\tb", "line\r\n\r\nnext \\ end", ""};
  std::string line = JoinFields(fields);
  EXPECT_EQ(line.find('\n'), std::string::npos);
  EXPECT_EQ(line.find('\r'), std::string::npos);
  EXPECT_EQ(SplitFields(line), fields);
}

TEST(ObserveFormat, BackslashBeforeLetterIsNotAnEscapeOnceDoubled) {
  EXPECT_EQ(Escape("C:\\new"), "C:\\\\new");
  EXPECT_EQ(Unescape(Escape("C:\\new")), "C:\\new");
}

TEST(ObserveFormat, LinesDropLineEndsAndTrailingEmptyLine) {
  EXPECT_EQ(SplitLines("a\r\nb\n\nc\n"), (std::vector<std::string>{"a", "b", "", "c"}));
  EXPECT_TRUE(SplitLines("").empty());
}

}  // namespace
}  // namespace qorin::observe
