#pragma once
#include <cstddef>
#include <string_view>

namespace kestrane {

// Case as drive letters, batch-file words and folder names are compared here: the ASCII letters
// alone, whatever the C library's locale says of the other bytes, so that a UTF-8 name's bytes
// are never taken for letters.
constexpr char AsciiUpper(char ch) {
  return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 32) : ch;
}
constexpr char AsciiLower(char ch) {
  return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch + 32) : ch;
}

// Whether two texts are the same but for the case of their ASCII letters.
constexpr bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

}  // namespace kestrane
