#pragma once
#include "platform/shell.h"

namespace kestrane {

// The operating-system families the program tells apart, found once at start-up; Unknown until
// then, or when the query failed.
enum class OsFamily { Unknown, W95, Nt, Vista, Failed };

// The family of a platform id and version: the 95 family by its three minor versions, Vista by
// major version 6 of the NT line.
constexpr OsFamily OsFamilyFor(const OsVersion& version) {
  if (version.platformId == 1) {
    const auto minor = version.minor;
    return minor == 0 || minor == 10 || minor == 90 ? OsFamily::W95 : OsFamily::Failed;
  }
  if (version.platformId == 2) return version.major == 6 ? OsFamily::Vista : OsFamily::Nt;
  return OsFamily::Failed;
}

}  // namespace kestrane
