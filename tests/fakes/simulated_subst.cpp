#include "fakes/simulated_subst.h"

#include <cctype>

#include "drives/subst_runner.h"
#include "platform/ascii_text.h"

namespace kestrane::fakes {

namespace {

std::string Trim(std::string s) {
  while (!s.empty() && s.front() == ' ') s.erase(s.begin());
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
  return s.size() >= prefix.size() && SameIgnoringCase(s.substr(0, prefix.size()), prefix);
}

}  // namespace

SimulatedSubst::SimulatedSubst(Machine& m) : m_(m) {
  m_.processes.behaviour = [this](const FakeProcesses::Run& run) { return Run(run); };
}

void SimulatedSubst::Map(char letter, const std::string& folder) {
  mappings[letter] = folder;
  m_.drives.Add(letter, DriveType::Fixed, 0x5B000000 + letter);
  m_.drives.drives[letter].substFolder = folder;
}

ProcessOutcome SimulatedSubst::Subst(const std::string& arguments) {
  const std::string args = Trim(arguments);
  if (args.size() < 2 || args[1] != ':' || !std::isupper(static_cast<unsigned char>(args[0]))) {
    return {true, true, 1};
  }
  const char letter = args[0];
  const std::string rest = Trim(args.substr(2));
  if (rest == "/D" || rest == "/d") {
    if (!mappings.count(letter)) return {true, true, 1};
    mappings.erase(letter);
    m_.drives.drives.erase(letter);
    return {true, true, 0};
  }
  std::string folder = rest;
  if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"') {
    // As a program's argument parser reads it: backslashes before the closing quote are halved.
    folder = folder.substr(1, folder.size() - 2);
    const std::size_t kept = folder.find_last_not_of('\\') + 1;
    folder.resize(kept + (folder.size() - kept) / 2);
  }
  if (m_.drives.drives.count(letter)) return {true, true, 1};
  if (!m_.files.folders.count(FakeFiles::Key(folder))) return {true, true, 1};
  Map(letter, folder);
  return {true, true, 0};
}

ProcessOutcome SimulatedSubst::Run(const FakeProcesses::Run& run) {
  const std::string program = SubstCommandLine(m_.shell.system, "");
  if (!StartsWithNoCase(run.commandLine, program)) return {false, false, 0};
  const std::string arguments = run.commandLine.substr(program.size());
  if (!run.captured) return Subst(arguments);
  if (!Trim(arguments).empty()) return {true, true, 1};
  for (const auto& [letter, folder] : mappings) {
    m_.processes.output.push_back(std::string(1, letter) + ":\\: => " + folder);
  }
  return {true, true, 0};
}

}  // namespace kestrane::fakes
