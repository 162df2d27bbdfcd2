// Start to a ready window: the program's title up and both letter lists filled, against its window
// made with plain calls and nothing else (the start's floor), against a bare window program that
// shows a window and nothing else, and against the program's own window made with nothing loaded
// into it. Each leaves its start-up marks (the performance counter at each stage, which every
// process reads alike) for the profile rows.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>

#include "app/control_ids.h"
#include "e2e_support.h"
#include "product.h"

namespace bench {

namespace {

namespace ids = kestrane::ids;

constexpr char kReady[] = "ready seen by the bench";
constexpr char kOwnPart[] = "wWinMain to ready, all stages";

// One start: its span from CreateProcess to ready, and the time of each stage since the stage
// before it (the first since CreateProcess; the bench's own "ready" since the frame painted).
struct Start {
  double ms = 0;
  std::vector<std::pair<std::string, double>> stages;
};

// Where the program's bench build and the floors leave their marks as they end.
std::wstring MarksFile() {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + L"kestrane-startup-marks.txt";
}

// The stages from the marks file, each as the span since the one before; empty when the program
// left none.
std::vector<std::pair<std::string, double>> Stages(const std::wstring& file, double started,
                                                   double ready) {
  std::vector<std::pair<std::string, double>> stages;
  std::ifstream in(std::filesystem::path(file), std::ios::binary);
  std::string line;
  double previous = started, painted = -1, entered = -1;
  while (std::getline(in, line)) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    const std::string stage = line.substr(0, tab);
    const double at = std::stod(line.substr(tab + 1));
    stages.emplace_back(stage, at - previous);
    previous = at;
    if (stage == "frame painted") painted = at;
    if (stage == "wWinMain") entered = at;
  }
  if (painted >= 0) stages.emplace_back(kReady, ready - painted);
  // The process's own part, without the system's start of it, which swings most on a busy machine.
  if (entered >= 0) stages.emplace_back(kOwnPart, ready - entered);
  return stages;
}

// Ready: the window is visible and answers a sent message with its title (it has reached its
// message loop); for the program, both letter lists hold entries too.
Start StartOnce(const std::wstring& exe, const wchar_t* windowClass, const wchar_t* title,
                bool needsLists) {
  const std::wstring marks = MarksFile();
  DeleteFileW(marks.c_str());
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
  const double readyAt = NowMs();
  if (!ready) throw std::runtime_error("no ready window");
  // Closed the way a user closes it, so the next start meets a bed at rest; the marks are
  // written as the program ends.
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (!program.WaitForExit()) std::fprintf(stderr, "  (a window did not close; ended)\n");
  return {readyAt - start, Stages(marks, start, readyAt)};
}

// Medians of each stage, in the order the first start that has marks lists them.
std::vector<std::pair<std::string, double>> MedianStages(const std::vector<Start>& starts) {
  std::map<std::string, std::vector<double>> samples;
  std::vector<std::string> order;
  for (const Start& start : starts) {
    for (const auto& [stage, ms] : start.stages) {
      if (samples[stage].empty() && order.size() < 64) order.push_back(stage);
      samples[stage].push_back(ms);
    }
  }
  std::vector<std::pair<std::string, double>> medians;
  for (const std::string& stage : order) medians.emplace_back(stage, Median(samples[stage]));
  return medians;
}

std::string Label(const std::string& stage) {
  if (stage == "wWinMain") return "(start) CreateProcess to wWinMain";
  if (stage == "idle") return "(start) controls painted, first idle";
  return "(start) " + stage;
}

}  // namespace

std::vector<Row> MeasureStart(const Paths& paths) {
  const auto floorStart = [&] {
    return StartOnce(paths.floorWindow, L"KestraneBenchFloor", L"Bench Floor", false);
  };
  const auto productStart = [&] {
    return StartOnce(e2e::InstalledExe(), ids::kMainWindowClass, L"Kestrane - Pro", true);
  };
  // Both built beside the bare window. The program's window with nothing loaded is titled as
  // the window is before the load names it; the plain one as the ready program's.
  const auto beside = [&](const wchar_t* exe) {
    return std::filesystem::path(paths.floorWindow).replace_filename(exe).wstring();
  };
  const std::wstring plainWindow = beside(L"bench_floor_plain.exe");
  const std::wstring windowAlone = beside(L"bench_floor_controls.exe");
  const auto plainStart = [&] {
    return StartOnce(plainWindow, ids::kMainWindowClass, L"Kestrane - Pro", false);
  };
  const auto windowAloneStart = [&] {
    return StartOnce(windowAlone, ids::kMainWindowClass, L"Kestrane", false);
  };
  // First starts load the libraries; they are not counted.
  Measured("Start, first starts", 1, [&] {
    floorStart();
    plainStart();
    windowAloneStart();
    productStart();
  });
  std::vector<Start> product, floor, plain, alone;
  for (int run = 1; run <= kRuns; ++run) {
    Measured("Start", run, [&] {
      const Start f = floorStart(), l = plainStart(), a = windowAloneStart(), p = productStart();
      floor.push_back(f);
      plain.push_back(l);
      alone.push_back(a);
      product.push_back(p);
      std::fprintf(stderr,
                   "  start %d: %.0f ms (plain window %.0f ms, bare window %.0f ms, window alone "
                   "%.0f ms)\n",
                   run, p.ms, l.ms, f.ms, a.ms);
    });
  }
  if (product.empty()) throw std::runtime_error("Start: no valid sample");

  const auto medianMs = [](const std::vector<Start>& starts) {
    std::vector<double> ms;
    for (const Start& s : starts) ms.push_back(s.ms);
    return Median(ms);
  };
  const double productMs = medianMs(product), floorMs = medianMs(floor), plainMs = medianMs(plain),
               aloneMs = medianMs(alone);
  std::vector<Row> rows{
      {"Start to ready window", productMs, "its window in plain calls", plainMs},
      {"(start) its window in plain calls: frame, menu, controls, fonts", plainMs,
       "bare window program start", floorMs},
      {"(start) its window alone: the program's code, nothing loaded", aloneMs,
       "its window in plain calls", plainMs},
      {"(start) the load: start against its window alone", productMs, "its window alone", aloneMs}};
  // The profile: each stage of the program's start, set against the bare window's where it has
  // the same stage.
  std::map<std::string, double> floorStages;
  for (const auto& [stage, ms] : MedianStages(floor)) floorStages[stage] = ms;
  for (const auto& [stage, ms] : MedianStages(product)) {
    Row row{Label(stage), ms, "", -1};
    if (const auto same = floorStages.find(stage); same != floorStages.end()) {
      row.floorName = "bare window: same stage";
      row.floor = same->second;
    }
    rows.push_back(row);
  }
  return rows;
}

}  // namespace bench
