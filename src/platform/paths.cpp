#include "platform/paths.h"

#include <cctype>
#include <vector>

namespace kestrane {

namespace {

bool IsSlash(char ch) { return ch == '\\' || ch == '/'; }

}  // namespace

bool HasDriveLetter(const std::string& path) {
  return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) != 0 &&
         path[1] == ':';
}

bool IsSharePath(const std::string& path) {
  return path.size() >= 2 && IsSlash(path[0]) && IsSlash(path[1]);
}

std::string DriveRoot(char drive) {
  return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(drive)))) + ":\\";
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

}  // namespace kestrane
