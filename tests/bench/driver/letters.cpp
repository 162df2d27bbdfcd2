// RefreshLetters measured in-process: the form over the real drive adapter, with controls that
// only keep the lists, so the figure is the probing and nothing of the window's drawing. Its floor
// asks only about the letters that have a drive, as the program does.

#include <map>
#include <stdexcept>

#include "app/frm_qor_pro.h"
#include "bench.h"
#include "ui/ports.h"
#include "win32/platform/win32_drives.h"
#include "win32/platform/win32_files.h"
#include "win32/platform/win32_processes.h"
#include "win32/platform/win32_shell.h"
#include "wine_mount.h"

// The port's method, not the API macro of that name.
#undef MessageBox

namespace bench {

namespace {

using namespace kestrane;

class ListControls : public Controls {
 public:
  void SetListItems(ControlId list, const std::vector<std::string>& items) override {
    lists_[list] = items;
  }
  int ListCount(ControlId list) const {
    auto found = lists_.find(list);
    return found == lists_.end() ? 0 : static_cast<int>(found->second.size());
  }
  void ListSelect(ControlId, int) override {}
  void SetText(ControlId, const std::string&) override {}
  void SetVisible(ControlId, bool) override {}
  void SetFocus(ControlId) override {}
  void ShowAbout(const AboutBox&) override {}
  void SetDriveItems(const std::vector<std::string>&, int) override {}
  void SetFolderRows(const std::vector<FolderRow>&, int) override {}
  int FolderHighlight() const override { return -1; }
  std::string Caption() const override { return {}; }
  void SetCaption(const std::string&) override {}
  void SetMousePointer(MousePointer) override {}
  TwipsRect WindowRect() const override { return {}; }
  void MoveWindow(const TwipsRect&) override {}
  int ScreenWidth() const override { return 15360; }
  int ScreenHeight() const override { return 11520; }
  void FocusWindow() override {}
  void EndProgram() override {}

 private:
  std::map<ControlId, std::vector<std::string>> lists_;
};

// A box during the probes would be a fault of the bed; it is counted, never shown.
class CountingDialogs : public Dialogs {
 public:
  Answer MessageBox(const std::string&, const std::string&, Buttons, Icon) override {
    ++boxes;
    return Answer::Ok;
  }
  std::string InputBox(const std::string&, const std::string&) override { return {}; }
  int boxes = 0;
};

int DefinedDrives() {
  int count = 0;
  for (DWORD mask = GetLogicalDrives(); mask; mask &= mask - 1) ++count;
  return count;
}

// Letters from the top down that are free, given to folders of C:\Bench until `count` drives
// are defined; returns the letters it defined.
std::wstring DefineDrivesUpTo(int count) {
  std::wstring defined;
  CreateDirectoryW(L"C:\\Bench", nullptr);
  for (wchar_t letter = L'Y'; letter >= L'D' && DefinedDrives() < count; --letter) {
    const wchar_t root[] = {letter, L':', L'\\', 0};
    if (GetDriveTypeW(root) != DRIVE_NO_ROOT_DIR) continue;
    const std::wstring folder = std::wstring(L"C:\\Bench\\") + letter;
    CreateDirectoryW(folder.c_str(), nullptr);
    if (wine_mount::DefineDrive(letter, DRIVE_FIXED, folder) == ERROR_SUCCESS) defined += letter;
  }
  return defined;
}

// The least a listing of the letters asks of the system: which letters have a drive, then of each
// such drive its type and whether its volume answers. Letters without a drive need no question.
void ProbeDrivesOnce() {
  for (DWORD mask = GetLogicalDrives(); mask; mask &= mask - 1) {
    const wchar_t letter = static_cast<wchar_t>(L'A' + __builtin_ctz(mask));
    const wchar_t root[] = {letter, L':', L'\\', 0};
    GetDriveTypeW(root);
    DWORD serial = 0;
    GetVolumeInformationW(root, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0);
  }
}

}  // namespace

Row MeasureRefreshLetters(int driveCount) {
  const std::wstring defined = DefineDrivesUpTo(driveCount);
  const int actual = DefinedDrives();

  ListControls controls;
  CountingDialogs dialogs;
  win32::Win32Drives drives;
  win32::Win32Files files;
  win32::Win32Processes processes;
  win32::Win32Shell shell;
  const Ports ports{controls, dialogs, drives, files, processes, shell};
  frmQOR_Pro form(ports);

  // A pass takes tens of milliseconds under Wine (every probe asks the mount manager); a few per
  // sample smooth the timer's steps without making the bench long.
  constexpr int kPasses = 5;
  std::vector<double> product, floor;
  form.RefreshLetters();  // warms the mount manager's and the server's caches
  for (int run = 0; run < kRuns; ++run) {
    double start = NowMs();
    for (int pass = 0; pass < kPasses; ++pass) form.RefreshLetters();
    product.push_back((NowMs() - start) / kPasses);
    start = NowMs();
    for (int pass = 0; pass < kPasses; ++pass) ProbeDrivesOnce();
    floor.push_back((NowMs() - start) / kPasses);
  }
  const int listed = controls.ListCount(ControlId::lstUsedLtrs);
  for (wchar_t letter : defined) wine_mount::RemoveDrive(letter);
  if (dialogs.boxes != 0) throw std::runtime_error("RefreshLetters put up a box");

  Row row;
  row.what = "RefreshLetters, " + std::to_string(actual) + " drives (" + std::to_string(listed) +
             " listed used)";
  row.value = Median(product);
  row.floorName = "GetLogicalDrives; type and volume of each drive";
  row.floor = Median(floor);
  return row;
}

}  // namespace bench
