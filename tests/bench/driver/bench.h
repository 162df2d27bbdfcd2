#pragma once

// Shared by the benchmark's parts: timing, medians and the rows of the table.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

namespace bench {

inline constexpr int kRuns = 7;
// Restore with ten mappings runs twenty-two processes a time; fewer runs keep the bench short.
inline constexpr int kRestoreRuns = 5;
// Each run of the posted-message rows holds five commands for eight seconds each.
inline constexpr int kWaitRuns = 3;

// Milliseconds from the performance counter, for spans well below the 20 ms of a poll.
inline double NowMs() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

inline double Median(std::vector<double> samples) {
  if (samples.empty()) return -1;
  std::sort(samples.begin(), samples.end());
  const std::size_t middle = samples.size() / 2;
  return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

// One line of the table: a figure, what bounds it from below, and the unit both are in.
struct Row {
  std::string what;
  double value = -1;  // negative: not measured
  std::string floorName;
  double floor = -1;
  std::string unit = "ms";
  double goal = -1;  // where set, the figure's own target, in `unit`
};

// Polls `ready` every 5 ms until it answers true or `limitMs` passes. Finer polling would take
// the server's time from the program being measured: every window lookup is a server call.
template <typename Ready>
bool Poll(Ready ready, double limitMs) {
  const double end = NowMs() + limitMs;
  while (!ready()) {
    if (NowMs() > end) return false;
    Sleep(5);
  }
  return true;
}

// The lines under the table: each sample that was measured again, and why.
std::vector<std::string>& Remeasured();

// Runs one sample of `measure` until it does its work: a floor or the program that did not
// (another box than "Done!", a mapping left behind, no window) throws, and the sample is measured
// again, up to three times, each time noted for the table. False when it never did its work; it
// is then left out.
template <typename Sample>
bool Measured(const std::string& measure, int sample, Sample run) {
  constexpr int kAgain = 3;
  for (int attempt = 0;; ++attempt) {
    try {
      run();
      return true;
    } catch (const std::exception& e) {
      const char* what = attempt < kAgain ? " measured again: " : " left out: ";
      Remeasured().push_back(measure + ": sample " + std::to_string(sample) + what + e.what());
      std::fprintf(stderr, "  %s\n", Remeasured().back().c_str());
      if (attempt == kAgain) return false;
    }
  }
}

// A measure's samples; a measure with none has no figure, and the run ends with an error.
inline void RequireSamples(const std::string& measure, const std::vector<double>& samples) {
  if (samples.empty()) throw std::runtime_error(measure + ": no valid sample");
}

// The letter listing in this process, with `driveCount` drives defined, and its floor.
Row MeasureLetterListing(int driveCount);

// The start's question to each drive on a worker of its own, as the program asks it, against the
// same questions asked inline: what the workers cost each listing.
Row MeasureProbeWorkers();

}  // namespace bench
