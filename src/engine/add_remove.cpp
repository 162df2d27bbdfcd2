#include <cctype>
#include <exception>
#include <string>

#include "app/frm_qor_pro.h"
#include "engine/messages.h"
#include "engine/runner.h"
#include "info/version.h"
#include "permanent/data_access.h"
#include "permanent/data_file.h"
#include "permanent/startup_script.h"
#include "platform/file_error.h"

namespace kestrane {

namespace {

std::string RootQuestion(char root, const std::string& letter) {
  const std::string r(1, root);
  return "It appears that you have selected a root folder (" + r + ":\\), " + kCrLf +
         "are you sure? Now both " + r + " and " + letter + " will point there.";
}

}  // namespace

void frmQOR_Pro::cmdOk_Click() {
  auto& c = ports_.controls;
  try {
    if (!PickLetter(ControlId::lstAvail)) return;
    c.SetText(ControlId::txtPath, Hold);
    const std::string folder = c.Text(ControlId::txtPath);
    if (folder.size() == 3) {
      const char root = static_cast<char>(std::toupper(static_cast<unsigned char>(folder[0])));
      if (ports_.dialogs.MessageBox(RootQuestion(root, Ltr), "Are You Sure?", Buttons::YesNoCancel,
                                    Icon::None) != Answer::Yes) {
        return;
      }
    }
    if (!PickLetter(ControlId::lstAvail)) return;
    if (IsNetworkTarget()) return;
    c.SetText(ControlId::cmdCancel, kExitCaption);
    ReportSubst(RunSubst(SubstRequest::Map(Ltr, c.Text(ControlId::txtPath))));
  } catch (const std::exception&) {
    ShowError(kUnknownFailure);
  }
}

void frmQOR_Pro::cmdRemove_Click() {
  try {
    if (!PickLetter(ControlId::lstUsedLtrs)) return;
    if (std::islower(static_cast<unsigned char>(Ltr[0])) != 0) {
      RefuseRemoval("This is a Network drive, it cannot be removed!");
      return;
    }
    // subst would refuse a disk or a disc; nothing is asked or run for one.
    if (ports_.drives.Target(Ltr[0]).kind == LetterKind::Device) {
      RefuseRemoval("This is not a Virtual drive, it cannot be removed!");
      return;
    }
    if (IsPermanent(Ltr[0]) && !ForgetPermanent()) return;
    ReportSubst(RunSubst(SubstRequest::Delete(Ltr)));
    ports_.controls.SetText(ControlId::cmdCancel, kExitCaption);
  } catch (const std::exception&) {
    ShowError(kUnknownFailure);
  }
}

void frmQOR_Pro::RefuseRemoval(const std::string& body) {
  ports_.dialogs.MessageBox(body, "Nothing to do!", Buttons::Ok, Icon::Information);
  ports_.controls.SetFocus(ControlId::cmdCancel);
}

// Whether the letter comes back at logon: its bit in the data file as it is now (another copy of
// the program may have changed it), or a line of its own in the startup batch file, which brings
// the drive back even when its bit was lost.
bool frmQOR_Pro::IsPermanent(char letter) {
  std::int32_t mask = m_.PermMask;
  try {
    mask = ReadMask(ports_.files, m_);
  } catch (const FileError&) {
    // The mask as last read stands in for a file that cannot be read just now.
  }
  return LetterIsSet(mask, letter) || StartupScriptNames(letter);
}

bool frmQOR_Pro::PickLetter(ControlId list) {
  Ltr = SelectedLetter(list);
  if (!Ltr.empty()) return true;
  ShowError(kNoLetter);
  ports_.controls.SetFocus(list);
  return false;
}

// Asks whether a permanent letter goes for good, and takes it out of the startup batch file when
// it does. False when the removal ends here: Cancel, or the letter's line or bit could not go.
bool frmQOR_Pro::ForgetPermanent() {
  const Answer answer = ports_.dialogs.MessageBox(
      "This drive letter, " + Ltr + ", is permanent, do you want it removed permanently?",
      app::kTitle, Buttons::YesNoCancel, Icon::None);
  if (answer == Answer::No) return true;
  if (answer != Answer::Yes) return false;
  try {
    RemovePermanent();
    return true;
  } catch (const std::exception& e) {
    // The mapping stays as well: the user asked for both or nothing.
    const auto* fe = dynamic_cast<const FileError*>(&e);
    const int number = fe ? fe->Number() : kUnknownFailure;
    // Once the line is out, only the bit is left: the letter no longer comes back at logon.
    const char* what = dynamic_cast<const MarkNotCleared*>(&e)
                           ? " no longer comes back at logon, but its permanent mark could not "
                             "be cleared from the data file."
                           : " could not be removed from your startup file.";
    ports_.controls.SetMousePointer(MousePointer::Default);
    ports_.dialogs.MessageBox("The drive letter " + Ltr + what + kCrLf + "Error " +
                                  std::to_string(number) + ": " + e.what() +
                                  ". The virtual drive was left as it is.",
                              app::kTitle, Buttons::Ok, Icon::Critical);
    return false;
  }
}

}  // namespace kestrane
