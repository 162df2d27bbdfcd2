#pragma once
#include <cstdint>
#include <string>

#include "engine/messages.h"

namespace kestrane {

// subst and the command interpreter normally end at once; past this the window is given back.
inline constexpr int kCommandLimitMs = 10000;

// One request for subst: a letter mapped to a folder, or a letter's mapping deleted.
struct SubstRequest {
  std::string letter;  // as the user picked it; only one upper-case letter ever reaches subst
  std::string folder;  // unquoted; empty for a deletion
  bool remove = false;

  static SubstRequest Map(std::string letter, std::string folder) {
    return {std::move(letter), std::move(folder), false};
  }
  static SubstRequest Delete(std::string letter) { return {std::move(letter), {}, true}; }
};

enum class SubstStatus {
  Mapped,       // subst did as asked and ended with success
  InUse,        // a mapping was asked for a letter in use: nothing was run
  Refused,      // the letter or the folder cannot be mapped: nothing was run
  NotStarted,   // subst could not be started
  TimedOut,     // subst did not end within the limit
  SubstFailed,  // subst ended with an error
};

struct SubstOutcome {
  SubstStatus status = SubstStatus::Mapped;
  std::uint8_t code = 0;  // the message that tells the user why, unless mapped
  bool Mapped() const { return status == SubstStatus::Mapped; }
};

// One upper-case letter A to Z and nothing else: the only letter that reaches a command line or
// has a bit of its own.
inline bool IsPlainLetter(const std::string& text) {
  return text.size() == 1 && text[0] >= 'A' && text[0] <= 'Z';
}

// Why a folder text cannot be mapped to a letter, as a message code; 0 when it begins with a
// drive letter and colon. A network share (\\server\share) gets the network-drive code.
std::uint8_t FolderTextRefusal(const std::string& text);

// A folder as it must stand, quoted, on a command line: backslashes before the closing quote are
// doubled so that a drive root ("C:\") is not read as an escaped quote.
std::string CommandArgument(const std::string& folder);

}  // namespace kestrane
