#include "drives/subst_runner.h"

#include <cctype>
#include <exception>
#include <string>

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

char DriveOf(const std::string& folder) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(folder[0])));
}

SubstOutcome Refusal(Msg code, int probeFailure = 0) {
  return {SubstStatus::Refused, code, probeFailure};
}

}  // namespace

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
    if (!request.remove) {
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
  const ProcessOutcome run =
      processes_.RunHidden("subst.exe " + request.letter + ": " + argument, "", kCommandLimitMs);
  if (!run.started) return {SubstStatus::NotStarted, Msg::UnknownFailure};
  if (!run.finished) return {SubstStatus::TimedOut, Msg::None};
  if (run.exitCode == 0) return {SubstStatus::Done, Msg::None};
  // A deletion subst refused because the letter is gone (another copy of the program, or subst
  // at a prompt, removed it meanwhile) is told in words rather than as an unknown failure.
  if (request.remove && !probe_.IsVirtual(request.letter[0])) {
    return {SubstStatus::NotVirtual, Msg::None};
  }
  return {SubstStatus::SubstFailed, Msg::UnknownFailure};
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
