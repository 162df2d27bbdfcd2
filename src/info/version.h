#pragma once

// The program's version and names, kept here alone: the code, the version resource (kestrane.rc,
// which sees only the macros) and the installer (read by CMake) all take them from this file.
#define KESTRANE_VERSION_MAJOR 3
#define KESTRANE_VERSION_MINOR 0
#define KESTRANE_VERSION_REVISION 1
// The file-version record's text: minor in two digits, revision in four.
#define KESTRANE_FILE_VERSION_TEXT "3.00.0001"
#define KESTRANE_PRODUCT_VERSION_TEXT "3.0.1"
#define KESTRANE_TITLE "Kestrane"

#ifndef RC_INVOKED
#include <string>

namespace kestrane::app {

inline constexpr int kMajor = KESTRANE_VERSION_MAJOR;
inline constexpr int kMinor = KESTRANE_VERSION_MINOR;
inline constexpr int kRevision = KESTRANE_VERSION_REVISION;
inline constexpr char kTitle[] = KESTRANE_TITLE;
inline constexpr wchar_t kWideTitle[] = L"" KESTRANE_TITLE;  // for the boxes of the window layer
inline constexpr char kHelpFile[] = "qor.chm";

// "3.0.1": each number in plain decimal.
inline std::string VersionText() {
  return std::to_string(kMajor) + "." + std::to_string(kMinor) + "." + std::to_string(kRevision);
}

namespace detail {
constexpr bool SameText(const char* a, const char* b) {
  for (; *a != '\0' && *a == *b; ++a, ++b) {
  }
  return *a == *b;
}
// The resource's texts are spelled out for windres; make sure they follow the numbers.
constexpr char Digit(int value, int place) {
  for (; place > 1; --place) value /= 10;
  return static_cast<char>('0' + value % 10);
}
constexpr char kFileText[] = {Digit(kMajor, 1),
                              '.',
                              Digit(kMinor, 2),
                              Digit(kMinor, 1),
                              '.',
                              Digit(kRevision, 4),
                              Digit(kRevision, 3),
                              Digit(kRevision, 2),
                              Digit(kRevision, 1),
                              '\0'};
static_assert(kMajor < 10 && kMinor < 100 && kRevision < 10000);
static_assert(SameText(kFileText, KESTRANE_FILE_VERSION_TEXT));
}  // namespace detail

}  // namespace kestrane::app
#endif
