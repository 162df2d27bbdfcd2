#include "win32/ui/startup_marks.h"

#ifdef KESTRANE_MEASURED

#include <cstdio>
#include <string>

#include "win32/platform/handles.h"
#include "win32/ui/windows_api.h"

namespace kestrane::win32 {

namespace {

struct Mark {
  const char* stage;
  LONGLONG counter;
};

constexpr int kMostMarks = 24;
Mark marks[kMostMarks];
int markCount = 0;
bool finished = false;

}  // namespace

void MarkStartup(const char* stage) noexcept {
  if (finished || markCount == kMostMarks) return;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  marks[markCount++] = Mark{stage, now.QuadPart};
}

void MarkStartupIdle() noexcept {
  if (finished) return;
  MarkStartup("idle");
  finished = true;
}

void SaveStartupMarks() noexcept {
  wchar_t folder[MAX_PATH] = {};
  const DWORD length = GetTempPathW(MAX_PATH, folder);
  if (length == 0 || length >= MAX_PATH || markCount == 0) return;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  try {
    std::string text;
    for (int i = 0; i < markCount; ++i) {
      char line[96];
      std::snprintf(
          line, sizeof line, "%s\t%.3f\n", marks[i].stage,
          static_cast<double>(marks[i].counter) * 1000.0 / static_cast<double>(frequency.QuadPart));
      text += line;
    }
    const std::wstring path = std::wstring(folder) + L"kestrane-startup-marks.txt";
    const FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    DWORD written = 0;
    WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  } catch (...) {
    // Marks are for measuring; a program that cannot save them runs on all the same.
  }
}

}  // namespace kestrane::win32

#endif  // KESTRANE_MEASURED
