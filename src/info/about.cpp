#include "info/about.h"

#include "app/frm_qor_pro.h"

namespace kestrane {

AboutBox BuildAboutBox() { return {}; }

void frmQOR_Pro::mnuAbout_Click() {}
void frmQOR_Pro::mnuChk4Upgrade_Click() {}

}  // namespace kestrane
