#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/files.h"

namespace kestrane::win32::test {

// A fresh folder under the temporary folder, removed with everything in it (read-only, hidden
// and system entries included) when the test ends.
class TestFolder {
 public:
  TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;
  ~TestFolder();

  const std::wstring& Path() const { return path_; }
  // A path inside the folder, UTF-8 for the ports.
  std::string At(const std::wstring& name) const;
  std::wstring WideAt(const std::wstring& name) const { return path_ + L"\\" + name; }

  void MakeFolder(const std::wstring& name, DWORD attributes = 0) const;
  void MakeFile(const std::wstring& name, const std::string& bytes, DWORD attributes = 0) const;
  // The raw bytes of a file; `exists` tells whether it could be opened at all.
  std::string BytesOf(const std::wstring& name, bool* exists = nullptr) const;
  // The names of the folder's direct entries, sorted.
  std::vector<std::wstring> Entries() const;

 private:
  std::wstring path_;
};

std::wstring Wide(const std::string& utf8);

}  // namespace kestrane::win32::test
