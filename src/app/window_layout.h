#pragma once
#include <vector>

#include "ui/window_design.h"

namespace kestrane {

// The Exit button's caption as designed, which the commands give it back.
inline constexpr char kExitCaption[] = "&Exit";

class frmQOR_Pro;
using Handler = void (frmQOR_Pro::*)();

// What a button or a menu entry of the main window does: its handler, or the help topic it
// opens (the help file's own numbers).
struct CommandEntry {
  int id = 0;
  Handler handler = nullptr;
  unsigned long helpTopic = 0;
};

// frmQOR_Pro as designed, and its commands: both from the one description of each control and
// menu entry.
const WindowSpec& MainWindowSpec();
const std::vector<CommandEntry>& MainCommands();

}  // namespace kestrane
