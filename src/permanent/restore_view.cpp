#include "app/frm_qor_pro.h"

namespace kestrane {

void frmQOR_Pro::mnuRepair_Click() {}
void frmQOR_Pro::mnuView_Click() {}

}  // namespace kestrane
