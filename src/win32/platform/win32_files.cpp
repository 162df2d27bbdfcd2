#include "win32/platform/win32_files.h"

#include <algorithm>
#include <atomic>
#include <cwctype>
#include <exception>

#include "platform/drives.h"
#include "platform/file_error.h"
#include "platform/paths.h"
#include "win32/platform/error_map.h"
#include "win32/platform/handles.h"
#include "win32/platform/modal_wait.h"
#include "win32/platform/strings.h"
#include "win32/platform/worker.h"

namespace kestrane::win32 {

namespace files_detail {

void ThrowFileError(DWORD win32Error, const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    throw FileError(err::kPathFileAccess,
                    ErrorDescription(err::kPathFileAccess) + " (a folder has that name)");
  }
  ThrowLastError(win32Error);
}

bool WaitedOutClash(DWORD error, int& waitedMs) {
  constexpr int kClashWaitMs = 2000;
  constexpr int kStepMs = 50;
  if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) return false;
  if (waitedMs >= kClashWaitMs) return false;
  ModalPause(kStepMs);
  waitedMs += kStepMs;
  return true;
}

HANDLE OpenWaiting(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
  int waited = 0;
  for (;;) {
    HANDLE file = CreateFileW(path.c_str(), access, share, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    const DWORD error = GetLastError();
    if (!WaitedOutClash(error, waited)) {
      SetLastError(error);
      return file;
    }
  }
}

bool IsReadOnlyFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         (attributes & FILE_ATTRIBUTE_READONLY);
}

}  // namespace files_detail

namespace {

// A full path as Windows must take it to reach that very entry: behind \\?\ no name loses
// its trailing spaces or dots to another entry's, and the classic length limit does not apply.
// A path that relies on Windows' reading ("..", forward slashes, no drive) is passed as it is.
std::wstring Verbatim(const std::string& path) {
  const std::string normal = NormalPath(path);
  if (normal.empty() || normal.size() != path.size() ||
      !std::equal(normal.begin() + 1, normal.end(), path.begin() + 1)) {
    return Widen(path);
  }
  return L"\\\\?\\" + Widen(normal);
}

DWORD AttributesOf(const std::string& path) {
  if (path.empty()) return INVALID_FILE_ATTRIBUTES;
  return GetFileAttributesW(Verbatim(path).c_str());
}

// "C:", "C:\" and "\\server\share\" are drive roots, which report themselves hidden on some file
// systems but are never hidden from the user.
bool IsRoot(const std::wstring& path) {
  std::wstring p = path;
  while (p.size() > 2 && (p.back() == L'\\' || p.back() == L'/')) p.pop_back();
  if (p.size() == 2 && p[1] == L':') return true;
  if (p.size() > 2 && (p[0] == L'\\' || p[0] == L'/') && (p[1] == L'\\' || p[1] == L'/')) {
    return std::count_if(p.begin() + 2, p.end(),
                         [](wchar_t c) { return c == L'\\' || c == L'/'; }) == 1;
  }
  return false;
}

bool SortsBefore(const std::wstring& a, const std::wstring& b) {
  const int order =
      CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                     b.c_str(), static_cast<int>(b.size()));
  if (order != CSTR_EQUAL) return order == CSTR_LESS_THAN;
  return a < b;  // names equal but for case still need a fixed order
}

// `progress` counts the entries read so far, for a caller that waits on another thread.
std::vector<std::string> ListSubFolders(const std::string& path,
                                        std::atomic<std::size_t>* progress = nullptr) {
  std::wstring pattern = Verbatim(path);
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW data;
  FindHandle find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data,
                                   FindExSearchLimitToDirectories, nullptr, 0));
  if (!find) {
    const DWORD error = GetLastError();
    // An empty drive root has not even "." to list.
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) return {};
    ThrowLastError(error);
  }
  std::vector<std::wstring> names;
  do {
    const std::wstring name = data.cFileName;
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;  // the limit is a hint only
    if (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
    if (name == L"." || name == L"..") continue;
    names.push_back(name);
    if (progress != nullptr) progress->store(names.size(), std::memory_order_relaxed);
  } while (FindNextFileW(find.Get(), &data));
  const DWORD error = GetLastError();
  if (error != ERROR_NO_MORE_FILES) ThrowLastError(error);
  std::sort(names.begin(), names.end(), SortsBefore);
  std::vector<std::string> out;
  out.reserve(names.size());
  for (const auto& n : names) out.push_back(Narrow(n));
  return out;
}

}  // namespace

bool Win32Files::FileExists(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::uint64_t Win32Files::FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty() || !GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    Fail(err::kFileNotFound);
  }
  return static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

bool Win32Files::DirectoryExists(const std::string& path, bool includeHidden) {
  const DWORD attributes = AttributesOf(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  if (includeHidden || !(attributes & FILE_ATTRIBUTE_HIDDEN)) return true;
  return IsRoot(Widen(path));
}

struct Win32Files::Listing {
  KernelHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::string path;
  // Written by the worker before `done` is set, read only after.
  std::vector<std::string> names;
  std::exception_ptr failure;
  std::atomic<std::size_t> progress{0};
};

std::vector<std::string> Win32Files::SubFolders(const std::string& path) {
  std::shared_ptr<Listing> listing;
  if (unanswered_ && unanswered_->path == path) {
    listing = unanswered_;  // asked again while it is still out: no second worker stuck on it
  } else {
    listing = std::make_shared<Listing>();
    listing->path = path;
    if (!listing->done) return ListSubFolders(path);
    const bool running = StartWorker([listing] {
      try {
        listing->names = ListSubFolders(listing->path, &listing->progress);
      } catch (...) {
        listing->failure = std::current_exception();
      }
      SetEvent(listing->done.Get());
    });
    if (!running) return ListSubFolders(path);  // no thread to spare: listed here, as before
  }
  // The limit is for an answer, not for the whole of a big folder: while its names keep
  // coming, the window waits on, still answering.
  for (std::size_t seen = 0;;) {
    if (ModalWait(listing->done.Get(), kDriveAnswerMs) == WaitEnd::Signalled) break;
    const std::size_t now = listing->progress.load(std::memory_order_relaxed);
    if (now == seen) {
      unanswered_ = listing;
      throw NoAnswer(path);
    }
    seen = now;
  }
  if (unanswered_ == listing) unanswered_.reset();
  if (listing->failure) std::rethrow_exception(listing->failure);
  return std::move(listing->names);
}

std::string Win32Files::CurrentDirectory() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (n == 0) ThrowLastError(GetLastError());
    if (n < buffer.size()) {
      buffer.resize(n);
      return Narrow(buffer);
    }
    buffer.resize(n);  // n is the size needed, terminator included
  }
}

void Win32Files::Delete(const std::string& path) {
  const std::wstring wide = Widen(path);
  if (files_detail::IsReadOnlyFile(wide)) ThrowLastError(ERROR_ACCESS_DENIED);
  int waited = 0;
  while (!DeleteFileW(wide.c_str())) {
    const DWORD error = GetLastError();
    if (!files_detail::WaitedOutClash(error, waited)) files_detail::ThrowFileError(error, wide);
  }
}

namespace {

// A named mutex of the user's session: every copy of the program that names the same files
// meets at the same one.
class MutexLease : public FileLease {
 public:
  explicit MutexLease(HANDLE mutex) : mutex_(mutex) {}
  ~MutexLease() override { ReleaseMutex(mutex_.Get()); }

 private:
  KernelHandle mutex_;
};

std::wstring LeaseName(const std::string& path) {
  std::wstring name = L"Local\\Kestrane.lease.";
  for (wchar_t ch : Widen(path)) {
    // A backslash would name a namespace; case does not tell two paths apart on Windows.
    name += ch == L'\\' ? L'/' : static_cast<wchar_t>(towlower(ch));
  }
  return name;
}

}  // namespace

std::unique_ptr<FileLease> Win32Files::Lease(const std::string& path, int waitMs) {
  KernelHandle mutex(CreateMutexW(nullptr, FALSE, LeaseName(path).c_str()));
  if (!mutex) ThrowLastError(GetLastError());
  // The other copy may hold it for seconds; the window waits as under a box meanwhile.
  switch (ModalWait(mutex.Get(), waitMs < 0 ? 0 : static_cast<DWORD>(waitMs))) {
    // An abandoned lease was held by a copy that ended while it held it. Each file is whole (the
    // batch file is replaced in one step, the data file's record rewritten in place by one write
    // call), but the copy may have ended between the two, leaving a letter's line without its bit
    // or its bit without its line. The lease is taken all the same: a letter counts as permanent
    // by either, so Remove still asks about it and forgets both.
    case WaitEnd::Signalled:
    case WaitEnd::Abandoned: return std::make_unique<MutexLease>(mutex.Release());
    case WaitEnd::TimedOut:
      throw FileError(err::kFileInUse, ErrorDescription(err::kFileInUse) +
                                           " (another copy of the program is changing " + path +
                                           ")");
    case WaitEnd::Failed: break;
  }
  ThrowLastError(GetLastError());
}

}  // namespace kestrane::win32
