#pragma once

// The program's own figures, driven through its windows as a user drives them.

#include <vector>

#include "bench.h"

namespace bench {

struct Paths {
  std::wstring floorWindow;  // the bare window program
  std::wstring installer;
  std::wstring markdown;  // where the table goes as well
};

// Start to the ready window, against the bare window program's start, then the profile of the
// program's start: a row for each stage, against the bare window's where it has that stage.
std::vector<Row> MeasureStart(const Paths& paths);

// Add, Remove, View and Restore in one running program; also its CPU while it waits and its
// peak working set, as extra rows.
std::vector<Row> MeasureOperations();

// The longest a posted message waits for the window: at the start, during Add, Remove, Make
// Permanent, View and Restore with an eight-second subst, and with a stalled network drive (where
// the bed has the share that stalls); against the program's window in plain calls, idle. With
// `startOnly`, the start alone.
std::vector<Row> MeasureWaits(const Paths& paths, bool startOnly);

// `rounds` of Add and Remove in one running program, among other drive changes and a slow
// window; prints each box that is not "Done!" and the working set. 0 when the program's window
// lasted to the end.
int RunSoak(int rounds);

}  // namespace bench
