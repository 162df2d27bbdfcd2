#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "permanent/data_file.h"
#include "platform/shell.h"

namespace kestrane {

// The program-wide values.
struct Module1 {
  std::string OSFamily;
  std::string Quote;
  std::string DataFile;
  DataRecord DataRec;
  std::int32_t PermMask = 0;
  bool MakingPerm = false;
  std::array<char, 11> CdLetters{};  // '\0': no letter recorded yet
};

// "W95", "NT", "Vista" or "Failed" from the platform id and version.
std::string OSFamilyFor(const OsVersion& version);
std::string GetOSFamily(Shell& shell);

// Hands an address to the default browser.
void OpenWebPage(Shell& shell, const std::string& address);

}  // namespace kestrane
