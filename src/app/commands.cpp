#include "app/control_ids.h"
#include "app/frm_qor_pro.h"

namespace kestrane {

bool frmQOR_Pro::Command(int id) {
  switch (id) {
    case ids::cmdOk: cmdOk_Click(); return true;
    case ids::cmdDefault: cmdDefault_Click(); return true;
    case ids::cmdCancel: cmdCancel_Click(); return true;
    case ids::cmdRemove: cmdRemove_Click(); return true;
    case ids::MnuHelpIntro: MnuHelpIntro_Click(); return true;
    case ids::mnuHelpCreate: mnuHelpCreate_Click(); return true;
    case ids::mnuHelpCD: mnuHelpCD_Click(); return true;
    case ids::mnuHelpKB: mnuHelpKB_Click(); return true;
    case ids::mnuHelpPerm: mnuHelpPerm_Click(); return true;
    case ids::mnuHelpRemove: mnuHelpRemove_Click(); return true;
    case ids::mnuHelpMisc: mnuHelpMisc_Click(); return true;
    case ids::mnuHelpSupport: mnuHelpSupport_Click(); return true;
    case ids::mnuHelpOrder: mnuHelpOrder_Click(); return true;
    case ids::mnuHelpLicense: mnuHelpLicense_Click(); return true;
    case ids::mnuAbout: mnuAbout_Click(); return true;
    case ids::mnuRepair: mnuRepair_Click(); return true;
    case ids::mnuChk4Upgrade: mnuChk4Upgrade_Click(); return true;
    case ids::mnuView: mnuView_Click(); return true;
    default: return false;
  }
}

}  // namespace kestrane
