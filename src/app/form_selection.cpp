#include <string>
#include <vector>

#include "app/frm_qor_pro.h"
#include "platform/ascii_text.h"

namespace kestrane {

namespace {

constexpr int kEnterKey = 13;

// The entry a list shows in a row; empty for no row.
std::string EntryAt(const std::vector<std::string>& entries, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return {};
  return entries[static_cast<std::size_t>(index)];
}

}  // namespace

void frmQOR_Pro::DriveListPick(int index) { browser_.PickDrive(index); }
void frmQOR_Pro::FolderListOpen(int row) { browser_.OpenRow(row); }

void frmQOR_Pro::dirList_KeyPress(int keyAscii) {
  if (keyAscii == kEnterKey) browser_.OpenRow(ports_.controls.FolderHighlight());
}

// The right button offers the hidden-folder entry; with Alt held it goes there at once.
void frmQOR_Pro::dirList_MouseDown(int button, int shift) {
  if (button == kRightButton) browser_.EnterHidden(shift != kAltMask);
}

void frmQOR_Pro::lstAvail_Click(int index) {
  selection_.Pick(Selection::List::Avail, EntryAt(probe_.Listed().avail, index));
}
void frmQOR_Pro::lstAvail_DblClick() { cmdOk_Click(); }
void frmQOR_Pro::lstUsedLtrs_Click(int index) {
  selection_.Pick(Selection::List::Used, EntryAt(probe_.Listed().used, index));
}
void frmQOR_Pro::lstUsedLtrs_DblClick() { cmdRemove_Click(); }
void frmQOR_Pro::cmdCancel_Click() { ports_.controls.EndProgram(); }

}  // namespace kestrane
