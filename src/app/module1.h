#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "permanent/data_file.h"
#include "platform/shell.h"

namespace kestrane {

// The operating-system families OSFamily holds.
inline constexpr char kFamily95[] = "W95";
inline constexpr char kFamilyNt[] = "NT";
inline constexpr char kFamilyVista[] = "Vista";
inline constexpr char kFamilyFailed[] = "Failed";

// The program-wide values.
struct Module1 {
  std::string OSFamily;              // "W95", "NT", "Vista" or "Failed", found once at start-up
  std::string Quote;                 // the double quote that wraps folders in texts
  std::string DataFile;              // the data file's full path
  DataRecord DataRec;                // the record last read from or written to the data file
  std::int32_t PermMask = 0;         // the permanent letters' mask as last read or written
  std::array<char, 11> CdLetters{};  // CD-ROM letters of the 95 family; '\0': none recorded
};

// "W95", "NT", "Vista" or "Failed" from the platform id and version.
std::string OSFamilyFor(const OsVersion& version);
std::string GetOSFamily(Shell& shell);

// Hands an address to the default browser.
void OpenWebPage(Shell& shell, const std::string& address);

}  // namespace kestrane
