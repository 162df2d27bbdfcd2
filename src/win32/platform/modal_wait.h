#pragma once
#include <windows.h>

#include <cstddef>

namespace kestrane::win32 {

// How a modal wait came to its end.
enum class WaitEnd { Signalled, Abandoned, TimedOut, Failed };

// Waits at most limitMs for the objects (processes, a mutex, events), each in turn, the way a
// message box waits for its answer: the thread's windows are disabled, the close box greyed and
// the hourglass shown over them, and a message loop runs meanwhile, so they paint, move and
// answer posted and sent messages. Clicks and keys cannot reach a disabled window, so none is
// left to run once the wait is over. Waits nest; the outermost one gives the windows back.
WaitEnd ModalWait(const HANDLE* objects, std::size_t count, DWORD limitMs);
inline WaitEnd ModalWait(HANDLE object, DWORD limitMs) { return ModalWait(&object, 1, limitMs); }
// Lets limitMs pass the same way, between two tries at something another program holds.
void ModalPause(DWORD limitMs);
// Whether this thread is inside a modal wait: a command that arrives now is one started inside
// another, and is dropped.
bool InModalWait() noexcept;

}  // namespace kestrane::win32
