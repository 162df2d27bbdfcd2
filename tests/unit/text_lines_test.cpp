#include "platform/text_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrane {
namespace {

struct SplitCase {
  const char* name;
  std::string text;
  std::vector<std::string> lines;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

class TextLines : public ::testing::TestWithParam<SplitCase> {};

TEST_P(TextLines, SplitsAndRewritesToTheSameLines) {
  const SplitCase& c = GetParam();
  EXPECT_EQ(SplitLines(c.text), c.lines);
  EXPECT_EQ(SplitLines(JoinLines(c.lines)), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, TextLines,
    ::testing::Values(SplitCase{"Empty", "", {}}, SplitCase{"CrLf", "a\r\nb\r\n", {"a", "b"}},
                      SplitCase{"BareLf", "a\nb\n", {"a", "b"}},
                      SplitCase{"LastLineUnended", "a\r\nb", {"a", "b"}},
                      SplitCase{"LastLineEndedByCrAlone", "a\r\nb\r", {"a", "b"}},
                      SplitCase{"OnlyACr", "\r", {""}},
                      SplitCase{"BlankLinesKept", "\r\n\n\r\n", {"", "", ""}},
                      SplitCase{"CrInsideALineKept", "a\rb\r\n", {"a\rb"}},
                      SplitCase{"OnlyOneCrIsTheLineEnd", "a\r\r\n", {"a\r"}},
                      SplitCase{
                          "NulBytesKept", std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextLines, JoinEndsEveryLineWithCrLf) {
  EXPECT_EQ(JoinLines({"subst P: \"C:\\\"", "", "echo"}), "subst P: \"C:\\\"\r\n\r\necho\r\n");
  EXPECT_EQ(JoinLines({}), "");
}

}  // namespace
}  // namespace kestrane
