#include "permanent/permanent_drives.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <functional>
#include <utility>

#include "platform/paths.h"
#include "platform/steps.h"

namespace kestrane {

namespace {

// A step that every later one builds on (the mapping, the Startup folder, the data file, the bit
// and the line) ends the command whatever its failure; any other ends it on a device, disk,
// permission or path failure and is passed over on the rest.
Step Vital(std::function<Flow()> run) { return {std::move(run), OnFailure::End, OnFailure::End}; }
Step Passable(std::function<Flow()> run) {
  return {std::move(run), OnFailure::End, OnFailure::Skip};
}

}  // namespace

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

MakeOutcome PermanentDrives::Make(const std::string& letter, const std::string& folder, bool hidden,
                                  const std::string& batchFolder, OsFamily family) {
  MakeOutcome out;
  std::string batch;
  const auto refuse = [&](Msg code) {
    out.status = MakeOutcome::Status::Refused;
    out.code = code;
    return Flow::End;
  };
  const std::array steps{
      Passable([&] {
        out.familyUnsupported = family == OsFamily::Failed;
        return out.familyUnsupported ? refuse(Msg::NotSupported) : Flow::Next;
      }),
      Vital([&] {
        batch = script_.Path();
        return batch.empty() ? refuse(Msg::NotSupported) : Flow::Next;
      }),
      Passable([&] {
        return script_.Lists(batch, letter[0]) ? refuse(Msg::AlreadyAssigned) : Flow::Next;
      }),
      // A damaged data file is refused before the mapping, never padded or made anew.
      Vital([&] { return data_.IsWhole() ? Flow::Next : refuse(Msg::MissingOrCorrupt); }),
      // A letter that is in use already is taken as it is only where it stands for this very
      // folder: a line for another folder, a disk or a share would bring back something else.
      // A subst that outlasted the wait is taken at its word only once the drive is there.
      Vital([&] {
        const SubstOutcome& subst =
            *(out.subst = runner_.Run(SubstRequest::Map(letter, folder, hidden)));
        const bool maybeThere =
            subst.status == SubstStatus::InUse || subst.status == SubstStatus::TimedOut;
        out.mapped = subst.Done() || (maybeThere && runner_.StandsFor(letter[0], folder));
        return out.mapped ? Flow::Next : refuse(subst.code);
      }),
      Vital([&] {
        Record(letter, batch, batchFolder, out);
        return Flow::Next;
      }),
  };
  const StepsResult result = RunSteps(steps, 1);
  if (result.failure) {
    out.status = MakeOutcome::Status::Failed;
    out.failure = result.failure;
  }
  return out;
}

// The bit before the line, and the bit taken back when the line cannot be written: a line
// without its bit would bring the drive back at every logon while Remove no longer knew it was
// permanent.
void PermanentDrives::Record(const std::string& letter, const std::string& batch,
                             const std::string& batchFolder, MakeOutcome& out) {
  const auto held = HoldRecords();
  // A second copy may have made the same letter permanent since the check: its line stands,
  // and a second one would only be a duplicate.
  const bool listed = script_.Lists(batch, letter[0]);
  try {
    data_.SetLetter(letter[0]);
  } catch (const DataFileDamaged&) {
    out.damagedDataFile = true;
    throw;
  }
  if (listed) return;
  try {
    script_.Append(batch, BatchLine(letter, batchFolder));
  } catch (const FileError&) {
    try {
      data_.ClearLetter(letter[0]);
    } catch (const FileError&) {
      // The report of the append still tells the user the drive is not permanent.
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

bool PermanentDrives::IsPermanent(char letter) {
  std::unique_ptr<FileLease> held;
  try {
    held = HoldRecords();
  } catch (const FileError&) {
    // Another copy is still at work: what the files say now is the best answer there is.
  }
  std::int32_t mask = data_.PermMask();
  try {
    mask = data_.ReadMask();
  } catch (const FileError&) {
    // The mask as last read stands in for a file that cannot be read just now.
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
  check.permanent = check.refusal == RemovalRefusal::None && IsPermanent(letter[0]);
  return check;
}

void PermanentDrives::ForgetInto(char letter, RemovalOutcome& out) {
  try {
    out.forgotten = Forget(letter);
  } catch (const DataFileDamaged&) {
    out.forgetFailure = ForgetFailure{true, false, false, err::kFileNotFound, {}};
  } catch (const MarkNotCleared& e) {
    out.forgetFailure = ForgetFailure{false, true, e.LineRestored(), e.Number(), e.what()};
  } catch (const FileError& e) {
    out.forgetFailure = ForgetFailure{false, false, false, e.Number(), e.what()};
  } catch (const std::exception& e) {
    out.forgetFailure =
        ForgetFailure{false, false, false, static_cast<int>(Msg::UnknownFailure), e.what()};
  }
}

RemovalOutcome PermanentDrives::Remove(const std::string& letter, bool forget) {
  RemovalOutcome out;
  if (forget) {
    ForgetInto(letter[0], out);
    if (out.forgetFailure) return out;  // the user asked for both or nothing
  }
  // Asked about a drive that is no longer there, subst would only fail.
  if (probe_.IsVirtual(letter[0])) {
    out.subst = runner_.Run(SubstRequest::Delete(letter));
    out.goneMeanwhile = out.subst->status == SubstStatus::NotVirtual;
  } else {
    out.goneMeanwhile = true;
  }
  if (out.goneMeanwhile && !forget) out.stillPermanent = IsPermanent(letter[0]);
  return out;
}

RemovalOutcome PermanentDrives::ForgetUnmapped(const std::string& letter) {
  RemovalOutcome out;
  ForgetInto(letter[0], out);
  return out;
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
