#include "win32/ui/arrivals.h"

#include "win32/platform/strings.h"

namespace kestrane::win32 {

std::vector<std::string> ProgramArguments() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  if (argv == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Narrow(argv[i]));
  LocalFree(argv);
  return arguments;
}

std::vector<std::string> TakeDroppedPaths(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
    paths.push_back(Narrow(path));
  }
  DragFinish(drop);
  return paths;
}

}  // namespace kestrane::win32
