#pragma once
#include <string>
#include <vector>

#include "platform/file_error.h"
#include "platform/files.h"
#include "platform/shell.h"

namespace kestrane {

// The batch file in the user's Startup folder that recreates the permanent letters at logon.
inline constexpr char kStartupBatch[] = "subit.bat";

// The failure of removing a permanent letter once its line is out of the batch file (or there
// was no file): the letter no longer comes back at logon, and only its bit in the data file is
// left.
class MarkNotCleared : public FileError {
 public:
  explicit MarkNotCleared(const FileError& cause) : FileError(cause) {}
};

// A line that starts with the word subst, in any case.
bool IsSubstLine(const std::string& line);
// A subst line whose 7th character is the letter, in any case: "subst Q: "C:\Data"" names Q.
bool NamesLetter(const std::string& line, char letter);
// The batch file's lines once the letter is no longer permanent: every line but those naming it,
// in their order.
std::vector<std::string> LinesWithoutLetter(const std::vector<std::string>& lines, char letter);

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
  // Takes the letter's lines out; a batch file with nothing left to run is not left behind.
  // False when there is no batch file at the path.
  bool RemoveLetter(const std::string& batch, char letter);
  // Restore: the batch file goes, whatever it holds; a missing one is gone already.
  void Delete();

 private:
  Files& files_;
  Shell& shell_;
};

}  // namespace kestrane
