#include "platform/text_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ascii_text.h"

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

// Only A..Z and a..z change case: the characters beside them and the bytes of a UTF-8 name stay.
TEST(AsciiCase, ChangesOnlyTheLettersAndComparesWholeTexts) {
  for (const char ch : std::string("@[`{\x80\xC3\xA4\xFF")) {
    EXPECT_EQ(AsciiUpper(ch), ch);
    EXPECT_EQ(AsciiLower(ch), ch);
  }
  EXPECT_EQ(AsciiUpper('a'), 'A');
  EXPECT_EQ(AsciiUpper('z'), 'Z');
  EXPECT_EQ(AsciiLower('A'), 'a');
  EXPECT_EQ(AsciiLower('Z'), 'z');
  EXPECT_TRUE(SameIgnoringCase("c:\\W\xC3\xB6rk", "C:\\w\xC3\xB6RK"));
  EXPECT_FALSE(SameIgnoringCase("C:\\Work", "C:\\Work2"));
}

}  // namespace
}  // namespace kestrane
