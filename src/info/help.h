#pragma once
#include "platform/shell.h"

namespace kestrane {

// HH_HELP_CONTEXT: show the topic the file maps to a number.
inline constexpr unsigned kHelpContext = 0x000F;

// Opens the help file's page for a topic number. The file is looked for beside the program,
// wherever it was installed; a missing file or viewer is left to the viewer to show (or not):
// the program carries on either way.
void ShowHelpTopic(Shell& shell, unsigned long topic);

}  // namespace kestrane
