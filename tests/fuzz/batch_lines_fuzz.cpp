// The batch file's line rules on any text a user or another program may have left in subit.bat:
// the first byte picks the letter being removed, the rest is the file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>

#include "permanent/startup_script.h"
#include "platform/ascii_text.h"
#include "platform/text_lines.h"

namespace {

void Require(bool holds) {
  if (!holds) std::abort();
}

bool StartsWithSubst(const std::string& line) {
  if (line.size() < 5) return false;
  std::string head = line.substr(0, 5);
  for (char& ch : head) ch = kestrane::AsciiLower(ch);
  return head == "subst";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const char letter = static_cast<char>(data[0]);
  const auto lines =
      kestrane::SplitLines(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  const auto kept = kestrane::LinesWithoutLetter(lines, letter);

  Require(kept.size() <= lines.size());
  for (const auto& line : lines) {
    Require(kestrane::IsSubstLine(line) == StartsWithSubst(line));
    if (kestrane::NamesLetter(line, letter)) Require(kestrane::IsSubstLine(line));
  }
  for (const auto& line : kept) Require(!kestrane::NamesLetter(line, letter));

  // The kept lines are the file's lines in their order, less only lines that name the letter.
  std::size_t at = 0;
  for (const auto& line : lines) {
    if (at < kept.size() && kept[at] == line) {
      ++at;
    } else {
      Require(kestrane::NamesLetter(line, letter));
    }
  }
  Require(at == kept.size());

  // A line for any other letter survives.
  for (char other = 'A'; other <= 'Z'; ++other) {
    if (kestrane::AsciiUpper(letter) == other) continue;
    const auto names = [other](const std::string& l) { return kestrane::NamesLetter(l, other); };
    Require(std::count_if(lines.begin(), lines.end(), names) ==
            std::count_if(kept.begin(), kept.end(), names));
  }

  // The rewrite, read back, holds the same lines, and removing the letter again changes nothing.
  Require(kestrane::SplitLines(kestrane::JoinLines(kept)) == kept);
  Require(kestrane::LinesWithoutLetter(kept, letter) == kept);

  // Restore's rewrite keeps exactly the lines that name no letter, and no letter is left.
  const auto others = kestrane::LinesOfOthers(lines);
  const auto namesAny = [](const std::string& l) {
    for (char other = 'A'; other <= 'Z'; ++other) {
      if (kestrane::NamesLetter(l, other)) return true;
    }
    return false;
  };
  std::vector<std::string> expected;
  std::copy_if(lines.begin(), lines.end(), std::back_inserter(expected),
               [&](const std::string& l) { return !namesAny(l); });
  Require(others == expected);
  return 0;
}
