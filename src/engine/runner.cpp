#include "app/frm_qor_pro.h"

namespace kestrane {

// Built with the substitution runner.
void frmQOR_Pro::RunSubst() {}
bool frmQOR_Pro::IsNetworkTarget() { return false; }
void frmQOR_Pro::Pause(double seconds) { (void)seconds; }

}  // namespace kestrane
