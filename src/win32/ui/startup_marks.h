#pragma once

// Where start-up spends its time, for the benchmark: the performance counter at each stage, kept
// in memory and written out as the program ends. Only the bench's build (KESTRANE_MEASURED) has
// them; in every other build each call is empty and nothing is written. The counter is the
// system's, so another process can set the marks against the moment it started this one.

namespace kestrane::win32 {

#ifdef KESTRANE_MEASURED

// Records that start-up has reached `stage` (a string literal). Marks after the first idle
// moment of the message loop are ignored: a later window (the About box) is no part of the start.
void MarkStartup(const char* stage) noexcept;
// The message loop found nothing more to do for the first time: the window and its controls
// have painted. The last mark.
void MarkStartupIdle() noexcept;
// Writes "stage<TAB>milliseconds" lines to kestrane-startup-marks.txt in the temporary folder,
// where the bench reads them.
void SaveStartupMarks() noexcept;

#else

inline void MarkStartup(const char*) noexcept {}
inline void MarkStartupIdle() noexcept {}
inline void SaveStartupMarks() noexcept {}

#endif

}  // namespace kestrane::win32
