#include "info/help.h"

#include <array>

#include "app/control_ids.h"
#include "app/frm_qor_pro.h"
#include "info/version.h"

namespace kestrane {

namespace {

// Each entry of File > Help and the topic number the help file maps to its page. The numbers do
// not rise in menu order; they are the help file's.
struct HelpTopic {
  int command;
  unsigned long topic;
};

constexpr std::array<HelpTopic, 10> kTopics{{
    {ids::MnuHelpIntro, 100},
    {ids::mnuHelpCreate, 110},
    {ids::mnuHelpCD, 120},
    {ids::mnuHelpKB, 140},
    {ids::mnuHelpPerm, 130},
    {ids::mnuHelpRemove, 150},
    {ids::mnuHelpMisc, 165},
    {ids::mnuHelpSupport, 170},
    {ids::mnuHelpOrder, 180},
    {ids::mnuHelpLicense, 190},
}};

constexpr unsigned long TopicOf(int command) {
  for (const auto& t : kTopics) {
    if (t.command == command) return t.topic;
  }
  return 0;
}

// The help file is looked for beside the program, wherever it was installed. A missing file or
// viewer is left to the viewer to show (or not): the program carries on either way.
void ShowTopic(Shell& shell, int command) {
  shell.HtmlHelp(shell.ProgramFolder() + "\\" + app::kHelpFile, kHelpContext, TopicOf(command));
}

}  // namespace

void frmQOR_Pro::MnuHelpIntro_Click() { ShowTopic(ports_.shell, ids::MnuHelpIntro); }
void frmQOR_Pro::mnuHelpCreate_Click() { ShowTopic(ports_.shell, ids::mnuHelpCreate); }
void frmQOR_Pro::mnuHelpCD_Click() { ShowTopic(ports_.shell, ids::mnuHelpCD); }
void frmQOR_Pro::mnuHelpKB_Click() { ShowTopic(ports_.shell, ids::mnuHelpKB); }
void frmQOR_Pro::mnuHelpPerm_Click() { ShowTopic(ports_.shell, ids::mnuHelpPerm); }
void frmQOR_Pro::mnuHelpRemove_Click() { ShowTopic(ports_.shell, ids::mnuHelpRemove); }
void frmQOR_Pro::mnuHelpMisc_Click() { ShowTopic(ports_.shell, ids::mnuHelpMisc); }
void frmQOR_Pro::mnuHelpSupport_Click() { ShowTopic(ports_.shell, ids::mnuHelpSupport); }
void frmQOR_Pro::mnuHelpOrder_Click() { ShowTopic(ports_.shell, ids::mnuHelpOrder); }
void frmQOR_Pro::mnuHelpLicense_Click() { ShowTopic(ports_.shell, ids::mnuHelpLicense); }

}  // namespace kestrane
