#pragma once
#include <string>
#include <vector>

#include "win32/ui/windows_api.h"
// HDROP: the shell's header needs the system's own first.
#include <shellapi.h>

namespace kestrane::win32 {

// The program's arguments as Windows splits its command line, without the program's own name;
// the form reads them (a trailing backslash before a closing quote comes back as a quote).
std::vector<std::string> ProgramArguments();

// The full paths of the items dropped on a window, in Explorer's order. The drop is finished
// here whatever the window does with them.
std::vector<std::string> TakeDroppedPaths(HDROP drop);

}  // namespace kestrane::win32
