#pragma once
#include <cstdint>
#include <string>

namespace kestrane {

inline constexpr char kCrLf[] = "\r\n";

// The numbered messages ShowError shows. 7 to 9 are in the table but nothing raises them.
inline constexpr std::uint8_t kAlreadyAssigned = 1;  // the letter has a line in subit.bat
inline constexpr std::uint8_t kNotSupported = 2;     // no family or no Startup folder
inline constexpr std::uint8_t kNoLetter = 3;
inline constexpr std::uint8_t kNoPathSelected = 4;
inline constexpr std::uint8_t kPathNotFound = 5;
inline constexpr std::uint8_t kLetterInUse = 6;
inline constexpr std::uint8_t kFirstMissingFile = 7;
inline constexpr std::uint8_t kLastMissingFile = 9;
inline constexpr std::uint8_t kCdRomOn95 = 10;
inline constexpr std::uint8_t kUnknownFailure = 11;
inline constexpr std::uint8_t kNetworkDrive = 12;
inline constexpr std::uint8_t kMissingOrCorrupt = 255;  // start-up ends after it

struct ErrorMessage {
  std::string title;
  std::string body;
};

// The numbered message table: title and body for a code, with the letter and quote filled in.
ErrorMessage ErrorMessageFor(std::uint8_t code, const std::string& letter,
                             const std::string& quote);

// The support address named in message 255.
std::string SupportEmail();

}  // namespace kestrane
