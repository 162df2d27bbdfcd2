#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace kestrane {

// The lines of a text file. A line ends at a line feed, with or without a carriage return before
// it; the last line may lack its end, and an empty text after the last line end is no line.
std::vector<std::string> SplitLines(std::string_view text);

// The text of a file holding the lines, each followed by a carriage return and a line feed.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace kestrane
