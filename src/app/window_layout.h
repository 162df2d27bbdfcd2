#pragma once
#include <vector>

#include "ui/window_design.h"

namespace kestrane {

// The Exit button's caption as designed, which the commands give it back.
inline constexpr char kExitCaption[] = "&Exit";

class frmQOR_Pro;
using Handler = void (frmQOR_Pro::*)();
using RowHandler = void (frmQOR_Pro::*)(int row);

// What a control or a menu entry of the main window does with each event it raises: a button's
// or an entry's handler, or the help topic it opens (the help file's own numbers); a list's
// handlers for a row picked (-1: none) and for a row opened (a double click).
struct CommandEntry {
  int id = 0;
  Handler handler = nullptr;
  unsigned long helpTopic = 0;
  RowHandler pick = nullptr;
  Handler open = nullptr;
  RowHandler openRow = nullptr;
};

// frmQOR_Pro as designed, and its commands: both from the one description of each control and
// menu entry.
const WindowSpec& MainWindowSpec();
const std::vector<CommandEntry>& MainCommands();

}  // namespace kestrane
