#include <windows.h>

#include "platform/file_error.h"
#include "win32/platform/error_map.h"
#include "win32/platform/handles.h"
#include "win32/platform/strings.h"
#include "win32/platform/win32_files.h"

namespace kestrane::win32 {

namespace {

constexpr int kBadRecordLength = 59;
constexpr int kBadRecordNumber = 63;

class Win32RecordFile : public RecordFile {
 public:
  Win32RecordFile(FileHandle file, int recordLength)
      : file_(std::move(file)), length_(static_cast<std::size_t>(recordLength)) {}

  Bytes Read(int record) override {
    Seek(record);
    Bytes out(length_, 0);
    std::size_t done = 0;
    while (done < length_) {
      DWORD got = 0;
      if (!ReadFile(file_.Get(), out.data() + done, static_cast<DWORD>(length_ - done), &got,
                    nullptr)) {
        ThrowLastError(GetLastError());
      }
      if (got == 0) break;  // end of file: the rest of the slot stays zero
      done += got;
    }
    return out;
  }

  void Write(int record, const Bytes& bytes) override {
    if (bytes.size() > length_) {
      throw FileError(kBadRecordLength, "Bad record length");
    }
    Seek(record);
    std::size_t done = 0;
    while (done < bytes.size()) {
      DWORD put = 0;
      if (!WriteFile(file_.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                     &put, nullptr)) {
        ThrowLastError(GetLastError());
      }
      done += put;
    }
  }

 private:
  void Seek(int record) {
    if (record < 1) throw FileError(kBadRecordNumber, "Bad record number");
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(record - 1) * static_cast<LONGLONG>(length_);
    if (!SetFilePointerEx(file_.Get(), at, nullptr, FILE_BEGIN)) ThrowLastError(GetLastError());
  }

  FileHandle file_;
  std::size_t length_;
};

}  // namespace

std::unique_ptr<RecordFile> Win32Files::OpenRecords(const std::string& path, int recordLength) {
  if (recordLength < 1) throw FileError(kBadRecordLength, "Bad record length");
  const std::wstring wide = Widen(path);
  constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
  // A read-only file can still be read, as a random-access open without an access clause
  // allows; writing to it then fails with 70. Only a file that is there is opened: a record
  // written to a missing one would make a file of the wrong size.
  const bool readOnly = files_detail::IsReadOnlyFile(wide);
  FileHandle file;
  if (!readOnly) {
    file.Reset(
        files_detail::OpenWaiting(wide, GENERIC_READ | GENERIC_WRITE, kShare, OPEN_EXISTING));
  }
  if (readOnly || (!file && GetLastError() == ERROR_ACCESS_DENIED)) {
    file.Reset(CreateFileW(wide.c_str(), GENERIC_READ, kShare, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  if (!file) files_detail::ThrowFileError(GetLastError(), wide);
  return std::make_unique<Win32RecordFile>(std::move(file), recordLength);
}

}  // namespace kestrane::win32
