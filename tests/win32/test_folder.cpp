#include "test_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "win32/platform/handles.h"
#include "win32/platform/strings.h"

namespace kestrane::win32::test {

namespace {

void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  FindHandle find(FindFirstFileW((path + L"\\*").c_str(), &data));
  if (find) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = path + L"\\" + name;
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        DeleteFileW(full.c_str());
      }
    } while (FindNextFileW(find.Get(), &data));
  }
  find.Reset();
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(path.c_str());
}

}  // namespace

std::wstring Wide(const std::string& utf8) { return Widen(utf8); }

TestFolder::TestFolder() {
  wchar_t temp[MAX_PATH];
  const DWORD n = GetTempPathW(MAX_PATH, temp);
  if (n == 0 || n >= MAX_PATH) throw std::runtime_error("no temporary folder");
  std::wstring base(temp, n);
  if (base.back() == L'\\') base.pop_back();
  for (unsigned i = 0;; ++i) {
    path_ = base + L"\\kst_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(GetTickCount64()) + L"_" + std::to_wstring(i);
    if (CreateDirectoryW(path_.c_str(), nullptr)) return;
    if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot make test folder");
  }
}

TestFolder::~TestFolder() { RemoveTree(path_); }

std::string TestFolder::At(const std::wstring& name) const { return Narrow(WideAt(name)); }

void TestFolder::MakeFolder(const std::wstring& name, DWORD attributes) const {
  const std::wstring full = WideAt(name);
  ASSERT_TRUE(CreateDirectoryW(full.c_str(), nullptr)) << GetLastError();
  if (attributes) {
    ASSERT_TRUE(SetFileAttributesW(full.c_str(), attributes));
  }
}

void TestFolder::MakeFile(const std::wstring& name, const std::string& bytes,
                          DWORD attributes) const {
  const std::wstring full = WideAt(name);
  FileHandle file(CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(file) << GetLastError();
  DWORD put = 0;
  ASSERT_TRUE(WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr));
  ASSERT_EQ(put, bytes.size());
  file.Reset();
  if (attributes) {
    ASSERT_TRUE(SetFileAttributesW(full.c_str(), attributes));
  }
}

std::string TestFolder::BytesOf(const std::wstring& name, bool* exists) const {
  FileHandle file(CreateFileW(WideAt(name).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (exists) *exists = file.Valid();
  std::string bytes;
  if (!file) return bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    bytes.append(buffer, got);
  }
  return bytes;
}

std::vector<std::wstring> TestFolder::Entries() const {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  FindHandle find(FindFirstFileW((path_ + L"\\*").c_str(), &data));
  if (!find) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find.Get(), &data));
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace kestrane::win32::test
