// The listing's line rule, apart from the listing that runs subst: it reads whatever subst (or
// a program in its place) printed, so it is built and fuzzed on its own.
#include "drives/subst_listing.h"
#include "platform/ascii_text.h"

namespace kestrane {

std::vector<char> LettersInListing(const std::vector<std::string>& lines) {
  std::vector<char> letters;
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    const char upper = AsciiUpper(line[0]);
    if (upper >= 'A' && upper <= 'Z') letters.push_back(upper);
  }
  return letters;
}

}  // namespace kestrane
