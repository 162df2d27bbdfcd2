#include <algorithm>
#include <array>
#include <cctype>
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

bool SameText(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::toupper(static_cast<unsigned char>(x)) ==
           std::toupper(static_cast<unsigned char>(y));
  });
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
  const std::string batchFolder = FolderForBatch(folder);
  if (!batchFolder.empty() &&
      ports_.dialogs.MessageBox(Confirmation(Ltr, folder, quote), "Make Permanent?",
                                Buttons::OkCancel, Icon::None) == Answer::Ok) {
    MakePermanent(Ltr, folder, batchFolder);
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
  if (!IsPlainLetter(Ltr)) {
    ShowError(kNetworkDrive);
    return false;
  }
  return !IsNetworkTarget();
}

// The folder as the startup batch file can hold it: the folder itself or, where its name has
// characters the batch file's code page lacks, its short name, which every code page holds and
// which reaches the same folder. Refused (empty) where the volume keeps no short name, before a
// mapping is made that the user did not ask for alone.
std::string frmQOR_Pro::FolderForBatch(const std::string& folder) {
  if (ports_.files.CanEncode(BatchLine(Ltr, folder))) return folder;
  const std::string shortName = ports_.files.ShortPath(folder);
  if (!shortName.empty() && ports_.files.CanEncode(BatchLine(Ltr, shortName))) return shortName;
  ports_.controls.SetMousePointer(MousePointer::Default);
  ports_.dialogs.MessageBox("The folder \"" + folder + "\" cannot be made permanent:" + kCrLf +
                                "its name has characters that the startup batch file cannot hold.",
                            kTitle, Buttons::Ok, Icon::Critical);
  return {};
}

// Everything that could refuse the letter is asked before the mapping is made, and the one box
// that says it is done comes after the mapping, the bit and the line are all in place.
void frmQOR_Pro::MakePermanent(const std::string& letter, const std::string& folder,
                               const std::string& batchFolder) {
  bool mapped = false;  // the letter stands for the folder now, made by this command or before
  std::string batchFile;
  const std::array steps{
      Passable([&] { return RequireSupportedFamily(); }),
      Vital([&] { return FindStartupBatch(batchFile); }),
      Passable([&] { return RefuseListedLetter(batchFile); }),
      Vital([&] { return MapForPermanent(letter, folder, mapped); }),
      Vital([&] { return RecordPermanent(letter, batchFolder, batchFile); }),
  };
  const StepsResult result = RunSteps(steps, 1);
  if (result.failure) {
    ReportPermanentFailure(*result.failure, mapped ? letter : std::string());
  } else if (!result.ended) {
    ShowDone();
  }
}

void frmQOR_Pro::ReportPermanentFailure(const FileError& e, const std::string& mappedLetter) {
  auto& c = ports_.controls;
  const std::string outcome =
      mappedLetter.empty()
          ? "The drive could not be made permanent."
          : "The drive " + mappedLetter + ": was made for this session only and is not permanent.";
  c.SetMousePointer(MousePointer::Default);
  ports_.dialogs.MessageBox(
      "Error " + std::to_string(e.Number()) + ": " + e.Description() + kCrLf + outcome, kTitle,
      Buttons::Ok, Icon::Critical);
  c.SetFocus(ControlId::lstAvail);
}

Flow frmQOR_Pro::RequireSupportedFamily() {
  if (m_.OSFamily != kFamilyFailed) return Flow::Next;
  ports_.controls.SetVisible(ControlId::cmdDefault, false);
  ShowError(kNotSupported);
  return Flow::End;
}

Flow frmQOR_Pro::FindStartupBatch(std::string& batchFile) {
  batchFile = StartupBatch();
  if (!batchFile.empty()) return Flow::Next;
  ShowError(kNotSupported);
  return Flow::End;
}

Flow frmQOR_Pro::RefuseListedLetter(const std::string& batchFile) {
  if (!ports_.files.FileExists(batchFile) || CheckStartupScript(batchFile)) return Flow::Next;
  ports_.controls.SetFocus(ControlId::lstAvail);
  return Flow::End;
}

// A letter that is in use already is taken as it is only where it stands for this very folder:
// a line for another folder, a disk or a share would bring back something else at logon.
Flow frmQOR_Pro::MapForPermanent(const std::string& letter, const std::string& folder,
                                 bool& mapped) {
  ports_.controls.FocusWindow();
  const SubstOutcome outcome = RunSubst(SubstRequest::Map(letter, folder));
  mapped =
      outcome.Mapped() || (outcome.status == SubstStatus::InUse && StandsFor(letter[0], folder));
  if (mapped) return Flow::Next;
  ShowError(outcome.code);
  return Flow::End;
}

bool frmQOR_Pro::StandsFor(char letter, const std::string& folder) {
  const LetterTarget target = ports_.drives.Target(letter);
  if (target.kind != LetterKind::Virtual) return false;
  const std::string mapped = FolderList::Normalize(target.folder);
  return !mapped.empty() &&
         (SameText(mapped, FolderList::Normalize(folder)) ||
          SameText(mapped, FolderList::Normalize(ports_.files.ShortPath(folder))));
}

// The bit before the line, and the bit taken back when the line cannot be written: a line without
// its bit would bring the drive back at every logon while Remove no longer knew it was permanent.
Flow frmQOR_Pro::RecordPermanent(const std::string& letter, const std::string& batchFolder,
                                 const std::string& batchFile) {
  SetLetterBit(ports_.files, m_, letter[0]);
  try {
    ports_.files.AppendLine(batchFile, BatchLine(letter, batchFolder));
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
