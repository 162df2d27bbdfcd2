#include "drives/subst_runner.h"

#include <exception>
#include <string>

#include "platform/ascii_text.h"
#include "platform/file_error.h"
#include "platform/paths.h"

namespace kestrane {

namespace {

// Nothing in the folder could end the quotes early or start a second argument.
bool QuotesSafely(const std::string& folder) {
  for (const char ch : folder) {
    if (ch == '"' || static_cast<unsigned char>(ch) < 32) return false;
  }
  return true;
}

char DriveOf(const std::string& folder) { return AsciiUpper(folder[0]); }

SubstOutcome Refusal(Msg code, int probeFailure = 0) {
  return {SubstStatus::Refused, code, probeFailure};
}

}  // namespace

std::string SubstCommandLine(const std::string& systemFolder, const std::string& arguments) {
  std::string program = systemFolder;
  while (!program.empty() && program.back() == '\\') program.pop_back();
  program = '"' + program + "\\subst.exe\"";
  return arguments.empty() ? program : program + ' ' + arguments;
}

std::string CommandArgument(const std::string& folder) {
  const std::size_t kept = folder.find_last_not_of('\\') + 1;
  return '"' + folder + std::string(folder.size() - kept, '\\') + '"';
}

Msg FolderTextRefusal(const std::string& text) {
  if (text.empty()) return Msg::NoPathSelected;
  if (IsSharePath(text)) return Msg::NetworkDrive;
  return HasDriveLetter(text) ? Msg::None : Msg::PathNotFound;
}

SubstOutcome SubstRunner::Run(const SubstRequest& request) {
  try {
    // Whatever reaches the command line is a plain drive letter and nothing else.
    if (!IsPlainLetter(request.letter)) return Refusal(Msg::NoLetter);
    // A folder on a network drive is refused before its letter is asked about.
    if (!request.remove && !request.targetChecked) {
      if (const Msg why = WhyNotTarget(request.folder); why != Msg::None) return Refusal(why);
    }
    const LetterCheck check = probe_.Check(request.letter[0]);
    if (check.inUse) {
      if (!request.remove) return {SubstStatus::InUse, Msg::LetterInUse, check.failure};
    } else if (!request.remove) {
      if (const Msg refusal = CheckTarget(request.folder, request.hidden); refusal != Msg::None) {
        return Refusal(refusal);
      }
    }
    // A delete request for a letter that is free already skips the folder checks: they are
    // about a folder that plays no part in it, and subst itself answers for the letter.
    SubstOutcome outcome = Start(request);
    outcome.probeFailure = check.failure;
    return outcome;
  } catch (const std::exception&) {
    // For example subst.exe missing: the request ends here, the program goes on.
    return {SubstStatus::NotStarted, Msg::UnknownFailure};
  }
}

Msg SubstRunner::CheckTarget(const std::string& folder, bool includeHidden) {
  if (const Msg refusal = FolderTextRefusal(folder); refusal != Msg::None) return refusal;
  if (!QuotesSafely(folder)) return Msg::PathNotFound;
  bool found = false;
  try {
    found = files_.DirectoryExists(folder, includeHidden);
  } catch (const FileError&) {
    found = false;  // a drive that cannot be read holds no folder we could map
  }
  if (!found) return Msg::PathNotFound;
  // Only the 95 family's listing records CD-ROM letters.
  if (probe_.IsRecordedCdRom(DriveOf(folder))) return Msg::CdRomOn95;
  return Msg::None;
}

SubstOutcome SubstRunner::Start(const SubstRequest& request) {
  const std::string argument = request.remove ? "/D" : CommandArgument(request.folder);
  const ProcessOutcome run = Invoke(request.letter + ": " + argument);
  if (!run.started) return {SubstStatus::NotStarted, Msg::UnknownFailure};
  if (!run.finished) return {SubstStatus::TimedOut, Msg::None};
  if (run.exitCode == 0) {
    // An exit code is a claim: a program that only looks like subst, or one that failed without
    // saying so, leaves no drive behind.
    const char letter = request.letter[0];
    if (request.remove) {
      const bool gone = drives_.Target(letter).kind != LetterKind::Virtual;
      return {gone ? SubstStatus::Done : SubstStatus::StillThere, Msg::None};
    }
    return {StandsFor(letter, request.folder) ? SubstStatus::Done : SubstStatus::NoDrive,
            Msg::None};
  }
  // A deletion subst refused because the letter is gone (another copy of the program, or subst
  // at a prompt, removed it meanwhile) is told in words rather than as an unknown failure.
  if (request.remove && !probe_.IsVirtual(request.letter[0])) {
    return {SubstStatus::NotVirtual, Msg::None};
  }
  return {SubstStatus::SubstFailed, Msg::UnknownFailure};
}

ProcessOutcome SubstRunner::Invoke(const std::string& arguments) {
  const std::string system = shell_.SystemFolder();
  if (system.empty()) return {};
  return processes_.RunHidden(SubstCommandLine(system, arguments), system, kCommandLimitMs);
}

CapturedRun SubstRunner::InvokeListing() {
  const std::string system = shell_.SystemFolder();
  if (system.empty()) return {};
  return processes_.RunCaptured(SubstCommandLine(system, ""), system, kCommandLimitMs);
}

bool SubstRunner::StandsFor(char letter, const std::string& folder) {
  const LetterTarget target = drives_.Target(letter);
  if (target.kind != LetterKind::Virtual) return false;
  // A folder given as a \\?\ path (its name as it is, trailing blanks and all) is the same folder.
  const auto normal = [](const std::string& path) {
    return NormalPath(path.starts_with("\\\\?\\") ? path.substr(4) : path);
  };
  const std::string mapped = normal(target.folder);
  return !mapped.empty() && (SameIgnoringCase(mapped, normal(folder)) ||
                             SameIgnoringCase(mapped, normal(files_.ShortPath(folder))));
}

Msg SubstRunner::WhyNotTarget(const std::string& folder) {
  if (const Msg refusal = FolderTextRefusal(folder); refusal != Msg::None) return refusal;
  // subst would refuse the folder, or reach another one by a shorter name.
  if (TargetLimitOf(NormalPath(folder)) != TargetLimit::None) return Msg::UnmappableFolder;
  try {
    if (drives_.Type(DriveOf(folder)) == DriveType::Remote) return Msg::NetworkDrive;
  } catch (const FileError&) {
    return Msg::PathNotFound;  // the folder's drive is gone since it was chosen
  }
  return Msg::None;
}

}  // namespace kestrane
