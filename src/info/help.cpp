#include "app/frm_qor_pro.h"

namespace kestrane {

void frmQOR_Pro::MnuHelpIntro_Click() {}
void frmQOR_Pro::mnuHelpCreate_Click() {}
void frmQOR_Pro::mnuHelpCD_Click() {}
void frmQOR_Pro::mnuHelpKB_Click() {}
void frmQOR_Pro::mnuHelpPerm_Click() {}
void frmQOR_Pro::mnuHelpRemove_Click() {}
void frmQOR_Pro::mnuHelpMisc_Click() {}
void frmQOR_Pro::mnuHelpSupport_Click() {}
void frmQOR_Pro::mnuHelpOrder_Click() {}
void frmQOR_Pro::mnuHelpLicense_Click() {}

}  // namespace kestrane
