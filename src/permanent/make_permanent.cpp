#include <functional>
#include <string>
#include <vector>

#include "app/frm_qor_pro.h"
#include "engine/messages.h"
#include "engine/runner.h"
#include "permanent/data_access.h"
#include "platform/file_error.h"

namespace kestrane {

namespace {

enum class Flow { Next, Finish, Return };

// Device, disk, permission and path failures of file access end the command with a box.
bool EndsCommand(int number) {
  return (number >= err::kDeviceUnavailable && number <= err::kDiskNotReady) ||
         number == err::kPathFileAccess || number == err::kPathNotFound;
}

bool IsDriveLetter(const std::string& ltr) {
  return ltr.size() == 1 && ltr[0] >= 'A' && ltr[0] <= 'Z';
}

std::string Confirmation(const std::string& letter, const std::string& quotedFolder,
                         const std::string& quote) {
  return std::string("This feature will place a file in your Startup Folder!") + kCrLf + kCrLf +
         "Save " + quote + letter + ":\\" + quote + " as:  " + quotedFolder + kCrLf +
         "permanently?";
}

// cmd.exe expands %NAME% even inside quotes, so a literal percent sign must be doubled for the
// folder to come back unchanged at logon; subst reads a root's closing quote as the runner's does.
std::string BatchLine(const std::string& letter, const std::string& quotedFolder) {
  std::string line = "subst " + letter + ": ";
  for (char ch : CommandArgument(quotedFolder)) {
    line += ch;
    if (ch == '%') line += '%';
  }
  return line;
}

}  // namespace

void frmQOR_Pro::cmdDefault_Click() {
  auto& c = ports_.controls;
  auto& files = ports_.files;
  const std::string quote = m_.Quote.empty() ? "\"" : m_.Quote;
  std::string batchLine;
  std::string batchFile;

  struct Step {
    // A step whose failure would leave the next ones working on a wrong premise: the runner
    // (no mapping), the Startup folder (no file name), the bit and the append (a line without
    // its bit, or a bit without its line). Its failure ends the command whatever the number.
    bool vital;
    std::function<Flow()> run;
  };
  const std::vector<Step> steps = {
      {false,
       [&] {
         c.SetText(ControlId::txtPath, Hold);
         return Flow::Next;
       }},
      {false,
       [&] {
         if (Ltr.empty()) {
           ShowError(3);
           c.SetFocus(ControlId::lstAvail);
           return Flow::Return;
         }
         if (Path == quote + quote || c.Text(ControlId::txtPath).empty()) {
           ShowError(4);
           return Flow::Return;
         }
         // A lower-case letter is a network drive's, picked from the used list; it could
         // never get a bit of its own.
         if (!IsDriveLetter(Ltr)) {
           ShowError(12);
           return Flow::Return;
         }
         return IsNetworkTarget() ? Flow::Return : Flow::Next;
       }},
      {true,
       [&] {
         Path = quote + c.Text(ControlId::txtPath) + quote;
         // Refused before the mapping is made: a permanent drive that cannot be written would
         // be a mapping the user did not ask for.
         if (!files.CanEncode(BatchLine(Ltr, Path))) {
           c.SetMousePointer(MousePointer::Default);
           ports_.dialogs.MessageBox(
               "The folder " + Path + " cannot be made permanent:" + kCrLf +
                   "its name has characters that the startup batch file cannot hold.",
               "Make Permanent", Buttons::Ok, Icon::Critical);
           return Flow::Finish;
         }
         return Flow::Next;
       }},
      {false,
       [&] {
         const Answer a = ports_.dialogs.MessageBox(
             Confirmation(Ltr, Path, quote), "Make Permanent?", Buttons::OkCancel, Icon::None);
         return a == Answer::Ok ? Flow::Next : Flow::Finish;
       }},
      {true,
       [&] {
         m_.MakingPerm = true;
         c.FocusWindow();
         substFailed_ = false;
         RunSubst();
         return substFailed_ ? Flow::Finish : Flow::Next;
       }},
      {false,
       [&] {
         if (m_.OSFamily != "Failed") return Flow::Next;
         c.SetVisible(ControlId::cmdDefault, false);
         ShowError(2);
         return Flow::Finish;
       }},
      {false,
       [&] {
         batchLine = BatchLine(Ltr, Path);
         return Flow::Next;
       }},
      {true,
       [&] {
         Path = GetStartupFolder();
         if (!Path.empty()) return Flow::Next;
         ShowError(2);
         return Flow::Finish;
       }},
      {false,
       [&] {
         batchFile = Path + "\\subit.bat";
         if (files.FileExists(batchFile) && !CheckStartupScript(batchFile)) {
           c.SetFocus(ControlId::lstAvail);
           return Flow::Finish;
         }
         return Flow::Next;
       }},
      // The bit before the line, and the bit taken back when the line cannot be written: a line
      // without its bit would bring the drive back at every logon while Remove no longer knew
      // it was permanent.
      {true,
       [&] {
         SetLetterBit(files, m_, Ltr[0]);
         return Flow::Next;
       }},
      {true,
       [&] {
         try {
           files.AppendLine(batchFile, batchLine);
         } catch (const FileError&) {
           try {
             ClearLetterBit(files, m_, Ltr[0]);
           } catch (const FileError&) {
             // The box for the append still tells the user the drive is not permanent.
           }
           throw;
         }
         return Flow::Next;
       }},
      {false,
       [&] {
         if (m_.MakingPerm) {
           m_.MakingPerm = false;  // the runner made the mapping and has said so
         } else {
           c.SetMousePointer(MousePointer::Default);
           ports_.dialogs.MessageBox("Operation Completed!", "Done!", Buttons::Ok, Icon::None);
         }
         return Flow::Next;
       }},
  };

  for (const Step& step : steps) {
    Flow flow = Flow::Next;
    try {
      flow = step.run();
    } catch (const FileError& e) {
      if (step.vital || EndsCommand(e.Number())) {
        c.SetMousePointer(MousePointer::Default);
        ports_.dialogs.MessageBox("Error " + std::to_string(e.Number()) + ": " + e.Description() +
                                      kCrLf + "The drive could not be made permanent.",
                                  "Make Permanent", Buttons::Ok, Icon::Critical);
        c.SetFocus(ControlId::lstAvail);
        flow = Flow::Finish;
      }
    }
    if (flow == Flow::Next) continue;
    // A flag left set would make the next Add of a used letter end without a word.
    m_.MakingPerm = false;
    if (flow == Flow::Return) return;
    break;
  }
  c.SetText(ControlId::cmdCancel, "&Exit");
}

}  // namespace kestrane
