#pragma once
#include <functional>

namespace kestrane::win32 {

// Runs `work` on a thread of its own that nobody joins: it ends when the work does, and owns what
// the work holds. False, with nothing started, when the system has no thread to spare.
//
// Not std::thread(...).detach(): with this toolchain's threads library, a thread detached at
// once could start without its work (a null state read in the thread's first instruction), which
// ended the program at a start now and then.
bool StartWorker(std::function<void()> work);

}  // namespace kestrane::win32
