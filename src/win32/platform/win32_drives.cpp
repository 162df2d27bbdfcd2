#include "win32/platform/win32_drives.h"

#include <windows.h>

#include <cwchar>
#include <string_view>

#include "platform/ascii_text.h"
#include "platform/file_error.h"
#include "win32/platform/error_map.h"
#include "win32/platform/handles.h"
#include "win32/platform/modal_wait.h"
#include "win32/platform/strings.h"
#include "win32/platform/worker.h"

namespace kestrane::win32 {

namespace {

// A letter outside A..Z cannot name a drive; treat it like an unused letter.
std::wstring RootOf(char letter) {
  const int upper = AsciiUpper(letter);
  if (upper < 'A' || upper > 'Z') Fail(err::kDeviceUnavailable);
  return std::wstring{static_cast<wchar_t>(upper), L':', L'\\'};
}

struct VolumeInfo {
  DWORD serial = 0;
  std::wstring label;
};

// Returns the Win32 error, or 0 with the volume's details filled in.
DWORD QueryVolume(const std::wstring& root, VolumeInfo& info) {
  wchar_t label[MAX_PATH + 1] = {};
  DWORD serial = 0;
  if (!GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, &serial, nullptr, nullptr, nullptr,
                             0)) {
    return GetLastError();
  }
  info.serial = serial;
  info.label = label;
  return 0;
}

DriveType TypeOf(char letter) {
  switch (GetDriveTypeW(RootOf(letter).c_str())) {
    case DRIVE_REMOVABLE: return DriveType::Removable;
    case DRIVE_FIXED: return DriveType::Fixed;
    case DRIVE_REMOTE: return DriveType::Remote;
    case DRIVE_CDROM: return DriveType::CdRom;
    case DRIVE_RAMDISK: return DriveType::RamDisk;
    case DRIVE_UNKNOWN: return DriveType::Unknown;
    default: Fail(err::kDeviceUnavailable);  // DRIVE_NO_ROOT_DIR: nothing at that letter
  }
}

// The serial number, and the label when asked for.
std::int32_t SerialOf(char letter, std::string* label = nullptr) {
  const std::wstring root = RootOf(letter);
  VolumeInfo info;
  const DWORD error = QueryVolume(root, info);
  if (error == 0) {
    if (label != nullptr) *label = Narrow(info.label);
    return static_cast<std::int32_t>(info.serial);
  }
  if (error == ERROR_NOT_READY) Fail(err::kDiskNotReady);
  // A letter with no drive behind it fails with a path or drive error; tell that apart from a
  // drive that exists but cannot be read.
  if (GetDriveTypeW(root.c_str()) == DRIVE_NO_ROOT_DIR) Fail(err::kDeviceUnavailable);
  ThrowLastError(error);
}

std::string LabelOf(char letter) {
  const int upper = AsciiUpper(letter);
  if (upper < 'A' || upper > 'Z') return {};
  VolumeInfo info;
  if (QueryVolume(std::wstring{static_cast<wchar_t>(upper), L':', L'\\'}, info) != 0) return {};
  return Narrow(info.label);
}

// The number a call throws, or 0.
template <typename Call>
int FailureOf(Call call) {
  try {
    call();
    return 0;
  } catch (const FileError& e) {
    return e.Number();
  } catch (const std::exception&) {
    return err::kInvalidCall;
  }
}

}  // namespace

struct Win32Drives::Flight {
  KernelHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  DriveFacts facts;  // written by the worker before `done` is set, read only after
  // Out past a whole bound already: its answer is taken if it has come, never waited for again,
  // or the start's two listings would each wait the bound on the same stalled drive.
  bool overdue = false;
};

std::vector<DriveFacts> Win32Drives::Probe(const std::vector<char>& letters, int limitMs) {
  std::vector<DriveFacts> out(letters.size());
  std::vector<std::shared_ptr<Flight>> asked(letters.size());
  std::vector<HANDLE> waits;
  for (std::size_t i = 0; i < letters.size(); ++i) {
    out[i].letter = letters[i];
    const int upper = AsciiUpper(letters[i]);
    if (upper < 'A' || upper > 'Z') {
      out[i].answered = true;
      out[i].typeFailure = err::kDeviceUnavailable;
      continue;
    }
    std::shared_ptr<Flight>& flight = flights_[static_cast<std::size_t>(upper - 'A')];
    if (!flight) {
      auto started = std::make_shared<Flight>();
      if (!started->done) continue;  // no event, no worker: unanswered
      // The worker holds the flight too: one left behind still has somewhere to write.
      const bool running = StartWorker([started, letter = static_cast<char>(upper)] {
        DriveFacts& f = started->facts;
        f.letter = letter;
        f.typeFailure = FailureOf([&] { f.type = TypeOf(letter); });
        if (f.typeFailure == 0) {
          f.volumeFailure = FailureOf([&] {
            f.serial = SerialOf(letter);
            f.serialAgain = SerialOf(letter, &f.label);
          });
        }
        f.answered = true;
        SetEvent(started->done.Get());
      });
      if (!running) continue;  // the system has no thread to spare: unanswered
      flight = std::move(started);
    }
    asked[i] = flight;
    if (!flight->overdue) waits.push_back(flight->done.Get());
  }
  if (!waits.empty()) {
    ModalWait(waits.data(), waits.size(), limitMs < 0 ? 0 : static_cast<DWORD>(limitMs));
  }
  for (std::size_t i = 0; i < letters.size(); ++i) {
    if (!asked[i]) continue;
    if (WaitForSingleObject(asked[i]->done.Get(), 0) != WAIT_OBJECT_0) {
      asked[i]->overdue = true;
      continue;
    }
    out[i] = asked[i]->facts;
    out[i].letter = letters[i];
    flights_[static_cast<std::size_t>(asked[i]->facts.letter - 'A')].reset();
  }
  return out;
}

DriveType Win32Drives::Type(char letter) { return TypeOf(letter); }

std::int32_t Win32Drives::SerialNumber(char letter) { return SerialOf(letter); }

std::string Win32Drives::Label(char letter) { return LabelOf(letter); }

std::vector<char> Win32Drives::Letters() {
  const DWORD mask = GetLogicalDrives();
  std::vector<char> out;
  for (int i = 0; i < 26; ++i) {
    if (mask & (1u << i)) out.push_back(static_cast<char>('A' + i));
  }
  return out;
}

LetterTarget Win32Drives::Target(char letter) {
  const int upper = AsciiUpper(letter);
  if (upper < 'A' || upper > 'Z') return {};
  // A virtual drive's device is the folder it was given ("\??\C:\Data", or
  // "\??\UNC\server\share" for a share); any other device is a disk, a disc or a redirector.
  const wchar_t name[] = {static_cast<wchar_t>(upper), L':', L'\0'};
  // A folder past the classic path limit needs more room than MAX_PATH.
  std::wstring target(MAX_PATH + 8, L'\0');
  DWORD n = 0;
  while ((n = QueryDosDeviceW(name, target.data(), static_cast<DWORD>(target.size()))) == 0 &&
         GetLastError() == ERROR_INSUFFICIENT_BUFFER && target.size() < 32768 + 8) {
    target.resize(target.size() * 4);
  }
  if (n == 0) return {};
  target.resize(wcslen(target.c_str()));
  constexpr std::wstring_view kFolderPrefix = L"\\??\\";
  constexpr std::wstring_view kSharePrefix = L"UNC\\";
  if (!target.starts_with(kFolderPrefix)) return {LetterKind::Device, {}};
  std::wstring folder = target.substr(kFolderPrefix.size());
  if (folder.starts_with(kSharePrefix)) folder = L"\\\\" + folder.substr(kSharePrefix.size());
  return {LetterKind::Virtual, Narrow(folder)};
}

}  // namespace kestrane::win32
