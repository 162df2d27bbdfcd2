#include "app/frm_qor_pro.h"
#include "app/window_layout.h"
#include "info/about.h"
#include "info/help.h"

namespace kestrane {

bool frmQOR_Pro::Command(int id) { return Event(id, ControlEvent::Click, -1); }

bool frmQOR_Pro::Event(int id, ControlEvent event, int row) {
  for (const CommandEntry& command : MainCommands()) {
    if (command.id != id) continue;
    switch (event) {
      case ControlEvent::Click:
        if (command.handler != nullptr) {
          (this->*command.handler)();
        } else if (command.helpTopic != 0) {
          ShowHelpTopic(ports_.shell, command.helpTopic);
        }
        break;
      case ControlEvent::Pick:
        if (command.pick != nullptr) (this->*command.pick)(row);
        break;
      case ControlEvent::Open:
        if (command.openRow != nullptr) (this->*command.openRow)(row);
        if (command.open != nullptr) (this->*command.open)();
        break;
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
