#include "win32/platform/worker.h"

#include <windows.h>

#include <memory>

namespace kestrane::win32 {

namespace {

DWORD WINAPI RunWork(void* parameter) {
  const std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
  try {
    (*work)();
  } catch (...) {
    // A worker's failure is its caller's to notice, by the answer that never comes.
  }
  return 0;
}

}  // namespace

bool StartWorker(std::function<void()> work) {
  auto owned = std::make_unique<std::function<void()>>(std::move(work));
  const HANDLE thread = CreateThread(nullptr, 0, &RunWork, owned.get(), 0, nullptr);
  if (thread == nullptr) return false;
  owned.release();  // the thread's now
  CloseHandle(thread);
  return true;
}

}  // namespace kestrane::win32
