#include "drives/subst_listing.h"

#include "platform/file_error.h"

namespace kestrane {

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
