#pragma once
#include <string>
#include <vector>

#include "platform/file_error.h"

namespace kestrane {

// The batch file in the user's Startup folder that recreates the permanent letters at logon.
inline constexpr char kStartupBatch[] = "subit.bat";

// RemovePermanent's failure once the letter's line is out of the batch file (or there was no
// file): the letter no longer comes back at logon, and only its bit in the data file is left.
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

}  // namespace kestrane
