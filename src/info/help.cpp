#include "info/help.h"

#include "info/version.h"

namespace kestrane {

void ShowHelpTopic(Shell& shell, unsigned long topic) {
  shell.HtmlHelp(shell.ProgramFolder() + "\\" + app::kHelpFile, kHelpContext, topic);
}

}  // namespace kestrane
