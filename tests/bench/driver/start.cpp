// Start to a ready window: the program's title up and both letter lists filled, against a bare
// window program that shows a window and nothing else.

#include <cstdio>

#include "app/control_ids.h"
#include "e2e_support.h"
#include "product.h"

namespace bench {

namespace {

namespace ids = kestrane::ids;

// Ready: the window is visible and answers a sent message with its title (it has reached its
// message loop); for the program, both letter lists hold entries too.
double StartMs(const std::wstring& exe, const wchar_t* windowClass, const wchar_t* title,
               bool needsLists) {
  const double start = NowMs();
  e2e::Program program = e2e::Program::Start(exe);
  HWND window = nullptr;
  const bool ready = Poll(
      [&] {
        window = program.FindVisible(windowClass);
        if (window == nullptr || e2e::TextOf(window) != title) return false;
        if (!needsLists) return true;
        // Counts, not the items: reading 26 entries across processes would add the driver's
        // own round trips to the figure.
        return SendMessageW(e2e::Control(window, ids::lstAvail), LB_GETCOUNT, 0, 0) > 0 &&
               SendMessageW(e2e::Control(window, ids::lstUsedLtrs), LB_GETCOUNT, 0, 0) > 0;
      },
      30000);
  const double elapsed = NowMs() - start;
  if (!ready) throw std::runtime_error("no ready window");
  // Closed the way a user closes it, so the next start meets a bed at rest.
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (!program.WaitForExit()) std::fprintf(stderr, "  (a window did not close; ended)\n");
  return elapsed;
}

}  // namespace

Row MeasureStart(const Paths& paths) {
  std::vector<double> product, floor;
  StartMs(paths.floorWindow, L"KestraneBenchFloor", L"Bench Floor",
          false);  // first starts load the libraries
  StartMs(e2e::InstalledExe(), ids::kMainWindowClass, L"Kestrane - Pro", true);
  for (int run = 0; run < kRuns; ++run) {
    floor.push_back(StartMs(paths.floorWindow, L"KestraneBenchFloor", L"Bench Floor", false));
    product.push_back(StartMs(e2e::InstalledExe(), ids::kMainWindowClass, L"Kestrane - Pro", true));
    std::fprintf(stderr, "  start %d: %.0f ms (floor %.0f ms)\n", run + 1, product.back(),
                 floor.back());
  }
  return {"Start to ready window", Median(product), "bare window program start", Median(floor)};
}

}  // namespace bench
