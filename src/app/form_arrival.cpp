#include <exception>

#include "app/folder_argument.h"
#include "app/frm_qor_pro.h"
#include "platform/file_error.h"

namespace kestrane {

void frmQOR_Pro::FolderArrived(const std::vector<std::string>& items, ArrivalWay way) {
  FolderArrival arrival;
  try {
    arrival = ReadArrival(items, way, ports_.files, ports_.drives);
    if (arrival.kind == ArrivalKind::Folder) {
      if (arrival.hidden) {
        browser_.ChooseHidden(arrival.path);
      } else {
        browser_.Choose(arrival.path);
      }
      // Chosen again, the folder list's folder raises no change: the path box may still show
      // the whole path the last Add put there.
      browser_.ShowFolder();
    }
  } catch (const NoAnswer& e) {
    arrival = {ArrivalKind::NoAnswer, e.Path(), false, {}};
  } catch (const FileError& e) {
    // The folder went away, or stopped being readable, since it was looked at.
    arrival = {ArrivalKind::Unreadable, arrival.path, false, ErrorText(e)};
  } catch (const std::exception& e) {
    arrival = {ArrivalKind::Unreadable, arrival.path, false,
               ErrorText(err::kInvalidCall, e.what())};
  }
  if (arrival.kind != ArrivalKind::None && arrival.kind != ArrivalKind::Folder) {
    reports_.ArrivalRefused(arrival);
  }
}

}  // namespace kestrane
