#include "platform/paths.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/ascii_text.h"

namespace kestrane {

namespace {

bool IsSlash(char ch) { return ch == '\\' || ch == '/'; }

// Windows counts a path in UTF-16 units: a character past the basic plane takes two.
std::size_t Utf16Length(const std::string& text) {
  std::size_t units = 0;
  for (const char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    if ((byte & 0xC0) != 0x80) units += byte >= 0xF0 ? 2 : 1;
  }
  return units;
}

}  // namespace

bool HasDriveLetter(const std::string& path) {
  return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) != 0 &&
         path[1] == ':';
}

bool IsSharePath(const std::string& path) {
  return path.size() >= 2 && IsSlash(path[0]) && IsSlash(path[1]);
}

std::string DriveRoot(char drive) { return std::string(1, AsciiUpper(drive)) + ":\\"; }

bool HasForbiddenNameChar(const std::string& fullPath) {
  if (fullPath.find_first_of("\"*?<>|:", 2) != std::string::npos) return true;
  return std::any_of(fullPath.begin(), fullPath.end(),
                     [](char ch) { return static_cast<unsigned char>(ch) < 32; });
}

std::string NormalPath(const std::string& path) {
  if (!HasDriveLetter(path)) return {};
  if (path.size() > 2 && !IsSlash(path[2])) return {};
  std::vector<std::string> parts;
  std::string part;
  auto flush = [&] {
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    part.clear();
  };
  for (std::size_t i = 3; i < path.size(); ++i) {
    const char ch = path[i];
    if (ch == '\\' || ch == '/') {
      flush();
    } else {
      part += ch;
    }
  }
  flush();
  std::string out = DriveRoot(path[0]);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += '\\';
    out += parts[i];
  }
  return out;
}

std::string TrimmedName(const std::string& path) {
  std::size_t start = HasDriveLetter(path) ? 2 : 0;
  while (start < path.size()) {
    std::size_t end = path.find_first_of("\\/", start);
    if (end == std::string::npos) end = path.size();
    const std::string name = path.substr(start, end - start);
    // "." and ".." lead elsewhere rather than lose a character.
    if (name != "." && name != ".." && !name.empty() &&
        (name.back() == ' ' || name.back() == '.')) {
      return name;
    }
    start = end + 1;
  }
  return {};
}

TargetLimit TargetLimitOf(const std::string& fullPath) {
  if (Utf16Length(fullPath) > kLongestTarget) return TargetLimit::TooLong;
  return TrimmedName(fullPath).empty() ? TargetLimit::None : TargetLimit::TrimmedName;
}

}  // namespace kestrane
