#pragma once
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/files.h"

namespace kestrane {

// How a folder reaches the program other than by a walk through the lists.
enum class ArrivalWay {
  CommandLine,  // kestrane.exe "C:\Some Folder", as Explorer's verb starts it
  Drop,         // items dragged onto the window
};

enum class ArrivalKind {
  None,        // nothing was given: the window opens as it always has
  Folder,      // a folder to choose
  NotFound,    // no such folder or file, or a name no folder can have
  Unreadable,  // the folder is there but cannot be listed
  NoAnswer,    // the folder, or its drive, gives no answer in time
  Network,     // a share, or a folder on a network drive
  Unmappable,  // a path subst cannot take as written (too long, a name ending in a space or dot)
  TooMany,     // more than one argument on the command line
};

struct FolderArrival {
  ArrivalKind kind = ArrivalKind::None;
  // The folder to choose; for a refusal the path as the user gave it, made full where it can be
  // (every argument, quoted, for TooMany).
  std::string path;
  // The folder list cannot show it (hidden or system): it is chosen as a typed hidden folder is.
  bool hidden = false;
  std::string why;  // Unreadable: the failure, as a box names it
};

// What the items given on the command line or dropped on the window come to. An argument is
// read as Windows' own splitting left it: `"C:\"` arrives as `C:"`, its backslash taken for the
// escape of the closing quote. Relative paths go from the current directory; a file stands for
// the folder that holds it. Of several dropped items the first folder counts, else the first
// file's folder.
FolderArrival ReadArrival(const std::vector<std::string>& items, ArrivalWay way, Files& files,
                          Drives& drives);

}  // namespace kestrane
