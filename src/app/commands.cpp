#include "app/frm_qor_pro.h"
#include "app/window_layout.h"
#include "info/about.h"
#include "info/help.h"

namespace kestrane {

bool frmQOR_Pro::Command(int id) {
  for (const CommandEntry& command : MainCommands()) {
    if (command.id != id) continue;
    if (command.handler != nullptr) {
      (this->*command.handler)();
    } else {
      ShowHelpTopic(ports_.shell, command.helpTopic);
    }
    return true;
  }
  return false;
}

void frmQOR_Pro::mnuAbout_Click() { ports_.controls.ShowAbout(BuildAboutBox()); }

void frmQOR_Pro::mnuChk4Upgrade_Click() {
  const Answer answer = ports_.dialogs.MessageBox(VersionCheckMessage(), "Version Check",
                                                  Buttons::OkCancel, Icon::None);
  if (answer == Answer::Ok) ports_.shell.OpenWebPage(ProductPageAddress());
}

}  // namespace kestrane
