#include <windows.h>

#include "platform/file_error.h"
#include "platform/text_lines.h"
#include "win32/platform/error_map.h"
#include "win32/platform/handles.h"
#include "win32/platform/strings.h"
#include "win32/platform/win32_files.h"

namespace kestrane::win32 {

namespace {

// What the command interpreter would make of a line it cannot read back is worse than no line:
// a batch file naming a folder with a '?' in it. So a text that does not fit is refused.
std::string ToOem(const std::string& utf8) {
  const std::wstring wide = Widen(utf8);
  if (wide.empty()) return {};
  BOOL lossy = FALSE;
  const int n = WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(),
                                    static_cast<int>(wide.size()), nullptr, 0, nullptr, &lossy);
  if (n <= 0 || lossy) {
    throw FileError(err::kBadFileName,
                    "The text cannot be written in the command interpreter's code page: " + utf8);
  }
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                      out.data(), n, nullptr, nullptr);
  return out;
}

void WriteAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD put = 0;
    if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &put,
                   nullptr)) {
      ThrowLastError(GetLastError());
    }
    done += put;
  }
}

std::string ReadAll(HANDLE file) {
  std::string bytes;
  char buffer[4096];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) ThrowLastError(GetLastError());
    if (got == 0) return bytes;
    bytes.append(buffer, got);
  }
}

// The folder a file lives in, for a scratch file beside it.
std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) {
    return path.size() >= 2 && path[1] == L':' ? path.substr(0, 2) : L".";
  }
  if (slash == 0 || (slash == 2 && path[1] == L':')) return path.substr(0, slash + 1);
  return path.substr(0, slash);
}

// Removes the scratch file unless it was handed over to the target.
class ScratchFile {
 public:
  explicit ScratchFile(std::wstring path) : path_(std::move(path)) {}
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  ~ScratchFile() {
    if (!path_.empty()) DeleteFileW(path_.c_str());
  }
  const std::wstring& Path() const { return path_; }
  void Keep() { path_.clear(); }

 private:
  std::wstring path_;
};

// Writes the bytes to a scratch file beside the target, then puts it in the target's place in
// one step.
void ReplaceBytes(const std::wstring& target, const std::string& bytes) {
  const std::wstring folder = FolderOf(target);
  wchar_t scratchName[MAX_PATH];
  if (!GetTempFileNameW(folder.c_str(), L"kst", 0, scratchName)) {
    const DWORD error = GetLastError();
    ThrowLastError(error == ERROR_DIRECTORY ? ERROR_PATH_NOT_FOUND : error);
  }
  ScratchFile scratch(scratchName);
  {
    FileHandle file(CreateFileW(scratch.Path().c_str(), GENERIC_WRITE, 0, nullptr,
                                TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowLastError(GetLastError());
    WriteAll(file.Get(), bytes);
    // The old content goes only once the new one is on the disk.
    if (!FlushFileBuffers(file.Get())) ThrowLastError(GetLastError());
  }
  // A hidden or system batch file stays so after the rewrite.
  const DWORD old = GetFileAttributesW(target.c_str());
  if (old != INVALID_FILE_ATTRIBUTES && !(old & FILE_ATTRIBUTE_DIRECTORY)) {
    const DWORD keep = old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    if (keep) SetFileAttributesW(scratch.Path().c_str(), keep);
  }
  int waited = 0;
  while (!MoveFileExW(scratch.Path().c_str(), target.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    if (files_detail::WaitedOutClash(error, waited)) continue;
    // Clear a copied hidden or system attribute so the scratch file can be deleted.
    SetFileAttributesW(scratch.Path().c_str(), FILE_ATTRIBUTE_NORMAL);
    files_detail::ThrowFileError(error, target);
  }
  scratch.Keep();
}

}  // namespace

bool Win32Files::CanEncode(const std::string& text) {
  const std::wstring wide = Widen(text);
  if (wide.empty()) return true;
  BOOL lossy = FALSE;
  const int n = WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(),
                                    static_cast<int>(wide.size()), nullptr, 0, nullptr, &lossy);
  return n > 0 && !lossy;
}

std::string Win32Files::ShortPath(const std::string& path) {
  const std::wstring wide = Widen(path);
  std::wstring shortPath(MAX_PATH, L'\0');
  DWORD n = GetShortPathNameW(wide.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
  if (n > shortPath.size()) {
    shortPath.resize(n);
    n = GetShortPathNameW(wide.c_str(), shortPath.data(), n);
  }
  if (n == 0 || n > shortPath.size()) return {};
  shortPath.resize(n);
  return Narrow(shortPath);
}

std::vector<std::string> Win32Files::ReadLines(const std::string& path) {
  const std::wstring wide = Widen(path);
  FileHandle file(files_detail::OpenWaiting(wide, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            OPEN_EXISTING));
  if (!file) files_detail::ThrowFileError(GetLastError(), wide);
  return SplitLines(FromOem(ReadAll(file.Get())));
}

// The new text is written beside the file and then put in its place in one step, so that a crash
// or a full disk leaves the old file or the new one, never part of a line that would run at
// logon.
void Win32Files::AppendLine(const std::string& path, const std::string& line) {
  const std::wstring wide = Widen(path);
  if (files_detail::IsReadOnlyFile(wide)) ThrowLastError(ERROR_ACCESS_DENIED);
  std::string bytes;
  FileHandle file(files_detail::OpenWaiting(wide, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            OPEN_EXISTING));
  if (file) {
    bytes = ReadAll(file.Get());
    file.Reset();
  } else if (const DWORD error = GetLastError(); error != ERROR_FILE_NOT_FOUND) {
    files_detail::ThrowFileError(error, wide);
  }
  // A file edited by hand may lack its final line end; without one the new line would be glued
  // onto the last line and both would be lost to the command interpreter.
  if (!bytes.empty() && bytes.back() != '\n') bytes += "\r\n";
  ReplaceBytes(wide, bytes + ToOem(line) + "\r\n");
}

void Win32Files::ReplaceLines(const std::string& path, const std::vector<std::string>& lines) {
  const std::string bytes = ToOem(JoinLines(lines));
  const std::wstring target = Widen(path);
  if (files_detail::IsReadOnlyFile(target)) ThrowLastError(ERROR_ACCESS_DENIED);
  ReplaceBytes(target, bytes);
}

}  // namespace kestrane::win32
