#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "e2e_support.h"

namespace e2e {
std::wstring KnownFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) {
    throw std::runtime_error("known folder " + std::to_string(csidl) + " not found");
  }
  return path;
}

std::wstring AppDataFolder() { return KnownFolder(CSIDL_APPDATA); }
std::wstring DataFolder() { return AppDataFolder() + L"\\Halvecki\\Kestrane\\"; }
std::wstring DataFilePath() { return DataFolder() + L"himem32.qor"; }
// Its path also while a test has it missing.
std::wstring StartupFolder() { return KnownFolder(CSIDL_STARTUP | CSIDL_FLAG_DONT_VERIFY); }

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::uint8_t> ReadBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read a file");
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write a file");
}

std::string ReadText(const std::wstring& path) {
  auto bytes = ReadBytes(path);
  return {bytes.begin(), bytes.end()};
}

void WriteText(const std::wstring& path, const std::string& text) {
  WriteBytes(path, {text.begin(), text.end()});
}

bool CreateFolders(const std::wstring& path) {
  for (size_t at = path.find(L'\\', 3);; at = path.find(L'\\', at + 1)) {
    const std::wstring part = L"\\\\?\\" + path.substr(0, at);
    if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
      return false;
    }
    if (at == std::wstring::npos) return true;
  }
}

void DeleteTree(const std::wstring& path) {
  std::wstring pattern = path + L"\\*";
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring child = path + L"\\" + name;
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteTree(child);
      } else {
        DeleteFileW(child.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(path.c_str());
}

void SetLetterMask(std::vector<std::uint8_t>& dataFile, std::int32_t mask) {
  for (int i = 0; i < 4; ++i) {
    dataFile.at(kRecordLength + kLetterMaskOffset + i) =
        (static_cast<std::uint32_t>(mask) >> (8 * i)) & 0xFF;
  }
}

std::int32_t LetterMaskOf(const std::vector<std::uint8_t>& dataFile) {
  std::uint32_t mask = 0;
  for (int i = 0; i < 4; ++i)
    mask |= std::uint32_t{dataFile.at(kRecordLength + kLetterMaskOffset + i)} << (8 * i);
  return static_cast<std::int32_t>(mask);
}

std::vector<std::uint8_t> InitialDataFile() {
  std::vector<std::uint8_t> bytes(2 * kRecordLength, 0);
  SetLetterMask(bytes, kInitialMask);
  return bytes;
}

void WriteInitialDataFile() { WriteDataFileWithMask(kInitialMask); }

void WriteDataFileWithMask(std::int32_t mask) {
  auto bytes = InitialDataFile();
  SetLetterMask(bytes, mask);
  CreateFolders(DataFolder().substr(0, DataFolder().size() - 1));
  WriteBytes(DataFilePath(), bytes);
}

std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  std::wstring pattern = folder + (folder.ends_with(L'\\') ? L"*" : L"\\*");
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace e2e
