#pragma once
#include <optional>
#include <string>

#include "drives/subst_listing.h"
#include "drives/subst_runner.h"
#include "permanent/data_file.h"
#include "permanent/startup_script.h"

namespace kestrane {

// A letter and a folder the user chose to keep: Make Permanent's choice.
struct PermanentChoice {
  std::string letter;  // as picked: "K", or lower case for a network drive
  std::string folder;
  bool hidden = false;  // typed in hidden-folder mode
};

// What stops a choice before the user is asked to confirm it.
enum class ChoiceRefusal {
  None,
  NoLetter,
  NoFolder,
  NetworkLetter,    // a network drive's letter, picked in the used list: it has no bit
  Target,           // subst cannot take the folder: the check's `target` says why
  BatchCannotHold,  // the folder's name has characters the batch file cannot hold, nor a short name
};

class PermanentDrives;

// A choice every check let through, with the folder as the batch file will hold it. Only
// PermanentDrives::Check makes one, and Make takes nothing else.
class CheckedChoice {
 public:
  const PermanentChoice& Choice() const { return choice_; }

 private:
  friend class PermanentDrives;
  CheckedChoice(PermanentChoice choice, std::string batchFolder)
      : choice_(std::move(choice)), batchFolder_(std::move(batchFolder)) {}
  PermanentChoice choice_;
  std::string batchFolder_;
};

struct ChoiceCheck {
  ChoiceRefusal refusal = ChoiceRefusal::None;
  Msg target = Msg::None;                              // for ChoiceRefusal::Target
  std::optional<CheckedChoice> choice = std::nullopt;  // when nothing refused it
};

// What Make Permanent came to.
enum class MakeResult {
  Done,               // the drive, its line and its bit are all in place
  SystemUnsupported,  // no known family: Make Permanent can never work on this system
  NoStartupFolder,    // there is no Startup folder to hold the batch file
  AlreadyPermanent,   // the batch file has a line for the letter already
  DamagedDataFile,    // the data file is not whole: no bit could be set
  SubstRefused,       // subst would not map the folder: the mapping's outcome says why
  SubstStillRunning,  // subst outlasted the wait, and the drive is not there
  DriveNotThere,      // subst reported success, and the drive is not there
  NotMade,            // a step before the mapping failed: `failure` says how
  SessionOnly,        // mapped, but the bit or the line could not be written: `failure` says how
};

struct MakeOutcome {
  MakeResult result = MakeResult::Done;
  std::optional<SubstOutcome> subst = std::nullopt;  // the mapping's outcome, when subst was asked
  std::optional<FileError> failure = std::nullopt;   // for NotMade and SessionOnly
};

// What Restore came to.
struct RestoreOutcome {
  enum class Status {
    Done,             // every mapping removed, the letters' lines gone, the mask reset
    DamagedDataFile,  // the data file is not whole
    Problem,          // a step could not be done: `problem` says which, and what stays
  };
  Status status = Status::Done;
  std::string problem;
  bool drivesChanged = false;  // mappings were removed: what lists the letters is out of date
};

// Removing a permanent letter's line and bit.
enum class ForgetOutcome {
  LineRemoved,  // the line (if any) is out of the batch file and the bit is clear
  NoBatchFile,  // there was no batch file to hold a line; the bit is clear
};

// What a letter picked in the used list is: removable or not, and permanent or not.
struct RemovalCheck {
  RemovalRefusal refusal = RemovalRefusal::None;
  bool permanent = false;
};

// What Remove came to. The first four end the command before the drive is touched: the user asked
// for the drive and its permanence to go together, or neither.
enum class RemovalResult {
  DamagedDataFile,     // the data file is not whole: nothing was changed
  LineKept,            // the line could not go from the batch file: `failure` says how
  MarkKept,            // the bit could not be cleared, and the line went back in: nothing changed
  MarkKeptLineLost,    // the bit could not be cleared, nor the line put back: no longer at logon
  Forgotten,           // a permanent letter without a drive: its line and bit went
  SubstRan,            // subst was run to remove the drive: its outcome says the rest
  GoneMeanwhile,       // the drive went before it could be removed (another copy, or subst at a
                       // prompt, while the question was open): there was nothing to remove
  GoneStillPermanent,  // so, and the letter is still permanent: it comes back at the next logon
  GoneAndForgotten,    // so, and its line and bit went as asked
};

struct RemovalOutcome {
  RemovalResult result = RemovalResult::SubstRan;
  bool noBatchFile = false;  // the letter's bit went, and there was no batch file at all
  std::optional<SubstOutcome> subst = std::nullopt;  // the deletion's outcome, when subst was run
  std::optional<FileError> failure = std::nullopt;   // for LineKept, MarkKept, MarkKeptLineLost
};

// How long a copy of the program waits for another one to finish with the batch file and the
// data file: their rewrites take milliseconds, and no copy holds them across a question.
inline constexpr int kRecordsWaitMs = 5000;

// The rules of making, removing and restoring permanent drives: the mapping, the line in
// subit.bat and the bit in the data file kept in step, also against a second copy of the
// program: each reads and rewrites the two while it holds them alone.
class PermanentDrives {
 public:
  PermanentDrives(Files& files, Shell& shell, Drives& drives, LetterProbe& probe,
                  SubstRunner& runner)
      : data_(files),
        script_(files, shell),
        probe_(probe),
        runner_(runner),
        drives_(drives),
        files_(files) {}

  // The data folder the installer made, ending in a backslash: the data file is there.
  void UseDataFolder(const std::string& folder);
  // The system's family, as start-up found it: without one, nothing can be made permanent.
  void UseFamily(OsFamily family) { family_ = family; }
  // The data file is there, and of the size the installer made it.
  bool DataFileIsWhole() { return data_.IsWhole(); }
  // Start-up: the stored mask, which stands in for a data file that cannot be read later on.
  void LoadMask() { data_.Load(); }

  // What must hold before the user is asked to confirm the choice: a letter of a drive that can
  // have a bit, a folder subst can take, and a name the batch file can hold (the folder's own or,
  // where it has characters the batch file's code page lacks, its short name, which every code
  // page holds and which reaches the same folder).
  ChoiceCheck Check(const PermanentChoice& choice);
  // Everything else that could refuse the letter is asked before the mapping is made; the
  // mapping, the bit and the line follow in that order.
  MakeOutcome Make(const CheckedChoice& checked);
  // Whether the letter comes back at logon: its bit in the data file as it is now, or a line of
  // its own in the startup batch file, which brings the drive back even when its bit was lost.
  // Waits up to kRecordsWaitMs for another copy of the program that is rewriting the two.
  bool ReadWhetherPermanent(char letter);
  // Takes the letter's line out of the batch file and clears its bit. A FileError when the line
  // could not go; MarkNotCleared when the bit could not, after the line was put back (or could
  // not be); DataFileDamaged before anything changed when the data file is not whole.
  ForgetOutcome Forget(char letter);
  // A letter picked in the used list: whether it can be removed, and whether it is permanent.
  RemovalCheck CheckRemoval(const std::string& letter);
  // Forgets the letter first when asked to (and stops if it cannot), then deletes its mapping,
  // unless the drive went meanwhile.
  RemovalOutcome Remove(const std::string& letter, bool forget);
  // A permanent letter with no drive: its line and bit go, and no subst is run.
  RemovalOutcome ForgetUnmapped(const std::string& letter);
  // Restore: every mapping subst lists is removed, then the letters' lines go from the batch
  // file (every other line stays) and the mask is reset. A damaged data file stops it before
  // anything changes.
  RestoreOutcome Restore(SubstListing& listing);
  // Restore's second half: the letters' lines go, then the mask is reset; lines that went are
  // put back when the mask cannot be. The problem to report, empty when both are done;
  // DataFileDamaged when the data file is not whole.
  std::string ForgetAll();

 private:
  std::unique_ptr<FileLease> HoldRecords();
  // Undoes a change of the batch file whose bits could not follow; false when it could not.
  bool PutBack(const std::string& batch, const StartupScript::Before& before);
  // The folder as the batch file can hold it; empty when neither its name nor a short one can.
  std::string FolderForBatch(const std::string& letter, const std::string& folder);
  // Forget, with its failure as the outcome: Forgotten when the line and the bit went.
  RemovalOutcome ForgetLetter(char letter);
  // The batch file lists the letter already. The check may fail: a device, disk, permission or
  // path failure ends the command, any other passes it by.
  bool ListedAlready(const std::string& batch, char letter);
  // Why the mapping Make asked for leaves the letter without the folder; nullopt when the letter
  // stands for it.
  std::optional<MakeResult> MappingRefusal(const SubstOutcome& subst,
                                           const PermanentChoice& choice);
  // The bit, then the line. A FileError or DataFileDamaged when either could not be written.
  void Record(const std::string& letter, const std::string& batch, const std::string& batchFolder);

  DataFile data_;
  StartupScript script_;
  OsFamily family_ = OsFamily::Unknown;
  LetterProbe& probe_;
  SubstRunner& runner_;
  Drives& drives_;
  Files& files_;
};

// The batch file's line for a letter: cmd.exe expands %NAME% even inside quotes, so a literal
// percent sign is doubled for the folder to come back unchanged at logon.
std::string BatchLine(const std::string& letter, const std::string& folder);

}  // namespace kestrane
