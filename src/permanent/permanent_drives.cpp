#include "permanent/permanent_drives.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <functional>
#include <utility>

#include "platform/paths.h"
#include "platform/steps.h"

namespace kestrane {

std::string BatchLine(const std::string& letter, const std::string& folder) {
  std::string line = "subst " + letter + ": ";
  for (char ch : CommandArgument(folder)) {
    line += ch;
    if (ch == '%') line += '%';
  }
  return line;
}

std::string PermanentDrives::FolderForBatch(const std::string& letter, const std::string& folder) {
  if (files_.CanEncode(BatchLine(letter, folder))) return folder;
  const std::string shortName = files_.ShortPath(folder);
  if (!shortName.empty() && files_.CanEncode(BatchLine(letter, shortName))) return shortName;
  return {};
}

ChoiceCheck PermanentDrives::Check(const PermanentChoice& choice) {
  if (choice.letter.empty()) return {.refusal = ChoiceRefusal::NoLetter};
  if (choice.folder.empty()) return {.refusal = ChoiceRefusal::NoFolder};
  // A lower-case letter is a network drive's, picked from the used list; it could never get a
  // bit of its own.
  if (!IsPlainLetter(choice.letter)) return {.refusal = ChoiceRefusal::NetworkLetter};
  if (const Msg why = runner_.WhyNotTarget(choice.folder); why != Msg::None) {
    return {.refusal = ChoiceRefusal::Target, .target = why};
  }
  std::string batchFolder = FolderForBatch(choice.letter, choice.folder);
  if (batchFolder.empty()) return {.refusal = ChoiceRefusal::BatchCannotHold};
  return {.choice = CheckedChoice(choice, std::move(batchFolder))};
}

MakeOutcome PermanentDrives::Make(const CheckedChoice& checked) {
  const PermanentChoice& choice = checked.choice_;
  std::optional<SubstOutcome> subst;
  bool mapped = false;
  const auto failed = [&](const FileError& e) -> MakeOutcome {
    return {mapped ? MakeResult::SessionOnly : MakeResult::NotMade, subst, e};
  };
  try {
    if (family_ == OsFamily::Failed) return {.result = MakeResult::SystemUnsupported};
    const std::string batch = script_.Path();
    if (batch.empty()) return {.result = MakeResult::NoStartupFolder};
    if (ListedAlready(batch, choice.letter[0])) return {.result = MakeResult::AlreadyPermanent};
    // A damaged data file is refused before the mapping, never padded or made anew.
    if (!data_.IsWhole()) return {.result = MakeResult::DamagedDataFile};
    subst = runner_.Run(SubstRequest::CheckedMap(choice.letter, choice.folder, choice.hidden));
    if (const auto refused = MappingRefusal(*subst, choice))
      return {.result = *refused, .subst = subst};
    mapped = true;
    Record(choice.letter, batch, checked.batchFolder_);
    return {.result = MakeResult::Done, .subst = subst};
  } catch (const DataFileDamaged&) {
    return {.result = MakeResult::DamagedDataFile, .subst = subst};
  } catch (const FileError& e) {
    return failed(e);
  } catch (const std::exception& e) {
    return failed(FileError(err::kInvalidCall, e.what()));
  }
}

bool PermanentDrives::ListedAlready(const std::string& batch, char letter) {
  try {
    return script_.Lists(batch, letter);
  } catch (const FileError& e) {
    if (IsAccessFailure(e.Number())) throw;
  } catch (const std::exception&) {
    // Not a failure of the file layer: the check is passed by, as for any other.
  }
  return false;
}

// A letter that is in use already is taken as it is only where it stands for this very folder:
// a line for another folder, a disk or a share would bring back something else. A subst that
// outlasted the wait is taken at its word only once the drive is there.
std::optional<MakeResult> PermanentDrives::MappingRefusal(const SubstOutcome& subst,
                                                          const PermanentChoice& choice) {
  if (subst.Done()) return std::nullopt;
  const bool maybeThere =
      subst.status == SubstStatus::InUse || subst.status == SubstStatus::TimedOut;
  if (maybeThere && runner_.StandsFor(choice.letter[0], choice.folder)) return std::nullopt;
  switch (subst.status) {
    case SubstStatus::TimedOut: return MakeResult::SubstStillRunning;
    case SubstStatus::NoDrive: return MakeResult::DriveNotThere;
    default: return MakeResult::SubstRefused;
  }
}

// The bit before the line, and the bit taken back when the line cannot be written: a line
// without its bit would bring the drive back at every logon while Remove no longer knew it was
// permanent.
void PermanentDrives::Record(const std::string& letter, const std::string& batch,
                             const std::string& batchFolder) {
  const auto held = HoldRecords();
  // A second copy may have made the same letter permanent since the check: its line stands,
  // and a second one would only be a duplicate.
  const bool listed = script_.Lists(batch, letter[0]);
  data_.SetLetter(letter[0]);
  if (listed) return;
  try {
    script_.Append(batch, BatchLine(letter, batchFolder));
  } catch (const FileError&) {
    try {
      data_.ClearLetter(letter[0]);
    } catch (const FileError&) {
      // The report of the append still tells the user the drive is not permanent.
    } catch (const DataFileDamaged&) {
      // So it does here.
    }
    throw;
  }
}

bool PermanentDrives::PutBack(const std::string& batch, const StartupScript::Before& before) {
  if (!before) return true;
  try {
    script_.PutBack(batch, *before);
    return true;
  } catch (const FileError&) {
    return false;
  }
}

std::unique_ptr<FileLease> PermanentDrives::HoldRecords() {
  return files_.Lease(data_.Path(), kRecordsWaitMs);
}

bool PermanentDrives::ReadWhetherPermanent(char letter) {
  std::unique_ptr<FileLease> held;
  try {
    held = HoldRecords();
  } catch (const FileError&) {
    // Another copy is still at work: what the files say now is the best answer there is.
  }
  // The mask as last read stands in for a file that cannot be read just now, damaged or not:
  // the question is only whether to ask the user about the letter.
  std::int32_t mask = data_.PermMask();
  try {
    mask = data_.ReadMask();
  } catch (const FileError&) {
  } catch (const DataFileDamaged&) {
  }
  return LetterIsSet(mask, letter) || script_.Names(letter);
}

ForgetOutcome PermanentDrives::Forget(char letter) {
  const auto held = HoldRecords();
  if (!data_.IsWhole()) throw DataFileDamaged();
  const std::string batch = script_.Path();
  // Without the Startup folder the line may still be there: the bit stays, the caller reports.
  if (batch.empty()) Fail(err::kPathNotFound);
  const StartupScript::Before before = script_.RemoveLetter(batch, letter);
  // A letter keeps its line exactly as long as it keeps its bit: when the bit cannot be cleared,
  // the line goes back in.
  try {
    data_.ClearLetter(letter);
  } catch (const DataFileDamaged&) {
    PutBack(batch, before);
    throw;
  } catch (const FileError& e) {
    throw MarkNotCleared(e, PutBack(batch, before));
  }
  // No batch file held a line for the letter, so it was no longer permanent in fact; the bit
  // only said otherwise.
  return before ? ForgetOutcome::LineRemoved : ForgetOutcome::NoBatchFile;
}

RemovalCheck PermanentDrives::CheckRemoval(const std::string& letter) {
  RemovalCheck check;
  check.refusal = probe_.WhyNotRemovable(letter);
  check.permanent = check.refusal == RemovalRefusal::None && ReadWhetherPermanent(letter[0]);
  return check;
}

RemovalOutcome PermanentDrives::ForgetLetter(char letter) {
  try {
    return {.result = RemovalResult::Forgotten,
            .noBatchFile = Forget(letter) == ForgetOutcome::NoBatchFile};
  } catch (const DataFileDamaged&) {
    return {.result = RemovalResult::DamagedDataFile};
  } catch (const MarkNotCleared& e) {
    const RemovalResult result =
        e.LineRestored() ? RemovalResult::MarkKept : RemovalResult::MarkKeptLineLost;
    return {.result = result, .failure = FileError(e.Number(), e.Description())};
  } catch (const FileError& e) {
    return {.result = RemovalResult::LineKept, .failure = e};
  } catch (const std::exception& e) {
    return {.result = RemovalResult::LineKept, .failure = FileError(err::kInvalidCall, e.what())};
  }
}

RemovalOutcome PermanentDrives::Remove(const std::string& letter, bool forget) {
  RemovalOutcome out;
  if (forget) {
    out = ForgetLetter(letter[0]);
    if (out.result != RemovalResult::Forgotten) return out;  // the user asked for both or nothing
  }
  // Asked about a drive that is no longer there, subst would only fail.
  bool gone = true;
  if (probe_.IsVirtual(letter[0])) {
    out.subst = runner_.Run(SubstRequest::Delete(letter));
    gone = out.subst->status == SubstStatus::NotVirtual;
  }
  if (!gone) {
    out.result = RemovalResult::SubstRan;
  } else if (forget) {
    out.result = RemovalResult::GoneAndForgotten;
  } else {
    out.result = ReadWhetherPermanent(letter[0]) ? RemovalResult::GoneStillPermanent
                                                 : RemovalResult::GoneMeanwhile;
  }
  return out;
}

RemovalOutcome PermanentDrives::ForgetUnmapped(const std::string& letter) {
  return ForgetLetter(letter[0]);
}

void PermanentDrives::UseDataFolder(const std::string& folder) {
  data_.SetPath(folder + kDataFileName);
}

RestoreOutcome PermanentDrives::Restore(SubstListing& listing) {
  RestoreOutcome out;
  const auto fail = [&out](RestoreOutcome::Status status, std::string problem = {}) {
    out.status = status;
    out.problem = std::move(problem);
    return out;
  };
  // Restore ends in a write of the data file: a damaged one stops it before anything changes.
  if (!data_.IsWhole()) return fail(RestoreOutcome::Status::DamagedDataFile);
  const SubstListing::Capture capture = listing.Take();
  if (!capture.problem.empty()) {
    return fail(RestoreOutcome::Status::Problem, capture.problem + "\r\nNothing was changed.");
  }
  for (const char letter : LettersInListing(capture.lines)) {
    listing.Delete(letter);
    out.drivesChanged = true;
  }
  try {
    if (std::string problem = ForgetAll(); !problem.empty()) {
      return fail(RestoreOutcome::Status::Problem, std::move(problem));
    }
  } catch (const DataFileDamaged&) {
    return fail(RestoreOutcome::Status::DamagedDataFile);
  }
  return out;
}

std::string PermanentDrives::ForgetAll() {
  std::unique_ptr<FileLease> held;
  try {
    held = HoldRecords();
  } catch (const FileError& e) {
    return std::string("The startup file ") + kStartupBatch +
           " and the data file are in use; the permanent drives stay as they are.\r\n" +
           ErrorText(e);
  }
  if (!data_.IsWhole()) throw DataFileDamaged();
  StartupScript::Before before;
  try {
    before = script_.RemoveAllLetters();
  } catch (const FileError& e) {
    // The mask keeps describing the batch file that is still as it was.
    return std::string("The startup file ") + kStartupBatch +
           " could not be changed; the permanent drives stay as they are.\r\n" + ErrorText(e);
  }
  // The lines go back to the bits that are still set.
  try {
    data_.ResetMask();
  } catch (const DataFileDamaged&) {
    PutBack(script_.Path(), before);
    throw;
  } catch (const FileError& e) {
    const char* stays =
        PutBack(script_.Path(), before) ? "; the permanent drives stay as they are" : "";
    return "The list of permanent drives could not be reset" + std::string(stays) + ".\r\n" +
           ErrorText(e);
  }
  return {};
}

}  // namespace kestrane
