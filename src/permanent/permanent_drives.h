#pragma once
#include <optional>
#include <string>

#include "drives/subst_listing.h"
#include "drives/subst_runner.h"
#include "permanent/data_file.h"
#include "permanent/startup_script.h"

namespace kestrane {

// What Make Permanent came to.
struct MakeOutcome {
  enum class Status {
    Done,     // the drive, its line and its bit are all in place
    Refused,  // a check said no before anything was changed, or subst refused: `code` says why
    Failed,   // a step failed: `failure` says how
  };
  Status status = Status::Done;
  Msg code = Msg::None;
  std::optional<FileError> failure;
  bool damagedDataFile = false;       // the failure is the data file's state, not an I/O error
  bool familyUnsupported = false;     // refused for the system itself: Make Permanent cannot work
  bool mapped = false;                // the letter stands for the folder, whatever came after
  std::optional<SubstOutcome> subst;  // the mapping's outcome, when one was asked for
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

// Removing a permanent letter.
enum class ForgetOutcome {
  LineRemoved,  // the line (if any) is out of the batch file and the bit is clear
  NoBatchFile,  // there was no batch file to hold a line; the bit is clear
};

// Why a permanent letter's line or bit could not go. The removal ends there: the drive stays.
struct ForgetFailure {
  bool damagedDataFile = false;  // the data file is not whole: nothing was changed
  bool markNotCleared = false;   // the bit could not be cleared
  bool lineRestored = false;     // and the line was put back: nothing changed
  int number = 0;                // the error's number
  std::string what;              // the error's own words
};

// What Remove may do with a letter in use: refuse it, or ask first whether it goes for good.
struct RemovalCheck {
  RemovalRefusal refusal = RemovalRefusal::None;
  bool permanent = false;
};

// What Remove came to.
struct RemovalOutcome {
  std::optional<ForgetOutcome> forgotten;      // the letter's line and bit went
  std::optional<ForgetFailure> forgetFailure;  // they could not: nothing else was done
  // The drive had gone by the time it was to be removed (another copy, or subst at a prompt,
  // while the question was open): there was nothing to remove.
  bool goneMeanwhile = false;
  bool stillPermanent = false;        // a drive that went, kept permanent: it comes back at logon
  std::optional<SubstOutcome> subst;  // the deletion's outcome, when subst was run
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
  // The data file is there, and of the size the installer made it.
  bool DataFileIsWhole() { return data_.IsWhole(); }
  // Start-up: the stored mask, which stands in for a data file that cannot be read later on.
  void LoadMask() { data_.Load(); }

  // The folder as the startup batch file can hold it: the folder itself or, where its name has
  // characters the batch file's code page lacks, its short name, which every code page holds and
  // which reaches the same folder. Empty where the volume keeps no short name.
  std::string FolderForBatch(const std::string& letter, const std::string& folder);
  // Everything that could refuse the letter is asked before the mapping is made; the mapping,
  // the bit and the line follow in that order. Refused for a system of no known family.
  MakeOutcome Make(const std::string& letter, const std::string& folder, bool hidden,
                   const std::string& batchFolder, OsFamily family);
  // Whether the letter comes back at logon: its bit in the data file as it is now (another copy
  // of the program may have changed it), or a line of its own in the startup batch file, which
  // brings the drive back even when its bit was lost.
  bool IsPermanent(char letter);
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
  // Forget, with its failure as a value.
  void ForgetInto(char letter, RemovalOutcome& out);
  void Record(const std::string& letter, const std::string& batch, const std::string& batchFolder,
              MakeOutcome& out);

  DataFile data_;
  StartupScript script_;
  LetterProbe& probe_;
  SubstRunner& runner_;
  Drives& drives_;
  Files& files_;
};

// The batch file's line for a letter: cmd.exe expands %NAME% even inside quotes, so a literal
// percent sign is doubled for the folder to come back unchanged at logon.
std::string BatchLine(const std::string& letter, const std::string& folder);

}  // namespace kestrane
