#include <array>
#include <functional>
#include <string>
#include <utility>

#include "app/frm_qor_pro.h"
#include "app/steps.h"
#include "engine/messages.h"
#include "engine/runner.h"
#include "permanent/data_access.h"
#include "permanent/startup_script.h"
#include "platform/file_error.h"

namespace kestrane {

namespace {

constexpr char kTitle[] = "Make Permanent";

bool IsDriveLetter(const std::string& ltr) {
  return ltr.size() == 1 && ltr[0] >= 'A' && ltr[0] <= 'Z';
}

std::string Confirmation(const std::string& letter, const std::string& folder,
                         const std::string& quote) {
  return std::string("This feature will place a file in your Startup Folder!") + kCrLf + kCrLf +
         "Save " + quote + letter + ":\\" + quote + " as:  " + quote + folder + quote + kCrLf +
         "permanently?";
}

// cmd.exe expands %NAME% even inside quotes, so a literal percent sign must be doubled for the
// folder to come back unchanged at logon; subst reads a root's closing quote as the runner's does.
std::string BatchLine(const std::string& letter, const std::string& folder) {
  std::string line = "subst " + letter + ": ";
  for (char ch : CommandArgument(folder)) {
    line += ch;
    if (ch == '%') line += '%';
  }
  return line;
}

// A step that every later one builds on (the mapping, the Startup folder, the bit and the line)
// ends the command whatever its failure; any other ends it on a device, disk, permission or path
// failure and is passed over on the rest.
Step Vital(std::function<Flow()> run) { return {std::move(run), OnFailure::End, OnFailure::End}; }
Step Passable(std::function<Flow()> run) {
  return {std::move(run), OnFailure::End, OnFailure::Skip};
}

}  // namespace

void frmQOR_Pro::cmdDefault_Click() {
  auto& c = ports_.controls;
  c.SetText(ControlId::txtPath, Hold);
  const std::string folder = c.Text(ControlId::txtPath);
  if (!PermanentChoiceIsValid(folder)) return;
  const std::string quote = m_.Quote.empty() ? "\"" : m_.Quote;
  if (BatchCanHold(folder) &&
      ports_.dialogs.MessageBox(Confirmation(Ltr, folder, quote), "Make Permanent?",
                                Buttons::OkCancel, Icon::None) == Answer::Ok) {
    MakePermanent(Ltr, folder);
  }
  c.SetText(ControlId::cmdCancel, kExitCaption);
}

// The refusals of a choice that cannot be made permanent; false when one was shown.
bool frmQOR_Pro::PermanentChoiceIsValid(const std::string& folder) {
  if (Ltr.empty()) {
    ShowError(kNoLetter);
    ports_.controls.SetFocus(ControlId::lstAvail);
    return false;
  }
  if (folder.empty()) {
    ShowError(kNoPathSelected);
    return false;
  }
  // A lower-case letter is a network drive's, picked from the used list; it could never get a
  // bit of its own.
  if (!IsDriveLetter(Ltr)) {
    ShowError(kNetworkDrive);
    return false;
  }
  return !IsNetworkTarget();
}

// Refused before the mapping is made: a permanent drive that cannot be written would be a
// mapping the user did not ask for.
bool frmQOR_Pro::BatchCanHold(const std::string& folder) {
  if (ports_.files.CanEncode(BatchLine(Ltr, folder))) return true;
  ports_.controls.SetMousePointer(MousePointer::Default);
  ports_.dialogs.MessageBox("The folder \"" + folder + "\" cannot be made permanent:" + kCrLf +
                                "its name has characters that the startup batch file cannot hold.",
                            kTitle, Buttons::Ok, Icon::Critical);
  return false;
}

void frmQOR_Pro::MakePermanent(const std::string& letter, const std::string& folder) {
  auto& c = ports_.controls;
  bool doneShown = false;
  std::string batchFile;
  const std::array steps{
      Vital([&] { return MapForPermanent(letter, folder, doneShown); }),
      Passable([&] { return RequireSupportedFamily(); }),
      Vital([&] { return FindStartupBatch(batchFile); }),
      Passable([&] { return RefuseListedLetter(batchFile); }),
      Vital([&] { return RecordPermanent(letter, folder, batchFile); }),
  };
  const StepsResult result = RunSteps(steps, 1);
  if (result.failure) {
    const FileError& e = *result.failure;
    c.SetMousePointer(MousePointer::Default);
    ports_.dialogs.MessageBox("Error " + std::to_string(e.Number()) + ": " + e.Description() +
                                  kCrLf + "The drive could not be made permanent.",
                              kTitle, Buttons::Ok, Icon::Critical);
    c.SetFocus(ControlId::lstAvail);
  }
  if (!result.ended && !doneShown) ShowDone();
}

// A letter mapped already is taken as it is; a new mapping is reported done at once.
Flow frmQOR_Pro::MapForPermanent(const std::string& letter, const std::string& folder,
                                 bool& doneShown) {
  ports_.controls.FocusWindow();
  const SubstOutcome outcome = RunSubst(SubstRequest::Map(letter, folder));
  if (outcome.status == SubstStatus::InUse) return Flow::Next;
  ReportSubst(outcome);
  doneShown = outcome.Mapped();
  return outcome.Mapped() ? Flow::Next : Flow::End;
}

Flow frmQOR_Pro::RequireSupportedFamily() {
  if (m_.OSFamily != kFamilyFailed) return Flow::Next;
  ports_.controls.SetVisible(ControlId::cmdDefault, false);
  ShowError(kNotSupported);
  return Flow::End;
}

Flow frmQOR_Pro::FindStartupBatch(std::string& batchFile) {
  const std::string folder = GetStartupFolder();
  if (folder.empty()) {
    ShowError(kNotSupported);
    return Flow::End;
  }
  batchFile = folder + "\\" + kStartupBatch;
  return Flow::Next;
}

Flow frmQOR_Pro::RefuseListedLetter(const std::string& batchFile) {
  if (!ports_.files.FileExists(batchFile) || CheckStartupScript(batchFile)) return Flow::Next;
  ports_.controls.SetFocus(ControlId::lstAvail);
  return Flow::End;
}

// The bit before the line, and the bit taken back when the line cannot be written: a line without
// its bit would bring the drive back at every logon while Remove no longer knew it was permanent.
Flow frmQOR_Pro::RecordPermanent(const std::string& letter, const std::string& folder,
                                 const std::string& batchFile) {
  SetLetterBit(ports_.files, m_, letter[0]);
  try {
    ports_.files.AppendLine(batchFile, BatchLine(letter, folder));
  } catch (const FileError&) {
    try {
      ClearLetterBit(ports_.files, m_, letter[0]);
    } catch (const FileError&) {
      // The box for the append still tells the user the drive is not permanent.
    }
    throw;
  }
  return Flow::Next;
}

}  // namespace kestrane
