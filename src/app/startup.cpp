#include <exception>

#include "app/frm_qor_pro.h"
#include "platform/file_error.h"

namespace kestrane {

namespace {

constexpr int kDesignHeight = 5790;  // outer height in twips
constexpr int kStepTries = 3;        // a step failing outside the skip set is tried this often

// The file-layer failures start-up steps over instead of trying again.
bool SkipsStep(int number) {
  return (number >= err::kDeviceUnavailable && number <= err::kDiskNotReady) ||
         number == err::kPathFileAccess || number == err::kPathNotFound;
}

}  // namespace

frmQOR_Pro::StepResult frmQOR_Pro::StartupStep(int step) {
  auto& c = ports_.controls;
  switch (step) {
    case 1:
      c.SetMousePointer(MousePointer::Hourglass);
      break;
    case 2: {
      TwipsRect r = c.WindowRect();
      r.height = kDesignHeight;
      r.left = (c.ScreenWidth() - r.width) / 2;
      r.top = (c.ScreenHeight() - r.height) / 2;
      c.MoveWindow(r);
      break;
    }
    case 3:
      SetFolderPath("\\");
      break;
    case 4: {
      const FolderAnswer answer = ports_.shell.AppDataFolder();
      if (answer.status == 0) {
        sPath = answer.path;
      } else if (answer.status == 1) {
        ShowError(255);
        return StepResult::EndProgram;
      } else {
        // No application-data folder is known: the data file cannot be found either.
        ShowError(255);
        return StepResult::EndProgram;
      }
      break;
    }
    case 5:
      sPath += "\\Halvecki\\Kestrane\\";
      break;
    case 6:
      m_.DataFile = sPath + "himem32.qor";
      break;
    case 7:
      if (!ports_.files.FileExists(m_.DataFile)) {
        ShowError(255);
        return StepResult::EndProgram;
      }
      break;
    case 8:
      m_.OSFamily = GetOSFamily(ports_.shell);
      break;
    case 9:
      m_.Quote = "\"";
      break;
    case 10:
      file1_.reset();
      file1_ = ports_.files.OpenRecords(m_.DataFile, kRecordLength);
      break;
    case 11:
      RefreshLetters();
      break;
    case 12:
      file1_.reset();
      break;
    case 13:
      m_.PermMask = m_.DataRec.LetterMask;
      break;
    case 14:
      c.SetCaption(c.Caption() + " - Pro");
      break;
    default:
      break;
  }
  return StepResult::Done;
}

bool frmQOR_Pro::Form_Load() {
  constexpr int kSteps = 14;
  for (int step = 1; step <= kSteps; ++step) {
    for (int attempt = 1; attempt <= kStepTries; ++attempt) {
      try {
        if (StartupStep(step) == StepResult::EndProgram) {
          file1_.reset();
          ports_.controls.EndProgram();
          return false;
        }
        break;
      } catch (const FileError& e) {
        if (SkipsStep(e.Number())) break;
      } catch (const std::exception&) {
        // Tried again below, like any failure outside the skip set.
      }
    }
  }
  return true;
}

void frmQOR_Pro::Form_Activate() {
  ports_.controls.SetMousePointer(MousePointer::Default);
  ports_.controls.SetFocus(ControlId::lstAvail);
}

}  // namespace kestrane
