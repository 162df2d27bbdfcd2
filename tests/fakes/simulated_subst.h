#pragma once
#include <map>
#include <string>

#include "fakes/fakes.h"

namespace kestrane::fakes {

// Plays the system's subst command and command interpreter over a Machine's fakes: subst
// lines make and remove drives, the listing writes the capture file where it was asked to.
class SimulatedSubst {
 public:
  explicit SimulatedSubst(Machine& m);
  void Map(char letter, const std::string& folder);  // as if made earlier
  std::map<char, std::string> mappings;

 private:
  ProcessOutcome Subst(const std::string& arguments);
  ProcessOutcome Run(const FakeProcesses::Run& run);
  Machine& m_;
};

}  // namespace kestrane::fakes
