#include "app/frm_qor_pro.h"

namespace kestrane {

std::string frmQOR_Pro::GetStartupFolder() { return ports_.shell.StartupFolder(); }
bool frmQOR_Pro::CheckStartupScript(const std::string& file) { (void)file; return true; }
void frmQOR_Pro::RemovePermanent() {}

}  // namespace kestrane
