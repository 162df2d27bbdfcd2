#include "processes.h"

#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "bench.h"

namespace bench {

namespace {

double FileTimeMs(const FILETIME& time) {
  ULARGE_INTEGER value;
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  return static_cast<double>(value.QuadPart) / 10000.0;
}

std::string ReadAll(const std::wstring& path) {
  std::string text;
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (file == nullptr) return text;
  char buffer[4096];
  for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
    text.append(buffer, read);
  }
  std::fclose(file);
  return text;
}

// The Wine prefix of this bed, as the driver's own Linux process has it.
std::string OwnPrefix() {
  const std::string environment = ReadAll(L"Z:\\proc\\self\\environ");
  const std::string key = std::string("WINEPREFIX=");
  for (std::size_t at = 0; at < environment.size();) {
    const std::size_t end = environment.find('\0', at);
    const std::string entry = environment.substr(at, end - at);
    if (entry.rfind(key, 0) == 0) return std::string(1, '\0') + entry + std::string(1, '\0');
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return {};
}

// Wine answers user and kernel times of another process with zeros; Linux keeps them in
// /proc/<pid>/stat, in clock ticks, which the bed sees through Z:. The process is the one with
// the image name in its command line and this bed's prefix in its environment: other beds on the
// machine run their own kestrane.exe.
double ProcCpuMs(const std::wstring& imageName) {
  static const std::string prefix = OwnPrefix();
  if (prefix.empty()) return -1;
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &entry);
  if (search == INVALID_HANDLE_VALUE) return -1;
  double found = -1;
  do {
    if (entry.cFileName[0] < L'0' || entry.cFileName[0] > L'9') continue;
    const std::wstring folder = std::wstring(L"Z:\\proc\\") + entry.cFileName;
    char buffer[4096];
    FILE* file = _wfopen((folder + L"\\cmdline").c_str(), L"rb");
    if (file == nullptr) continue;
    const std::size_t read = std::fread(buffer, 1, sizeof buffer - 1, file);
    std::fclose(file);
    std::wstring commandLine;
    for (std::size_t i = 0; i < read; ++i) commandLine += static_cast<wchar_t>(buffer[i]);
    if (commandLine.find(imageName) == std::wstring::npos) continue;
    const std::string nul(1, '\0');
    if ((nul + ReadAll(folder + L"\\environ") + nul).find(prefix) == std::string::npos) {
      continue;
    }
    file = _wfopen((folder + L"\\stat").c_str(), L"rb");
    if (file == nullptr) continue;
    const std::size_t statRead = std::fread(buffer, 1, sizeof buffer - 1, file);
    std::fclose(file);
    buffer[statRead] = 0;
    // Fields after the parenthesised name: state is field 3, utime 14, stime 15.
    const char* rest = std::strrchr(buffer, ')');
    if (rest == nullptr) continue;
    unsigned long long utime = 0, stime = 0;
    if (std::sscanf(rest + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &utime,
                    &stime) == 2) {
      found = static_cast<double>(utime + stime) * 10.0;  // USER_HZ is 100 on Linux
      break;
    }
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  return found;
}

}  // namespace

CpuReading CpuTimeMs(HANDLE process, const std::wstring& imageName) {
  FILETIME created, ended, kernel, user;
  if (GetProcessTimes(process, &created, &ended, &kernel, &user)) {
    const double total = FileTimeMs(kernel) + FileTimeMs(user);
    if (total > 0) return {total, "GetProcessTimes"};
  }
  return {ProcCpuMs(imageName), "/proc stat (10 ms ticks)"};
}

double PeakWorkingSetMiB(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return -1;
  return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

double FileSizeKiB(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return static_cast<double>((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) |
                             data.nFileSizeLow) /
         1024.0;
}

}  // namespace bench
