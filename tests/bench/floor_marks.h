#pragma once
// The floors' start-up marks, kept as the program keeps its own: the performance counter at each
// stage, written out as the floor ends where the program's bench build writes its own
// (kestrane-startup-marks.txt in the temporary folder), so that the bench sets each floor's
// stages beside the program's.

#include <windows.h>

#include <cstdio>

namespace floor_marks {

struct Mark {
  const char* stage;
  LONGLONG counter;
};
inline Mark marks[8];
inline int markCount = 0;

inline void MarkStage(const char* stage) {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  if (markCount < 8) marks[markCount++] = Mark{stage, now.QuadPart};
}

inline void SaveMarks() {
  wchar_t path[MAX_PATH + 32] = {};
  const DWORD length = GetTempPathW(MAX_PATH, path);
  if (length == 0 || length >= MAX_PATH) return;
  lstrcatW(path, L"kestrane-startup-marks.txt");
  FILE* file = _wfopen(path, L"wb");
  if (file == nullptr) return;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  for (int i = 0; i < markCount; ++i) {
    std::fprintf(
        file, "%s\t%.3f\n", marks[i].stage,
        static_cast<double>(marks[i].counter) * 1000.0 / static_cast<double>(frequency.QuadPart));
  }
  std::fclose(file);
}

// Runs the message loop to the window's end, marking the first moment nothing waits in the
// queue: the controls have painted.
inline int RunLoop() {
  MSG message;
  bool idleSeen = false;
  for (;;) {
    if (!idleSeen && HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0) {
      MarkStage("idle");
      idleSeen = true;
    }
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) break;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  SaveMarks();
  return 0;
}

}  // namespace floor_marks
