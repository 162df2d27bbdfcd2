#include "engine/messages.h"

#include "app/frm_qor_pro.h"

#ifndef KESTRANE_SUPPORT_EMAIL
#define KESTRANE_SUPPORT_EMAIL "support@kestrane.example"
#endif

namespace kestrane {

std::string SupportEmail() { return KESTRANE_SUPPORT_EMAIL; }

ErrorMessage ErrorMessageFor(std::uint8_t code, const std::string& letter,
                             const std::string& quote) {
  const std::string crlf = kCrLf;
  ErrorMessage m{"ERROR!", ""};
  switch (code) {
    case kAlreadyAssigned:
      m.body = "This Letter, " + quote + letter + quote + ", is already assigned to a Folder!";
      break;
    case kNotSupported:
      m.body = "This feature is not supported at this" + crlf + "time on your Operating System.";
      break;
    case kNoLetter: m.body = "You need to select a Virtual Drive Letter!"; break;
    case kNoPathSelected: m.body = "No Path selected!"; break;
    case kPathNotFound: m.body = "Path not found!"; break;
    case kLetterInUse: m.body = "This Letter, " + quote + letter + quote + ", is in use!"; break;
    case kCdRomOn95:
      m.title = "Wrong Operating System";
      m.body = "CD ROM drives are not supported for the Windows 98 family!";
      break;
    case kUnknownFailure:
      m.body = "An unknown error occured, try your operation again!" + crlf +
               "If the problem persists let us know.";
      break;
    case kNetworkDrive: m.body = "QOR does not work with network drives!"; break;
    case kMissingOrCorrupt:
      m.body = "There is a missing or corrupt file! Remove and reinstall the software, " + crlf +
               "if the problem persists e-mail us at " + SupportEmail() + "!";
      break;
    default:
      if (code >= kFirstMissingFile && code <= kLastMissingFile) {
        // A signed conversion with a sign position: one blank before the digits.
        m.title = "Error  " + std::to_string(code) + ", missing file!";
      }
      break;
  }
  return m;
}

void frmQOR_Pro::ShowError(std::uint8_t code) {
  const ErrorMessage m = ErrorMessageFor(code, Ltr, m_.Quote.empty() ? "\"" : m_.Quote);
  ports_.dialogs.MessageBox(m.body, m.title, Buttons::Ok, Icon::Critical);
  ports_.controls.SetMousePointer(MousePointer::Default);
}

}  // namespace kestrane
