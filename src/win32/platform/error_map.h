#pragma once
#include <windows.h>

#include <string>

namespace kestrane::win32 {

// The classic number the handlers' policies know for a Win32 error code.
int ClassicNumber(DWORD win32Error);

// The system's own text for a Win32 error code, without the trailing line break.
std::string SystemMessage(DWORD win32Error);

// Throws FileError with the classic number and a description naming the Windows error as well.
[[noreturn]] void ThrowLastError(DWORD win32Error);

}  // namespace kestrane::win32
