#pragma once
#include <map>
#include <string>

#include "fakes/fakes.h"

namespace kestrane::fakes {

// Plays the system folder's subst command over a Machine's fakes: its runs make and remove
// drives, and its listing is the output of a captured run. Any other program does not start.
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
