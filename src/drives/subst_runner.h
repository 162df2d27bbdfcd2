#pragma once
#include <cstdint>
#include <string>

#include "drives/letter_probe.h"
#include "drives/message_codes.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/shell.h"

namespace kestrane {

// subst normally ends at once, but it waits for every program to take its drive-change
// announcement, and a program slow to answer holds it up. The window waits, with the hourglass,
// this long before it says so and is given back; subst goes on, and the lists follow it.
inline constexpr int kCommandLimitMs = 90000;

// One request for subst: a letter mapped to a folder, or a letter's mapping deleted.
struct SubstRequest {
  std::string letter;  // as the user picked it; only one upper-case letter ever reaches subst
  std::string folder;  // unquoted; empty for a deletion
  bool remove = false;
  bool hidden = false;  // the folder was typed in hidden-folder mode: hidden folders count
  // WhyNotTarget answered for the folder a moment ago, before the user was asked: not again.
  bool targetChecked = false;

  static SubstRequest Map(std::string letter, std::string folder, bool hidden = false) {
    return {std::move(letter), std::move(folder), false, hidden};
  }
  static SubstRequest Delete(std::string letter) { return {std::move(letter), {}, true, false}; }
  // A mapping whose folder WhyNotTarget has let through already.
  static SubstRequest CheckedMap(std::string letter, std::string folder, bool hidden) {
    return {std::move(letter), std::move(folder), false, hidden, true};
  }
};

enum class SubstStatus {
  Done,         // subst did as asked (made or removed the drive) and ended with success
  InUse,        // a mapping was asked for a letter in use: nothing was run
  Refused,      // the letter or the folder cannot be mapped: nothing was run
  NotStarted,   // subst could not be started
  TimedOut,     // subst did not end within the limit: it may still do as asked
  SubstFailed,  // subst ended with an error
  NotVirtual,   // a deletion found the letter no virtual drive (any more): nothing to remove
  // subst ended with success, but a look at the letter says otherwise: its word is not taken.
  NoDrive,     // a mapping: the letter does not stand for the folder
  StillThere,  // a deletion: the letter is still a virtual drive
};

struct SubstOutcome {
  SubstStatus status = SubstStatus::Done;
  Msg code = Msg::None;  // the message that tells the user why, unless mapped
  int probeFailure = 0;  // an unexpected failure of the letter's probe, shown before the outcome
  bool Done() const { return status == SubstStatus::Done; }
  // subst ran, whatever it answered: the drives may have changed.
  bool Ran() const {
    return status == SubstStatus::Done || status == SubstStatus::TimedOut ||
           status == SubstStatus::SubstFailed || status == SubstStatus::NotVirtual ||
           status == SubstStatus::NoDrive || status == SubstStatus::StillThere;
  }
};

// One upper-case letter A to Z and nothing else: the only letter that reaches a command line or
// has a bit of its own.
inline bool IsPlainLetter(const std::string& text) {
  return text.size() == 1 && text[0] >= 'A' && text[0] <= 'Z';
}

// Why a folder text cannot be mapped to a letter; Msg::None when it begins with a drive letter
// and colon. A network share (\\server\share) gets the network-drive message.
Msg FolderTextRefusal(const std::string& text);

// A folder as it must stand, quoted, on a command line: backslashes before the closing quote are
// doubled so that a drive root ("C:\") is not read as an escaped quote.
std::string CommandArgument(const std::string& folder);

// The command line that starts the system folder's subst.exe with its arguments: named by its
// full path, so that no program of that name elsewhere runs in its place.
std::string SubstCommandLine(const std::string& systemFolder, const std::string& arguments);

// Starts subst for one request, after the checks that would make it refuse or do harm, and
// believes its success only once the drive is there, or gone.
class SubstRunner {
 public:
  SubstRunner(LetterProbe& probe, Drives& drives, Files& files, Processes& processes, Shell& shell)
      : probe_(probe), drives_(drives), files_(files), processes_(processes), shell_(shell) {}

  // Every check of the request, then subst itself: the letter, the folder's drive (no network
  // drive), whether the letter is free, whether the folder is there.
  SubstOutcome Run(const SubstRequest& request);
  // Why a folder cannot be a mapping's target: no full path, one subst cannot take as written,
  // on a network drive, or on a drive that is gone since it was chosen. Msg::None when it can.
  Msg WhyNotTarget(const std::string& folder);
  // Whether the system substitutes this very folder for the letter now (its long or its short
  // name): one query of the letter.
  bool StandsFor(char letter, const std::string& folder);

  // subst is started here alone, and by the same command line: the system folder's subst.exe,
  // in that folder (never the folder the user is choosing), waited for up to kCommandLimitMs.
  // Not started when the system folder is unknown. With arguments, hidden.
  ProcessOutcome Invoke(const std::string& arguments);
  // Without arguments, its listing read back through a pipe of its own, no command interpreter
  // between: each copy of the program reads its own.
  CapturedRun InvokeListing();

 private:
  Msg CheckTarget(const std::string& folder, bool includeHidden);
  SubstOutcome Start(const SubstRequest& request);

  LetterProbe& probe_;
  Drives& drives_;
  Files& files_;
  Processes& processes_;
  Shell& shell_;
};

}  // namespace kestrane
