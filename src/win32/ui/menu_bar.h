#pragma once
#include <vector>

#include "ui/window_design.h"
#include "win32/ui/windows_api.h"

namespace kestrane::win32 {

// The menu bar of a window description: submenus as pop-ups, commands with their identifiers,
// separators, and the shortcut shown after a tab.
HMENU BuildMenuBar(const std::vector<MenuSpec>& menu);

// The shortcut keys of the menu entries ("F1" to "F12"), as an accelerator table.
HACCEL BuildAccelerators(const std::vector<MenuSpec>& menu);

// The virtual key of a shortcut name, 0 when it is not a function key.
WORD ShortcutKey(const std::string& shortcut);

}  // namespace kestrane::win32
