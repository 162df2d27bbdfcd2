#include "app/frm_qor_pro.h"

namespace kestrane {

void frmQOR_Pro::cmdOk_Click() {}
void frmQOR_Pro::cmdRemove_Click() {}

}  // namespace kestrane
