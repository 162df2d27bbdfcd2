#include "engine/messages.h"

#include "app/frm_qor_pro.h"

#ifndef KESTRANE_SUPPORT_EMAIL
#define KESTRANE_SUPPORT_EMAIL "support@kestrane.example"
#endif

namespace kestrane {

std::string SupportEmail() { return KESTRANE_SUPPORT_EMAIL; }

ErrorMessage ErrorMessageFor(std::uint8_t code, const std::string& letter, const std::string& quote) {
  const std::string crlf = kCrLf;
  ErrorMessage m{"ERROR!", ""};
  switch (code) {
    case 1:
      m.body = "This Letter, " + quote + letter + quote + ", is already assigned to a Folder!";
      break;
    case 2:
      m.body = "This feature is not supported at this" + crlf + "time on your Operating System.";
      break;
    case 3:
      m.body = "You need to select a Virtual Drive Letter!";
      break;
    case 4:
      m.body = "No Path selected!";
      break;
    case 5:
      m.body = "Path not found!";
      break;
    case 6:
      m.body = "This Letter, " + quote + letter + quote + ", is in use!";
      break;
    case 7:
    case 8:
    case 9:
      // A signed conversion with a sign position: one blank before the digits.
      m.title = "Error  " + std::to_string(code) + ", missing file!";
      break;
    case 10:
      m.title = "Wrong Operating System";
      m.body = "CD ROM drives are not supported for the Windows 98 family!";
      break;
    case 11:
      m.body = "An unknown error occured, try your operation again!" + crlf +
               "If the problem persists let us know.";
      break;
    case 12:
      m.body = "QOR does not work with network drives!";
      break;
    case 255:
      m.body = "There is a missing or corrupt file! Remove and reinstall the software, " + crlf +
               "if the problem persists e-mail us at " + SupportEmail() + "!";
      break;
    default:
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
