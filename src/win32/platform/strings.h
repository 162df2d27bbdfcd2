#pragma once
#include <string>

namespace kestrane::win32 {

// UTF-8 inside the core, UTF-16 at the Win32 call.
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);
// Text in the command interpreter's code page (batch files, command output), as UTF-8.
std::string FromOem(const std::string& oem);

}  // namespace kestrane::win32
