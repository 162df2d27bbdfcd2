#pragma once
#include <string>

#include "fakes/fakes.h"

namespace kestrane::fakes {

// What subst does to the fake machine: "subst.exe X: "C:\folder"" maps X, "subst.exe X: /D"
// removes it, and a refusal exits 1 the way the command does.
inline void BehaveLikeSubst(Machine& m) {
  m.processes.behaviour = [&m](const FakeProcesses::Run& run) {
    const std::string& line = run.commandLine;
    const std::string prefix = "subst.exe ";
    if (line.rfind(prefix, 0) != 0 || line.size() < prefix.size() + 4) {
      return ProcessOutcome{true, true, 1};
    }
    const char letter = line[prefix.size()];
    const std::string argument = line.substr(prefix.size() + 3);
    const bool known = m.drives.drives.count(letter) != 0;
    if (argument == "/D") {
      if (!known) return ProcessOutcome{true, true, 1};
      m.drives.drives.erase(letter);
      return ProcessOutcome{true, true, 0};
    }
    if (known || argument.size() < 2) return ProcessOutcome{true, true, 1};
    const std::string folder = argument.substr(1, argument.size() - 2);
    if (m.files.folders.count(FakeFiles::Key(folder)) == 0) return ProcessOutcome{true, true, 1};
    m.drives.Add(letter, DriveType::Fixed, 0x5000 + letter);
    return ProcessOutcome{true, true, 0};
  };
}

}  // namespace kestrane::fakes
