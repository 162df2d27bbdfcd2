#pragma once
#include <cstddef>
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

// Whether a full path holds a character no file or folder name can have past its drive: one of
// "*?<>| or a colon, or a control character.
bool HasForbiddenNameChar(const std::string& fullPath);

// subst keeps a drive's target within Windows' classic path limit, 260 UTF-16 units with the
// terminator; longer folders cannot have a letter.
inline constexpr std::size_t kLongestTarget = 259;

// Why subst could not give a letter to a full path as it is written.
enum class TargetLimit {
  None,
  TooLong,      // longer than kLongestTarget
  TrimmedName,  // a name ends in a space or a dot, which Windows drops as it reads the path
};
TargetLimit TargetLimitOf(const std::string& fullPath);

// The first name of a path that ends in a space or a dot; empty when none does.
std::string TrimmedName(const std::string& path);

}  // namespace kestrane
