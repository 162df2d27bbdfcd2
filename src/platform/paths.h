#pragma once
#include <string>

namespace kestrane {

// The normal form of a full path: drive letter upper case, no trailing backslash but on a root,
// "." and ".." resolved. Empty when it is no full path.
std::string NormalPath(const std::string& path);

// Whether the path begins with a drive letter and its colon ("C:", "c:\\Work").
bool HasDriveLetter(const std::string& path);

// Whether the path is a network share's (\\server\share), written with either slash.
bool IsSharePath(const std::string& path);

// The root of a drive, "C:\".
std::string DriveRoot(char drive);

}  // namespace kestrane
