// Any bytes a text file can hold split into lines without a crash, and a file rewritten from its
// lines reads back as the same lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/text_lines.h"

namespace {

void Require(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto lines = kestrane::SplitLines(text);

  std::size_t feeds = 0;
  std::size_t kept = 0;
  for (const char ch : text) feeds += ch == '\n';
  for (const auto& line : lines) {
    Require(line.find('\n') == std::string::npos);
    kept += line.size();
  }
  // One line per line feed, and one more for unended text after the last.
  const bool unended = !text.empty() && text.back() != '\n';
  Require(lines.size() == feeds + (unended ? 1 : 0));
  // Only line ends are dropped: the line feeds and at most one carriage return per line.
  Require(kept + feeds <= size && size - kept - feeds <= lines.size());

  const std::string joined = kestrane::JoinLines(lines);
  Require(kestrane::SplitLines(joined) == lines);
  Require(kestrane::JoinLines(kestrane::SplitLines(joined)) == joined);
  // Text already written line by line, every line ended by CR LF, comes back byte for byte.
  bool crlfOnly = text.empty() || text.back() == '\n';
  for (std::size_t i = 0; i < size && crlfOnly; ++i) {
    if (text[i] == '\n') crlfOnly = i > 0 && text[i - 1] == '\r';
  }
  if (crlfOnly) Require(joined == text);
  return 0;
}
