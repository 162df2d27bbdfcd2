#pragma once
#include <cstdint>
#include <string>

#include "drives/message_codes.h"

namespace kestrane {

inline constexpr char kCrLf[] = "\r\n";

// Codes 7 to 9 are in the table but nothing raises them.
inline constexpr std::uint8_t kFirstMissingFile = 7;
inline constexpr std::uint8_t kLastMissingFile = 9;

// The double quote that wraps folders and letters in texts.
inline constexpr char kQuote[] = "\"";

struct ErrorMessage {
  std::string title;
  std::string body;
};

// The numbered message table: title and body for a code, with the letter and quote filled in.
ErrorMessage ErrorMessageFor(std::uint8_t code, const std::string& letter,
                             const std::string& quote = kQuote);
inline ErrorMessage ErrorMessageFor(Msg code, const std::string& letter) {
  return ErrorMessageFor(static_cast<std::uint8_t>(code), letter);
}

// Why subst cannot give the folder a letter as it is written (TargetLimitOf), naming it; empty
// when it can.
std::string TargetRefusal(const std::string& folder);

// The support address named in message 255.
std::string SupportEmail();

}  // namespace kestrane
