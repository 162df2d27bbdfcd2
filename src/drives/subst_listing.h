#pragma once
#include <string>
#include <vector>

#include "drives/subst_runner.h"

namespace kestrane {

// The drive letters of subst's listing, in upper case and in listing order: a line names the
// letter it begins with ("Q:\: => C:\Data" names Q); a line that begins with anything else names
// none.
std::vector<char> LettersInListing(const std::vector<std::string>& lines);

// subst's listing of every virtual drive, read straight from its output: no file stands between
// subst and the program, so two copies listing at once each read their own.
class SubstListing {
 public:
  explicit SubstListing(SubstRunner& runner) : runner_(runner) {}

  struct Capture {
    std::vector<std::string> lines;
    std::string problem;  // why there is no listing; empty when there is one
  };
  Capture Take();
  // Deletes one letter's mapping; a failure to start counts as a refusal, which the next
  // listing shows.
  void Delete(char letter);

 private:
  SubstRunner& runner_;
};

}  // namespace kestrane
