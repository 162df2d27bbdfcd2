#include "fakes/simulated_subst.h"

#include <cctype>

namespace kestrane::fakes {

namespace {

std::string Trim(std::string s) {
  while (!s.empty() && s.front() == ' ') s.erase(s.begin());
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
  if (s.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(s[i])) !=
        std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  }
  return true;
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
  if (run.verb.empty()) {
    if (!StartsWithNoCase(run.commandLine, "subst.exe ")) return {false, false, 0};
    return Subst(run.commandLine.substr(10));
  }
  const std::string params = Trim(run.commandLine);
  if (!StartsWithNoCase(params, "/C subst.exe")) return {true, true, 1};
  const std::string rest = Trim(params.substr(12));
  if (rest == "> temp" || rest == ">temp") {
    std::string dir = run.directory;
    if (!dir.empty() && dir.back() != '\\') dir += '\\';
    std::string text;
    for (const auto& [letter, folder] : mappings) {
      text += std::string(1, letter) + ":\\: => " + folder + "\r\n";
    }
    m_.files.AddText(dir + "temp", text);
    return {true, true, 0};
  }
  return Subst(rest);
}

}  // namespace kestrane::fakes
