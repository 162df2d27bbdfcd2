// The batch file's line rules, apart from the handlers that read and write the file: they take
// whatever a user or another program left in it, so they are built and fuzzed on their own.
#include "permanent/startup_script.h"
#include "platform/ascii_text.h"

namespace kestrane {

bool IsSubstLine(const std::string& line) {
  static constexpr char kWord[] = "SUBST";
  if (line.size() < 5) return false;
  for (std::size_t i = 0; i < 5; ++i) {
    if (AsciiUpper(line[i]) != kWord[i]) return false;
  }
  return true;
}

bool NamesLetter(const std::string& line, char letter) {
  return IsSubstLine(line) && line.size() >= 7 && AsciiUpper(line[6]) == AsciiUpper(letter);
}

std::vector<std::string> LinesWithoutLetter(const std::vector<std::string>& lines, char letter) {
  std::vector<std::string> kept;
  kept.reserve(lines.size());
  for (const std::string& line : lines) {
    if (!NamesLetter(line, letter)) kept.push_back(line);
  }
  return kept;
}

std::vector<std::string> LinesOfOthers(const std::vector<std::string>& lines) {
  std::vector<std::string> kept;
  kept.reserve(lines.size());
  for (const std::string& line : lines) {
    const bool namesALetter = IsSubstLine(line) && line.size() >= 7 && AsciiUpper(line[6]) >= 'A' &&
                              AsciiUpper(line[6]) <= 'Z';
    if (!namesALetter) kept.push_back(line);
  }
  return kept;
}

}  // namespace kestrane
