#include "drives/subst_listing.h"

#include <cctype>
#include <string_view>

#include "drives/subst_runner.h"
#include "platform/file_error.h"

namespace kestrane {

namespace {

constexpr char kVerb[] = "open";  // subst runs unelevated, so the listing must too
constexpr char kCaptureName[] = "temp";
constexpr char kListing[] = " /C subst.exe > temp";
static_assert(std::string_view(kListing).ends_with(kCaptureName));

void DeleteQuietly(Files& files, const std::string& path) {
  try {
    files.Delete(path);
  } catch (const FileError&) {
    // Missing already, or held by another program: a stale capture is removed next time.
  }
}

}  // namespace

std::vector<char> LettersInListing(const std::vector<std::string>& lines) {
  std::vector<char> letters;
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(line[0])));
    if (upper >= 'A' && upper <= 'Z') letters.push_back(upper);
  }
  return letters;
}

SubstListing::Capture SubstListing::Take(const std::string& dataFolder) {
  Capture result;
  const std::string capture = dataFolder + kCaptureName;
  try {
    const std::string system = shell_.SystemFolder();
    if (system.empty()) {
      result.problem = "The command interpreter could not be found: the system folder is unknown.";
      return result;
    }
    result.interpreter = system + "\\CMD.exe";
    // A capture left over from an earlier run must not pass for this one.
    try {
      files_.Delete(capture);
    } catch (const FileError& e) {
      if (e.Number() != err::kFileNotFound) throw;
    }
    const ProcessOutcome run =
        processes_.ShellRun(kVerb, result.interpreter, kListing, dataFolder, kCommandLimitMs);
    if (!run.started) {
      result.problem = "The command interpreter could not be started.";
      return result;
    }
    if (!run.finished) {
      DeleteQuietly(files_, capture);
      result.problem = "The list of Virtual Drives was not ready within " +
                       std::to_string(kCommandLimitMs / 1000) + " seconds.";
      return result;
    }
    result.lines = files_.ReadLines(capture);
  } catch (const FileError& e) {
    DeleteQuietly(files_, capture);
    result.problem = "The list of Virtual Drives could not be read.\r\n" + ErrorText(e);
    return result;
  }
  DeleteQuietly(files_, capture);
  return result;
}

void SubstListing::Delete(const Capture& capture, char letter, const std::string& dataFolder) {
  try {
    processes_.ShellRun(kVerb, capture.interpreter,
                        " /C subst.exe " + std::string(1, letter) + ": /D", dataFolder,
                        kCommandLimitMs);
  } catch (const FileError&) {
    // Like a removal that subst refuses: the drive stays listed after the refresh.
  }
}

}  // namespace kestrane
