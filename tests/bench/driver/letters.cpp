// The letter listing measured in-process: the probe over the real drive adapter, so the figure is
// the probing and nothing of the window's drawing. Its floor asks only about the letters that have
// a drive, as the program does.

#include <stdexcept>

#include "bench.h"
#include "drives/letter_probe.h"
#include "win32/platform/win32_drives.h"
#include "wine_mount.h"

namespace bench {

namespace {

using namespace kestrane;

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

Row MeasureLetterListing(int driveCount) {
  const std::wstring defined = DefineDrivesUpTo(driveCount);
  const int actual = DefinedDrives();

  win32::Win32Drives drives;
  LetterProbe probe(drives);

  // A pass takes tens of milliseconds under Wine (every probe asks the mount manager); a few per
  // sample smooth the timer's steps without making the bench long.
  constexpr int kPasses = 5;
  std::vector<double> product, floor;
  // The first listing warms the mount manager's and the server's caches.
  LetterLists lists = probe.List(OsFamily::Nt);
  for (int run = 0; run < kRuns; ++run) {
    double start = NowMs();
    for (int pass = 0; pass < kPasses; ++pass) lists = probe.List(OsFamily::Nt);
    product.push_back((NowMs() - start) / kPasses);
    start = NowMs();
    for (int pass = 0; pass < kPasses; ++pass) ProbeDrivesOnce();
    floor.push_back((NowMs() - start) / kPasses);
  }
  const auto listed = lists.used.size();
  for (wchar_t letter : defined) wine_mount::RemoveDrive(letter);
  // A failure during the probes would be a fault of the bed.
  if (!lists.failures.empty()) throw std::runtime_error("the listing met a failing drive");

  Row row;
  row.what = "Letter listing, " + std::to_string(actual) + " drives (" + std::to_string(listed) +
             " listed used)";
  row.value = Median(product);
  row.floorName = "GetLogicalDrives; type and volume of each drive";
  row.floor = Median(floor);
  return row;
}

Row MeasureProbeWorkers() {
  win32::Win32Drives drives;
  const std::vector<char> letters = drives.Letters();
  constexpr int kPasses = 5;
  std::vector<double> product, floor;
  drives.Probe(letters, kDriveAnswerMs);  // the first threads of this kind, not counted
  for (int run = 0; run < kRuns; ++run) {
    double start = NowMs();
    for (int pass = 0; pass < kPasses; ++pass) drives.Probe(letters, kDriveAnswerMs);
    product.push_back((NowMs() - start) / kPasses);
    // The worker's own questions, one drive after the other on this thread.
    start = NowMs();
    for (int pass = 0; pass < kPasses; ++pass) {
      for (const char letter : letters) {
        try {
          drives.Type(letter);
          drives.SerialNumber(letter);
        } catch (const std::exception&) {
          // a drive without a medium answers with an error, as on the worker
        }
        drives.Label(letter);
      }
    }
    floor.push_back((NowMs() - start) / kPasses);
  }
  Row row;
  row.what = "Drive probes on workers, the bed's " + std::to_string(letters.size()) +
             " drives (the start asks twice)";
  row.value = Median(product) * 1000;
  row.floorName = "the same questions inline";
  row.floor = Median(floor) * 1000;
  row.unit = "us";
  return row;
}

}  // namespace bench
