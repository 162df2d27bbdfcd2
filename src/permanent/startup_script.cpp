#include "permanent/startup_script.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "app/frm_qor_pro.h"
#include "engine/messages.h"
#include "info/version.h"
#include "permanent/data_access.h"
#include "platform/file_error.h"

namespace kestrane {

namespace {

bool IsBlank(const std::string& line) {
  return std::all_of(line.begin(), line.end(),
                     [](char ch) { return std::isspace(static_cast<unsigned char>(ch)) != 0; });
}

}  // namespace

std::string frmQOR_Pro::GetStartupFolder() {
  std::string folder = ports_.shell.StartupFolder();
  folder = folder.substr(0, folder.find('\0'));
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::string frmQOR_Pro::StartupBatch() {
  const std::string folder = GetStartupFolder();
  return folder.empty() ? folder : folder + "\\" + kStartupBatch;
}

bool frmQOR_Pro::CheckStartupScript(const std::string& file) {
  const std::vector<std::string> lines = ports_.files.ReadLines(file);
  const char letter = Ltr.empty() ? '\0' : Ltr[0];
  if (std::none_of(lines.begin(), lines.end(),
                   [letter](const std::string& line) { return NamesLetter(line, letter); })) {
    return true;
  }
  ShowError(kAlreadyAssigned);
  return false;
}

bool frmQOR_Pro::StartupScriptNames(char letter) {
  const std::string batch = StartupBatch();
  try {
    if (batch.empty() || !ports_.files.FileExists(batch)) return false;
    const std::vector<std::string> lines = ports_.files.ReadLines(batch);
    return std::any_of(lines.begin(), lines.end(),
                       [letter](const std::string& line) { return NamesLetter(line, letter); });
  } catch (const FileError&) {
    return false;  // a batch file that cannot be read brings nothing back either
  }
}

void frmQOR_Pro::RemovePermanent() {
  auto& c = ports_.controls;
  c.SetMousePointer(MousePointer::Hourglass);
  const char letter = Ltr.empty() ? '\0' : Ltr[0];
  const std::string batch = StartupBatch();
  // Without the Startup folder the line may still be there: the bit stays, the caller reports.
  if (batch.empty()) Fail(err::kPathNotFound);

  if (!ports_.files.FileExists(batch)) {
    // No batch file holds a line for the letter, so it is no longer permanent in fact; the bit
    // only said otherwise. Clearing it is the user's request, and tells them what was found.
    ClearMark(letter);
    c.SetMousePointer(MousePointer::Default);
    ports_.dialogs.MessageBox(std::string("There is no ") + kStartupBatch +
                                  " in your Startup folder, so it held no line for " + Ltr + ":." +
                                  kCrLf + "The letter " + Ltr + " is no longer marked permanent.",
                              app::kTitle, Buttons::Ok, Icon::Information);
    return;
  }

  const std::vector<std::string> lines = ports_.files.ReadLines(batch);
  const std::vector<std::string> kept = LinesWithoutLetter(lines, letter);
  if (kept.size() != lines.size()) {
    // A batch file with nothing left to run is not left behind.
    if (std::all_of(kept.begin(), kept.end(), IsBlank)) {
      ports_.files.Delete(batch);
    } else {
      ports_.files.ReplaceLines(batch, kept);
    }
  }
  ClearMark(letter);
  c.SetMousePointer(MousePointer::Default);
}

void frmQOR_Pro::ClearMark(char letter) {
  try {
    ClearLetterBit(ports_.files, m_, letter);
  } catch (const FileError& e) {
    throw MarkNotCleared(e);
  }
}

}  // namespace kestrane
