#include "program_test.h"

#include <algorithm>
#include <chrono>
#include <cwctype>
#include <exception>

#include "wine_mount.h"

namespace e2e {

namespace {

// A box's text on one line of the report, its line breaks spelled out.
std::string Shown(const std::wstring& text) {
  std::string shown;
  for (char ch : Narrow(text))
    shown += ch == '\r' ? "\\r" : ch == '\n' ? "\\n" : std::string(1, ch);
  return shown;
}

std::string Buttons(const std::vector<int>& buttons) {
  std::string names;
  for (int id : buttons) {
    names += names.empty() ? "" : ", ";
    names += id == IDOK ? "OK" : id == IDCANCEL ? "Cancel" : id == IDYES ? "Yes" : "No";
  }
  return "{" + names + "}";
}

// A test may have left subit.bat read-only, or a folder in its place.
void RemoveBatch(const std::wstring& batch) {
  SetFileAttributesW(batch.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(batch.c_str());
  RemoveDirectoryW(batch.c_str());
}

}  // namespace

::testing::AssertionResult Looks(const Box& box, const BoxShown& shown) {
  std::string differences;
  auto compare = [&](const char* what, const std::string& seen, const std::string& wanted) {
    if (seen != wanted)
      differences += std::string("\n  ") + what + " \"" + seen + "\", not \"" + wanted + "\"";
  };
  compare("text", Shown(box.text), Shown(shown.text));
  compare("title", Narrow(box.title), Narrow(shown.title));
  compare("icon", NameOf(box.icon), NameOf(shown.icon));
  compare("buttons", Buttons(box.buttons), Buttons(shown.buttons));
  if (differences.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "the box \"" << Narrow(box.title) << "\" has" << differences;
}

bool Lists(const std::vector<std::wstring>& list, wchar_t letter) {
  return std::find(list.begin(), list.end(), std::wstring{letter, L':'}) != list.end();
}

void ProgramTest::SetUp() {
  drivesBefore_ = GetLogicalDrives();
  SetFileAttributesW(DataFilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
  WriteInitialDataFile();
  CreateFolders(kBeds);
  CreateFolders(kWork);
  WriteText(std::wstring(kWork) + L"\\notes.txt", "notes\r\n");
  WriteText(std::wstring(kWork) + L"\\plan.txt", "plan\r\n");
  CreateFolders(StartupFolder());
  RemoveBatch(Batch());
}

void ProgramTest::TearDown() {
  program_.reset();
  const DWORD added = GetLogicalDrives() & ~drivesBefore_;
  for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
    if (added & (1u << (letter - L'A'))) wine_mount::RemoveDrive(letter);
  }
  RemoveBatch(Batch());
}

std::wstring ProgramTest::Batch() { return StartupFolder() + L"\\subit.bat"; }

std::string ProgramTest::BatchText() {
  try {
    return ReadText(Batch());
  } catch (const std::exception&) {
    return "<none>";
  }
}

std::vector<std::uint8_t> ProgramTest::DataBytes() {
  try {
    return ReadBytes(DataFilePath());
  } catch (const std::exception&) {
    return {};
  }
}

std::int32_t ProgramTest::StoredMask() {
  const auto bytes = DataBytes();
  return bytes.size() >= 2 * kRecordLength ? LetterMaskOf(bytes) : 0;
}

bool ProgramTest::Mapped(wchar_t letter) {
  const wchar_t root[] = {letter, L':', L'\\', 0};
  return GetDriveTypeW(root) != DRIVE_NO_ROOT_DIR;
}

bool ProgramTest::Map(wchar_t letter, const std::wstring& folder) {
  auto made = RunCommand(std::wstring(L"subst.exe ") + letter + L": \"" + folder + L"\"", kBeds);
  return made && made->exitCode == 0;
}

HWND ProgramTest::Start(const std::wstring& folder) {
  program_.emplace(Program::Start(InstalledExe(), {}, folder));
  main_ = program_->WaitForWindow(ids::kMainWindowClass, kMainTitle);
  EXPECT_NE(main_, nullptr) << "no visible main window titled \"Kestrane - Pro\"";
  return main_;
}

bool ProgramTest::InDriveList(wchar_t letter) const {
  const std::wstring entry{static_cast<wchar_t>(std::towlower(letter)), L':'};
  for (const auto& row : ComboItems(Control(main_, ids::DrvList))) {
    if (row.rfind(entry, 0) == 0) return true;
  }
  return false;
}

std::optional<Box> ProgramTest::NextBox(Duration limit) const {
  return WaitForBox(*program_, limit);
}

::testing::AssertionResult ProgramTest::AnswerNext(const BoxShown& shown, int button) const {
  auto box = NextBox();
  if (!box) {
    return ::testing::AssertionFailure()
           << "no box where \"" << Narrow(shown.title) << "\" was due";
  }
  auto looks = Looks(*box, shown);
  if (!Answer(*box, button)) {
    return ::testing::AssertionFailure() << "the box \"" << Narrow(box->title) << "\" stayed open";
  }
  return looks;
}

Duration ProgramTest::MarkerDelay(HWND path, int end) const {
  const auto posted = std::chrono::steady_clock::now();
  PostMessageW(path, EM_SETSEL, 0, end);
  const bool taken =
      WaitFor([&] { return HIWORD(SendMessageW(path, EM_GETSEL, 0, 0)) == end; }, kStepLimit);
  if (!taken) return kStepLimit;
  return std::chrono::duration_cast<Duration>(std::chrono::steady_clock::now() - posted);
}

bool ProgramTest::Quiet() const { return !WaitForBox(*program_, quiet_) && program_->Running(); }

}  // namespace e2e
