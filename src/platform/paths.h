#pragma once
#include <string>

namespace kestrane {

// The normal form of a full path: drive letter upper case, no trailing backslash but on a root,
// "." and ".." resolved. Empty when it is no full path.
std::string NormalPath(const std::string& path);

// The root of a drive, "C:\".
std::string DriveRoot(char drive);

}  // namespace kestrane
