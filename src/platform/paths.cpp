#include "platform/paths.h"

#include <cctype>
#include <vector>

namespace kestrane {

namespace {

bool IsDriveLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

}  // namespace

std::string DriveRoot(char drive) {
  return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(drive)))) + ":\\";
}

std::string NormalPath(const std::string& path) {
  if (path.size() < 2 || !IsDriveLetter(path[0]) || path[1] != ':') return {};
  if (path.size() > 2 && path[2] != '\\' && path[2] != '/') return {};
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

}  // namespace kestrane
