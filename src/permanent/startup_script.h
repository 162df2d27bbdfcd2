#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_error.h"
#include "platform/files.h"
#include "platform/shell.h"

namespace kestrane {

// The batch file in the user's Startup folder that recreates the permanent letters at logon.
inline constexpr char kStartupBatch[] = "subit.bat";

// The failure of clearing a permanent letter's bit once its line was out of the batch file (or
// there was no file). The line is put back, so that the letter keeps its line and its bit
// together; lineRestored says whether that worked, or only the bit is left.
class MarkNotCleared : public FileError {
 public:
  MarkNotCleared(const FileError& cause, bool lineRestored)
      : FileError(cause), lineRestored_(lineRestored) {}
  bool LineRestored() const { return lineRestored_; }

 private:
  bool lineRestored_;
};

// A line that starts with the word subst, in any case.
bool IsSubstLine(const std::string& line);
// A subst line whose 7th character is the letter, in any case: "subst Q: "C:\Data"" names Q.
bool NamesLetter(const std::string& line, char letter);
// The batch file's lines once the letter is no longer permanent: every line but those naming it,
// in their order.
std::vector<std::string> LinesWithoutLetter(const std::vector<std::string>& lines, char letter);
// The batch file's lines once no letter is permanent: every line but the subst lines that name a
// letter, in their order. What the user or another program wrote there stays.
std::vector<std::string> LinesOfOthers(const std::vector<std::string>& lines);

// subit.bat: where it is, whether it names a letter, and its lines going in and out.
class StartupScript {
 public:
  StartupScript(Files& files, Shell& shell) : files_(files), shell_(shell) {}

  // The Startup folder without a closing backslash; empty when the shell knows none.
  std::string Folder();
  // The batch file's full path; empty without a Startup folder.
  std::string Path();
  // Whether the batch file at the path holds a line for the letter; a missing file holds none.
  // A file that cannot be read fails with its FileError.
  bool Lists(const std::string& batch, char letter);
  // The same for the user's batch file, and false for one that cannot be read: it brings
  // nothing back either.
  bool Names(char letter);
  void Append(const std::string& batch, const std::string& line) { files_.AppendLine(batch, line); }
  // The lines as they were before a change, for putting them back; nullopt when there was no
  // batch file.
  using Before = std::optional<std::vector<std::string>>;
  // Takes the letter's lines out; a batch file with nothing left to run is not left behind.
  Before RemoveLetter(const std::string& batch, char letter);
  // Restore: every letter's line goes and every other line stays; a batch file with nothing
  // left to run is not left behind. A missing Startup folder or file has nothing to forget.
  Before RemoveAllLetters();
  // Puts the batch file back as it was before a change that has to be undone.
  void PutBack(const std::string& batch, const std::vector<std::string>& lines) {
    files_.ReplaceLines(batch, lines);
  }

 private:
  using Lines = std::vector<std::string>;
  Before Rewrite(const std::string& batch, const std::function<Lines(const Lines&)>& keep);

  Files& files_;
  Shell& shell_;
};

}  // namespace kestrane
