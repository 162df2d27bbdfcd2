#include "app/frm_qor_pro.h"

namespace kestrane {

void frmQOR_Pro::cmdDefault_Click() {}

}  // namespace kestrane
