#include "drives/subst_listing.h"

#include <cctype>

#include "platform/file_error.h"

namespace kestrane {

std::vector<char> LettersInListing(const std::vector<std::string>& lines) {
  std::vector<char> letters;
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(line[0])));
    if (upper >= 'A' && upper <= 'Z') letters.push_back(upper);
  }
  return letters;
}

SubstListing::Capture SubstListing::Take() {
  Capture result;
  try {
    CapturedRun listing = runner_.InvokeListing();
    if (!listing.run.started) {
      result.problem = "subst could not be started.";
    } else if (!listing.run.finished) {
      result.problem = "The list of Virtual Drives was not ready within " +
                       std::to_string(kCommandLimitMs / 1000) + " seconds.";
    } else {
      result.lines = std::move(listing.lines);
    }
  } catch (const FileError& e) {
    result.problem = "The list of Virtual Drives could not be read.\r\n" + ErrorText(e);
  }
  return result;
}

void SubstListing::Delete(char letter) {
  try {
    runner_.Invoke(std::string(1, letter) + ": /D");
  } catch (const FileError&) {
    // Like a removal that subst refuses: the drive stays listed after the refresh.
  }
}

}  // namespace kestrane
