#include <exception>

#include "app/folder_argument.h"
#include "app/frm_qor_pro.h"
#include "app/messages.h"
#include "platform/file_error.h"

namespace kestrane {

namespace {

constexpr char kUsage[] = "Usage: kestrane.exe [\"folder\"]";

std::string Quoted(const std::string& path) { return kQuote + path + kQuote; }

// Each refusal names what was given and why it cannot be chosen; the window stays as it was.
std::string RefusalBody(const FolderArrival& arrival) {
  const std::string crlf = kCrLf;
  switch (arrival.kind) {
    case ArrivalKind::Network:
      return ErrorMessageFor(Msg::NetworkDrive, "").body + crlf + Quoted(arrival.path);
    case ArrivalKind::Unreadable:
      return "This folder cannot be read:" + crlf + Quoted(arrival.path) + crlf + arrival.why;
    case ArrivalKind::Unmappable: return TargetRefusal(arrival.path);
    case ArrivalKind::TooMany:
      return "Only one folder can be given:" + crlf + arrival.path + crlf + kUsage;
    default: return ErrorMessageFor(Msg::PathNotFound, "").body + crlf + Quoted(arrival.path);
  }
}

}  // namespace

void frmQOR_Pro::FolderArrived(const std::vector<std::string>& items, ArrivalWay way) {
  FolderArrival arrival;
  try {
    arrival = ReadArrival(items, way, ports_.files, ports_.drives);
    if (arrival.kind == ArrivalKind::Folder && !arrival.hidden) ChooseFolder(arrival.path);
    if (arrival.kind == ArrivalKind::Folder && arrival.hidden) {
      // As the hidden-folder entry does it: the folder that holds it chosen, its name typed
      // below it, so that Add looks for a hidden folder.
      const std::size_t slash = arrival.path.find_last_of('\\');
      ChooseFolder(arrival.path.substr(0, slash == 2 ? 3 : slash));
      selection_.EnterHidden(arrival.path.substr(slash + 1));
      dirList_Change();
    }
    // Chosen again, the folder list's folder raises no change: the path box may still show
    // the whole path the last Add put there.
    if (arrival.kind == ArrivalKind::Folder) ShowFolder();
  } catch (const NoAnswer& e) {
    arrival = {ArrivalKind::NoAnswer, e.Path(), false, {}};
  } catch (const FileError& e) {
    // The folder went away, or stopped being readable, since it was looked at.
    arrival = {ArrivalKind::Unreadable, arrival.path, false, ErrorText(e)};
  } catch (const std::exception& e) {
    arrival = {ArrivalKind::Unreadable, arrival.path, false,
               ErrorText(err::kInvalidCall, e.what())};
  }
  if (arrival.kind == ArrivalKind::None || arrival.kind == ArrivalKind::Folder) return;
  if (arrival.kind == ArrivalKind::NoAnswer) {
    ShowNoAnswer(arrival.path);
    return;
  }
  const ErrorMessage m = ErrorMessageFor(Msg::PathNotFound, "");
  ports_.controls.SetMousePointer(MousePointer::Default);
  ports_.dialogs.MessageBox(RefusalBody(arrival), m.title, Buttons::Ok, Icon::Critical);
}

}  // namespace kestrane
