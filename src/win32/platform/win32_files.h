#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "platform/files.h"

namespace kestrane::win32 {

// The file layer over the Win32 file API. Paths arrive as UTF-8; text files are kept in the OEM
// code page, which is what the command interpreter reads batch files and writes output in.
class Win32Files : public Files {
 public:
  bool FileExists(const std::string& path) override;
  std::uint64_t FileSize(const std::string& path) override;
  bool DirectoryExists(const std::string& path, bool includeHidden) override;
  std::vector<std::string> SubFolders(const std::string& path) override;
  std::string CurrentDirectory() override;
  std::unique_ptr<RecordFile> OpenRecords(const std::string& path, int recordLength) override;
  bool CanEncode(const std::string& text) override;
  std::string ShortPath(const std::string& path) override;
  std::vector<std::string> ReadLines(const std::string& path) override;
  void AppendLine(const std::string& path, const std::string& line) override;
  void ReplaceLines(const std::string& path, const std::vector<std::string>& lines) override;
  void Delete(const std::string& path) override;
  std::unique_ptr<FileLease> Lease(const std::string& path, int waitMs) override;

  // One folder's listing, on a worker of its own: a folder on a drive that does not answer
  // must not hold the window.
  struct Listing;

 private:
  std::shared_ptr<Listing> unanswered_;  // a listing still out after its limit
};

// Shared by the record and text parts of the file layer.
namespace files_detail {
// Throws the mapped error, or 75 when the failure came from a folder standing where a file should.
[[noreturn]] void ThrowFileError(DWORD win32Error, const std::wstring& path);
// Whether the file carries the read-only attribute. Checked before writing rather than left to
// the open, which an administrator's account on some file systems lets through.
bool IsReadOnlyFile(const std::wstring& path);
// Another program holding the file open is a passing clash: true after a short pause, while the
// clash has lasted less than two seconds, so that the caller tries again.
bool WaitedOutClash(DWORD error, int& waitedMs);
// CreateFileW, tried again while another program holds the file; INVALID_HANDLE_VALUE with the
// last error set when it fails.
HANDLE OpenWaiting(const std::wstring& path, DWORD access, DWORD share, DWORD disposition);
}  // namespace files_detail

}  // namespace kestrane::win32
