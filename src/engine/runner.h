#pragma once
#include <cstdint>
#include <string>

namespace kestrane {

// Message codes the runner and the Add and Remove commands report (the table is ShowError's).
inline constexpr std::uint8_t kNoLetter = 3;
inline constexpr std::uint8_t kNoPathSelected = 4;
inline constexpr std::uint8_t kPathNotFound = 5;
inline constexpr std::uint8_t kLetterInUse = 6;
inline constexpr std::uint8_t kCdRomOn95 = 10;
inline constexpr std::uint8_t kUnknownFailure = 11;
inline constexpr std::uint8_t kNetworkDrive = 12;

// Why a folder text cannot be mapped to a letter, as a message code; 0 when it begins with a
// drive letter and colon. A network share (\\server\share) gets the network-drive code.
std::uint8_t FolderTextRefusal(const std::string& text);

// A quoted folder as it must stand on a command line: backslashes before the closing quote are
// doubled so that a drive root ("C:\") is not read as an escaped quote.
std::string CommandArgument(const std::string& path);

}  // namespace kestrane
