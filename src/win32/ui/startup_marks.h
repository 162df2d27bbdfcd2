#pragma once

// Where start-up spends its time: the performance counter at each stage, kept in memory and
// written out at the end only where the environment variable KESTRANE_STARTUP_MARKS names a file
// (the benchmark reads it). The counter is the system's, so another process can set the marks
// against the moment it started this one.

namespace kestrane::win32 {

// Records that start-up has reached `stage` (a string literal). Marks after the first idle
// moment of the message loop are ignored: a later window (the About box) is no part of the start.
void MarkStartup(const char* stage) noexcept;
// The message loop found nothing more to do for the first time: the window and its controls
// have painted. The last mark.
void MarkStartupIdle() noexcept;
// Writes "stage<TAB>milliseconds" lines to the file KESTRANE_STARTUP_MARKS names, if it names
// one.
void SaveStartupMarks() noexcept;

}  // namespace kestrane::win32
