#include "app/messages.h"

#include "app/selection.h"
#include "platform/paths.h"

#ifndef KESTRANE_SUPPORT_EMAIL
#define KESTRANE_SUPPORT_EMAIL "support@kestrane.example"
#endif

namespace kestrane {

namespace {

constexpr std::uint8_t M(Msg code) { return static_cast<std::uint8_t>(code); }

}  // namespace

std::string SupportEmail() { return KESTRANE_SUPPORT_EMAIL; }

std::string TargetRefusal(const std::string& folder) {
  const std::string head = "The folder " + std::string(kQuote) + ShortenedPath(folder) + kQuote +
                           " cannot be given a drive letter:" + kCrLf;
  switch (TargetLimitOf(folder)) {
    case TargetLimit::None: return {};
    case TargetLimit::TooLong:
      return head + "its path is longer than " + std::to_string(kLongestTarget) + " characters.";
    case TargetLimit::TrimmedName:
      return head + "the name " + kQuote + TrimmedName(folder) + kQuote +
             " ends in a space or a dot, which Windows leaves out when it reads a path.";
  }
  return {};
}

ErrorMessage ErrorMessageFor(std::uint8_t code, const std::string& letter,
                             const std::string& quote) {
  const std::string crlf = kCrLf;
  ErrorMessage m{"ERROR!", ""};
  switch (code) {
    case M(Msg::AlreadyAssigned):
      m.body = "This Letter, " + quote + letter + quote + ", is already assigned to a Folder!";
      break;
    case M(Msg::NotSupported):
      m.body = "This feature is not supported at this" + crlf + "time on your Operating System.";
      break;
    case M(Msg::NoLetter): m.body = "You need to select a Virtual Drive Letter!"; break;
    case M(Msg::NoPathSelected): m.body = "No Path selected!"; break;
    case M(Msg::PathNotFound): m.body = "Path not found!"; break;
    case M(Msg::LetterInUse):
      m.body = "This Letter, " + quote + letter + quote + ", is in use!";
      break;
    case M(Msg::CdRomOn95):
      m.title = "Wrong Operating System";
      m.body = "CD ROM drives are not supported for the Windows 98 family!";
      break;
    case M(Msg::UnknownFailure):
      m.body = "An unknown error occured, try your operation again!" + crlf +
               "If the problem persists let us know.";
      break;
    case M(Msg::NetworkDrive): m.body = "QOR does not work with network drives!"; break;
    case M(Msg::MissingOrCorrupt):
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

}  // namespace kestrane
