// subst's listing as read from its output, whatever the program in its place printed.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "drives/subst_listing.h"
#include "platform/ascii_text.h"
#include "platform/text_lines.h"

namespace {

void Require(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto lines =
      kestrane::SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
  const auto letters = kestrane::LettersInListing(lines);

  // Only drive letters, one for each line that begins with one, in the listing's order.
  Require(letters.size() <= lines.size());
  std::size_t at = 0;
  for (const auto& line : lines) {
    if (line.empty() || !std::isalpha(static_cast<unsigned char>(line[0])) ||
        static_cast<unsigned char>(line[0]) > 0x7f) {
      continue;
    }
    Require(at < letters.size());
    Require(letters[at] == kestrane::AsciiUpper(line[0]));
    ++at;
  }
  Require(at == letters.size());
  for (const char letter : letters) Require(letter >= 'A' && letter <= 'Z');
  return 0;
}
