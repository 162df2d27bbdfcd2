#pragma once
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/processes.h"
#include "platform/shell.h"

namespace kestrane {

// The drive letters of subst's listing, in upper case and in listing order: a line names the
// letter it begins with ("Q:\: => C:\Data" names Q); a line that begins with anything else names
// none.
std::vector<char> LettersInListing(const std::vector<std::string>& lines);

// subst's listing of every virtual drive, run through the command interpreter in the data folder
// and read back from its capture file there ("temp"), which is deleted on every path.
class SubstListing {
 public:
  SubstListing(Files& files, Processes& processes, Shell& shell)
      : files_(files), processes_(processes), shell_(shell) {}

  struct Capture {
    std::string interpreter;  // for the commands that follow
    std::vector<std::string> lines;
    std::string problem;  // why there is no listing; empty when there is one
  };
  Capture Take(const std::string& dataFolder);
  // Deletes one letter's mapping the way the listing was taken; a failure to start counts as a
  // refusal, which the next listing shows.
  void Delete(const Capture& capture, char letter, const std::string& dataFolder);

 private:
  Files& files_;
  Processes& processes_;
  Shell& shell_;
};

}  // namespace kestrane
