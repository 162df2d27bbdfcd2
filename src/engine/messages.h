#pragma once
#include <cstdint>
#include <string>

namespace kestrane {

inline constexpr char kCrLf[] = "\r\n";

struct ErrorMessage {
  std::string title;
  std::string body;
};

// The numbered message table: title and body for a code, with the letter and quote filled in.
ErrorMessage ErrorMessageFor(std::uint8_t code, const std::string& letter, const std::string& quote);

// The support address named in message 255.
std::string SupportEmail();

}  // namespace kestrane
